/// @file
/// Result codes shared by Kestrune and the platform services it calls.
#ifndef KESTRUNE_QORSYSRESULT_H
#define KESTRUNE_QORSYSRESULT_H

#include <cstdint>

/// A signed 32-bit result code: any non-negative value is success.
typedef std::int32_t HRESULT;

/// Done; the answer is yes (found, equal).
inline constexpr HRESULT S_OK = 0;
/// Done; the answer is no (not found, no mark, different).
inline constexpr HRESULT S_FALSE = 1;
/// Failed: bad argument, unreadable file, position not restored.
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

/// A platform service was given a bad argument.
inline constexpr HRESULT QORSYS_E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
/// A file-service operation was given a descriptor that is not open.
inline constexpr HRESULT QORSYS_E_NOTOPEN = static_cast<HRESULT>(0x80070006u);
/// A position or size does not fit in 32 bits.
inline constexpr HRESULT QORSYS_E_OVERFLOW = static_cast<HRESULT>(0x80070216u);

/// A write moved no bytes although the system reported no error.
inline constexpr HRESULT QORSYS_E_WRITEFAULT = static_cast<HRESULT>(0x8007001Du);

/// The code with which the platform services report operating-system error
/// number error: 0x80070000 | error.
constexpr HRESULT QORSysResultFromErrno(int error)
{
    return static_cast<HRESULT>(0x80070000u | (static_cast<unsigned>(error) & 0xFFFFu));
}

#endif
