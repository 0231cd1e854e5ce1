#include "FixPlan.h"

#include "Charsets.h"
#include "LineEndings.h"

#include <strings.h>
#include <algorithm>
#include <utility>

namespace kestrune_tool {

namespace {

const char kMark[] = "\xEF\xBB\xBF";

const char* EndingName(const char* eol)
{
    if (eol[0] == '\n') return "LF";
    return eol[1] == '\n' ? "CRLF" : "CR";
}

// The length of the line ending at text[i], 0 when there is none.
std::size_t EndingAt(const std::string& text, std::size_t i)
{
    if (text[i] == '\n') return 1;
    if (text[i] != '\r') return 0;
    return i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
}

// Appends text[from, to) to out with every line ending made eol (left alone
// when null), and with trim the spaces and tabs before each and at the end taken off.
void AppendConverted(std::string& out, const std::string& text, std::size_t from, std::size_t to, const char* eol,
                     bool trim)
{
    if (eol == nullptr && !trim) {
        out.append(text, from, to - from);
        return;
    }
    std::size_t blanks = 0;  // those held back, until a character that is not one shows they stay
    for (std::size_t i = from; i < to;) {
        const std::size_t ending = EndingAt(text, i);
        if (trim && (text[i] == ' ' || text[i] == '\t')) {
            ++blanks;
            ++i;
            continue;
        }
        if (ending == 0) out.append(text, i - blanks, blanks);
        blanks = 0;
        if (ending == 0) {
            out += text[i++];
        } else {
            // Blanks taken off between a lone CR and an LF must not make the two one CR LF.
            const bool joins = eol == nullptr && !out.empty() && out.back() == '\r' && text[i] == '\n';
            out.append(eol != nullptr ? eol : joins ? "\r" : text.substr(i, ending).c_str());
            i += ending;
        }
    }
}

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The characters in text: UTF-8 sequences, or bytes.
std::size_t Characters(std::string_view text, bool bytewise)
{
    return bytewise ? text.size() : static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return !IsContinuation(c);
    }));
}

// The line-by-line rules: trailing blanks, indentation, line length.
void CheckLines(const std::string& text, const Policy& policy, Findings& found)
{
    const bool trim = policy.trim == Want::Yes;
    const bool indent = policy.indent != Indent::Unset;
    const bool limit = policy.lineLimit == Want::Yes;
    if (!trim && !indent && !limit) return;
    TextPosition unused;
    const bool bytewise = limit && FindInvalidUtf8(text, unused);
    const auto column = [bytewise](std::string_view before) { return Characters(before, bytewise) + 1; };
    std::size_t start = found.head.mark;
    for (std::size_t line = 1;; ++line) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        const std::string_view content(text.data() + start, end - start);
        const std::size_t kept = content.find_last_not_of(" \t") + 1;  // 0 for a blank line
        if (trim && found.trimLine == 0 && kept < content.size()) {
            found.trimLine = line;
            found.trimColumn = column(content.substr(0, kept));
        }
        const std::size_t width = std::min(content.find_first_not_of(" \t"), content.size());
        if (indent && found.indentLine == 0 && kept != 0 && width != 0) {
            const std::size_t tab = content.find('\t');
            const bool spaces = policy.indent == Indent::Space;
            const bool odd = spaces && tab >= width && policy.indentSize != 0 && width % policy.indentSize != 0;
            if ((spaces && tab < width) || odd || (!spaces && content[0] == ' ')) {
                found.indentLine = line;
                found.indentColumn = spaces && !odd ? tab + 1 : 1;
                found.indentWidth = odd ? width : 0;
            }
        }
        const std::size_t length = Characters(content, bytewise);
        if (limit && found.longLine == 0 && length > policy.maxLine) {
            found.longLine = line;
            found.longLength = length;
        }
        if (end == text.size()) return;
        start = end + EndingAt(text, end);
    }
}

bool EndsInNewline(const std::string& text) { return !text.empty() && (text.back() == '\n' || text.back() == '\r'); }

// True when the text after the head ends in a blank line: two line endings
// or more (with trim, spaces and tabs between them too).
bool BlankLast(const std::string& text, const CatalogHead& head, bool trim)
{
    const std::size_t last = std::max(text.find_last_not_of(trim ? "\r\n \t" : "\r\n") + 1, head.end);
    return CountLineEndings(text.data() + last, text.size() - last).Total() >= 2;
}

}  // namespace

