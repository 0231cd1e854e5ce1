/// @file
/// Kestrune text-file utilities: end-of-line conventions, UTF-8 byte-order
/// marks, whole-file UTF-8 checks, catalog charset tags and catalog comparison.
#ifndef KESTRUNE_QORSYSTEXTFILEUTILITIES_H
#define KESTRUNE_QORSYSTEXTFILEUTILITIES_H

#include "KestruneExport.h"
#include "QORSysFile.h"
#include "QORSysResult.h"
#include "QORSysText.h"

/// Helpers for text files, above all national-language catalogs (*.velnls).
///
/// Functions that take a `restorePosition` flag work from offset 0 of the
/// caller's open file and, when the flag is non-zero, put the position back
/// where it was. If the position cannot be told they work from offset 0 and
/// restore to offset 0. They never close the caller's file.
namespace QORSysTextFileUtilities {

/// Finds the end-of-line convention of a zero-terminated text: the first CR
/// or LF decides.
/// @param text the text; read up to its first CR, LF, zero or 0xFF byte.
/// @param eol always set: to "\r\n", "\n" or "\r" (CR LF, a LF, a CR followed
///   by anything else), or to "\r\n" when nothing was found. It points to a
///   constant that lives as long as the library.
/// @return S_OK when a line ending was found; S_FALSE when the text ends, or
///   a 0xFF byte comes, first; E_FAIL for a null text.
KESTRUNE_API HRESULT DetectEOL(const char* text, const char*& eol);

/// Finds the end-of-line convention of an open file, read from offset 0 one
/// byte at a time. A 0xFF byte is an ordinary byte here.
/// @param file open for reading.
/// @param eol always set, as for the text form.
/// @param restorePosition non-zero: the position is put back. Zero: it is left
///   two bytes past the first CR or LF, or at the end of the file.
/// @return S_OK when a line ending was found; S_FALSE at the end of the file,
///   or when reading fails, before one.
KESTRUNE_API HRESULT DetectFileEOL(QORSysFileDescriptor& file, const char*& eol, char restorePosition);

/// Recognises and skips a UTF-8 byte-order mark (EF BB BF) at the head of a buffer.
/// @param text the buffer (need not be zero-terminated); moved past the mark
///   when there is one, else unchanged.
/// @param size the buffer's size in bytes; reduced by 3 with the mark.
/// @return S_OK with the mark; S_FALSE without it (or with fewer than 3 bytes);
///   E_FAIL for a null text.
KESTRUNE_API HRESULT DetectUnicodeBOM(const char*& text, unsigned int& size);

/// Tells whether an open file starts with a UTF-8 byte-order mark.
/// @param file open for reading.
/// @param restorePosition without a mark the position is always put back; with
///   one, or when the file is too short, only when this is non-zero, else it
///   is left after the bytes read (just after the mark).
/// @return S_OK with the mark; S_FALSE when the first three bytes are others;
///   E_FAIL when the file holds fewer than three bytes or the position could
///   not be put back; a failed seek's, read's or tell's own code.
KESTRUNE_API HRESULT DetectUnicodeBOM(QORSysFileDescriptor& file, char restorePosition);

/// Overwrites the first three bytes of an open file with EF BB BF; nothing is
/// inserted or shifted.
/// @param file open for writing.
/// @param restorePosition non-zero: the position is put back; zero: it is left
///   just after the mark.
/// @return the write's own code.
KESTRUNE_API HRESULT WriteUnicodeBOM(QORSysFileDescriptor& file, char restorePosition);

/// Decides whether a whole file is valid UTF-8 (RFC 3629), reading it 4096
/// bytes at a time. The rule is positional: when the check of a window stops
/// at a byte within the window's last 3 bytes (counted from the end of the
/// 4096-byte window, not of the data in it), those bytes are held for the
/// next read, whatever they are, a sequence cut short or a byte that no UTF-8
/// text holds (such as FF); when the file ends there they are never judged.
/// So a file of 4096 bytes ending in FF, or of 4094 ending in C3, is valid,
/// and one of 4093 bytes ending in either is not.
/// @param path the file.
/// @param format always set: 2 when every byte was read and is valid UTF-8 (an
///   empty file included), else 1.
/// @return a success code whenever the file could be read, valid or not; the
///   failing open's, size's or read's own code when it could not (format 1).
KESTRUNE_API HRESULT DetectFileFormatDeep(const QORSysPath& path, int& format);

/// Overwrites the head of an open file with the line `<meta charset="CHARSET"/>`
/// followed by an end-of-line string, written in one call; nothing is inserted
/// or shifted.
/// @param file open for writing.
/// @param charset the character set's name.
/// @param eol the end of the line, for example "\r\n" or what DetectFileEOL gave.
/// @param restorePosition non-zero: the position is put back; zero: it is left
///   just after the line.
/// @return the write's own code; E_FAIL, with nothing read or written, for a
///   null charset or eol, for a tag (without eol) of 256 bytes or more, or
///   when tag and eol together are longer than 256 bytes. So the tag itself
///   is at most 255 bytes (a charset name of at most 237), even with an
///   empty eol.
KESTRUNE_API HRESULT WriteCatalogFileTag(QORSysFileDescriptor& file, const char* charset, const char* eol,
                                         char restorePosition);

/// Compares two catalog files byte by byte, leaving out every CR and LF and
/// the leading byte-order mark and charset tag line of each. The comparison
/// runs until the second file's text is used up, so a first file that goes on
/// beyond it still compares equal, unless the second ends in a line break.
/// A zero byte ends a text for the comparison: the texts are held
/// zero-terminated, so a zero byte in the first text where the second text
/// ends in a line break reads as the first's end (same, whatever follows it),
/// and leading marks are looked for only up to a zero byte. Catalogs are
/// texts and hold none; check for one before comparing files that might.
/// @param first a catalog path: one with an extension other than "velnls" (in
///   any letter case) is refused; one without an extension is not.
/// @param second the file whose text bounds the comparison.
/// @return S_OK when the texts agree; S_FALSE at the first difference; E_FAIL
///   for a refused first path or a file that cannot be opened or read. A file
///   that cannot be sized counts as empty. Throws std::bad_alloc when a file
///   cannot be held in memory.
KESTRUNE_API HRESULT CompareCatalogFiles(const QORSysPath& first, const QORSysPath& second);

}  // namespace QORSysTextFileUtilities

#endif
