// RFC 3629 UTF-8, decoded one sequence at a time from the bit patterns:
// the lead byte gives the length, continuation bytes are 10xxxxxx, and the
// decoded code point must need that length, not be a surrogate and not pass
// U+10FFFF.
#ifndef KESTRUNE_FUZZ_UTF8_MODEL_H
#define KESTRUNE_FUZZ_UTF8_MODEL_H

#include <cstddef>
#include <cstdint>

// Index of the first byte of the first invalid or cut-short sequence, or
// size when all size bytes are valid.
inline std::size_t ModelUtf8Stop(const unsigned char* bytes, std::size_t size)
{
    static const std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    std::size_t at = 0;
    while (at < size) {
        const unsigned char lead = bytes[at];
        std::size_t length = 0;
        if (lead < 0x80)
            length = 1;
        else if ((lead & 0xE0) == 0xC0)
            length = 2;
        else if ((lead & 0xF0) == 0xE0)
            length = 3;
        else if ((lead & 0xF8) == 0xF0)
            length = 4;
        if (length == 0 || size - at < length) return at;
        std::uint32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i) {
            if ((bytes[at + i] & 0xC0) != 0x80) return at;
            point = point << 6 | (bytes[at + i] & 0x3F);
        }
        if (point < kSmallest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return at;
        at += length;
    }
    return size;
}

#endif
