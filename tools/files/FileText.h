// Reading a file whole through the file services, for what the library's
// answers leave out: which read fails and with what code, and the bytes.
#ifndef KESTRUNE_TOOL_FILETEXT_H
#define KESTRUNE_TOOL_FILETEXT_H

#include "QORSysTextFileUtilities.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

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

// Reads the whole file in windows of ReadWindow() bytes at most, through one
// buffer used again, handing each window to take; the same refusals as
// ReadWhole, told once the windows have been taken.
int ReadWindows(const char* name, const QORSysPath& path, const std::function<void(std::string_view)>& take);

// The window's size: 1 MiB, or the bytes that KESTRUNE_READ_WINDOW names
// (for tests that cut texts everywhere).
std::size_t ReadWindow();

}  // namespace kestrune_tool

#endif
