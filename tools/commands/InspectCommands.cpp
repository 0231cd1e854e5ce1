// eol, bom, utf8 and info: what the library tells about each file.
#include "CatalogHead.h"
#include "Charsets.h"
#include "Commands.h"
#include "FileText.h"
#include "FixPlan.h"
#include "LineEndings.h"
#include "QORSysTextFileUtilities.h"
#include "Report.h"
#include "Reported.h"
#include "TextScan.h"
#include "Utf8Position.h"
#include "Walk.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

using namespace QORSysTextFileUtilities;

namespace kestrune_tool {

namespace {

// Opens the file for reading, runs inspect(file) on it and closes it.
template <typename Inspect>
int WithOpenFile(const char* name, const QORSysPath& path, Inspect inspect)
{
    QORSysFileDescriptor file;
    const HRESULT opened = QORSysFOpen(path, "rb", file, 0);
    if (opened < 0) return Trouble(name, "cannot open", opened);
    const int status = inspect(file);
    QORSysFClose(file);
    return status;
}

// A file's UTF-8 verdict: strict, the whole text through the validator, with
// the place of the first fault. The library's deep check passes bytes that
// stand in its last window's last 3 bytes; where its answer differs, the
// output says so.
struct Utf8Verdict {
    bool valid = false;
    bool deepValid = false;  // the deep check's own answer
    TextPosition at;         // the first invalid sequence, when not valid
};

// What utf8 and info tell about a file, read once in windows.
struct Scanned {
    Utf8Verdict utf8;
    LineEndings endings;
    CatalogHead head;
    bool bom = false;
};

// Reads the file once; the deep check reads it again only where the strict
// verdict fails it, to tell whether its window rule passes it.
int ScanFile(const char* name, const QORSysPath& path, Scanned& scanned)
{
    TextScan scan;
    if (ReadWindows(name, path, [&](std::string_view window) { scan.Feed(window); }) != kYes) return kTrouble;
    scan.Finish();
    Utf8Verdict& verdict = scanned.utf8;
    scanned.endings = scan.Endings().Counts();
    scanned.head = scan.Head().Head();
    const char* head = scan.Head().Kept().data();
    auto size = static_cast<unsigned int>(scan.Head().Kept().size());
    scanned.bom = DetectUnicodeBOM(head, size) == S_OK;
    verdict.valid = !scan.InvalidUtf8(verdict.at);
    verdict.deepValid = verdict.valid;
    if (verdict.valid) return kYes;
    int format = 0;
    const HRESULT code = DetectFileFormatDeep(path, format);
    if (code < 0) return Trouble(name, "cannot read", code);
    verdict.deepValid = format == 2;
    return kYes;
}

std::string Utf8Words(const Utf8Verdict& verdict)
{
    const TextPosition& at = verdict.at;
    std::string words = verdict.valid ? "valid" : "invalid at " + at.Words();
    if (verdict.deepValid == verdict.valid) return words;
    return words + (verdict.deepValid ? "; the deep check's window rule passes it" : "; the deep check fails it");
}

void AddUtf8(Result& result, const Utf8Verdict& verdict)
{
    result.Bool("utf8", verdict.valid);
    if (!verdict.valid) {
        result.Number("byte", verdict.at.byte).Number("line", verdict.at.line).Number("column", verdict.at.column);
        result.Text("bytes", verdict.at.bytes);
    }
    if (verdict.deepValid != verdict.valid) result.Bool("deep_check", verdict.deepValid);
}

// An inspect command's result: its answer about the file, an error when it is no.
Result Answer(const char* name, const char* rule, bool yes, std::string message)
{
    Result result = Answered(name, rule, yes ? Severity::kNote : Severity::kError, std::move(message));
    result.Text("file", name);
    return result;
}

// Places the answer at the first invalid sequence of a file not valid UTF-8,
// with the conversion that makes it UTF-8. Only a tag line naming another
// charset needs the text read whole: whether the text fits that charset
// decides the command.
int PlaceInvalid(const char* name, const QORSysPath& path, Finding& finding, const Scanned& scanned)
{
    const Utf8Verdict& verdict = scanned.utf8;
    if (verdict.valid) return kYes;
    finding.line = verdict.at.line;
    finding.column = verdict.at.column;
    finding.byte = verdict.at.byte;
    finding.expected = "UTF-8";
    finding.found = verdict.at.bytes;
    const Charset* named = scanned.head.tagged ? FindCharset(scanned.head.charset) : nullptr;
    std::string text;
    if (named != nullptr && named->form != Form::Utf8 && ReadWhole(name, path, text) != kYes) return kTrouble;
    finding.repair = ToUtf8Command(text.empty() ? TagVerdict{} : JudgeTag(text, ReadHead(text)));
    return kYes;
}

// "CRLF", "LF", "CR", "mixed", or null for a text without line endings.
const char* EolKind(const LineEndings& endings)
{
    if (endings.Kinds() != 1) return endings.Kinds() == 0 ? nullptr : "mixed";
    return endings.crlf > 0 ? "CRLF" : endings.lf > 0 ? "LF" : "CR";
}

// The kind, with the count of each when mixed.
std::string EolWords(const LineEndings& endings)
{
    const char* kind = EolKind(endings);
    if (kind == nullptr || endings.Kinds() == 1) return kind != nullptr ? kind : "none";
    std::string words;
    for (const auto& [name, count] : {std::pair{"CRLF", endings.crlf}, {"LF", endings.lf}, {"CR", endings.cr}}) {
        if (count > 0) words += (words.empty() ? "mixed (" : ", ") + std::string(name) + " " + std::to_string(count);
    }
    return words + ")";
}

constexpr SummaryWords kEolWords{"has no line ending", "have no line ending", "all have a line ending", "checked"};
constexpr SummaryWords kBomWords{"has no byte-order mark", "have no byte-order mark", "all have a byte-order mark",
                                 "checked"};
constexpr SummaryWords kUtf8Words{"is not valid UTF-8", "are not valid UTF-8", "all are valid UTF-8", "checked"};
constexpr SummaryWords kInfoWords{"is not clean", "are not clean", "all are clean", "checked"};

}  // namespace

int RunEol(const Invocation& run)
{
    return EachFileReported(run, kEolWords, [&](const char* name, const QORSysPath& path) {
        std::string text;
        unsigned int size = 0;
        if (ReadFile(name, path, &text, SIZE_MAX, size) != kYes) return kTrouble;
        // The first CR or LF decides; the library matches what follows it.
        const std::size_t at = text.find_first_of("\r\n");
        const char* eol = nullptr;
        bool found = at != std::string::npos && DetectEOL(text.c_str() + at, eol) == S_OK;
        if (!found && text.size() > size) {
            // Longer than it says (a special file): the library's file form reads it to its end.
            const int status = WithOpenFile(name, path, [&](QORSysFileDescriptor& file) {
                found = DetectFileEOL(file, eol, 0) == S_OK;
                return kYes;
            });
            if (status != kYes) return status;
        }
        Result result = Answer(name, "eol", found, found ? EolName(eol) : "none found (default CRLF)");
        result.TextOrNull("eol", found ? EolName(eol) : nullptr);
        Finding& answer = result.findings.front();
        answer.found = found ? EolName(eol) : "";
        if (found && at != std::string::npos) {
            TextPosition place;
            PlaceAfter(std::string_view(text).substr(0, at), false, place);
            answer.line = place.line;
            answer.column = place.column;
            answer.byte = at;
        }
        Tell(std::move(result));
        return found ? kYes : kNo;
    });
}

int RunBom(const Invocation& run)
{
    return EachFileReported(run, kBomWords, [&](const char* name, const QORSysPath& path) {
        std::string text;
        unsigned int size = 0;
        if (ReadFile(name, path, &text, 3, size) != kYes) return kTrouble;
        const char* head = text.data();
        auto length = static_cast<unsigned int>(text.size());
        const bool found = DetectUnicodeBOM(head, length) == S_OK;
        Result result =
            Answer(name, "bom", found, found ? "starts with a UTF-8 byte-order mark" : "no byte-order mark");
        result.Bool("bom", found).answer = found ? "yes" : "no";
        result.findings.front().found = found ? "yes" : "no";
        Tell(std::move(result));
        return found ? kYes : kNo;
    });
}

int RunUtf8(const Invocation& run)
{
    return EachFileReported(run, kUtf8Words, [&](const char* name, const QORSysPath& path) {
        Scanned scanned;
        if (ScanFile(name, path, scanned) != kYes) return kTrouble;
        const Utf8Verdict& verdict = scanned.utf8;
        Result result = Answer(name, "utf8", verdict.valid, Utf8Words(verdict));
        AddUtf8(result, verdict);
        if (PlaceInvalid(name, path, result.findings.front(), scanned) != kYes) return kTrouble;
        Tell(std::move(result));
        return verdict.valid ? kYes : kNo;
    });
}

int RunInfo(const Invocation& run)
{
    return EachFileReported(run, kInfoWords, [&](const char* name, const QORSysPath& path) {
        Scanned scanned;
        if (ScanFile(name, path, scanned) != kYes) return kTrouble;
        const Utf8Verdict& verdict = scanned.utf8;
        const LineEndings& endings = scanned.endings;
        const bool tagged = scanned.head.tagged;
        const std::string& charset = scanned.head.charset;
        const bool clean = endings.Kinds() <= 1 && verdict.valid;
        Result result = Answer(name, "info", clean,
                               "eol " + EolWords(endings) + ", bom " + (scanned.bom ? "yes" : "no") + ", utf8 " +
                                   Utf8Words(verdict) + ", charset " + (tagged ? charset : "none"));
        result.TextOrNull("eol", EolKind(endings));
        result.Number("crlf", endings.crlf).Number("lf", endings.lf).Number("cr", endings.cr).Bool("bom", scanned.bom);
        AddUtf8(result, verdict);
        result.TextOrNull("charset", tagged ? charset.c_str() : nullptr);
        if (PlaceInvalid(name, path, result.findings.front(), scanned) != kYes) return kTrouble;
        Tell(std::move(result));
        return clean ? kYes : kNo;
    });
}

}  // namespace kestrune_tool
