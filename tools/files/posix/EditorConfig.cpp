#include "EditorConfig.h"

#include <editorconfig/editorconfig.h>

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>

namespace kestrune_tool {

namespace {

enum class Found { None, File, Odd };

// What stands at directory/.editorconfig, asked once per directory in a run:
// nothing, a regular file, or something the parser must not open (a FIFO
// would keep it waiting).
Found ConfigIn(const std::filesystem::path& directory)
{
    static std::mutex mutex;
    static std::map<std::string, Found> known;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        const auto it = known.find(directory.native());
        if (it != known.end()) return it->second;
    }
    std::error_code failed;
    const auto status = std::filesystem::status(directory / ".editorconfig", failed);
    const Found found = !std::filesystem::exists(status)           ? Found::None
                        : std::filesystem::is_regular_file(status) ? Found::File
                                                                   : Found::Odd;
    const std::lock_guard<std::mutex> lock(mutex);
    return known.emplace(directory.native(), found).first->second;
}

}  // namespace

EditorConfigRead ReadEditorConfig(const char* name, Policy& policy, std::string& error)
{
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::u8path(name), failed);
    const std::string path = absolute.u8string();
    // The parser opens each directory's .editorconfig up to the root: none
    // there, nothing to ask it; one that is not a regular file, refused.
    bool any = false;
    for (std::filesystem::path directory = absolute.parent_path(); !failed; directory = directory.parent_path()) {
        const Found found = ConfigIn(directory);
        if (found == Found::Odd) {
            error = (directory / ".editorconfig").u8string() + ": not a regular file";
            return EditorConfigRead::Unreadable;
        }
        any |= found == Found::File;
        if (directory == directory.parent_path()) break;
    }
    if (!failed && !any) return EditorConfigRead::Done;
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
