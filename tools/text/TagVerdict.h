// Whether a catalog's text is in the charset its tag line names.
#ifndef KESTRUNE_TOOL_TAGVERDICT_H
#define KESTRUNE_TOOL_TAGVERDICT_H

#include "CatalogHead.h"
#include "Utf8Position.h"

#include <string>
#include <string_view>

namespace kestrune_tool {

struct TagVerdict {
    enum Kind {
        Untagged,
        Fits,         // every byte is a character of the charset (and not UTF-8 under another name)
        IsUtf8,       // a charset other than UTF-8 named, and the text is UTF-8 with characters past ASCII
        Invalid,      // at: the first sequence that is no character of the charset
        Unknown,      // a name kestrune does not know
        Unavailable,  // a charset this system cannot convert
    };
    Kind kind = Untagged;
    std::string charset;  // as the tag line names it
    TextPosition at;

    bool Lies() const { return kind == IsUtf8 || kind == Invalid; }
    // "fits", "utf-8", "invalid", "unknown" or "unavailable"; null for Untagged.
    const char* Word() const;
    // What is wrong, in words, for a tag that lies.
    std::string Words() const;
};

TagVerdict JudgeTag(const std::string& text, const CatalogHead& head);

// True when text holds a byte past ASCII and is valid UTF-8.
bool BeyondAsciiUtf8(std::string_view text);

}  // namespace kestrune_tool

#endif
