// What a text does against a policy, and the text mended: pure code over
// bytes, the same for check, fix and tag.
#ifndef KESTRUNE_TOOL_FIXPLAN_H
#define KESTRUNE_TOOL_FIXPLAN_H

#include "CatalogHead.h"
#include "Policy.h"
#include "Utf8Position.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace kestrune_tool {

struct Findings {
    CatalogHead head;
    std::size_t eolLine = 0;         // the first line whose ending breaks the rule, from 1; 0 for none
    const char* eolFound = nullptr;  // that line's ending
    bool bom = false;                // the mark is missing, or there against the rule
    bool finalNewline = false;       // missing, or there against the rule
    bool tag = false;                // the tag line is missing or names another charset
    bool utf8 = false;               // invalid where the rule wants UTF-8; at places it
    TextPosition at;

    bool Fixable() const { return eolLine != 0 || bom || finalNewline || tag; }
    bool Any() const { return Fixable() || utf8; }
};

Findings CheckText(const std::string& text, const Policy& policy);

// The text with every fixable finding mended and nothing else changed:
// line endings converted, the mark added or taken off, the final line
// ending added or taken off, tagLine put after the mark in place of a
// wrong tag line (or before the content when there is none). Where
// KeepsBody, only the new head: the rest is text from findings.head.end on.
std::string FixText(const std::string& text, const Policy& policy, const Findings& findings,
                    const std::string& tagLine);

// True when mending leaves all after the head as it is: no line ending to
// convert, no final one to add or take off.
bool KeepsBody(const Policy& policy, const Findings& findings);

// The line ending for what the text gains: the rule's, else the text's own
// first one (the library's default when it has none).
const char* EolFor(const std::string& text, const Policy& policy);

// The tag line's ending: the one asked for it, else EolFor's.
const char* TagEol(const std::string& text, const Policy& policy);

// Each broken rule: its key ("end_of_line", "bom", "utf8", "final_newline",
// "tag") and what is wrong, in words.
std::vector<std::pair<const char*, std::string>> Describe(const Findings& findings, const Policy& policy);

}  // namespace kestrune_tool

#endif