Findings CheckText(const std::string& text, const Policy& policy)
{
    Findings found;
    found.head = ReadHead(text);
    const CatalogHead& head = found.head;
    // The common rule, LF (or CR) alone, holds where the other byte never occurs.
    const bool single = policy.eol != nullptr && policy.eol[1] == '\0';
    if (policy.eol != nullptr && !(single && text.find(policy.eol[0] == '\n' ? '\r' : '\n') == std::string::npos)) {
        std::size_t line = 1;
        for (std::size_t i = 0; i < text.size() && found.eolLine == 0; ++i) {
            const std::size_t ending = EndingAt(text, i);
            if (ending == 0) continue;
            if (text.compare(i, ending, policy.eol) != 0) {
                found.eolLine = line;
                found.eolByte = i;
                found.eolFound = text[i] == '\n' ? "\n" : ending == 2 ? "\r\n" : "\r";
            }
            i += ending - 1;
            ++line;
        }
    }
    found.bom = (policy.bom == Want::Yes && head.mark == 0) || (policy.bom == Want::No && head.mark != 0);
    // A tag line with nothing after it is the last line.
    const bool content = text.size() > head.mark;
    const bool ends = content && EndsInNewline(text);
    found.finalNewline =
        content && (policy.finalNewline == Want::Yes ? !ends : policy.finalNewline == Want::No && ends);
    found.tag = !policy.tag.empty() && (!head.tagged || strcasecmp(head.charset.c_str(), policy.tag.c_str()) != 0);
    found.utf8 = policy.utf8 == Want::Yes && FindInvalidUtf8(text, found.at);
    CheckLines(text, policy, found);
    return found;
}

std::string FixText(const std::string& text, const Policy& policy, const Findings& findings, const std::string& tagLine)
{
    std::string out;
    out.reserve(text.size() + tagLine.size() + 3);
    const CatalogHead& head = findings.head;
    if (!findings.bom) {
        // The library reads a tag line after one mark only.
        out.append(text, 0, findings.tag ? std::min<std::size_t>(head.mark, 3) : head.mark);
    } else if (head.mark == 0) {
        out += kMark;
    }
    const bool trim = findings.trimLine != 0;
    if (findings.tag) {
        out += tagLine;
    } else {
        AppendConverted(out, text, head.mark, head.end, policy.eol, trim);
    }
    if (KeepsBody(policy, findings)) return out;
    AppendConverted(out, text, head.end, text.size(), policy.eol, trim);
    if (findings.finalNewline && policy.finalNewline == Want::Yes && !EndsInNewline(out)) out += EolFor(text, policy);
    // Only the final line ending goes (a blank line before it is content), or a new tag line's with nothing after
    // it, or the one that blanks taken off the last line have left last.
    const bool tagAlone = findings.tag && head.end == text.size();
    const bool bared = trim && !EndsInNewline(text) && !BlankLast(out, ReadHead(out), false);
    if ((findings.finalNewline || tagAlone || bared) && policy.finalNewline == Want::No && EndsInNewline(out)) {
        const bool crlf = out.size() >= 2 && out.compare(out.size() - 2, 2, "\r\n") == 0;
        out.resize(out.size() - (crlf ? 2 : 1));
    }
    return out;
}

bool KeepsBody(const Policy& policy, const Findings& findings)
{
    return (policy.eol == nullptr || findings.eolLine == 0) && !findings.finalNewline && findings.trimLine == 0 &&
           !(findings.tag && policy.finalNewline == Want::No);
}

const char* EolFor(const std::string& text, const Policy& policy)
{
    if (policy.eol != nullptr) return policy.eol;
    const char* eol = FirstLineEnding(text);
    return eol != nullptr ? eol : "\r\n";
}

const char* TagEol(const std::string& text, const Policy& policy)
{
    return policy.tagEol != nullptr ? policy.tagEol : EolFor(text, policy);
}

Words Describe(const Findings& findings, const Policy& policy)
{
    Words words;
    if (findings.eolLine != 0) {
        words.emplace_back("end_of_line", "line " + std::to_string(findings.eolLine) + " ends in " +
                                              EndingName(findings.eolFound) + ", not " + EndingName(policy.eol));
    }
    if (findings.bom)
        words.emplace_back("bom", findings.head.mark != 0 ? "byte-order mark present" : "no byte-order mark");
    if (findings.utf8) {
        words.emplace_back("utf8", "invalid UTF-8 at " + findings.at.Words());
    }
    if (findings.finalNewline)
        words.emplace_back("final_newline",
                           policy.finalNewline == Want::Yes ? "no final newline" : "final newline present");
    if (findings.tag) {
        words.emplace_back("tag", findings.head.tagged ? "tag says " + findings.head.charset + ", not " + policy.tag
                                                       : "tag line missing");
    }
    const auto place = [](std::size_t line, std::size_t column) {
        return "line " + std::to_string(line) + ", column " + std::to_string(column);
    };
    if (findings.trimLine != 0)
        words.emplace_back("trim_trailing_whitespace",
                           "trailing whitespace at " + place(findings.trimLine, findings.trimColumn));
    if (findings.indentLine != 0) {
        const std::string where = place(findings.indentLine, findings.indentColumn);
        words.emplace_back("indent", findings.indentWidth != 0
                                         ? "indentation of " + std::to_string(findings.indentWidth) + " spaces at " +
                                               where + ", not a multiple of " + std::to_string(policy.indentSize)
                                     : policy.indent == Indent::Space ? "tab in the indentation at " + where
                                                                      : "space in the indentation at " + where);
    }
    if (findings.longLine != 0) {
        words.emplace_back("max_line_length", "line " + std::to_string(findings.longLine) + " has " +
                                                  std::to_string(findings.longLength) + " characters, over " +
                                                  std::to_string(policy.maxLine));
    }
    return words;
}

