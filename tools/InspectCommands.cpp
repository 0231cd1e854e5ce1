// eol, bom and utf8: one yes/no answer per file.
#include "Commands.h"
#include "FileText.h"
#include "QORSysTextFileUtilities.h"
#include "Report.h"

#include <algorithm>
#include <cstdint>

using namespace QORSysTextFileUtilities;

namespace kestrune_tool {

namespace {

// Runs check(name, path) on each operand; the worst status of them all,
// every file being looked at whatever came before.
template <typename Check>
int EachFile(const Invocation& run, Check check)
{
    int status = kYes;
    for (const char* name : run.operands) {
        QORSysPath path;
        status = std::max(status, ToPath(name, path) ? check(name, path) : kTrouble);
    }
    return status;
}

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

}  // namespace

int RunEol(const Invocation& run)
{
    return EachFile(run, [&](const char* name, const QORSysPath& path) {
        return WithOpenFile(name, path, [&](QORSysFileDescriptor& file) {
            const char* eol = nullptr;
            const bool found = DetectFileEOL(file, eol, 0) == S_OK;
            // Not found also covers a read that failed; reading again tells which.
            unsigned int size = 0;
            if (!found && ReadFile(name, path, nullptr, SIZE_MAX, size) != kYes) return kTrouble;
            Say(run, "%s: %s\n", name, found ? EolName(eol) : "none found (default CRLF)");
            return found ? kYes : kNo;
        });
    });
}

int RunBom(const Invocation& run)
{
    return EachFile(run, [&](const char* name, const QORSysPath& path) {
        return WithOpenFile(name, path, [&](QORSysFileDescriptor& file) {
            HRESULT found = DetectUnicodeBOM(file, 0);
            // The library does not judge a file under three bytes; it simply has no mark.
            unsigned int size = 0;
            if (found == E_FAIL && QORSysFSize(file, &size) >= 0 && size < 3) found = S_FALSE;
            if (found < 0) return Trouble(name, "cannot read", found);
            Say(run, "%s: %s\n", name, found == S_OK ? "yes" : "no");
            return found == S_OK ? kYes : kNo;
        });
    });
}

int RunUtf8(const Invocation& run)
{
    return EachFile(run, [&](const char* name, const QORSysPath& path) {
        int format = 0;
        const HRESULT code = DetectFileFormatDeep(path, format);
        if (code < 0) return FileTrouble(name, path, "cannot read", code);
        // The library goes by the reported size; a pipe or special file
        // reports 0 and would be called valid unread.
        unsigned int size = 0;
        std::string head;
        if (ReadFile(name, path, &head, 1, size) != kYes) return kTrouble;
        if (head.size() > size) return Refused(name, "not a regular file (its size is unknown): not checked");
        Say(run, "%s: %s\n", name, format == 2 ? "valid" : "invalid");
        return format == 2 ? kYes : kNo;
    });
}

}  // namespace kestrune_tool
