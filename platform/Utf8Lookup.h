// The lookup-table UTF-8 check of Keiser and Lemire ("Validating UTF-8 in
// less than one instruction per byte", 2021), written once over a vector
// type T and instantiated by each kernel source with its own target flags.
// Everything here has internal linkage so that no instance compiled for one
// instruction set can stand in for another at link time.
#ifndef KESTRUNE_UTF8LOOKUP_H
#define KESTRUNE_UTF8LOOKUP_H

#include "Utf8Kernels.h"

namespace QORSysUtf8 {
namespace {

// One bit per error class; a byte pair is wrong when all three lookups agree
// on some class.
constexpr unsigned char kTooShort = 1 << 0;   // lead byte, then no continuation
constexpr unsigned char kTooLong = 1 << 1;    // ASCII, then a continuation
constexpr unsigned char kOverlong3 = 1 << 2;  // E0 80..9F
constexpr unsigned char kTooLarge = 1 << 3;   // F4 90..BF, F5..FF
constexpr unsigned char kSurrogate = 1 << 4;  // ED A0..BF
constexpr unsigned char kOverlong2 = 1 << 5;  // C0, C1
constexpr unsigned char kTooLarge1000 = 1 << 6;
constexpr unsigned char kOverlong4 = 1 << 6;  // F0 80..8F
constexpr unsigned char kTwoConts = 1 << 7;   // continuation after continuation
constexpr unsigned char kCarry = kTooShort | kTooLong | kTwoConts;

// Indexed by the high nibble of the first byte of a pair.
alignas(16) constexpr unsigned char kByte1High[16] = {
    kTooLong,
    kTooLong,
    kTooLong,
    kTooLong,
    kTooLong,
    kTooLong,
    kTooLong,
    kTooLong,
    kTwoConts,
    kTwoConts,
    kTwoConts,
    kTwoConts,
    kTooShort | kOverlong2,
    kTooShort,
    kTooShort | kOverlong3 | kSurrogate,
    kTooShort | kTooLarge | kTooLarge1000 | kOverlong4,
};
// Indexed by the low nibble of the first byte.
alignas(16) constexpr unsigned char kByte1Low[16] = {
    kCarry | kOverlong3 | kOverlong2 | kOverlong4,
    kCarry | kOverlong2,
    kCarry,
    kCarry,
    kCarry | kTooLarge,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000 | kSurrogate,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
};
// Indexed by the high nibble of the second byte.
alignas(16) constexpr unsigned char kByte2High[16] = {
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge1000 | kOverlong4,
    kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge,
    kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge,
    kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
};

// Non-zero bytes where input, with the bytes of prev before it, breaks UTF-8.
template <typename T>
typename T::V CheckBlock(typename T::V input, typename T::V prev, const typename T::V (&tables)[3])
{
    const auto prev1 = T::template Prev<1>(input, prev);
    const auto special =
        T::And(T::And(T::Lookup(tables[0], T::HighNibbles(prev1)), T::Lookup(tables[1], T::LowNibbles(prev1))),
               T::Lookup(tables[2], T::HighNibbles(input)));
    // A third or fourth byte must be a continuation: the one place where two
    // continuations in a row are right.
    const auto third = T::SubSat(T::template Prev<2>(input, prev), T::Splat(0xE0 - 0x80));
    const auto fourth = T::SubSat(T::template Prev<3>(input, prev), T::Splat(0xF0 - 0x80));
    return T::Xor(T::And(T::Or(third, fourth), T::Splat(0x80)), special);
}

// True when the Bytes bytes at p are all ASCII, read as R's vectors.
template <typename R, long Bytes>
bool AllAscii(const unsigned char* p)
{
    auto any = R::Load(p);
    for (long at = sizeof any; at < Bytes; at += sizeof any) any = R::Or(any, R::Load(p + at));
    return !R::AnyHighBit(any);
}

// Checks two vectors per step, runs of ASCII four at a time, until an error, a
// cut-short sequence before ASCII, or fewer bytes than a step remain; the
// scalar kernel then judges the rest from the sequence that may straddle the
// stopping point, so the answer is exact and the tail costs a few bytes.
template <typename T>
const unsigned char* ValidateWith(const unsigned char* begin, const unsigned char* end)
{
    using V = typename T::V;
    constexpr long kStep = 2 * sizeof(V);
    const V tables[3] = {T::Table(kByte1High), T::Table(kByte1Low), T::Table(kByte2High)};
    const V incompleteMax = T::IncompleteMax();
    V prevInput = T::Splat(0);
    V prevIncomplete = T::Splat(0);
    const unsigned char* p = begin;
    while (end - p >= kStep) {
        const V low = T::Load(p);
        const V high = T::Load(p + sizeof(V));
        if (!T::AnyHighBit(T::Or(low, high))) {
            if (T::AnyNonZero(prevIncomplete)) break;
            // A run of ASCII asks for nothing but its high bits: four vectors
            // a step then, in the trait's Run vectors, as fast as memory brings them.
            for (p += kStep; end - p >= 2 * kStep && AllAscii<typename T::Run, 2 * kStep>(p);) p += 2 * kStep;
            prevInput = T::Load(p - sizeof(V));
            continue;
        }
        if (T::AnyNonZero(T::Or(CheckBlock<T>(low, prevInput, tables), CheckBlock<T>(high, low, tables)))) break;
        prevIncomplete = T::SubSat(high, incompleteMax);
        prevInput = high;
        p += kStep;
    }
    return ValidateScalar(SequenceStart(begin, p), end);
}

// The largest byte that may end a vector without starting a sequence cut
// short by its end: 0xBF last, 0xDF next to last, 0xEF before that.
template <int Width>
struct IncompleteLimits {
    unsigned char bytes[Width];
    constexpr IncompleteLimits() : bytes{}
    {
        for (int i = 0; i < Width; ++i) bytes[i] = 0xFF;
        bytes[Width - 3] = 0xEF;
        bytes[Width - 2] = 0xDF;
        bytes[Width - 1] = 0xBF;
    }
};

}  // namespace
}  // namespace QORSysUtf8

#endif
