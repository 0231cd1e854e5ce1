// Charset names, known characters of each charset, a round trip over each
// charset's whole repertoire, and the place a text breaks its charset.
#include "Conversion.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kestrune_tool;

namespace {

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

// Charsets that some Windows systems lack (wine has no GB18030); the others must be there.
bool MayLack(const Charset& charset)
{
    return kWindows && (charset.codePage == 0 || std::string(charset.name) == "GB18030");
}

std::string Utf8Of(char32_t c)
{
    std::string out;
    if (c < 0x80) return out += static_cast<char>(c), out;
    if (c < 0x800) return out += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))}, out;
    if (c < 0x10000) {
        out += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F))};
        return out += static_cast<char>(0x80 | (c & 0x3F)), out;
    }
    out += {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F))};
    return out += {static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))}, out;
}

// The byte sequences that may be one character of a charset of this form.
std::vector<std::string> Candidates(const Charset& charset)
{
    std::vector<std::string> all;
    const auto add = [&all](std::initializer_list<int> bytes) {
        std::string sequence;
        for (const int byte : bytes) sequence += static_cast<char>(byte);
        all.push_back(sequence);
    };
    const int top = charset.form == Form::Ascii ? 0x7F : 0xFF;
    for (int byte = 1; byte <= top && charset.form != Form::Utf16Le && charset.form != Form::Utf16Be; ++byte)
        add({byte});
    if (charset.form == Form::MultiByte) {
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x30; trail <= 0xFE; ++trail) add({lead, trail});
        }
        for (int second = 0xA1; second <= 0xFE; ++second) {
            for (int third = 0xA1; third <= 0xFE; ++third) add({0x8F, second, third});  // EUC-JP's three bytes
        }
        for (int lead : {0x81, 0x82, 0x95}) {  // some of GB18030's four bytes, astral ones included
            for (int second = 0x30; second <= 0x39; ++second) {
                for (int third = 0x81; third <= 0xFE; third += 5) add({lead, second, third, 0x30 + third % 10});
            }
        }
    }
    const bool big = charset.form == Form::Utf16Be;
    for (char32_t c = 1; c < 0x110000 && (big || charset.form == Form::Utf16Le); c += c < 0x10000 ? 1 : 0x3FF) {
        if (c >= 0xD800 && c < 0xE000) continue;
        const char32_t units[2] = {c < 0x10000 ? c : 0xD800 + ((c - 0x10000) >> 10), 0xDC00 + ((c - 0x10000) & 0x3FF)};
        std::string sequence;
        for (int i = 0; i < (c < 0x10000 ? 1 : 2); ++i) {
            const char high = static_cast<char>(units[i] >> 8), low = static_cast<char>(units[i] & 0xFF);
            sequence += big ? high : low;
            sequence += big ? low : high;
        }
        all.push_back(sequence);
    }
    return all;
}

}  // namespace

TEST(Charsets, NamesAsIanaRegistersThem)
{
    const struct {
        const char* asked;
        const char* found;
    } rows[] = {{"LATIN1", "ISO-8859-1"},
                {"cp1252", "windows-1252"},
                {"CSSHIFTJIS", "Shift_JIS"},
                {"ms_kanji", "Shift_JIS"},
                {"iso_8859-15", "ISO-8859-15"},
                {"koi8-r", "KOI8-R"},
                {"utf-16le", "UTF-16LE"},
                {"ascii", "US-ASCII"},
                {"csISOLatin6", "ISO-8859-10"},
                {"latin", nullptr},
                {"l", nullptr},
                {"latin1 ", nullptr},
                {"", nullptr},
                {"utf-16", nullptr}};
    for (const auto& row : rows) {
        const Charset* charset = FindCharset(row.asked);
        EXPECT_EQ(charset != nullptr ? std::string(charset->name) : "(none)", row.found ? row.found : "(none)")
            << row.asked;
    }
}

// One character or two of each charset, both ways: the right table is used.
TEST(Charsets, KnownCharacters)
{
    const struct {
        const char* charset;
        std::string bytes;
        const char* utf8;
    } rows[] = {
        {"latin1", "caf\xE9", "caf\xC3\xA9"},
        {"ISO-8859-2", "\xB1", "\xC4\x85"},
        {"ISO-8859-3", "\xA6", "\xC4\xA4"},
        {"ISO-8859-4", "\xA2", "\xC4\xB8"},
        {"ISO-8859-5", "\xB0", "\xD0\x90"},
        {"ISO-8859-6", "\xC7", "\xD8\xA7"},
        {"ISO-8859-7", "\xE1", "\xCE\xB1"},
        {"ISO-8859-8", "\xE0", "\xD7\x90"},
        {"ISO-8859-9", "\xFD", "\xC4\xB1"},
        {"ISO-8859-10", "\xA1", "\xC4\x84"},
        {"ISO-8859-11", "\xA1", "\xE0\xB8\x81"},
        {"ISO-8859-13", "\xE0", "\xC4\x85"},
        {"ISO-8859-14", "\xA1", "\xE1\xB8\x82"},
        {"ISO-8859-15", "\xA4", "\xE2\x82\xAC"},
        {"windows-1250", "\x8A", "\xC5\xA0"},
        {"windows-1251", "\xC0", "\xD0\x90"},
        {"cp1252", "\x80\x9F", "\xE2\x82\xAC\xC5\xB8"},
        {"windows-1253", "\xE1", "\xCE\xB1"},
        {"windows-1254", "\xFD", "\xC4\xB1"},
        {"windows-1255", "\xE0", "\xD7\x90"},
        {"windows-1256", "\xC7", "\xD8\xA7"},
        {"windows-1257", "\xE0", "\xC4\x85"},
        {"windows-1258", "\xD2", "\xCC\x89"},
        {"KOI8-R", "\xC1", "\xD0\xB0"},
        {"Shift_JIS", "\x82\xA0\xB1", "\xE3\x81\x82\xEF\xBD\xB1"},
        {"EUC-JP", "\xA4\xA2", "\xE3\x81\x82"},
        {"GBK", "\xB0\xA1", "\xE5\x95\x8A"},
        {"GB18030", "\x81\x30\x81\x30\x90\x30\x81\x30", "\xC2\x80\xF0\x90\x80\x80"},
        {"Big5", "\xA4\x40", "\xE4\xB8\x80"},
        {"EUC-KR", "\xB0\xA1", "\xEA\xB0\x80"},
        {"UTF-16LE", std::string("A\0\x3D\xD8\x00\xDE", 6), "A\xF0\x9F\x98\x80"},
        {"UTF-16BE", std::string("\0A", 2), "A"},
    };
    for (const auto& row : rows) {
        const Charset& charset = *FindCharset(row.charset);
        std::string utf8, back;
        TextPosition at;
        std::size_t bad = 0;
        const Recoded there = ToUtf8(charset, row.bytes, utf8, at);
        if (there == Recoded::Unavailable && MayLack(charset)) continue;
        EXPECT_EQ(there, Recoded::Done) << row.charset;
        EXPECT_EQ(utf8, row.utf8) << row.charset;
        EXPECT_EQ(FromUtf8(charset, utf8, back, bad), Recoded::Done) << row.charset;
        EXPECT_EQ(back, row.bytes) << row.charset;
    }
}

