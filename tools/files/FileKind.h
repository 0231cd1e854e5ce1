// Only regular files are read or written: a device may never end (/dev/zero)
// or be a disk, and a FIFO waits for a writer.
#ifndef KESTRUNE_TOOL_FILEKIND_H
#define KESTRUNE_TOOL_FILEKIND_H

#include <filesystem>

namespace kestrune_tool {

// What a file of this type is, as OddKind words it; null for a regular
// file, and for a type not had (not_found, none).
const char* KindWords(std::filesystem::file_type type);

// What name stands for when it is not a regular file, links followed: "a
// directory", "a character device", "a block device", "a FIFO", "a socket"
// or "a file of another kind". Null for a regular file, and for a name whose kind
// cannot be had: opening it then tells why.
const char* OddKind(const char* name);

// Refuses name when it is not a regular file, as trouble: "kestrune: NAME:
// not a regular file (KIND): not DONE". kYes when it is one.
int RegularOnly(const char* name, const char* done);

}  // namespace kestrune_tool

#endif
