// A text in a charset to UTF-8 and back, all of it or none, and the place
// where a text breaks its charset.
#ifndef KESTRUNE_TOOL_CONVERSION_H
#define KESTRUNE_TOOL_CONVERSION_H

#include "Charsets.h"
#include "Recode.h"
#include "Utf8Position.h"

#include <string>
#include <string_view>

namespace kestrune_tool {

// The text, in charset, as UTF-8 in out. Invalid and OneWay tell at where:
// the first sequence with no character in UTF-8, or the first whose
// character would not convert back to the same bytes (a charset with two
// codes for one character). Line and column are counted in characters.
Recoded ToUtf8(const Charset& charset, std::string_view text, std::string& out, TextPosition& at);

// UTF-8 text as charset; Invalid gives the offset of the first character
// the charset lacks.
Recoded FromUtf8(const Charset& charset, const std::string& text, std::string& out, std::size_t& bad);

}  // namespace kestrune_tool

#endif
