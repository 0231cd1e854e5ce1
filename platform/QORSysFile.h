/// @file
/// File services: descriptor-based file access with 32-bit positions.
#ifndef KESTRUNE_QORSYSFILE_H
#define KESTRUNE_QORSYSFILE_H

#include "KestruneExport.h"
#include "QORSysResult.h"
#include "QORSysText.h"

/// Record of an open file, allocated by whoever opens it (24 bytes: it lives
/// well on any stack). Fill it with QORSysFOpen; a default-constructed record
/// is not open. Reads are served from a read-ahead buffer of up to 128 KiB
/// that the first read obtains and QORSysFClose releases, so an open record
/// must not be copied. Its fields are the file services' own.
struct QORSysFileDescriptor {
    int handle = -1;          ///< the operating system's descriptor; -1 when not open
    unsigned int next = 0;    ///< buffer[next, filled) are the file's next bytes
    unsigned int filled = 0;  ///< bytes the last read-ahead brought in
    char* buffer = nullptr;   ///< the read-ahead buffer, once a read needed one
};

/// Failures carry an operating-system error number n as 0x80070000 | n, or
/// one of the QORSYS_E_ codes.

/// Opens path. mode is "rb", "r+b", "wb" or "w+b" with fopen's meanings; flags
/// must be 0. A directory is refused. On failure the record is left not open.
QORSYS_FILE_API HRESULT QORSysFOpen(const QORSysPath& path, const char* mode, QORSysFileDescriptor& file, int flags);
/// Closes the file and marks the record not open.
QORSYS_FILE_API HRESULT QORSysFClose(QORSysFileDescriptor& file);
/// Reads up to count bytes at the current position; stores the number read
/// (less than count only at the end of the file, 0 there). bytesRead may be null.
QORSYS_FILE_API HRESULT QORSysFRead(QORSysFileDescriptor& file, char* buffer, unsigned int count,
                                    unsigned int* bytesRead);
/// Writes count bytes at the current position, overwriting what is there.
/// bytesWritten may be null.
QORSYS_FILE_API HRESULT QORSysFWrite(QORSysFileDescriptor& file, const char* buffer, unsigned int count,
                                     unsigned int* bytesWritten);
/// Moves the position: origin 0 to offset taken as an unsigned 32-bit position
/// (so any position QORSysFTell stored seeks back), 1 by offset from the
/// current position, 2 by offset from the end. A resulting position that is
/// negative or past 4 GiB - 1 fails.
QORSYS_FILE_API HRESULT QORSysFSeek(QORSysFileDescriptor& file, int offset, int origin);
/// Stores the current position; fails with QORSYS_E_OVERFLOW past 4 GiB - 1.
QORSYS_FILE_API HRESULT QORSysFTell(QORSysFileDescriptor& file, unsigned int* position);
/// Stores the file's size; fails with QORSYS_E_OVERFLOW for 4 GiB or more.
QORSYS_FILE_API HRESULT QORSysFSize(QORSysFileDescriptor& file, unsigned int* size);
/// Reads one byte into character as 0..255 and returns S_OK; at the end of
/// the file stores -1 and returns S_FALSE.
QORSYS_FILE_API HRESULT QORSysFGetc(QORSysFileDescriptor& file, int* character);

#endif
