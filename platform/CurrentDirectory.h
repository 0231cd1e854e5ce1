// The system's part of absolute-path resolution, per platform.
#ifndef KESTRUNE_CURRENTDIRECTORY_H
#define KESTRUNE_CURRENTDIRECTORY_H

#include "QORSysResult.h"

#include <string>

namespace QORSysOs {
/// Joins a relative path text to the directory it is relative to (the
/// current directory, or on Windows the current drive's root or the named
/// drive's current directory), giving an absolute text still to normalise.
HRESULT JoinToCurrentDirectory(const std::string& relative, std::string& joined);
}  // namespace QORSysOs

#endif
