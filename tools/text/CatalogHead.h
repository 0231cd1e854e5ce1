// The head of a catalog: a UTF-8 byte-order mark, then the
// <meta charset="NAME"/> tag line, each there or not.
#ifndef KESTRUNE_TOOL_CATALOGHEAD_H
#define KESTRUNE_TOOL_CATALOGHEAD_H

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrune_tool {

struct CatalogHead {
    std::size_t mark = 0;  // the bytes of the byte-order marks it starts with: 3 for one, 0 for none
    std::size_t end = 0;   // past the tag line and its line ending; mark when there is no tag line
    bool tagged = false;
    std::string charset;  // the tag line's NAME
};

// The head as the library's catalog comparison recognises it: a tag line
// after one mark at most; where there is none, every leading mark.
CatalogHead ReadHead(const std::string& text);

// The head of a text handed in pieces: keeps the pieces from the start
// only until more could not change ReadHead's answer (past the first line,
// or where the text cannot start with a tag line or marks), and never fewer
// than 3 bytes.
class HeadScan {
public:
    void Feed(std::string_view piece);
    CatalogHead Head() const { return ReadHead(kept_); }
    const std::string& Kept() const { return kept_; }

private:
    std::string kept_;
    bool known_ = false;
};

// The tag line naming charset, ending in eol, as the library writes it.
std::string TagLine(const std::string& charset, const char* eol);

}  // namespace kestrune_tool

#endif
