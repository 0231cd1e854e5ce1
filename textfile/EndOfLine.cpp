#include "FilePosition.h"
#include "QORSysTextFileUtilities.h"
#include "TextFileConstants.h"

#include "ByteVector.h"

#include <cstdint>

namespace QORSysTextFileUtilities {

namespace {

bool IsLineBreak(int character) { return character == '\r' || character == '\n'; }

// The convention a line ending starts with: first is CR or LF, second the
// byte after it (0 when there is none). Candidates are tried in order, each
// over its own length, so LF CR is LF and a lone CR is CR.
const char* MatchLineEnding(char first, char second)
{
    for (const char* candidate : {EOL_CRLF, EOL_LF}) {
        if (first == candidate[0] && (candidate[1] == '\0' || second == candidate[1])) return candidate;
    }
    return EOL_CR;
}

// The first byte of text that ends the scan: a line break, the terminating
// zero, or 0xFF. Reads whole aligned 16-byte blocks, which never cross into
// another page, so it may read bytes around the text but never faults; the
// address and thread sanitizers are told so.
__attribute__((no_sanitize("address", "thread"))) const char* FindScanStop(const char* text)
{
#if defined(KESTRUNE_BYTE_VECTOR)
    using namespace ByteVector;
    const auto address = reinterpret_cast<std::uintptr_t>(text);
    const auto* block = reinterpret_cast<const V*>(address & ~std::uintptr_t{15});
    const auto stopsIn = [](V bytes) {
        return MaskOf((bytes == 0) | (bytes == '\r') | (bytes == '\n') | (bytes == 0xFF));
    };
    Mask found = stopsIn(*block) & (kAllBytes << (address & 15) * kBitsPerByte);  // not the bytes before text
    while (found == 0) found = stopsIn(*++block);
    return reinterpret_cast<const char*>(block) + FirstByte(found);
#else
    while (*text != '\0' && !IsLineBreak(*text) && *text != '\xFF') ++text;
    return text;
#endif
}

}  // namespace

HRESULT DetectEOL(const char* text, const char*& eol)
{
    eol = EOL_CRLF;
    if (text == nullptr) return E_FAIL;
    const char* stop = FindScanStop(text);
    // A zero or 0xFF byte ends the scan without an answer; after a line break
    // comes the terminating zero at worst.
    if (!IsLineBreak(*stop)) return S_FALSE;
    eol = MatchLineEnding(stop[0], stop[1]);
    return S_OK;
}

HRESULT DetectFileEOL(QORSysFileDescriptor& file, const char*& eol, char restorePosition)
{
    SavedPosition saved;
    SaveAndRewind(file, saved);
    eol = EOL_CRLF;
    HRESULT result = S_FALSE;
    int character = -1;
    for (;;) {
        // The character is looked at before the call's result: a line break
        // counts even from a call that reported a failure.
        const HRESULT got = QORSysFGetc(file, &character);
        if (IsLineBreak(character)) {
            int next = 0;
            const char second = QORSysFGetc(file, &next) >= 0 ? static_cast<char>(next & 0xFF) : '\0';
            eol = MatchLineEnding(static_cast<char>(character), second);
            result = S_OK;
            break;
        }
        if (got < 0 || character == -1) break;
    }
    if (restorePosition != 0) RestorePosition(file, saved);
    return result;
}

}  // namespace QORSysTextFileUtilities
