/// @file
/// Kestrune helpers for command-line programs.
#ifndef KESTRUNE_QORSYSEXEUTILITIES_H
#define KESTRUNE_QORSYSEXEUTILITIES_H

#include "KestruneExport.h"
#include "QORSysResult.h"
#include "QORSysText.h"

/// Helpers for command-line programs.
namespace QORSysExeUtilities {

/// Echoes an argument vector on one line of standard output: each argument
/// followed by one space, then a line feed, then a flush. Failures of the
/// stream are not reported.
/// @param argc how many strings argv holds; 0 or less writes nothing but still flushes.
/// @param argv the strings; null writes and flushes nothing.
KESTRUNE_API void PrintCmdLine(int argc, const VELUnicodeString argv[]);

/// Echoes a null-ended array of narrow texts, as the counted form does.
/// @param argv the texts up to the first null entry; null writes and flushes
///   nothing, and a first entry that is null writes nothing but flushes.
KESTRUNE_API void PrintCmdLine(const char* const argv[]);

/// Turns a path text into an absolute path object. An absolute text is taken
/// as it is; a relative one is resolved against the current directory, with
/// ".", ".." and doubled slashes removed.
/// @param path the path text.
/// @param absolutePath set on success only.
/// @return S_OK; E_FAIL when the text is empty or cannot be resolved.
KESTRUNE_API HRESULT GetAbsolutePath(const VELUnicodeString& path, QORSysPath& absolutePath);

}  // namespace QORSysExeUtilities

#endif
