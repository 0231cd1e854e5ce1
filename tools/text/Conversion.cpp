#include "Conversion.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace kestrune_tool {

namespace {

// A single-byte charset's 256 characters in UTF-8, asked of the system's
// converter once; a length of 0 is a byte with no character.
struct ByteTable {
    std::array<std::array<char, 4>, 256> utf8{};
    std::array<unsigned char, 256> length{};
};

// Null when the system cannot convert the charset.
const ByteTable* TableFor(const Charset& charset)
{
    static std::mutex mutex;
    static std::map<const Charset*, std::unique_ptr<ByteTable>> tables;
    const std::lock_guard<std::mutex> lock(mutex);
    const auto found = tables.find(&charset);
    if (found != tables.end()) return found->second.get();
    auto table = std::make_unique<ByteTable>();
    for (int byte = 0; byte < 256; ++byte) {
        const char in = static_cast<char>(byte);
        std::string out;
        std::size_t bad = 0;
        const Recoded recoded = Recode(charset, true, &in, 1, out, bad);
        if (recoded == Recoded::Unavailable) {
            table.reset();
            break;
        }
        if (recoded != Recoded::Done || out.size() > 4) continue;
        std::memcpy(table->utf8[byte].data(), out.data(), out.size());
        table->length[byte] = static_cast<unsigned char>(out.size());
    }
    return (tables[&charset] = std::move(table)).get();
}

bool AsciiWord(const char* at)
{
    std::uint64_t word = 0;
    std::memcpy(&word, at, sizeof word);
    return (word & 0x8080808080808080u) == 0;
}

// Through the table: a first pass for the length, a second to fill it,
// ASCII a word at a time and each other byte as a 4-byte store of which
// the length counts. False with bad at a byte that has no character.
bool ThroughTable(const ByteTable& table, std::string_view text, std::string& out, std::size_t& bad)
{
    const char* in = text.data();
    const std::size_t size = text.size();
    std::size_t length = 0;
    bool valid = true;
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char bytes = table.length[static_cast<unsigned char>(in[i])];
        length += bytes;
        valid &= bytes != 0;
    }
    if (!valid) {
        for (bad = 0; table.length[static_cast<unsigned char>(in[bad])] != 0;) ++bad;
        return false;
    }
    out.resize(length + 3);  // room for the last store
    char* to = &out[0];
    for (std::size_t i = 0; i < size;) {
        if (i + 8 <= size && AsciiWord(in + i)) {
            std::memcpy(to, in + i, 8);
            to += 8;
            i += 8;
            continue;
        }
        const auto byte = static_cast<unsigned char>(in[i++]);
        std::memcpy(to, table.utf8[byte].data(), 4);
        to += table.length[byte];
    }
    out.resize(length);
    return true;
}

// Line, column and bytes of the sequence at at.byte, counted in the text
// before it as UTF-8; a place inside a character moves to its start.
void Place(const Charset& charset, std::string_view text, TextPosition& at)
{
    const bool bytewise = charset.form == Form::SingleByte || charset.form == Form::Ascii;
    std::string before(text.substr(0, at.byte));
    for (std::size_t cut = 0, bad = 0; !bytewise && cut < 4 && cut <= at.byte; ++cut) {
        if (Recode(charset, true, text.data(), at.byte - cut, before, bad) == Recoded::Done) {
            at.byte -= cut;
            break;
        }
    }
    PlaceAfter(before, bytewise, at);
    at.bytes = Hex(text.substr(at.byte, bytewise ? 1 : 2));
}

}  // namespace

Recoded ToUtf8(const Charset& charset, std::string_view text, std::string& out, TextPosition& at)
{
    Recoded result = Recoded::Done;
    at.byte = 0;
    switch (charset.form) {
        case Form::Utf8:
            if (FindInvalidUtf8(text, at)) return Recoded::Invalid;
            out.assign(text.data(), text.size());
            return Recoded::Done;
        case Form::Ascii:
            for (at.byte = 0; at.byte < text.size() && (text[at.byte] & 0x80) == 0;) ++at.byte;
            if (at.byte == text.size()) out.assign(text.data(), text.size());
            result = at.byte == text.size() ? Recoded::Done : Recoded::Invalid;
            break;
        case Form::SingleByte:
            if (const ByteTable* table = TableFor(charset)) {
                result = ThroughTable(*table, text, out, at.byte) ? Recoded::Done : Recoded::Invalid;
            } else {
                result = Recoded::Unavailable;
            }
            break;
        default:
            result = Recode(charset, true, text.data(), text.size(), out, at.byte);
            if (result == Recoded::Done && charset.form == Form::MultiByte) {
                // Some charsets give one character two codes; such a text would not come back as it was.
                std::string back;
                std::size_t bad = 0;
                if (Recode(charset, false, out.data(), out.size(), back, bad) != Recoded::Done || back != text) {
                    at.byte = std::mismatch(text.begin(), text.end(), back.begin(), back.end()).first - text.begin();
                    result = Recoded::OneWay;
                }
            }
    }
    if (result == Recoded::Invalid || result == Recoded::OneWay) Place(charset, text, at);
    return result;
}

Recoded FromUtf8(const Charset& charset, const std::string& text, std::string& out, std::size_t& bad)
{
    // To itself, or to its ASCII part: the first invalid sequence, or byte past ASCII, stops it.
    TextPosition at;
    if (charset.form == Form::Ascii) {
        for (bad = 0; bad < text.size() && (text[bad] & 0x80) == 0;) ++bad;
    } else if (charset.form == Form::Utf8) {
        bad = FindInvalidUtf8(text, at) ? at.byte : text.size();
    } else {
        return Recode(charset, false, text.data(), text.size(), out, bad);
    }
    if (bad < text.size()) return Recoded::Invalid;
    out = text;
    return Recoded::Done;
}

}  // namespace kestrune_tool
