#include "FileKind.h"

#include "Commands.h"
#include "Report.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace kestrune_tool {

const char* OddKind(const char* name)
{
    std::error_code error;
    const fs::file_type type = fs::status(fs::u8path(name), error).type();
    if (error) return nullptr;
    switch (type) {
        case fs::file_type::regular:
        case fs::file_type::not_found: return nullptr;
        case fs::file_type::directory: return "a directory";
        case fs::file_type::character: return "a character device";
        case fs::file_type::block: return "a block device";
        case fs::file_type::fifo: return "a FIFO";
        case fs::file_type::socket: return "a socket";
        default: return "a file of another kind";
    }
}

int RegularOnly(const char* name, const char* done)
{
    const char* kind = OddKind(name);
    if (kind == nullptr) return kYes;
    return Refused(name, ("not a regular file (" + std::string(kind) + "): not " + done).c_str());
}

}  // namespace kestrune_tool
