#include "FilePosition.h"

namespace QORSysTextFileUtilities {

HRESULT SaveAndRewind(QORSysFileDescriptor& file, SavedPosition& saved)
{
    saved = SavedPosition{};
    saved.known = QORSysFTell(file, &saved.offset) >= 0;
    if (!saved.known) saved.offset = 0;
    // Rewind unless already at the start: an unknown position may be anywhere.
    if (saved.known && saved.offset == 0) return S_OK;
    return QORSysFSeek(file, 0, 0);
}

HRESULT RestorePosition(QORSysFileDescriptor& file, const SavedPosition& saved)
{
    // Origin 0 reads the offset's 32 bits as unsigned, so positions past
    // 2 GiB come back too.
    return QORSysFSeek(file, static_cast<int>(saved.offset), 0);
}

}  // namespace QORSysTextFileUtilities
