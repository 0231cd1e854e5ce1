#include "FilePosition.h"
#include "QORSysTextFileUtilities.h"

#include <cstdio>
#include <cstring>

namespace QORSysTextFileUtilities {

namespace {

constexpr std::size_t kLineSize = 256;
constexpr char kTagFormat[] = "<meta charset=\"%s\"/>";

}  // namespace

HRESULT WriteCatalogFileTag(QORSysFileDescriptor& file, const char* charset, const char* eol, char restorePosition)
{
    if (charset == nullptr || eol == nullptr) return E_FAIL;
    // Assembled before anything moves: a line that does not fit is refused
    // whole rather than written cut short.
    char line[kLineSize];
    const int tagLength = std::snprintf(line, sizeof line, kTagFormat, charset);
    const std::size_t eolLength = std::strlen(eol);
    // snprintf keeps a byte for its zero: a tag of the buffer's whole size was cut short.
    if (tagLength < 0 || static_cast<std::size_t>(tagLength) >= sizeof line ||
        static_cast<std::size_t>(tagLength) + eolLength > sizeof line) {
        return E_FAIL;
    }
    // The line goes out by its length, with no zero after it.
    std::memcpy(line + tagLength, eol, eolLength);  // NOLINT(bugprone-not-null-terminated-result)

    SavedPosition saved;
    SaveAndRewind(file, saved);
    unsigned int written = 0;
    const HRESULT result = QORSysFWrite(file, line, static_cast<unsigned int>(tagLength + eolLength), &written);
    if (restorePosition != 0) RestorePosition(file, saved);
    return result;
}

}  // namespace QORSysTextFileUtilities
