// The comparison at the heart of CompareCatalogFiles, on texts in memory or
// read a window at a time.
#ifndef KESTRUNE_CATALOGTEXTCOMPARE_H
#define KESTRUNE_CATALOGTEXTCOMPARE_H

#include "ByteVector.h"
#include "QORSysFile.h"
#include "QORSysResult.h"

#include <cstddef>

namespace QORSysTextFileUtilities {

namespace CatalogCompareDetail {

inline bool IsLineBreak(char byte) { return byte == '\r' || byte == '\n'; }

// How many bytes from a and b on are equal, looking at up to limit bytes
// (readable on both sides).
inline long long EqualRun(const char* a, const char* b, long long limit)
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

}  // namespace CatalogCompareDetail

// Compares the second file's text with the first's, leaving out every CR and
// LF, until the second text is used up: S_OK when it matched, S_FALSE at the
// first difference. Each Text shows its next bytes as [at, end), followed by
// a zero byte; Fill(), called only when at == end, brings in the next window
// and returns true, or returns false (at == end still) once the text is used up.
template <typename Text>
HRESULT CompareCatalogTexts(Text& second, Text& first)
{
    using namespace CatalogCompareDetail;
    Text& a = second;
    Text& b = first;
    const auto ready = [](Text& text) { return text.at != text.end || text.Fill(); };
    while (ready(a)) {
        // Equal bytes, line breaks among them, step both cursors on one for
        // one under the byte rule below as well, since it leaves breaks out on
        // both sides alike; so they are passed many at a time. A window's last
        // byte is left to the byte rule: when it is the second text's last and
        // a break, that rule alone compares the first text's next byte with the end.
        if (ready(b)) {
            const long long aRoom = a.end - a.at - 1, bRoom = b.end - b.at;
            const long long run = EqualRun(a.at, b.at, aRoom < bRoom ? aRoom : bRoom);
            a.at += run;
            b.at += run;
        }
        // The byte rule. A text used up shows its zero byte.
        while (ready(a) && IsLineBreak(*a.at)) ++a.at;
        while (ready(b) && IsLineBreak(*b.at)) ++b.at;
        const bool aEnded = !ready(a), bEnded = !ready(b);
        if (*a.at != *b.at) return S_FALSE;
        // The first text has ended but the second goes on with a zero byte.
        if (bEnded && !aEnded) return S_FALSE;
        if (aEnded) return S_OK;
        ++a.at;
        ++b.at;
    }
    return S_OK;
}

// The same on two texts held whole, [second, secondEnd) and [first,
// firstEnd), each followed by a zero byte in its buffer.
HRESULT CompareCatalogTexts(const char* second, const char* secondEnd, const char* first, const char* firstEnd);

// CompareCatalogFiles past the extension's check: each file read in windows
// of window bytes (the first grown to hold its head line whole), so that two
// small buffers serve files of any size. A file that cannot be sized counts
// as empty; one that shrank ends where its reads stopped; E_FAIL when either
// cannot be opened or a read fails anywhere in either.
HRESULT CompareCatalogFileTexts(const QORSysPath& first, const QORSysPath& second, std::size_t window);

}  // namespace QORSysTextFileUtilities

#endif
