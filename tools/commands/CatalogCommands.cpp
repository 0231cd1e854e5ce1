// tag and compare: putting a catalog's charset tag line at its head, comparing two catalogs.
#include "Commands.h"
#include "FileKind.h"
#include "FileText.h"
#include "FixedFile.h"
#include "MappedScan.h"
#include "Output.h"
#include "QORSysTextFileUtilities.h"
#include "Report.h"
#include "SafeReplace.h"
#include "Walk.h"

#include <strings.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <new>
#include <string>
#include <utility>

using namespace QORSysTextFileUtilities;

namespace kestrune_tool {

namespace {

// Sets eol from an --eol value: null for "auto". False for an unknown value.
bool EolFromOption(const char* option, const char*& eol)
{
    static const struct {
        const char* option;
        const char* eol;
    } kChoices[] = {{"auto", nullptr}, {"crlf", "\r\n"}, {"lf", "\n"}, {"cr", "\r"}};
    for (const auto& choice : kChoices) {
        if (strcasecmp(option, choice.option) == 0) {
            eol = choice.eol;
            return true;
        }
    }
    return false;
}

// Finds out why a comparison failed, for the message: the library gives one
// code for every failure, and both files were just read whole.
int CompareTrouble(const char* firstName, const QORSysPath& first, HRESULT code)
{
    VELUnicodeString extension;
    if (first.GetExtension(extension) >= 0) {
        extension.ToLower();
        if (extension != "velnls") return Trouble(firstName, "not a .velnls catalog", code);
    }
    return Trouble(firstName, "cannot read", code);
}

// The library takes a file it cannot size as empty and a zero byte as the
// end of a text; either would turn into a wrong "same". So each operand is
// refused in those cases: looked at in place where it can be mapped, else
// read first.
int CatalogText(const char* name, const QORSysPath& path)
{
    if (RegularOnly(name, "compared") != kYes) return kTrouble;
    std::uint64_t zero = UINT64_MAX;
    // Past the file services' 32-bit sizes, reading tells that it cannot be sized.
    const HRESULT mapped = FindZeroMapped(name, UINT32_MAX, zero);
    if (mapped < 0) return Trouble(name, "cannot open", mapped);
    if (mapped == S_FALSE) {
        std::string text;
        if (ReadWhole(name, path, text) != kYes) return kTrouble;
        zero = text.find('\0') == std::string::npos ? UINT64_MAX : text.find('\0');
    }
    if (zero == UINT64_MAX) return kYes;
    return Refused(name, ("holds a zero byte at " + std::to_string(zero) + ": not a text").c_str());
}

}  // namespace

int RunTag(const Invocation& run)
{
    const char* name = run.operands[0];
    Policy policy;
    policy.tag = run.operands[1];
    if (!EolFromOption(run.eol, policy.tagEol))
        return UsageError("tag", "--eol takes crlf, lf, cr or auto, not '%s'", run.eol);
    QORSysPath path;
    Snapshot snapshot;
    if (!ToPath(name, path) || RegularOnly(name, "written") != kYes) return kTrouble;
    const Outcome looked = Inspect(name, snapshot);
    if (!looked.Ok()) return TroubleOrRefused(name, looked.what, looked.code);
    std::string text;
    if (ReadWhole(name, path, text) != kYes) return kTrouble;
    const Findings found = CheckText(text, policy);
    Output output(Format::kText, run.quiet, nullptr);
    if (!found.tag) {
        Tell(Answered(name, "tag", Severity::kNote,
                      "already starts with <meta charset=\"" + found.head.charset + "\"/>"));
        return output.Finish(kYes);
    }
    const std::string lie = TagLie(text, found.head, policy.tag);
    if (!lie.empty()) {
        Tell(Answered(name, "tag", Severity::kError, "not written: " + lie));
        return output.Finish(kNo);
    }
    // The tag line goes before the content, or in place of the one there; nothing else changes.
    const Outcome written =
        Replace(snapshot, [&](QORSysFileDescriptor& file) { return WriteFixed(file, text, policy, found); });
    if (!written.Ok()) return TroubleOrRefused(name, written.what, written.code);
    Tell(Answered(name, "tag", Severity::kNote,
                  "wrote <meta charset=\"" + policy.tag + "\"/> and " + EolName(TagEol(text, policy))));
    return output.Finish(FlushReplaced(kYes));
}

int RunCompare(const Invocation& run)
{
    const char* firstName = run.operands[0];
    const char* secondName = run.operands[1];
    QORSysPath first;
    QORSysPath second;
    if (!ToPath(firstName, first) || !ToPath(secondName, second)) return kTrouble;
    HRESULT code = E_FAIL;
    try {
        if (CatalogText(firstName, first) != kYes || CatalogText(secondName, second) != kYes) return kTrouble;
        code = CompareCatalogFiles(first, second);
    } catch (const std::bad_alloc&) {
        // A file that cannot be mapped is held in memory whole.
        std::fprintf(stderr, "kestrune: %s vs %s: out of memory (0x%08X)\n", firstName, secondName,
                     static_cast<unsigned int>(QORSysResultFromErrno(ENOMEM)));
        return kTrouble;
    }
    if (code < 0) return CompareTrouble(firstName, first, code);
    const bool same = code == S_OK;
    Output output(run.format, run.quiet, nullptr);
    Result result = Answered(firstName, "compare", same ? Severity::kNote : Severity::kError,
                             (same ? "same as " : "different from ") + std::string(secondName));
    result.subject = std::string(firstName) + " vs " + secondName;
    result.Text("first", firstName).Text("second", secondName).Bool("same", same).answer = same ? "same" : "different";
    Tell(std::move(result));
    return output.Finish(same ? kYes : kNo);
}

}  // namespace kestrune_tool