// Every character a charset encodes one way, all in one text, converts to
// UTF-8 and back to the same bytes.
TEST(Charsets, RoundTripOverTheRepertoire)
{
    for (const Charset* charset = AllCharsets(); charset->name != nullptr; ++charset) {
        std::string text, expected, utf8, back;
        std::size_t count = 0, bad = 0;
        TextPosition at;
        for (const std::string& candidate : Candidates(*charset)) {
            const Recoded alone = ToUtf8(*charset, candidate, utf8, at);
            if (alone == Recoded::Unavailable) break;
            if (alone != Recoded::Done || FromUtf8(*charset, utf8, back, bad) != Recoded::Done || back != candidate)
                continue;
            text += candidate;
            expected += utf8;
            ++count;
        }
        SCOPED_TRACE(charset->name);
        if (count == 0 && MayLack(*charset)) continue;
        const std::size_t least = charset->form == Form::MultiByte    ? 7000
                                  : charset->form == Form::SingleByte ? 180
                                                                      : 127;
        EXPECT_GE(count, least);
        ASSERT_EQ(ToUtf8(*charset, text, utf8, at), Recoded::Done);
        EXPECT_EQ(utf8, expected);
        ASSERT_EQ(FromUtf8(*charset, utf8, back, bad), Recoded::Done);
        EXPECT_EQ(back, text);
    }
    // UTF-8 itself passes through, as the validator allows.
    std::string utf8;
    TextPosition at;
    EXPECT_EQ(ToUtf8(*FindCharset("UTF-8"), Utf8Of(0x10FFFF), utf8, at), Recoded::Done);
    EXPECT_EQ(utf8, Utf8Of(0x10FFFF));
}

TEST(Charsets, WhereATextBreaksItsCharset)
{
    const struct {
        const char* charset;
        std::string text;
        std::size_t byte, line, column;
        const char* bytes;
    } rows[] = {
        {"US-ASCII", "ab\ncd\xC3", 5, 2, 3, "C3"},
        {"ISO-8859-11", "0123456789\r\n\xA1\xDBx", 13, 2, 2, "DB"},
        {"Shift_JIS", "\x82\xA0\r\x82\xA0x\x81", 6, 2, 3, "81"},
        {"EUC-KR", "\xB0\xA1\xFF\xFF", 2, 1, 2, "FF FF"},
        {"GBK", "a\n\x81\x20", 2, 2, 1, "81 20"},
        {"UTF-16LE",
         std::string("a\0\n\0\0\xD8"
                     "b\0",
                     8),
         4, 2, 1, "00 D8"},
        {"UTF-16BE", std::string("\0a\0", 3), 2, 1, 2, "00"},
        {"UTF-8", "a\xC3(", 1, 1, 2, "C3 28"},
    };
    for (const auto& row : rows) {
        const Charset& charset = *FindCharset(row.charset);
        std::string out;
        TextPosition at;
        const Recoded result = ToUtf8(charset, row.text, out, at);
        if (result == Recoded::Unavailable && MayLack(charset)) continue;
        EXPECT_EQ(result, Recoded::Invalid) << row.charset;
        EXPECT_EQ(at.byte, row.byte) << row.charset;
        EXPECT_EQ(at.line, row.line) << row.charset;
        EXPECT_EQ(at.column, row.column) << row.charset;
        EXPECT_EQ(at.bytes, row.bytes) << row.charset;
    }
    // And from UTF-8: a character the charset lacks, a sequence cut short.
    const struct {
        const char* charset;
        const char* text;
        std::size_t bad;
    } back[] = {{"ISO-8859-1", "a\xE2\x82\xAC", 1},
                {"windows-1251", "\xD0\x90\xC3\xA9", 2},
                {"Shift_JIS", "a\xE2\x82", 1},
                {"US-ASCII", "ab\xC3\xA9", 2},
                {"UTF-8", "ab\xC3", 2}};
    for (const auto& row : back) {
        std::string out;
        std::size_t bad = 0;
        EXPECT_EQ(FromUtf8(*FindCharset(row.charset), row.text, out, bad), Recoded::Invalid) << row.charset;
        EXPECT_EQ(bad, row.bad) << row.charset;
    }
}
