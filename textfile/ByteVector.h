// Sixteen bytes at a time for the byte scans, written once with the
// compiler's vector extensions; only turning a comparison into a bit mask
// differs between instruction sets. Without either, the scans run byte loops.
#ifndef KESTRUNE_BYTEVECTOR_H
#define KESTRUNE_BYTEVECTOR_H

#if defined(__SSE2__)
#include <emmintrin.h>
#define KESTRUNE_BYTE_VECTOR 1
#elif defined(__ARM_NEON) && defined(__aarch64__)
#include <arm_neon.h>
#define KESTRUNE_BYTE_VECTOR 1
#endif

#if defined(KESTRUNE_BYTE_VECTOR)
#include <cstdint>
#include <cstring>

namespace QORSysTextFileUtilities {
namespace ByteVector {

using V = unsigned char __attribute__((vector_size(16), __may_alias__));
// What a comparison of two V gives: all ones in each byte that matched.
using Matches = signed char __attribute__((vector_size(16)));

// Sixteen bytes from anywhere: the copy compiles to one unaligned load.
inline V Load(const char* p)
{
    V bytes;
    std::memcpy(&bytes, p, sizeof bytes);
    return bytes;
}

#if defined(__SSE2__)
using Mask = unsigned;
constexpr int kBitsPerByte = 1;
inline Mask MaskOf(Matches matches) { return static_cast<Mask>(_mm_movemask_epi8(reinterpret_cast<__m128i>(matches))); }
// The first byte set in two masks of 16 bytes each (not both zero): one word holds both.
inline int FirstByte(Mask low, Mask high) { return __builtin_ctz(low | high << 16); }
#else
// NEON has no byte mask instruction; narrowing each 16-bit lane by 4 keeps a
// nibble per byte.
using Mask = std::uint64_t;
constexpr int kBitsPerByte = 4;
inline Mask MaskOf(Matches matches)
{
    return vget_lane_u64(vreinterpret_u64_u8(vshrn_n_u16(vreinterpretq_u16_s8(matches), 4)), 0);
}
inline int FirstByte(Mask low, Mask high)
{
    return low != 0 ? __builtin_ctzll(low) / kBitsPerByte : 16 + __builtin_ctzll(high) / kBitsPerByte;
}
#endif

// Every bit MaskOf can set.
constexpr Mask kAllBytes = static_cast<Mask>(~std::uint64_t{0} >> (64 - 16 * kBitsPerByte));

// The index of the first byte whose bits are set in a non-zero mask.
inline int FirstByte(Mask mask) { return __builtin_ctzll(mask) / kBitsPerByte; }

}  // namespace ByteVector
}  // namespace QORSysTextFileUtilities
#endif

#endif
