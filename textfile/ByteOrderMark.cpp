#include "FilePosition.h"
#include "QORSysTextFileUtilities.h"
#include "TextFileConstants.h"

#include <cstring>

namespace QORSysTextFileUtilities {

HRESULT DetectUnicodeBOM(const char*& text, unsigned int& size)
{
    if (text == nullptr) return E_FAIL;
    if (size < UTF8_BOM_SIZE || std::memcmp(text, UTF8_BOM, UTF8_BOM_SIZE) != 0) return S_FALSE;
    text += UTF8_BOM_SIZE;
    size -= UTF8_BOM_SIZE;
    return S_OK;
}

HRESULT DetectUnicodeBOM(QORSysFileDescriptor& file, char restorePosition)
{
    SavedPosition saved;
    HRESULT code = SaveAndRewind(file, saved);
    if (code < 0) return code;

    unsigned char head[UTF8_BOM_SIZE] = {};
    unsigned int got = 0;
    code = QORSysFRead(file, reinterpret_cast<char*>(head), UTF8_BOM_SIZE, &got);
    if (code < 0) return code;
    // A file too short to hold a mark cannot be judged.
    HRESULT result = E_FAIL;
    if (got == UTF8_BOM_SIZE) result = std::memcmp(head, UTF8_BOM, UTF8_BOM_SIZE) == 0 ? S_OK : S_FALSE;

    // Without a mark the caller gets its position back even when it did not
    // ask, so that reading on starts where it stood.
    if (restorePosition == 0 && result != S_FALSE) return result;
    code = RestorePosition(file, saved);
    if (code < 0) return code;
    unsigned int now = 0;
    code = QORSysFTell(file, &now);
    if (code < 0) return code;
    return now == saved.offset ? result : E_FAIL;
}

HRESULT WriteUnicodeBOM(QORSysFileDescriptor& file, char restorePosition)
{
    SavedPosition saved;
    SaveAndRewind(file, saved);
    unsigned int written = 0;
    const HRESULT result = QORSysFWrite(file, reinterpret_cast<const char*>(UTF8_BOM), UTF8_BOM_SIZE, &written);
    if (restorePosition != 0) RestorePosition(file, saved);
    return result;
}

}  // namespace QORSysTextFileUtilities
