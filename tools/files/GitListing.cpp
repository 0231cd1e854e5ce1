#include "GitListing.h"

#include "Program.h"

namespace kestrune_tool {

bool GitListing(const std::string& directory, std::vector<std::string>& names)
{
    std::string output;
    // -z: names as they are, whatever bytes they hold, each ended by a NUL.
    if (!RunForOutput({"git", "-C", directory, "ls-files", "-z", "--cached", "--others", "--exclude-standard"}, output))
        return false;
    for (std::size_t at = 0, end = 0; (end = output.find('\0', at)) != std::string::npos; at = end + 1) {
        std::string name = output.substr(at, end - at);
        if (!name.empty() && name.back() == '/') name.pop_back();  // an untracked repository
        names.push_back(std::move(name));
    }
    return true;
}

}  // namespace kestrune_tool
