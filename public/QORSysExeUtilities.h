// Kestrune helpers for command-line programs.
#ifndef KESTRUNE_QORSYSEXEUTILITIES_H
#define KESTRUNE_QORSYSEXEUTILITIES_H

#include "KestruneExport.h"
#include "QORSysResult.h"
#include "QORSysText.h"

namespace QORSysExeUtilities {

// Writes each of the argc strings followed by one space, then a line feed
// (none when argc <= 0), to standard output and flushes it. A null argv
// writes and flushes nothing.
KESTRUNE_API void PrintCmdLine(int argc, const VELUnicodeString argv[]);

// The same for a null-ended array of narrow texts.
KESTRUNE_API void PrintCmdLine(const char* const argv[]);

// Sets absolutePath to the absolute form of path: an absolute path is taken
// as it is, a relative one is resolved against the current directory. S_OK,
// or E_FAIL with absolutePath untouched when the path is empty or cannot be
// resolved.
KESTRUNE_API HRESULT GetAbsolutePath(const VELUnicodeString& path, QORSysPath& absolutePath);

}  // namespace QORSysExeUtilities

#endif
