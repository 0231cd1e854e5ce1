// The one way the tool writes a user's file: the new content goes to a
// temporary file beside it, which then takes the original's place in one
// rename; a crash leaves the old file or the new one, never a mix.
#ifndef KESTRUNE_TOOL_SAFEREPLACE_H
#define KESTRUNE_TOOL_SAFEREPLACE_H

#include "QORSysTextFileUtilities.h"
#include "ReplaceOs.h"

#include <functional>
#include <string>

namespace kestrune_tool {

// A failure: what went wrong, and the system's code for it (S_OK when the
// replace refused rather than failed).
struct Outcome {
    const char* what = nullptr;
    HRESULT code = S_OK;
    bool Ok() const { return what == nullptr; }
};

// The file to replace as it was before it was read.
struct Snapshot {
    std::string target;  // the file itself: a link's target
    FileFacts facts;
};

// Takes the snapshot of the file called name, refusing anything but a
// regular file.
Outcome Inspect(const char* name, Snapshot& snapshot);

// The temporary file's name beside target.
std::string TempName(const std::string& target);

// True for a file name (no directory) that TempName gives.
bool IsTempName(const std::string& name);

// Refuses a file with several names (a rename would split its hard links);
// else write() fills the temporary file (open, empty), which is given the
// original's owner, group, ACL, extended attributes and permission bits
// (refused where one cannot be kept) and flushed to disk; the original is
// checked to be as the snapshot says; then the rename of the file written,
// held all along. A failure before the rename leaves the original as it was
// and the temporary file removed; only the close can fail after it. The
// directory is left for FlushDirectories to flush.
Outcome Replace(const Snapshot& snapshot, const std::function<HRESULT(QORSysFileDescriptor&)>& write);

// Flushes to disk, once each, the directories Replace has renamed files in
// since the last call, telling failed of each that cannot be. Until then a
// crash of the system may undo a rename, giving back the original whole: the
// new file's data reached the disk before its rename.
void FlushDirectories(const std::function<void(const char* directory, const Outcome& outcome)>& failed);

}  // namespace kestrune_tool

#endif
