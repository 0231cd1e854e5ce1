// Every line ending of a text counted by kind, where the library reports
// only the first.
#ifndef KESTRUNE_TOOL_LINEENDINGS_H
#define KESTRUNE_TOOL_LINEENDINGS_H

#include <cstddef>
#include <string_view>

namespace kestrune_tool {

struct LineEndings {
    std::size_t crlf = 0;
    std::size_t lf = 0;
    std::size_t cr = 0;  // a CR not followed by LF

    std::size_t Total() const { return crlf + lf + cr; }
    // How many of the three kinds occur.
    int Kinds() const { return (crlf > 0) + (lf > 0) + (cr > 0); }
};

// Counts the line endings in size bytes at text, by the library's matching
// rule: CR LF is one ending, LF CR is two.
LineEndings CountLineEndings(const char* text, std::size_t size);

// The first line ending in the text ("\r\n", "\n" or "\r"), whatever bytes
// come before it; null when it has none.
const char* FirstLineEnding(std::string_view text);

}  // namespace kestrune_tool

#endif
