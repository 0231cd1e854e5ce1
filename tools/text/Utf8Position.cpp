#include "Utf8Position.h"

#include "LineEndings.h"
#include "QORSysText.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace kestrune_tool {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

std::size_t Announced(unsigned char lead)
{
    if (lead >= 0xC0 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    return lead >= 0xF0 && lead <= 0xF7 ? 4 : 1;
}

std::size_t CutSequence(std::string_view text)
{
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, text.size()); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if (!IsContinuation(byte)) return Announced(byte) > back ? back : 0;
    }
    return 0;
}

bool FindInvalidUtf8(std::string_view text, TextPosition& at)
{
    const char* stop = text.data();
    if (QORSysUCAlgorithm::IsUTF8(stop, text.size()) == 0) return false;
    at.byte = static_cast<std::size_t>(stop - text.data());
    PlaceAfter(text.substr(0, at.byte), false, at);
    bool complete = false;
    at.bytes = Hex(text.substr(at.byte, FaultLength(text.substr(at.byte), complete)));
    return true;
}

std::size_t FaultLength(std::string_view bytes, bool& complete)
{
    // Up to the length the first byte announces, ending after a byte that cannot continue it.
    const std::size_t announced = Announced(static_cast<unsigned char>(bytes[0]));
    std::size_t length = 1;
    complete = true;
    while (length < announced) {
        if (length == bytes.size()) {
            complete = false;
            break;
        }
        if (!IsContinuation(static_cast<unsigned char>(bytes[length++]))) break;
    }
    return length;
}

bool FindBinaryByte(std::string_view text, TextPosition& at)
{
    constexpr std::uint32_t kTextControls = 1U << '\t' | 1U << '\n' | 1U << '\v' | 1U << '\f' | 1U << '\r' | 1U << 0x1B;
    const auto binary = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && (kTextControls >> byte & 1U) == 0;
    };
    // Eight bytes at a time past those with no byte under 0x20.
    std::size_t from = 0;
    for (std::uint64_t block = 0; from + 8 <= text.size(); from += 8) {
        std::memcpy(&block, text.data() + from, 8);
        if (((block - 0x2020202020202020U) & ~block & 0x8080808080808080U) != 0 &&
            std::any_of(text.begin() + from, text.begin() + from + 8, binary))
            break;
    }
    const auto found = std::find_if(text.begin() + from, text.end(), binary);
    if (found == text.end()) return false;
    at.byte = static_cast<std::size_t>(found - text.begin());
    PlaceAfter(text.substr(0, at.byte), false, at);
    at.bytes = Hex(text.substr(at.byte, 1));
    return true;
}

std::string TextPosition::Words() const
{
    return "byte " + std::to_string(byte) + " (line " + std::to_string(line) + ", column " + std::to_string(column) +
           "): " + bytes;
}

void PlaceAfter(std::string_view before, bool bytewise, TextPosition& at)
{
    at.line = 1 + CountLineEndings(before.data(), before.size()).Total();
    const std::size_t end = before.find_last_of("\r\n");
    at.column = 1;
    for (std::size_t i = end == std::string_view::npos ? 0 : end + 1; i < before.size(); ++i)
        at.column += bytewise || !IsContinuation(static_cast<unsigned char>(before[i]));
}

std::string Hex(std::string_view bytes)
{
    std::string hex;
    for (const char byte : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, hex.empty() ? "%02X" : " %02X", static_cast<unsigned char>(byte));
        hex += digits;
    }
    return hex;
}

}  // namespace kestrune_tool
