// The AVX2 vector trait of the UTF-8 check, for sources built with -mavx2
// or wider (the AVX-512 kernel streams runs of ASCII through it).
#ifndef KESTRUNE_UTF8AVX2TRAIT_H
#define KESTRUNE_UTF8AVX2TRAIT_H

#include "Utf8Lookup.h"

#include <immintrin.h>

namespace QORSysUtf8 {
namespace {

struct Avx2 {
    using V = __m256i;
    using Run = Avx2;
    static V Load(const unsigned char* p) { return _mm256_loadu_si256(reinterpret_cast<const V*>(p)); }
    static V Splat(unsigned char byte) { return _mm256_set1_epi8(static_cast<char>(byte)); }
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
    static V SubSat(V a, V b) { return _mm256_subs_epu8(a, b); }
    static V HighNibbles(V v) { return And(_mm256_srli_epi16(v, 4), Splat(0x0F)); }
    static V LowNibbles(V v) { return And(v, Splat(0x0F)); }
    static V Table(const unsigned char (&table)[16])
    {
        return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(table)));
    }
    static V Lookup(V table, V index) { return _mm256_shuffle_epi8(table, index); }
    // input shifted up by N bytes, with the last N bytes of prev below it.
    template <int N>
    static V Prev(V input, V prev)
    {
        return _mm256_alignr_epi8(input, _mm256_permute2x128_si256(prev, input, 0x21), 16 - N);
    }
    static bool AnyHighBit(V v) { return _mm256_movemask_epi8(v) != 0; }
    static bool AnyNonZero(V v) { return _mm256_testz_si256(v, v) == 0; }
    static V IncompleteMax()
    {
        static constexpr IncompleteLimits<sizeof(V)> kLimits;
        return _mm256_loadu_si256(reinterpret_cast<const V*>(kLimits.bytes));
    }
};

}  // namespace
}  // namespace QORSysUtf8

#endif
