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

// The line endings of a text handed in pieces, as CountLineEndings and
// FirstLineEnding see the whole: a CR that ends a piece waits for the next
// one's first byte.
class LineEndingScan {
public:
    void Feed(std::string_view piece);
    // Those so far, a CR at the end counted as a lone CR.
    LineEndings Counts() const;
    const char* First() const { return first_ != nullptr || !cr_ ? first_ : "\r"; }
    // The place after the bytes fed: the line from 1 and the column in
    // UTF-8 characters from 1, as PlaceAfter tells it.
    std::size_t Line() const { return 1 + count_.Total() + cr_; }
    std::size_t Column() const { return column_; }

private:
    LineEndings count_;
    bool cr_ = false;  // the last byte fed was a CR not yet counted
    const char* first_ = nullptr;
    std::size_t column_ = 1;
};

}  // namespace kestrune_tool

#endif
