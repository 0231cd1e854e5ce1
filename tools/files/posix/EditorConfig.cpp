#include "EditorConfig.h"

#include <editorconfig/editorconfig.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>

namespace kestrune_tool {

namespace {

// What stands at a directory's .editorconfig: nothing, a regular file (Root
// when it says root = true), something the parser reads as empty (Odd: a
// directory, a socket) or that it must not open (Stuck: a FIFO would keep it
// waiting, a device may never end).
enum class Found { None, File, Root, Odd, Stuck };

// The text between spaces and tabs at either end, in lower case.
std::string Word(const std::string& text, std::size_t from, std::size_t to)
{
    from = std::min(text.find_first_not_of(" \t\r", from), to);
    while (to > from && std::strchr(" \t\r", text[to - 1]) != nullptr) --to;
    std::string word = text.substr(from, to - from);
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word;
}

// Whether the .editorconfig at path says root = true before its first section.
bool SaysRoot(const std::filesystem::path& path)
{
    std::ifstream file(path);
    bool root = false;
    for (std::string line; std::getline(file, line);) {
        if (line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        const std::size_t start = line.find_first_not_of(" \t\r");
        if (start != std::string::npos && line[start] == '[') break;
        const std::size_t sign = line.find_first_of("=:");
        if (start == std::string::npos || std::strchr("#;", line[start]) != nullptr || sign == std::string::npos)
            continue;
        const std::size_t comment = line.find_first_of("#;", sign);
        // As the parser does, a later "root = false" undoes nothing.
        root |= Word(line, start, sign) == "root" && Word(line, sign + 1, std::min(comment, line.size())) == "true";
    }
    return root;
}

// What stands at directory/.editorconfig, asked once per directory in a run.
Found ConfigIn(const std::filesystem::path& directory)
{
    static std::mutex mutex;
    static std::map<std::string, Found> known;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        const auto it = known.find(directory.native());
        if (it != known.end()) return it->second;
    }
    const std::filesystem::path config = directory / kEditorConfigName;
    std::error_code failed;
    const std::filesystem::file_type type = std::filesystem::status(config, failed).type();
    Found found = Found::Stuck;
    if (type == std::filesystem::file_type::not_found || type == std::filesystem::file_type::none) {
        found = Found::None;
    } else if (type == std::filesystem::file_type::regular) {
        found = SaysRoot(config) ? Found::Root : Found::File;
    } else if (type == std::filesystem::file_type::directory || type == std::filesystem::file_type::socket) {
        found = Found::Odd;
    }
    const std::lock_guard<std::mutex> lock(mutex);
    return known.emplace(directory.native(), found).first->second;
}

}  // namespace

EditorConfigRead ReadEditorConfig(const char* name, Policy& policy, std::string& error)
{
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::u8path(name), failed);
    const std::string path = absolute.u8string();
    // The parser opens each directory's .editorconfig up to /, even above
    // one that says root = true (whose rules then drop those read before):
    // none that counts, nothing to ask it; one that is not a regular file
    // refused up to the root, and above it one the parser would be stuck on.
    bool any = false;
    bool above = false;
    for (std::filesystem::path directory = absolute.parent_path(); !failed; directory = directory.parent_path()) {
        const Found found = ConfigIn(directory);
        if (found == Found::Stuck || (found == Found::Odd && !above)) {
            error = (directory / kEditorConfigName).u8string() + ": not a regular file";
            return EditorConfigRead::Unreadable;
        }
        any |= !above && (found == Found::File || found == Found::Root);
        above |= found == Found::Root;
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
