#include "FixPlan.h"

#include "QORSysTextFileUtilities.h"

#include <strings.h>

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

// Appends text[from, to) to out with every line ending made eol (left alone when null).
void AppendConverted(std::string& out, const std::string& text, std::size_t from, std::size_t to, const char* eol)
{
    if (eol == nullptr) {
        out.append(text, from, to - from);
        return;
    }
    for (std::size_t i = from; i < to;) {
        const std::size_t ending = EndingAt(text, i);
        if (ending == 0) {
            out += text[i++];
        } else {
            out += eol;
            i += ending;
        }
    }
}

bool EndsInNewline(const std::string& text) { return !text.empty() && (text.back() == '\n' || text.back() == '\r'); }

}  // namespace

Findings CheckText(const std::string& text, const Policy& policy)
{
    Findings found;
    found.head = ReadHead(text);
    const CatalogHead& head = found.head;
    if (policy.eol != nullptr) {
        std::size_t line = 1;
        for (std::size_t i = 0; i < text.size() && found.eolLine == 0; ++i) {
            const std::size_t ending = EndingAt(text, i);
            if (ending == 0) continue;
            if (text.compare(i, ending, policy.eol) != 0) {
                found.eolLine = line;
                found.eolFound = text[i] == '\n' ? "\n" : ending == 2 ? "\r\n" : "\r";
            }
            i += ending - 1;
            ++line;
        }
    }
    found.bom = (policy.bom == Want::Yes && head.mark == 0) || (policy.bom == Want::No && head.mark != 0);
    const bool bodyEnds = EndsInNewline(text) && text.size() > head.end;
    found.finalNewline = text.size() > head.end &&
                         (policy.finalNewline == Want::Yes ? !bodyEnds : policy.finalNewline == Want::No && bodyEnds);
    found.tag = !policy.tag.empty() && (!head.tagged || strcasecmp(head.charset.c_str(), policy.tag.c_str()) != 0);
    found.utf8 = policy.utf8 == Want::Yes && FindInvalidUtf8(text, found.at);
    return found;
}

std::string FixText(const std::string& text, const Policy& policy, const Findings& findings, const std::string& tagLine)
{
    std::string out;
    out.reserve(text.size() + tagLine.size() + 3);
    const CatalogHead& head = findings.head;
    const bool mark = policy.bom == Want::Yes || (policy.bom == Want::Unset && head.mark != 0);
    out += mark ? kMark : "";
    if (findings.tag) {
        out += tagLine;
    } else {
        AppendConverted(out, text, head.mark, head.end, policy.eol);
    }
    if (KeepsBody(policy, findings)) return out;
    const std::size_t body = out.size();
    AppendConverted(out, text, head.end, text.size(), policy.eol);
    if (findings.finalNewline && policy.finalNewline == Want::Yes) out += EolFor(text, policy);
    while (findings.finalNewline && policy.finalNewline == Want::No && out.size() > body && EndsInNewline(out))
        out.pop_back();
    return out;
}

bool KeepsBody(const Policy& policy, const Findings& findings)
{
    return (policy.eol == nullptr || findings.eolLine == 0) && !findings.finalNewline;
}

const char* EolFor(const std::string& text, const Policy& policy)
{
    if (policy.eol != nullptr) return policy.eol;
    const char* eol = "\r\n";
    QORSysTextFileUtilities::DetectEOL(text.c_str(), eol);
    return eol;
}

const char* TagEol(const std::string& text, const Policy& policy)
{
    return policy.tagEol != nullptr ? policy.tagEol : EolFor(text, policy);
}

std::vector<std::pair<const char*, std::string>> Describe(const Findings& findings, const Policy& policy)
{
    std::vector<std::pair<const char*, std::string>> words;
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
    return words;
}

}  // namespace kestrune_tool
