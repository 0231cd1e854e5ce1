// The files git would show in a work tree: a walk there takes those.
#ifndef KESTRUNE_TOOL_GITLISTING_H
#define KESTRUNE_TOOL_GITLISTING_H

#include <string>
#include <vector>

namespace kestrune_tool {

// git's own answer for directory: the files it tracks under it and those it
// neither tracks nor ignores; a submodule or nested repository stands as its
// directory's name. Each name relative to directory, '/' between names.
// False when git cannot say: not installed, or directory in no work tree.
bool GitListing(const std::string& directory, std::vector<std::string>& names);

}  // namespace kestrune_tool

#endif
