// Kestrune text-file utilities: end-of-line conventions, UTF-8 byte-order
// marks, whole-file UTF-8 checks, catalog charset tags and catalog comparison.
#ifndef KESTRUNE_QORSYSTEXTFILEUTILITIES_H
#define KESTRUNE_QORSYSTEXTFILEUTILITIES_H

#include "KestruneExport.h"
#include "QORSysFile.h"
#include "QORSysResult.h"
#include "QORSysText.h"

// Functions that take a restorePosition flag work from offset 0 of the
// caller's open file and, when the flag is non-zero, put the position back
// where it was. If the position cannot be told they work from offset 0 and
// restore to offset 0. They never close the caller's file.
namespace QORSysTextFileUtilities {

// The end-of-line convention of a zero-terminated text: the first CR or LF
// decides ("\r\n", "\n" or "\r"). S_OK when one was found; S_FALSE when the
// text ends, or a 0xFF byte comes, first, with eol set to "\r\n". The text
// must not be null. eol points to a constant that lives as long as the library.
KESTRUNE_API HRESULT DetectEOL(const char* text, const char*& eol);

// The same for an open file, read from offset 0 one byte at a time, except
// that a 0xFF byte does not end the scan there. With restorePosition 0 the
// position is left two bytes past the first CR or LF (or at the end of the
// file).
KESTRUNE_API HRESULT DetectFileEOL(QORSysFileDescriptor& file, const char*& eol, char restorePosition);

// S_OK when the size bytes at text start with EF BB BF; text and size are
// then moved past the mark. S_FALSE otherwise (nothing moves); E_FAIL for a
// null text.
KESTRUNE_API HRESULT DetectUnicodeBOM(const char*& text, unsigned int& size);

// S_OK when the file starts with EF BB BF, S_FALSE when its first three
// bytes are something else, E_FAIL when it holds fewer than three bytes or
// the position could not be put back. Codes of a failed seek, read or tell
// are returned as they are. Without a mark (S_FALSE) the position is always
// put back; otherwise only when restorePosition is non-zero, else it is left
// after the bytes read (just after the mark when there is one).
KESTRUNE_API HRESULT DetectUnicodeBOM(QORSysFileDescriptor& file, char restorePosition);

// Overwrites the first three bytes of the file with EF BB BF. Returns the
// write's code.
KESTRUNE_API HRESULT WriteUnicodeBOM(QORSysFileDescriptor& file, char restorePosition);

// Reads the whole file, 4096 bytes at a time, and sets format to 2 when it is
// valid UTF-8 (an empty file included), else 1. A sequence cut short by the
// end of a read within the last 3 bytes of the 4096-byte window is held for
// the next read; when the file ends there it is not judged. format is always
// written. Returns the code of the last file operation that decided the
// outcome: a success code whenever the file could be read, the failing
// operation's code when it could not (format 1).
KESTRUNE_API HRESULT DetectFileFormatDeep(const QORSysPath& path, int& format);

// Overwrites the head of the file with <meta charset="CHARSET"/> followed by
// eol (for example "\r\n"), written in one call. Returns the write's code.
// E_FAIL, with nothing read or written, for a null charset or eol, or when
// the line would be longer than 256 bytes.
KESTRUNE_API HRESULT WriteCatalogFileTag(QORSysFileDescriptor& file, const char* charset, const char* eol,
                                         char restorePosition);

// Compares two catalog files, ignoring CR and LF bytes and the leading
// byte-order mark and charset tag line. The comparison runs until the second
// file's text is used up: S_OK when it matched so far, S_FALSE at the first
// difference. E_FAIL when the first path has an extension other than
// "velnls" (in any letter case; a path without one is not refused) or a file
// cannot be opened or read. A file that cannot be sized counts as empty.
// Throws std::bad_alloc when a file cannot be held in memory.
KESTRUNE_API HRESULT CompareCatalogFiles(const QORSysPath& first, const QORSysPath& second);

}  // namespace QORSysTextFileUtilities

#endif