Verdict Judge(const std::string& text, const Policy& policy)
{
    Verdict verdict;
    verdict.found.head = ReadHead(text);
    verdict.ruled = policy.Any() || verdict.found.head.tagged;
    verdict.binary = FindBinaryByte(text, verdict.at);
    if (!verdict.ruled && !verdict.binary) return verdict;
    verdict.tag = JudgeTag(text, verdict.found.head);
    if (verdict.binary) {
        const bool utf16 = text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0;
        const char* hint = verdict.at.bytes != "00" ? ""
                           : utf16                  ? " (UTF-16: kestrune fix --to-utf8 converts it)"
                                   : " (UTF-16 without a mark? kestrune fix --to-utf8 --from UTF-16LE converts it)";
        verdict.words.emplace_back("binary", "a binary file's byte at " + verdict.at.Words() + hint);
        return verdict;
    }
    verdict.found = CheckText(text, policy);
    verdict.words = Describe(verdict.found, policy);
    // Invalid UTF-8 under a UTF-8 rule is told once.
    const TagVerdict& tag = verdict.tag;
    if (tag.Lies() &&
        !(verdict.found.utf8 && tag.kind == TagVerdict::Invalid && FindCharset(tag.charset)->form == Form::Utf8))
        verdict.words.emplace_back("charset", tag.Words());
    return verdict;
}

std::string ToUtf8Command(const TagVerdict& tag)
{
    const bool named = tag.kind == TagVerdict::Fits && FindCharset(tag.charset)->form != Form::Utf8;
    return std::string("kestrune fix --to-utf8") + (named ? "" : " --from CHARSET");
}

namespace {

std::string ToUtf8Repair(const TagVerdict& tag) { return ToUtf8Command(tag) + " converts the text"; }

}  // namespace

std::string TagLie(const std::string& text, const CatalogHead& head, const std::string& charset)
{
    CatalogHead wanted = head;
    wanted.tagged = true;
    wanted.charset = charset;
    const TagVerdict verdict = JudgeTag(text, wanted);
    if (!verdict.Lies()) return {};
    const Charset* named = FindCharset(charset);
    const bool utf8 = named != nullptr && named->form == Form::Utf8;
    return "a tag saying " + charset + " would lie (" + verdict.Words() + ")" +
           (utf8 ? "; " + ToUtf8Repair(JudgeTag(text, head)) : "");
}

Plan PlanFix(const std::string& text, const Policy& policy, const Verdict& before)
{
    Plan plan;
    plan.after = before;
    if (before.binary || !before.ruled) return plan;
    Findings& mend = plan.mend = before.found;
    // Indentation and long lines need judgement: never mended.
    mend.indentLine = mend.longLine = 0;
    if (mend.tag) {
        std::string lie = TagLie(text, mend.head, policy.tag);
        mend.tag = lie.empty();
        if (!mend.tag) plan.refused.emplace_back("tag", std::move(lie));
    }
    TextPosition at;
    if (mend.bom && mend.head.mark == 0 && FindInvalidUtf8(text, at)) {
        mend.bom = false;
        plan.refused.emplace_back(
            "bom", "no byte-order mark (none is put on a text that is not UTF-8; " + ToUtf8Repair(before.tag) + ")");
    }
    // Only the final line ending may go: a blank last line is a line, and
    // taking it would eat the blank lines one run after another.
    if (mend.finalNewline && policy.finalNewline == Want::No && BlankLast(text, mend.head, mend.trimLine != 0)) {
        mend.finalNewline = false;
        plan.refused.emplace_back("final_newline",
                                  "final newline present (the last line is blank: fix takes off no line)");
    }
    if (!mend.Fixable()) return plan;
    plan.text = FixText(text, policy, mend, TagLine(policy.tag, TagEol(text, policy)));
    if (KeepsBody(policy, mend)) plan.text.append(text, mend.head.end, std::string::npos);
    plan.after = Judge(plan.text, policy);
    return plan;
}

Words Plan::Told(Words words) const
{
    for (auto& [key, what] : words) {
        for (const auto& [rule, why] : refused) {
            if (std::string(key) == rule) what = why;
        }
    }
    return words;
}

}  // namespace kestrune_tool
