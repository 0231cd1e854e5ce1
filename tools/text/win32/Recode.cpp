// The code pages through the wide calls: a charset's bytes to UTF-16 and on
// to UTF-8, or back. Best-fit stand-ins (an 'a' for an 'ā') are refused:
// a conversion either keeps every character or fails.
#include "Recode.h"
#include "Win32Api.h"

#include <climits>
#include <functional>

namespace kestrune_tool {

namespace {

constexpr unsigned kGb18030 = 54936;

bool Widen(unsigned codePage, const char* in, std::size_t size, std::wstring& wide)
{
    wide.clear();
    if (size == 0) return true;
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in, static_cast<int>(size), nullptr, 0);
    if (length <= 0) return false;
    wide.resize(static_cast<std::size_t>(length));
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in, static_cast<int>(size), &wide[0], length) == length;
}

bool Narrow(unsigned codePage, const wchar_t* wide, std::size_t size, std::string& out)
{
    out.clear();
    if (size == 0) return true;
    // UTF-8 and GB18030 have every character: no default to fall back on, only unpaired surrogates to refuse.
    const bool whole = codePage == CP_UTF8 || codePage == kGb18030;
    const DWORD flags = whole ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL defaulted = FALSE;
    BOOL* used = whole ? nullptr : &defaulted;
    const int count = static_cast<int>(size);
    const int length = WideCharToMultiByte(codePage, flags, wide, count, nullptr, 0, nullptr, used);
    if (length <= 0 || defaulted) return false;
    out.resize(static_cast<std::size_t>(length));
    return WideCharToMultiByte(codePage, flags, wide, count, &out[0], length, nullptr, used) == length && !defaulted;
}

// The offset of the first sequence in an ASCII-compatible text that does not
// convert alone: line endings are never part of a character, so the line
// that fails is found first, then the character in it, as the shortest
// sequence of one to four bytes that converts.
std::size_t FirstBad(const char* in, std::size_t size, const std::function<bool(const char*, std::size_t)>& converts)
{
    std::size_t line = 0;
    for (std::size_t end = 0; end < size; line = end) {
        while (end < size && in[end] != '\n') ++end;
        end += end < size;
        if (!converts(in + line, end - line)) break;
    }
    for (std::size_t i = line; i < size;) {
        std::size_t length = 1;
        while (length <= 4 && i + length <= size && !converts(in + i, length)) ++length;
        if (length > 4 || i + length > size) return i;
        i += length;
    }
    return size;
}

// UTF-16 in the byte order of the form, to and from UTF-8.
Recoded RecodeUtf16(bool bigEndian, bool toUtf8, const char* in, std::size_t size, std::string& out, std::size_t& bad)
{
    const auto unit = [bigEndian](const char* at) {
        const auto first = static_cast<unsigned char>(at[0]);
        const auto second = static_cast<unsigned char>(at[1]);
        return static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    std::wstring wide;
    if (toUtf8) {
        for (std::size_t i = 0; i + 1 < size; i += 2) wide += unit(in + i);
        for (std::size_t i = 0; i < wide.size(); ++i) {
            const bool high = wide[i] >= 0xD800 && wide[i] <= 0xDBFF;
            const bool low = wide[i] >= 0xDC00 && wide[i] <= 0xDFFF;
            const bool paired = i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF;
            if (low || (high && !paired)) {
                bad = 2 * i;
                return Recoded::Invalid;
            }
            i += high;
        }
        bad = size - 1;  // an odd byte at the end
        return size % 2 == 0 && Narrow(CP_UTF8, wide.data(), wide.size(), out) ? Recoded::Done : Recoded::Invalid;
    }
    if (!Widen(CP_UTF8, in, size, wide)) {
        bad = FirstBad(in, size, [&wide](const char* at, std::size_t n) { return Widen(CP_UTF8, at, n, wide); });
        return Recoded::Invalid;
    }
    out.clear();
    for (const wchar_t c : wide) {
        const char bytes[2] = {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
        out += bigEndian ? bytes[0] : bytes[1];
        out += bigEndian ? bytes[1] : bytes[0];
    }
    return Recoded::Done;
}

}  // namespace

Recoded Recode(const Charset& charset, bool toUtf8, const char* in, std::size_t size, std::string& out,
               std::size_t& bad)
{
    if (size > INT_MAX / 2) return Recoded::Unavailable;  // the wide calls count in int
    if (charset.form == Form::Utf16Le || charset.form == Form::Utf16Be)
        return RecodeUtf16(charset.form == Form::Utf16Be, toUtf8, in, size, out, bad);
    const unsigned codePage = charset.codePage;
    if (codePage == 0 || IsValidCodePage(codePage) == 0) return Recoded::Unavailable;
    const unsigned from = toUtf8 ? codePage : CP_UTF8;
    const unsigned to = toUtf8 ? CP_UTF8 : codePage;
    std::wstring wide;
    std::string part;
    const auto converts = [&](const char* at, std::size_t n) {
        return Widen(from, at, n, wide) && Narrow(to, wide.data(), wide.size(), part);
    };
    if (converts(in, size)) {
        out.swap(part);
        return Recoded::Done;
    }
    bad = FirstBad(in, size, converts);
    return Recoded::Invalid;
}

}  // namespace kestrune_tool
