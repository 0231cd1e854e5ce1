#include "VELGeneral.h"

#include <strings.h>
#include <cstring>

namespace {

constexpr char kTagOpen[] = "<meta charset=\"";
constexpr char kTagClose[] = "\"/>";

// Every comparison below stops at the text's terminating zero, so nothing
// past it is read.
bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

// Past the tag line at text, or null when text does not start with one.
const char* SkipTagLine(const char* text, bool& isUtf8)
{
    if (!StartsWith(text, kTagOpen)) return nullptr;
    const char* name = text + sizeof kTagOpen - 1;
    const char* close = name;
    while (*close != '\0' && *close != '\r' && *close != '\n' && !StartsWith(close, kTagClose)) ++close;
    if (!StartsWith(close, kTagClose)) return nullptr;
    const char* end = close + sizeof kTagClose - 1;
    if (*end == '\r') {
        ++end;
        if (*end == '\n') ++end;
    } else if (*end == '\n') {
        ++end;
    } else if (*end != '\0') {
        return nullptr;  // more text on the tag's line: not a tag line
    }
    isUtf8 = close - name == 5 && ::strncasecmp(name, "utf-8", 5) == 0;
    return end;
}

}  // namespace

HRESULT DetectCatalogFileFormat(const char*& text, int& format)
{
    if (text == nullptr) return QORSYS_E_INVALIDARG;
    const char* cursor = text;
    const bool hasMark = StartsWith(cursor, "\xEF\xBB\xBF");
    if (hasMark) cursor += 3;
    bool tagSaysUtf8 = false;
    if (const char* afterTag = SkipTagLine(cursor, tagSaysUtf8)) cursor = afterTag;
    format = hasMark || tagSaysUtf8 ? 2 : 1;
    text = cursor;
    return S_OK;
}
