#include "Walk.h"

#include "FileKind.h"
#include "PathSyntax.h"
#include "Report.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace fs = std::filesystem;  // names are UTF-8: u8path and u8string, also on Windows

namespace kestrune_tool {

namespace {

using Check = std::function<int(const char*, const QORSysPath&)>;

// A file named on the command line that is not a regular one is refused; one
// met in a walk is skipped with a note.
int CheckFile(const std::string& name, bool walked, const Check& check)
{
    if (const char* kind = walked ? OddKind(name.c_str()) : nullptr) {
        std::fprintf(stderr, "kestrune: %s: %s: skipped\n", name.c_str(), kind);
        return kYes;
    }
    if (!walked && RegularOnly(name.c_str(), "read") != kYes) return kTrouble;
    QORSysPath path;
    return ToPath(name.c_str(), path) ? check(name.c_str(), path) : kTrouble;
}

// directory/name, with the separator the directory's text already uses.
std::string Join(const std::string& directory, const std::string& name)
{
    if (QORSysPathSyntax::IsSeparator(directory.back())) return directory + name;
    const auto used = std::find_if(directory.rbegin(), directory.rend(), QORSysPathSyntax::IsSeparator);
    return directory + (used != directory.rend() ? *used : QORSysPathSyntax::kSeparator) + name;
}

// The extension test the library applies to a catalog's path.
bool IsCatalog(const std::string& name)
{
    QORSysPath path;
    VELUnicodeString extension;
    if (path.Set(name.c_str()) < 0 || path.GetExtension(extension) < 0) return false;
    extension.ToLower();
    return extension == "velnls";
}

int WalkDirectory(const Invocation& run, const std::string& directory, std::vector<fs::path>& within,
                  const Check& check)
{
    struct Entry {
        std::string name;
        bool isDirectory;
    };
    std::vector<Entry> entries;
    std::error_code error;
    for (fs::directory_iterator it(fs::u8path(directory), error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;  // an entry whose type cannot be had is taken as a file, and reported when opened
        entries.push_back({it->path().filename().u8string(), it->is_directory(ignored)});
    }
    int status = kYes;
    if (error) status = Trouble(directory.c_str(), "cannot read the directory", QORSysResultFromErrno(error.value()));
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    for (const Entry& entry : entries) {
        const std::string name = Join(directory, entry.name);
        if (!entry.isDirectory) {
            if (run.allFiles || IsCatalog(entry.name)) status = std::max(status, CheckFile(name, true, check));
            continue;
        }
        // A link back to a directory being walked would never end.
        const bool loop = std::any_of(within.begin(), within.end(), [&](const fs::path& outer) {
            std::error_code ignored;
            return fs::equivalent(outer, fs::u8path(name), ignored);
        });
        if (loop) continue;
        within.push_back(fs::u8path(name));
        status = std::max(status, WalkDirectory(run, name, within, check));
        within.pop_back();
    }
    return status;
}

}  // namespace

int EachFile(const Invocation& run, const Check& check)
{
    int status = kYes;
    for (const char* name : run.operands) {
        std::error_code ignored;
        if (run.recursive && fs::is_directory(fs::u8path(name), ignored)) {
            std::vector<fs::path> within{fs::u8path(name)};
            status = std::max(status, WalkDirectory(run, name, within, check));
        } else {
            status = std::max(status, CheckFile(name, false, check));
        }
    }
    return status;
}

}  // namespace kestrune_tool
