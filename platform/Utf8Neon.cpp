// Every AArch64 CPU has NEON, so this kernel is always the one in use there.
#include "Utf8Lookup.h"

#include <arm_neon.h>

namespace QORSysUtf8 {

namespace {

struct Neon {
    using V = uint8x16_t;
    using Run = Neon;
    static V Load(const unsigned char* p) { return vld1q_u8(p); }
    static V Splat(unsigned char byte) { return vdupq_n_u8(byte); }
    static V Or(V a, V b) { return vorrq_u8(a, b); }
    static V And(V a, V b) { return vandq_u8(a, b); }
    static V Xor(V a, V b) { return veorq_u8(a, b); }
    static V SubSat(V a, V b) { return vqsubq_u8(a, b); }
    static V HighNibbles(V v) { return vshrq_n_u8(v, 4); }
    static V LowNibbles(V v) { return And(v, Splat(0x0F)); }
    static V Table(const unsigned char (&table)[16]) { return vld1q_u8(table); }
    static V Lookup(V table, V index) { return vqtbl1q_u8(table, index); }
    // input shifted up by N bytes, with the last N bytes of prev below it.
    template <int N>
    static V Prev(V input, V prev)
    {
        return vextq_u8(prev, input, 16 - N);
    }
    static bool AnyHighBit(V v) { return vmaxvq_u8(v) >= 0x80; }
    static bool AnyNonZero(V v) { return vmaxvq_u8(v) != 0; }
    static V IncompleteMax()
    {
        static constexpr IncompleteLimits<sizeof(V)> kLimits;
        return vld1q_u8(kLimits.bytes);
    }
};

}  // namespace

const unsigned char* ValidateNeon(const unsigned char* begin, const unsigned char* end)
{
    return ValidateWith<Neon>(begin, end);
}

}  // namespace QORSysUtf8
