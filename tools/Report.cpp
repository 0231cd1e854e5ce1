#include "Report.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace kestrune_tool {

namespace {

// An empty name would leave the message hard to read.
const char* Shown(const char* name) { return *name != '\0' ? name : "''"; }

// The error of the first result that could not be written, for the message at exit.
int writeError = 0;

}  // namespace

void Say(const Invocation& run, const char* format, ...)
{
    if (run.quiet) return;
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    NoteOutput();
}

int Show(const std::string& text)
{
    std::fputs(text.c_str(), stdout);
    NoteOutput();
    return kYes;
}

void NoteOutput()
{
    if (std::ferror(stdout) != 0 && writeError == 0) writeError = errno;
}

int FinishOutput(int status)
{
    errno = 0;
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return status;
    int error = writeError != 0 ? writeError : errno;
    if (error == 0) error = EIO;  // the stream failed earlier, in a flush that kept no error number
    return std::max(status, Trouble("standard output", "cannot write", QORSysResultFromErrno(error)));
}

int Refused(const char* subject, const char* why)
{
    std::fprintf(stderr, "kestrune: %s: %s\n", Shown(subject), why);
    return kTrouble;
}

int Trouble(const char* subject, const char* what, HRESULT code)
{
    std::fprintf(stderr, "kestrune: %s: %s (0x%08X)\n", Shown(subject), what, static_cast<unsigned int>(code));
    return kTrouble;
}

int TroubleOrRefused(const char* subject, const char* what, HRESULT code)
{
    return code < 0 ? Trouble(subject, what, code) : Refused(subject, what);
}

int FileTrouble(const char* name, const QORSysPath& path, const char* what, HRESULT code)
{
    QORSysFileDescriptor file;
    const HRESULT opened = QORSysFOpen(path, "rb", file, 0);
    if (opened < 0) return Trouble(name, "cannot open", opened);
    QORSysFClose(file);
    return Trouble(name, what, code);
}

int UsageError(const char* command, const char* format, ...)
{
    std::fprintf(stderr, "kestrune: ");
    if (command != nullptr) std::fprintf(stderr, "%s: ", command);
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fprintf(stderr, " (try 'kestrune %s%s')\n", command != nullptr ? "help " : "--help",
                 command != nullptr ? command : "");
    return kTrouble;
}

bool ToPath(const char* text, QORSysPath& path)
{
    const HRESULT code = path.Set(text);
    if (code < 0) Trouble(text, "not a usable path", code);
    return code >= 0;
}

const char* EolName(const char* eol)
{
    if (std::strcmp(eol, "\r\n") == 0) return "CRLF";
    return std::strcmp(eol, "\n") == 0 ? "LF" : "CR";
}

}  // namespace kestrune_tool
