// Saving, rewinding and restoring a caller's file position.
#ifndef KESTRUNE_FILEPOSITION_H
#define KESTRUNE_FILEPOSITION_H

#include "QORSysFile.h"

namespace QORSysTextFileUtilities {

// The caller's position as told before a function went to work. When it
// could not be told it counts as offset 0 but is not trusted to be there.
struct SavedPosition {
    unsigned int offset = 0;
    bool known = false;
};

// Saves the position (the tell's result is not reported) and seeks to offset
// 0 unless the file is known to be there already. Returns the seek's code,
// or S_OK when no seek was needed.
HRESULT SaveAndRewind(QORSysFileDescriptor& file, SavedPosition& saved);

// Seeks back to the saved offset from the start; returns the seek's code.
HRESULT RestorePosition(QORSysFileDescriptor& file, const SavedPosition& saved);

}  // namespace QORSysTextFileUtilities

#endif
