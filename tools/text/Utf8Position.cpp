#include "Utf8Position.h"

#include "LineEndings.h"
#include "QORSysText.h"

#include <cstdio>

namespace kestrune_tool {

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// How many bytes a sequence starting with lead claims; 1 for a byte that
// cannot start one.
std::size_t Announced(unsigned char lead)
{
    if (lead >= 0xC0 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    return lead >= 0xF0 && lead <= 0xF7 ? 4 : 1;
}

}  // namespace

bool FindInvalidUtf8(std::string_view text, TextPosition& at)
{
    const char* stop = text.data();
    if (QORSysUCAlgorithm::IsUTF8(stop, text.size()) == 0) return false;
    at.byte = static_cast<std::size_t>(stop - text.data());
    at.line = 1 + CountLineEndings(text.data(), at.byte).Total();
    std::size_t start = text.find_last_of("\r\n", at.byte == 0 ? std::string_view::npos : at.byte - 1);
    start = at.byte == 0 || start == std::string_view::npos ? 0 : start + 1;
    at.column = 1;
    for (std::size_t i = start; i < at.byte; ++i) at.column += !IsContinuation(static_cast<unsigned char>(text[i]));
    const std::size_t length = Announced(static_cast<unsigned char>(text[at.byte]));
    at.bytes.clear();
    for (std::size_t i = at.byte; i < text.size() && i < at.byte + length; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, i == at.byte ? "%02X" : " %02X", static_cast<unsigned char>(text[i]));
        at.bytes += hex;
        if (i > at.byte && !IsContinuation(static_cast<unsigned char>(text[i]))) break;
    }
    return true;
}

}  // namespace kestrune_tool
