// The head of a catalog: a UTF-8 byte-order mark, then the
// <meta charset="NAME"/> tag line, each there or not.
#ifndef KESTRUNE_TOOL_CATALOGHEAD_H
#define KESTRUNE_TOOL_CATALOGHEAD_H

#include <cstddef>
#include <string>

namespace kestrune_tool {

struct CatalogHead {
    std::size_t mark;  // 3 after a byte-order mark, else 0
    std::size_t end;   // past the tag line and its line ending; mark when there is no tag line
    bool tagged;
    std::string charset;  // the tag line's NAME
};

// The head as the library's catalog comparison recognises it.
CatalogHead ReadHead(const std::string& text);

}  // namespace kestrune_tool

#endif
