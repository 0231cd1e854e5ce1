#include "Report.h"

#include "Output.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>

namespace kestrune_tool {

namespace {

// An empty name would leave the message hard to read.
const char* Shown(const char* name) { return *name != '\0' ? name : "''"; }

// The error of the first result that could not be written, for the message at exit.
int writeError = 0;

thread_local Said* kept = nullptr;

// Writes text to stream, or keeps it when this thread's output is kept.
void Put(Said::Stream stream, std::string text)
{
    if (kept != nullptr) {
        kept->parts.emplace_back(stream, std::move(text));
    } else if (stream == Said::kOut) {
        std::fputs(text.c_str(), stdout);
        NoteOutput();
    } else {
        static std::set<std::string> told;  // only the writing thread gets here
        if (stream == Said::kErr || told.insert(text).second) std::fputs(text.c_str(), stderr);
    }
}

std::string Formatted(const char* format, va_list args)
{
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, again);
    va_end(again);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    return text;
}

}  // namespace

void KeepSaid(Said* said) { kept = said; }

bool Said::ToError() const
{
    return std::any_of(parts.begin(), parts.end(),
                       [](const auto& part) { return part.first == kErr || part.first == kErrOnce; });
}

void WriteSaid(const Said& said)
{
    auto result = said.results.begin();
    for (const auto& [stream, text] : said.parts) {
        if (stream == Said::kResult)
            WriteResult(*result++);
        else
            Put(stream, text);
    }
}

void Tell(Result result)
{
    if (kept == nullptr) {
        WriteResult(result);
        return;
    }
    kept->parts.emplace_back(Said::kResult, std::string());
    kept->results.push_back(std::move(result));
}

void Note(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Put(Said::kErr, Formatted(format, args));
    va_end(args);
}

void NoteOnce(const std::string& line) { Put(Said::kErrOnce, line); }

void Say(bool quiet, const char* format, ...)
{
    if (quiet) return;
    va_list args;
    va_start(args, format);
    Put(Said::kOut, Formatted(format, args));
    va_end(args);
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
    Note("kestrune: %s: %s\n", Shown(subject), why);
    return kTrouble;
}

int Trouble(const char* subject, const char* what, HRESULT code)
{
    Note("kestrune: %s: %s (0x%08X)\n", Shown(subject), what, static_cast<unsigned int>(code));
    return kTrouble;
}

int TroubleOrRefused(const char* subject, const char* what, HRESULT code)
{
    return code < 0 ? Trouble(subject, what, code) : Refused(subject, what);
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
