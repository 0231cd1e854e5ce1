// How the subcommands speak: results on standard output unless quiet,
// trouble as one line on standard error.
#ifndef KESTRUNE_TOOL_REPORT_H
#define KESTRUNE_TOOL_REPORT_H

#include "Finding.h"
#include "QORSysTextFileUtilities.h"  // the file descriptor and its operations
#include "Status.h"

#include <string>
#include <vector>

namespace kestrune_tool {

// What one file's check said, kept while it runs beside others so that the
// results are written in the order of the files.
struct Said {
    enum Stream { kOut, kErr, kErrOnce, kResult };
    std::vector<std::pair<Stream, std::string>> parts;  // a kResult part stands for the next of results
    std::vector<Result> results;

    // True when a part goes to standard error.
    bool ToError() const;
};

// From now on this thread's results and trouble go into said; null writes
// them straight out again.
void KeepSaid(Said* said);

// Writes what was kept; a note told once in a run is left out after its first time.
void WriteSaid(const Said& said);

// A file's result, for the run's Output to write.
void Tell(Result result);

// A line on standard error that is not trouble ("...: skipped").
void Note(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A note that a run tells once, however many files give it.
void NoteOnce(const std::string& line);

// Prints a result line unless quiet.
void Say(bool quiet, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Writes text (help, the manual page) to standard output whatever -q says;
// returns kYes.
int Show(const std::string& text);

// Keeps the error number of the first failed write to standard output, for
// the message at exit; to be called right after writing there.
void NoteOutput();

// Flushes standard output at exit: a result that could not be written is
// trouble, reported. Returns the worse of status and that.
int FinishOutput(int status);

// "kestrune: SUBJECT: WHAT (0xCODE)"; returns kTrouble.
int Trouble(const char* subject, const char* what, HRESULT code);

// "kestrune: SUBJECT: WHY", for trouble without a result code; returns kTrouble.
int Refused(const char* subject, const char* why);

// Trouble, or when code is not a failure but a refusal, Refused.
int TroubleOrRefused(const char* subject, const char* what, HRESULT code);

// "kestrune: [COMMAND: ]MESSAGE (try 'kestrune help [COMMAND]')"; returns kTrouble.
int UsageError(const char* command, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Sets path from text, reporting trouble when it is not a usable path.
bool ToPath(const char* text, QORSysPath& path);

// "CRLF", "LF" or "CR" for one of the end-of-line strings.
const char* EolName(const char* eol);

}  // namespace kestrune_tool

#endif
