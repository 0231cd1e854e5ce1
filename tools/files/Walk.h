// Which files a command looks at: the operands, and with -r the catalogs
// in the directories among them.
#ifndef KESTRUNE_TOOL_WALK_H
#define KESTRUNE_TOOL_WALK_H

#include "QORSysTextFileUtilities.h"
#include "SafeReplace.h"

#include <functional>
#include <string>
#include <vector>

namespace kestrune_tool {

struct WalkOptions {
    bool recursive = false;                       // -r
    bool allFiles = false;                        // with recursive: not only catalogs
    bool noIgnore = false;                        // with recursive: every file, not only those git shows
    std::vector<const char*> excludes, includes;  // --exclude, --include: globs narrowing a walk
    unsigned jobs = 0;                            // -j; 0 for as many as the cores
};

// Runs check(name, path) on each operand, or with -r on each file under an
// operand that is a directory: in sorted order (a directory's files at the
// place of its name), *.velnls only (any letter case) unless --all-files,
// following links but never into a directory it is already in. In a git work
// tree only the files git shows are taken (tracked, or untracked and not
// ignored; not a submodule's), unless --no-ignore; --exclude and --include
// narrow any walk by the path relative to the operand. Never taken: version
// control metadata (.git, .hg, .svn, .bzr, _darcs, CVS), .editorconfig
// files, the safe replace's temporary files. A directory that cannot be read
// is reported and skipped. An operand that is not a regular file is refused;
// such a file met in a walk (a device, a FIFO, a socket) is skipped with a
// note. Shows the progress line unless quiet. Returns the worst status of
// them all; every file is looked at regardless.
int EachFile(const std::vector<const char*>& operands, const WalkOptions& walk, bool quiet,
             const std::function<int(const char* name, const QORSysPath& path)>& check);

// Flushes the directories of the files replaced so far, each once; a
// failure is trouble, reported. Returns the worse of status and that.
int FlushReplaced(int status);

// True for a name the walk takes as a catalog: *.velnls in any letter case.
bool IsCatalogName(const std::string& name);

// Inspect, for a check that is about to change the file: taken when the
// checks before it that change the same file (by another name) are done, so
// that any number of jobs gives the result of one.
Outcome InspectInTurn(const char* name, Snapshot& snapshot);

}  // namespace kestrune_tool

#endif
