// Reading a file whole through the file services, for what the library's
// answers leave out: which read fails and with what code, and the bytes.
#ifndef KESTRUNE_TOOL_FILETEXT_H
#define KESTRUNE_TOOL_FILETEXT_H

#include "QORSysTextFileUtilities.h"

#include <cstddef>
#include <string>

namespace kestrune_tool {

// Reads the file called name from its start: at most limit bytes, and never
// more than one byte past its reported size, so that a file longer than it
// says (a pipe, a special file) shows. text, unless null, gets the bytes;
// size gets the reported size. kYes, or kTrouble once reported.
int ReadFile(const char* name, const QORSysPath& path, std::string* text, std::size_t limit, unsigned int& size);

// Reads the whole file into text, refusing it as trouble when it holds more
// or fewer bytes than its reported size (a special file under /proc or
// /sys): the library goes by that size and would judge other bytes.
int ReadWhole(const char* name, const QORSysPath& path, std::string& text);

}  // namespace kestrune_tool

#endif
