#include "EditorConfig.h"

#include <filesystem>
#include <system_error>

namespace kestrune_tool {

// There is no Windows build of the parser: the rules come from the command
// line, and the caller says so when an .editorconfig would have given some.
EditorConfigRead ReadEditorConfig(const char* name, Policy& /*policy*/, std::string& /*error*/)
{
    std::error_code failed;
    std::filesystem::path directory = std::filesystem::absolute(std::filesystem::u8path(name), failed).parent_path();
    for (; !failed && !directory.empty(); directory = directory.parent_path()) {
        if (std::filesystem::exists(directory / ".editorconfig", failed)) return EditorConfigRead::NotInThisBuild;
        if (directory == directory.parent_path()) break;
    }
    return EditorConfigRead::Done;
}

}  // namespace kestrune_tool
