// Result codes shared by Kestrune and the platform services it calls.
#ifndef KESTRUNE_QORSYSRESULT_H
#define KESTRUNE_QORSYSRESULT_H

#include <cstdint>

// A signed 32-bit result code: any non-negative value is success.
typedef std::int32_t HRESULT;

// Done; the answer is yes (found, equal).
inline constexpr HRESULT S_OK = 0;
// Done; the answer is no (not found, no mark, different).
inline constexpr HRESULT S_FALSE = 1;
// Failed: bad argument, unreadable file, position not restored.
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

// Codes of the platform services: a bad argument, a descriptor that is not
// open, a position or size that does not fit in 32 bits. An operating-system
// error number n is reported as 0x80070000 | n.
inline constexpr HRESULT QORSYS_E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT QORSYS_E_NOTOPEN = static_cast<HRESULT>(0x80070006u);
inline constexpr HRESULT QORSYS_E_OVERFLOW = static_cast<HRESULT>(0x80070216u);

constexpr HRESULT QORSysResultFromErrno(int error)
{
    return static_cast<HRESULT>(0x80070000u | (static_cast<unsigned>(error) & 0xFFFFu));
}

#endif
