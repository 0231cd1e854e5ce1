// windows.h for the Win32 stand-ins. It declares HRESULT as long and S_OK,
// S_FALSE and E_FAIL as macros, where QORSysResult.h has its own 32-bit
// definitions: here the system's names are renamed away and the macros
// dropped, so that both can be included in one translation unit.
#ifndef KESTRUNE_WIN32API_H
#define KESTRUNE_WIN32API_H

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define HRESULT Win32HRESULT
#include <windows.h>
#undef HRESULT
#undef S_OK
#undef S_FALSE
#undef E_FAIL

#include "QORSysResult.h"

#endif
