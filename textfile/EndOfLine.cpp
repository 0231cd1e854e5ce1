#include "FilePosition.h"
#include "QORSysTextFileUtilities.h"
#include "TextFileConstants.h"

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

}  // namespace

HRESULT DetectEOL(const char* text, const char*& eol)
{
    eol = EOL_CRLF;
    if (text == nullptr) return E_FAIL;
    for (const char* p = text;; ++p) {
        const int character = static_cast<signed char>(*p);
        if (character == 0) return S_FALSE;
        // The byte after is the text's terminating zero at worst.
        if (IsLineBreak(character)) {
            eol = MatchLineEnding(p[0], p[1]);
            return S_OK;
        }
        if (character == -1) return S_FALSE;
    }
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
