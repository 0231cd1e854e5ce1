// General services: catalog head recognition and absolute-path resolution.
#ifndef KESTRUNE_VELGENERAL_H
#define KESTRUNE_VELGENERAL_H

#include "KestruneExport.h"
#include "QORSysResult.h"
#include "QORSysText.h"

// Moves text past the leading format marks of a zero-terminated catalog
// text: an optional UTF-8 byte-order mark, then an optional charset tag line
// <meta charset="NAME"/> ended by one CR LF, LF or CR (or by the end of the
// text). format becomes 2 when a byte-order mark was there or NAME is UTF-8
// in any letter case, else 1. A null text fails and changes nothing.
VEL_GENERAL_API HRESULT DetectCatalogFileFormat(const char*& text, int& format);

// Stores the absolute form of path: a relative path is resolved against the
// process's current directory; ".", ".." and repeated slashes are then
// removed lexically. Negative when path is null or the current directory
// cannot be had; absolutePath is then unchanged.
VEL_GENERAL_API HRESULT VELGetAbsolutePath(const VELUnicodeString* path, VELUnicodeString& absolutePath);

#endif
