// Built with -mavx512f -mavx512bw; called only when the CPU has both.
#include "Utf8Avx2Trait.h"
#include "Utf8Lookup.h"

#include <immintrin.h>

namespace QORSysUtf8 {

namespace {

struct Avx512 {
    using V = __m512i;
    // Memory streams a run of ASCII in faster as 256-bit loads where a
    // 512-bit one is split in two (AMD Zen 4: 0.87-0.91 of a plain load-and-OR
    // pass over 64 MiB with 512-bit loads, the pass's own speed with these).
    using Run = Avx2;
    static V Load(const unsigned char* p) { return _mm512_loadu_si512(p); }
    static V Splat(unsigned char byte) { return _mm512_set1_epi8(static_cast<char>(byte)); }
    static V Or(V a, V b) { return _mm512_or_si512(a, b); }
    static V And(V a, V b) { return _mm512_and_si512(a, b); }
    static V Xor(V a, V b) { return _mm512_xor_si512(a, b); }
    static V SubSat(V a, V b) { return _mm512_subs_epu8(a, b); }
    static V HighNibbles(V v) { return And(_mm512_srli_epi16(v, 4), Splat(0x0F)); }
    static V LowNibbles(V v) { return And(v, Splat(0x0F)); }
    static V Table(const unsigned char (&table)[16])
    {
        // The masked form: the plain one trips a false uninitialised warning in g++ 12's header.
        return _mm512_maskz_broadcast_i32x4(0xFFFF, _mm_load_si128(reinterpret_cast<const __m128i*>(table)));
    }
    static V Lookup(V table, V index) { return _mm512_shuffle_epi8(table, index); }
    // input shifted up by N bytes, with the last N bytes of prev below it:
    // each 128-bit lane is aligned against the lane before it.
    template <int N>
    static V Prev(V input, V prev)
    {
        const V lanesBefore = _mm512_permutex2var_epi64(prev, _mm512_set_epi64(13, 12, 11, 10, 9, 8, 7, 6), input);
        return _mm512_alignr_epi8(input, lanesBefore, 16 - N);
    }
    static bool AnyHighBit(V v) { return _mm512_movepi8_mask(v) != 0; }
    static bool AnyNonZero(V v) { return _mm512_test_epi8_mask(v, v) != 0; }
    static V IncompleteMax()
    {
        static constexpr IncompleteLimits<sizeof(V)> kLimits;
        return _mm512_loadu_si512(kLimits.bytes);
    }
};

}  // namespace

const unsigned char* ValidateAvx512(const unsigned char* begin, const unsigned char* end)
{
    return ValidateWith<Avx512>(begin, end);
}

}  // namespace QORSysUtf8
