// The system's converter between a charset and UTF-8: iconv on POSIX, the
// code-page calls on Windows. All of the output or none.
#ifndef KESTRUNE_TOOL_RECODE_H
#define KESTRUNE_TOOL_RECODE_H

#include "Charsets.h"

#include <cstddef>
#include <string>

namespace kestrune_tool {

enum class Recoded {
    Done,
    Invalid,      // a byte of the input has no character in the other charset
    Unavailable,  // this system cannot convert the charset
    OneWay,       // converts, but would not convert back to the same bytes
};

// Converts size bytes at in from charset to UTF-8 (toUtf8) or from UTF-8 to
// charset, for the single-byte, multibyte and UTF-16 forms. Done: out holds
// the whole text. Invalid: bad is the offset in the input of the first
// sequence that could not be converted, a sequence cut short at the end too;
// out holds no more than part of the text then.
Recoded Recode(const Charset& charset, bool toUtf8, const char* in, std::size_t size, std::string& out,
               std::size_t& bad);

}  // namespace kestrune_tool

#endif
