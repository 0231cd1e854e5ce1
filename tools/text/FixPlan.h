// What a text does against a policy, and the text mended: pure code over
// bytes, the same for check, fix and tag.
#ifndef KESTRUNE_TOOL_FIXPLAN_H
#define KESTRUNE_TOOL_FIXPLAN_H

#include "CatalogHead.h"
#include "Policy.h"
#include "TagVerdict.h"
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
    std::size_t eolByte = 0;         // and where it starts
    bool bom = false;                // the mark is missing, or there against the rule
    bool finalNewline = false;       // missing, or there against the rule
    bool tag = false;                // the tag line is missing or names another charset
    bool utf8 = false;               // invalid where the rule wants UTF-8; at places it
    TextPosition at;
    // Lines and columns from 1, 0 for none; columns in characters.
    std::size_t trimLine = 0;  // the first line that ends in a space or tab, and where they start
    std::size_t trimColumn = 0;
    std::size_t indentLine = 0;  // the first line whose indentation breaks the style, and where
    std::size_t indentColumn = 0;
    std::size_t indentWidth = 0;  // spaces: its width when that is the fault, else 0 (a tab or a space misplaced)
    std::size_t longLine = 0;     // the first line longer than the limit, and its length
    std::size_t longLength = 0;

    bool Fixable() const { return eolLine != 0 || bom || finalNewline || tag || trimLine != 0; }
    bool Any() const { return Fixable() || utf8 || indentLine != 0 || longLine != 0; }
};

Findings CheckText(const std::string& text, const Policy& policy);

// The text with every fixable finding mended and nothing else changed:
// line endings converted, the mark added or every leading one taken off,
// the final line ending added or taken off (never when the last line is blank),
// spaces and tabs at the ends of lines taken off, tagLine put after
// the mark in place of a wrong tag line (or before the content when there
// is none). Where KeepsBody, only the new head: the rest is text from
// findings.head.end on.
std::string FixText(const std::string& text, const Policy& policy, const Findings& findings,
                    const std::string& tagLine);

// True when mending leaves all after the head as it is: no line ending to
// convert, no final one to add or take off (a new tag line's may be final).
bool KeepsBody(const Policy& policy, const Findings& findings);

// The line ending for what the text gains: the rule's, else the first one
// in the text (CRLF, the library's default, when it has none).
const char* EolFor(const std::string& text, const Policy& policy);

// The tag line's ending: the one asked for it, else EolFor's.
const char* TagEol(const std::string& text, const Policy& policy);

// Each broken rule: its key ("end_of_line", "bom", "utf8", "final_newline",
// "tag", "trim_trailing_whitespace", "indent", "max_line_length") and what
// is wrong, in words.
using Words = std::vector<std::pair<const char*, std::string>>;
Words Describe(const Findings& findings, const Policy& policy);

// check's verdict on a text.
struct Verdict {
    Findings found;
    TagVerdict tag;
    bool ruled = false;   // a rule or a tag line says what the text must be; else no rule is judged
    bool binary = false;  // at: a byte that only a binary file holds, whatever the rules; then no rule is judged
    TextPosition at;
    Words words;  // each finding: the rules broken (as Describe), then "charset": a tag that lies; or "binary"

    bool Broken() const { return !words.empty(); }
};

Verdict Judge(const std::string& text, const Policy& policy);

// What fix does to a text that check gave before: mends every finding it
// can, except that it puts no UTF-8 mark on a text that is not UTF-8 and no
// tag line that would lie; after is check's verdict on the result, which
// is what fix reports as not fixable.
struct Plan {
    Findings mend;     // before's findings less those refused
    Words refused;     // "bom" or "tag": why it is not mended, and what would convert the text
    std::string text;  // the text mended, when mend is Fixable
    Verdict after;

    // words, each refused rule's in refused's words.
    Words Told(Words words) const;
};

Plan PlanFix(const std::string& text, const Policy& policy, const Verdict& before);

// The command that makes a text UTF-8: --to-utf8 alone where the tag line
// names the charset the text is in, else with --from CHARSET.
std::string ToUtf8Command(const TagVerdict& tag);

// Why a tag line naming charset would lie about text, and, for UTF-8,
// which command converts the text; empty when it would not lie.
std::string TagLie(const std::string& text, const CatalogHead& head, const std::string& charset);

}  // namespace kestrune_tool

#endif
