#include "Walk.h"

#include "FileKind.h"
#include "OrderedJobs.h"
#include "PathSyntax.h"
#include "Progress.h"
#include "Report.h"
#include "SafeReplace.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#ifdef __linux__
#include <sched.h>
#endif

namespace fs = std::filesystem;  // names are UTF-8: u8path and u8string, also on Windows

namespace kestrune_tool {

namespace {

using Check = std::function<int(const char*, const QORSysPath&)>;

// The cores this process may run on.
unsigned Cores()
{
#ifdef __linux__
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) return static_cast<unsigned>(CPU_COUNT(&set));
#endif
    return std::max(1U, std::thread::hardware_concurrency());
}

// A file named on the command line that is not a regular one is refused
// (its kind costs a stat: opening a FIFO would wait for a writer).
int CheckFile(const std::string& name, bool named, const Check& check)
{
    if (named && RegularOnly(name.c_str(), "read") != kYes) return kTrouble;
    QORSysPath path;
    return ToPath(name.c_str(), path) ? check(name.c_str(), path) : kTrouble;
}

// The entry's type as the directory listing gives it, with no stat but for a
// link (its target's type: one stat) or a file system that does not tell;
// none when it cannot be had (the entry is then opened, and that tells why).
fs::file_type TypeOf(const fs::directory_entry& entry)
{
    std::error_code error;
    if (!entry.is_symlink(error) && !error) {
        if (entry.is_directory(error)) return fs::file_type::directory;
        if (entry.is_regular_file(error)) return fs::file_type::regular;
    }
    const fs::file_type type = entry.status(error).type();
    return error ? fs::file_type::none : type;
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

// Adds a job for each file under directory; what the walk itself has to
// say goes in as a job too, so that it comes out in its place.
void WalkDirectory(const Invocation& run, const std::string& directory, std::vector<fs::path>& within,
                   const Check& check, OrderedJobs& jobs)
{
    struct Entry {
        std::string name;
        fs::file_type type;
    };
    std::vector<Entry> entries;
    std::error_code error;
    for (fs::directory_iterator it(fs::u8path(directory), error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().u8string();
        // The safe replace's own temporary files, in flight or left by a killed run, are not the user's.
        if (IsTempName(name)) continue;
        const fs::file_type type = TypeOf(*it);
        if (type == fs::file_type::directory || run.allFiles || IsCatalog(name))
            entries.push_back({std::move(name), type});
    }
    if (error) {
        const HRESULT code = QORSysResultFromErrno(error.value());
        jobs.Add([directory, code] { return Trouble(directory.c_str(), "cannot read the directory", code); });
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    for (const Entry& entry : entries) {
        std::string name = Join(directory, entry.name);
        if (entry.type != fs::file_type::directory) {
            if (const char* kind = KindWords(entry.type)) {
                jobs.Add([name, kind] {
                    Note("kestrune: %s: %s: skipped\n", name.c_str(), kind);
                    return kYes;
                });
            } else {
                jobs.Add([name = std::move(name), &check] { return CheckFile(name, false, check); });
            }
            continue;
        }
        // A link back to a directory being walked would never end.
        const bool loop = std::any_of(within.begin(), within.end(), [&](const fs::path& outer) {
            std::error_code ignored;
            return fs::equivalent(outer, fs::u8path(name), ignored);
        });
        if (loop) continue;
        within.push_back(fs::u8path(name));
        WalkDirectory(run, name, within, check, jobs);
        within.pop_back();
    }
}

}  // namespace

int EachFile(const Invocation& run, const Check& check)
{
    Progress progress(!run.quiet);
    OrderedJobs jobs(run.jobs != 0 ? run.jobs : Cores(), progress);
    for (const char* name : run.operands) {
        std::error_code ignored;
        if (run.recursive && fs::is_directory(fs::u8path(name), ignored)) {
            std::vector<fs::path> within{fs::u8path(name)};
            WalkDirectory(run, name, within, check, jobs);
        } else {
            jobs.Add([name, &check] { return CheckFile(name, true, check); });
        }
    }
    return jobs.Finish();
}

bool IsCatalogName(const std::string& name) { return IsCatalog(name); }

Outcome InspectInTurn(const char* name, Snapshot& snapshot)
{
    // The path with every link resolved: a replace keeps it, not the inode. The name as
    // given when it cannot be had (Inspect then tells why).
    std::error_code error;
    const std::string path = fs::canonical(fs::u8path(name), error).u8string();
    OrderedJobs::TakeTurn(error ? name : path);
    return Inspect(name, snapshot);
}

}  // namespace kestrune_tool
