#include "EditorConfig.h"

#include <editorconfig/editorconfig.h>

#include <filesystem>
#include <memory>
#include <system_error>

namespace kestrune_tool {

EditorConfigRead ReadEditorConfig(const char* name, Policy& policy, std::string& error)
{
    std::error_code failed;
    const std::string path = std::filesystem::absolute(std::filesystem::u8path(name), failed).u8string();
    const std::unique_ptr<void, int (*)(editorconfig_handle)> handle(editorconfig_handle_init(),
                                                                     editorconfig_handle_destroy);
    const int parsed = failed ? EDITORCONFIG_PARSE_MEMORY_ERROR : editorconfig_parse(path.c_str(), handle.get());
    if (parsed != 0) {
        const char* file = editorconfig_handle_get_err_file(handle.get());
        error = std::string(file != nullptr ? file : ".editorconfig") +
                (parsed > 0 ? ", line " + std::to_string(parsed) : std::string()) + ": " +
                editorconfig_get_error_msg(parsed);
        return EditorConfigRead::Unreadable;
    }
    for (int i = 0, count = editorconfig_handle_get_name_value_count(handle.get()); i < count; ++i) {
        const char* key = nullptr;
        const char* value = nullptr;
        editorconfig_handle_get_name_value(handle.get(), i, &key, &value);
        ApplyProperty(policy, key, value);  // a value it does not know leaves the rule unset, as EditorConfig asks
    }
    return EditorConfigRead::Done;
}

}  // namespace kestrune_tool
