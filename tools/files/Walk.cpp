#include "Walk.h"

#include "EditorConfig.h"
#include "FileKind.h"
#include "GitListing.h"
#include "Glob.h"
#include "OrderedJobs.h"
#include "PathSyntax.h"
#include "Progress.h"
#include "Report.h"
#include "SafeReplace.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <unordered_set>
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

// A file named on the command line that is not a regular one is refused,
// a directory with the option that walks it
// (its kind costs a stat: opening a FIFO would wait for a writer).
int CheckFile(const std::string& name, bool named, const Check& check)
{
    std::error_code error;
    if (named && fs::is_directory(fs::u8path(name), error))
        return Refused(name.c_str(), "a directory: give -r to walk it");
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

// Version-control metadata: another program's files, never the user's texts.
bool IsMetadata(const std::string& name, fs::file_type type)
{
    if (name == ".git") return true;  // a directory, or a worktree's or submodule's pointer to one
    if (type != fs::file_type::directory) return false;
    return name == ".hg" || name == ".svn" || name == ".bzr" || name == "_darcs" || name == "CVS";
}

// What git lists in a work tree, its names relative to the directory it was
// asked about: that directory's name relative to the operand ends before from.
struct Listing {
    std::unordered_set<std::string> files;
    std::unordered_set<std::string> directories;  // those that hold a file listed
    std::size_t from = 0;
};

// git's listing of directory, called relative in the walk; null where git cannot say.
std::unique_ptr<Listing> ListingOf(const std::string& directory, const std::string& relative)
{
    std::vector<std::string> names;
    if (!GitListing(directory, names)) return nullptr;
    auto listing = std::make_unique<Listing>();
    listing->from = relative.empty() ? 0 : relative.size() + 1;
    for (std::string& name : names) {
        for (std::size_t slash = name.find('/'); slash != std::string::npos; slash = name.find('/', slash + 1))
            listing->directories.insert(name.substr(0, slash));
        listing->files.insert(std::move(name));
    }
    return listing;
}

// Whether relative (to the operand) matches one of globs.
bool AnyMatches(const std::vector<const char*>& globs, const std::string& relative)
{
    return std::any_of(globs.begin(), globs.end(), [&](const char* glob) { return GlobMatches(glob, relative); });
}

class Walker {
public:
    Walker(const WalkOptions& walk, const Check& check, OrderedJobs& jobs) : walk_(walk), check_(check), jobs_(jobs) {}

    // Adds a job for each file under the operand directory.
    void Operand(const char* directory)
    {
        within_.assign(1, fs::u8path(directory));
        Directory(directory, "", nullptr, true);
    }

private:
    // Adds a job for each file under directory, called relative from the
    // operand (empty for the operand itself), that listing (when not null)
    // holds; what the walk itself has to say goes in as a job too, so that it
    // comes out in its place.
    void Directory(const std::string& directory, const std::string& relative, const Listing* listing, bool operand)
    {
        struct Entry {
            std::string name;
            fs::file_type type;
        };
        std::vector<Entry> entries;
        bool repository = false;
        std::error_code error;
        for (fs::directory_iterator it(fs::u8path(directory), error), end; !error && it != end; it.increment(error)) {
            std::string name = it->path().filename().u8string();
            // The safe replace's own temporary files, in flight or left by a killed run, are not the user's.
            if (IsTempName(name)) continue;
            const fs::file_type type = TypeOf(*it);
            repository |= name == ".git";
            // The rules of the files that come after it are not changed under them.
            if (IsMetadata(name, type) || (type != fs::file_type::directory && name == kEditorConfigName)) continue;
            if (type == fs::file_type::directory || walk_.allFiles || IsCatalog(name))
                entries.push_back({std::move(name), type});
        }
        if (error) {
            const HRESULT code = QORSysResultFromErrno(error.value());
            jobs_.Add([directory, code] { return Trouble(directory.c_str(), "cannot read the directory", code); });
        }
        // In a work tree the files are those git shows: asked where the walk starts and at each repository met.
        std::unique_ptr<Listing> own;
        if (listing == nullptr && !walk_.noIgnore && (operand || repository)) {
            own = ListingOf(directory, relative);
            listing = own.get();
        }
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
        for (const Entry& entry : entries) {
            const bool isDirectory = entry.type == fs::file_type::directory;
            std::string path = relative.empty() ? entry.name : relative + '/' + entry.name;
            if (listing != nullptr &&
                (isDirectory ? listing->directories : listing->files).count(path.substr(listing->from)) == 0)
                continue;
            if (AnyMatches(walk_.excludes, path) ||
                (!isDirectory && !walk_.includes.empty() && !AnyMatches(walk_.includes, path)))
                continue;
            std::string name = Join(directory, entry.name);
            if (!isDirectory) {
                File(std::move(name), entry.type);
                continue;
            }
            // A link back to a directory being walked would never end.
            const bool loop = std::any_of(within_.begin(), within_.end(), [&](const fs::path& outer) {
                std::error_code ignored;
                return fs::equivalent(outer, fs::u8path(name), ignored);
            });
            if (loop) continue;
            within_.push_back(fs::u8path(name));
            Directory(name, path, listing, false);
            within_.pop_back();
        }
    }

    // Adds the job for a file met in the walk: a note for one that is not a regular file.
    void File(std::string name, fs::file_type type)
    {
        if (const char* kind = KindWords(type)) {
            jobs_.Add([name = std::move(name), kind] {
                Note("kestrune: %s: %s: skipped\n", name.c_str(), kind);
                return kYes;
            });
        } else {
            jobs_.Add([name = std::move(name), &check = check_] { return CheckFile(name, false, check); });
        }
    }

    const WalkOptions& walk_;
    const Check& check_;
    OrderedJobs& jobs_;
    std::vector<fs::path> within_;  // the directories being walked, the operand first
};

}  // namespace

int EachFile(const std::vector<const char*>& operands, const WalkOptions& walk, bool quiet, const Check& check)
{
    Progress progress(!quiet);
    OrderedJobs jobs(walk.jobs != 0 ? walk.jobs : Cores(), progress);
    Walker walker(walk, check, jobs);
    for (const char* name : operands) {
        std::error_code ignored;
        if (walk.recursive && fs::is_directory(fs::u8path(name), ignored)) {
            walker.Operand(name);
        } else {
            jobs.Add([name, &check] { return CheckFile(name, true, check); });
        }
    }
    return FlushReplaced(jobs.Finish());
}

int FlushReplaced(int status)
{
    // A signal that ends the run earlier leaves these undone, as SIGKILL
    // would: the renames are already the system's to write out, and a crash
    // before it does can only give back an original whole.
    FlushDirectories([&](const char* directory, const Outcome& outcome) {
        status = std::max(status, Trouble(directory, outcome.what, outcome.code));
    });
    return status;
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
