#include "Utf8Kernels.h"

#include <cstdint>
#include <cstring>

namespace QORSysUtf8 {

namespace {

// Length of the sequence a lead byte starts (0 for a byte that cannot lead),
// and the range its second byte must fall in: the narrowed ranges exclude
// overlong forms (E0, F0), surrogates (ED) and code points above U+10FFFF (F4).
struct LeadRule {
    unsigned char length;
    unsigned char secondLow;
    unsigned char secondHigh;
};

LeadRule RuleFor(unsigned char lead)
{
    if (lead < 0x80) return {1, 0, 0};
    if (lead < 0xC2) return {0, 0, 0};  // continuation byte, or overlong C0/C1
    if (lead < 0xE0) return {2, 0x80, 0xBF};
    if (lead == 0xE0) return {3, 0xA0, 0xBF};
    if (lead == 0xED) return {3, 0x80, 0x9F};
    if (lead < 0xF0) return {3, 0x80, 0xBF};
    if (lead == 0xF0) return {4, 0x90, 0xBF};
    if (lead < 0xF4) return {4, 0x80, 0xBF};
    if (lead == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

const unsigned char* ValidateScalar(const unsigned char* begin, const unsigned char* end)
{
    const unsigned char* p = begin;
    while (p < end) {
        if (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            if ((word & 0x8080808080808080u) == 0) {
                p += 8;
                continue;
            }
        }
        const LeadRule rule = RuleFor(*p);
        bool valid = rule.length != 0 && end - p >= rule.length;
        if (valid && rule.length > 1) {
            valid = p[1] >= rule.secondLow && p[1] <= rule.secondHigh;
            for (unsigned i = 2; valid && i < rule.length; ++i) valid = IsContinuation(p[i]);
        }
        if (!valid) return p;
        p += rule.length;
    }
    return nullptr;
}

const unsigned char* SequenceStart(const unsigned char* begin, const unsigned char* at)
{
    for (long back = 1; back <= 3 && back <= at - begin; ++back) {
        const unsigned char byte = at[-back];
        if (byte < 0x80) break;              // nothing runs across an ASCII byte
        if (byte >= 0xC0) return at - back;  // a lead byte whose sequence may reach at
    }
    return at;
}

}  // namespace QORSysUtf8
