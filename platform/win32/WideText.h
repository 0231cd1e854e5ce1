// The one place where UTF-8 text meets the UTF-16 of the wide Win32 calls.
#ifndef KESTRUNE_WIDETEXT_H
#define KESTRUNE_WIDETEXT_H

#include "QORSysResult.h"

#include <string>

namespace QORSysWide {
/// The UTF-16 form of zero-terminated UTF-8 text. Text that is not valid
/// UTF-8 fails (0x80070459) rather than being changed into another name.
HRESULT FromUtf8(const char* text, std::wstring& wide);
/// The UTF-8 form of zero-terminated UTF-16 text; unpaired surrogates fail.
HRESULT ToUtf8(const wchar_t* wide, std::string& text);
}  // namespace QORSysWide

#endif
