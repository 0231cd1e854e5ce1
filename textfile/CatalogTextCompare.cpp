#include "CatalogTextCompare.h"

#include "ByteVector.h"

namespace QORSysTextFileUtilities {

namespace {

bool IsLineBreak(char byte) { return byte == '\r' || byte == '\n'; }

// How many bytes from a and b on are equal, looking at up to limit bytes
// (readable on both sides).
long long EqualRun(const char* a, const char* b, long long limit)
{
    long long run = 0;
#if defined(KESTRUNE_BYTE_VECTOR)
    using namespace ByteVector;
    const auto differences = [&](long long at) { return MaskOf(Load(a + at) == Load(b + at)) ^ kAllBytes; };
    // Runs end at every line break that differs, so most are a line long.
    for (; limit - run >= 32; run += 32) {
        const Mask low = differences(run);
        const Mask high = differences(run + 16);
        if ((low | high) != 0) return run + FirstByte(low, high);
    }
    if (limit - run >= 16) {
        if (const Mask differ = differences(run)) return run + FirstByte(differ);
        run += 16;
    }
#endif
    while (run < limit && a[run] == b[run]) ++run;
    return run;
}

}  // namespace

HRESULT CompareCatalogTexts(const char* second, const char* secondEnd, const char* first, const char* firstEnd)
{
    const char* a = second;
    const char* const aEnd = secondEnd;
    const char* b = first;
    const char* const bEnd = firstEnd;
    // remaining always equals the distance from a to the second text's end,
    // so a never passes its zero.
    long long remaining = aEnd - a;
    while (remaining > 0) {
        // Equal bytes, line breaks among them, step both cursors on one for
        // one under the byte rule below as well, since it leaves breaks out on
        // both sides alike; so they are passed many at a time. The second
        // text's last byte is left to the byte rule: when it is a break, that
        // rule alone compares the first text's next byte with the end.
        const long long bRoom = bEnd - b;
        const long long run = EqualRun(a, b, remaining - 1 < bRoom ? remaining - 1 : bRoom);
        a += run;
        b += run;
        remaining -= run;

        long long skipped = 0;
        while (IsLineBreak(*a)) {
            ++a;
            ++skipped;
        }
        while (IsLineBreak(*b)) ++b;
        if (*a != *b) return S_FALSE;
        // The first text has ended but the second goes on with a zero byte:
        // stepping b on would leave its buffer.
        if (b == bEnd && a != aEnd) return S_FALSE;
        ++a;
        ++b;
        remaining -= skipped + 1;
    }
    return S_OK;
}

}  // namespace QORSysTextFileUtilities
