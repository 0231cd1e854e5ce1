#include "Rules.h"

#include "Report.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace kestrune_tool {

namespace {

constexpr char kFix[] = "kestrune fix";

void PlaceAt(Finding& finding, const TextPosition& at)
{
    finding.line = at.line;
    finding.column = at.column;
    finding.byte = at.byte;
    finding.found = at.bytes;
}

// The first line, after a mark of mark bytes (a character of its own).
void PlaceAtHead(Finding& finding, std::size_t mark)
{
    finding.line = 1;
    finding.column = mark != 0 ? 2 : 1;
    finding.byte = mark;
}

// At byte of the text.
void PlaceAtByte(Finding& finding, const std::string& text, std::size_t byte)
{
    TextPosition at;
    at.byte = byte;
    PlaceAfter(std::string_view(text).substr(0, byte), false, at);
    finding.line = at.line;
    finding.column = at.column;
    finding.byte = at.byte;
}

// The end of the text: its final line ending, or where one would go.
void PlaceAtEnd(Finding& finding, const std::string& text)
{
    std::size_t end = text.size();
    if (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        end -= text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0 ? 2 : 1;
    PlaceAtByte(finding, text, end);
}

const char* YesNo(bool yes) { return yes ? "yes" : "no"; }

// Where the rule's finding is, what the rule wants and what the text holds,
// and whether mend mends it.
void Place(Finding& finding, const std::string& text, const Verdict& verdict, const Policy& policy,
           const Findings& mend)
{
    const Findings& found = verdict.found;
    const std::string& rule = finding.rule;
    if (rule == "end_of_line") {
        PlaceAtByte(finding, text, found.eolByte);
        finding.expected = EolName(policy.eol);
        finding.found = EolName(found.eolFound);
        finding.fixable = mend.eolLine != 0;
    } else if (rule == "bom") {
        PlaceAtHead(finding, 0);
        finding.expected = YesNo(policy.bom == Want::Yes);
        finding.found = YesNo(found.head.mark != 0);
        finding.fixable = mend.bom;
    } else if (rule == "final_newline") {
        PlaceAtEnd(finding, text);
        finding.expected = YesNo(policy.finalNewline == Want::Yes);
        finding.found = YesNo(policy.finalNewline != Want::Yes);
        finding.fixable = mend.finalNewline;
    } else if (rule == "tag") {
        PlaceAtHead(finding, found.head.mark);
        finding.expected = policy.tag;
        finding.found = found.head.tagged ? found.head.charset : "";
        finding.fixable = mend.tag;
    } else if (rule == "trim_trailing_whitespace") {
        finding.line = found.trimLine;
        finding.column = found.trimColumn;
        finding.expected = "no space or tab at the end of a line";
        finding.found = "spaces or tabs";
        finding.fixable = mend.trimLine != 0;
    } else if (rule == "indent") {
        finding.line = found.indentLine;
        finding.column = found.indentColumn;
        finding.expected = policy.indent == Indent::Tab ? "tab"
                           : policy.indentSize != 0     ? std::to_string(policy.indentSize) + " spaces a level"
                                                        : "space";
        finding.found = found.indentWidth != 0         ? std::to_string(found.indentWidth) + " spaces"
                        : policy.indent == Indent::Tab ? "space"
                                                       : "tab";
    } else if (rule == "max_line_length") {
        finding.line = found.longLine;
        finding.column = policy.maxLine + 1;
        finding.expected = std::to_string(policy.maxLine);
        finding.found = std::to_string(found.longLength);
    } else if (rule == "utf8") {
        PlaceAt(finding, found.at);
        finding.expected = "UTF-8";
        finding.repair = ToUtf8Command(verdict.tag);
    } else if (rule == "charset") {
        // A tag line that lies: about UTF-8 text, or over a byte its charset has no character for.
        const TagVerdict& tag = verdict.tag;
        if (tag.kind == TagVerdict::IsUtf8) {
            PlaceAtHead(finding, found.head.mark);
            finding.found = "UTF-8";
            finding.repair = "kestrune fix --tag UTF-8";
        } else {
            PlaceAt(finding, tag.at);
        }
        finding.expected = tag.charset;
    } else if (rule == "binary") {
        PlaceAt(finding, verdict.at);
        finding.expected = "text";
    }
    if (finding.fixable) finding.repair = kFix;
}

const RuleText kRules[] = {
    {"end_of_line", "Every line ends as the rules say.",
     "Each line ending (CR LF, LF or a lone CR) is the one that end_of_line in .editorconfig or --eol asks for; the "
     "first that is not is reported.",
     "kestrune fix makes every line ending the one asked for."},
    {"bom", "The file starts with a UTF-8 byte-order mark, or does not, as asked.",
     "Whether the file starts with the bytes EF BB BF. check holds it to charset utf-8 (no mark) or utf-8-bom (a "
     "mark) in .editorconfig, or to --bom.",
     "kestrune fix adds the mark or takes every leading one off; it puts none on a text that is not UTF-8, which "
     "kestrune fix --to-utf8 --from CHARSET converts first."},
    {"final_newline", "The last line ends in a line ending, or does not, as asked.",
     "insert_final_newline in .editorconfig, or --final-newline: whether the text ends in a line ending.",
     "kestrune fix adds the final line ending or takes it off; it takes off no blank last line."},
    {"tag", "A catalog starts with the charset tag line asked for.",
     "The first line (after a byte-order mark) is <meta charset=\"CHARSET\"/> naming the charset --tag gives.",
     "kestrune fix writes the tag line, unless the text is not in that charset: kestrune fix --to-utf8 --from CHARSET "
     "converts it to UTF-8 first."},
    {"utf8", "The text is valid UTF-8.",
     "The whole text is valid UTF-8 (RFC 3629: no overlong forms, no surrogates, nothing above U+10FFFF); the place "
     "is that of the first invalid sequence.",
     "kestrune fix changes no character; kestrune fix --to-utf8 --from CHARSET converts a text in a legacy charset "
     "to UTF-8 (--to-utf8 alone when its tag line names that charset)."},
    {"charset", "A catalog's tag line names the charset its text is in.",
     "The text after the tag line is in the charset the tag names: every byte a character of it, and not UTF-8 "
     "under another name.",
     "kestrune fix --tag UTF-8 corrects a tag over UTF-8 text; kestrune fix --to-utf8 --from CHARSET converts a text "
     "from the charset it is really in."},
    {"binary", "The file is text.",
     "A NUL byte, or a C0 control byte other than TAB, LF, VT, FF, CR and ESC, makes a file binary: no rule is "
     "judged and fix never writes it.",
     "A UTF-16 text without a byte-order mark is converted by kestrune fix --to-utf8 --from UTF-16LE (or UTF-16BE)."},
    {"trim_trailing_whitespace", "No line ends in spaces or tabs.",
     "trim_trailing_whitespace in .editorconfig, or --trim: no space or tab stands before a line ending or at the "
     "end of the text; the place is that of the first such blank.",
     "kestrune fix takes the spaces and tabs off the ends of lines."},
    {"indent", "Indentation follows the style asked for.",
     "indent_style with indent_size in .editorconfig, or --indent: no tab in an indentation where spaces are asked, "
     "no indentation that begins with spaces where tabs are, and with spaces a width that is a multiple of "
     "indent_size; the first line that breaks it is reported.",
     "Not mended by kestrune fix: re-indenting is a formatter's job."},
    {"max_line_length", "No line is longer than the limit.",
     "max_line_length in .editorconfig, or --max-line-length: no line holds more characters (code points of valid "
     "UTF-8, bytes otherwise) than the limit; the first longer line is reported.",
     "Not mended by kestrune fix: where to break a line is the author's call."},
    {"eol", "Which line ending the file uses first.",
     "The end-of-line convention of the first line ending in the file, or none.",
     "kestrune fix --eol lf, crlf or cr makes every line ending alike."},
    {"info", "What the library tells about the file.",
     "The kinds of line ending, the byte-order mark, UTF-8 validity and the tag line's charset; a file with mixed "
     "line endings or invalid UTF-8 is not clean.",
     "kestrune fix --eol makes the line endings alike; kestrune fix --to-utf8 --from CHARSET converts the text."},
    {"compare", "Whether two catalogs say the same.",
     "The two files' texts, compared with CR and LF bytes, the leading byte-order mark and the tag line ignored.",
     "Nothing to mend: the answer is about the text."},
};

}  // namespace

std::vector<Finding> RuleFindings(const std::string& file, const std::string& text, const Verdict& verdict,
                                  const Words& words, const Policy& policy, const Findings& mend)
{
    std::vector<Finding> findings;
    for (const auto& [rule, what] : words) {
        Finding finding;
        finding.file = file;
        finding.rule = rule;
        finding.message = what;
        Place(finding, text, verdict, policy, mend);
        findings.push_back(std::move(finding));
    }
    std::stable_partition(findings.begin(), findings.end(),
                          [](const Finding& finding) { return finding.rule != "utf8"; });
    return findings;
}

Finding Conversion(const std::string& file, const std::string& from)
{
    Finding finding;
    finding.file = file;
    finding.rule = "charset";
    finding.expected = "UTF-8";
    finding.found = from;
    finding.fixable = true;
    finding.repair = "kestrune fix --to-utf8";
    finding.message = "converted from " + from + " to UTF-8";
    return finding;
}

RuleText DescribeRule(const std::string& id)
{
    for (const RuleText& rule : kRules) {
        if (id == rule.id) return rule;
    }
    return {"", "A rule of kestrune check.", "See kestrune help check.", "kestrune fix mends what it can."};
}

}  // namespace kestrune_tool
