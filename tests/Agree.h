// Small independent models of the exports, and checks that an export agrees
// with its model on given bytes. The generated tests and the fuzzer share
// them. Each check returns what disagreed, or null. The few file helpers
// they need (Put, Path, Read) serve the other tests too.
#ifndef KESTRUNE_TESTS_AGREE_H
#define KESTRUNE_TESTS_AGREE_H

#include "CatalogTextCompare.h"
#include "QORSysTextFileUtilities.h"
#include "VELGeneral.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

// A new file of bytes: new rather than truncated, as ext4 flushes truncated files on close.
inline std::string Put(const std::string& path, const std::string& bytes)
{
    std::remove(path.c_str());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

inline QORSysPath Path(const std::string& text)
{
    QORSysPath path;
    path.Set(text.c_str());
    return path;
}

inline std::string Read(const std::string& path)
{
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

namespace Agree {

using namespace QORSysTextFileUtilities;

#define AGREE(condition) \
    if (!(condition)) return #condition

// RFC 3629: where the first invalid or cut-short sequence starts, or size.
inline std::size_t Utf8Stop(const unsigned char* bytes, std::size_t size)
{
    static const unsigned kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    for (std::size_t at = 0; at < size;) {
        const unsigned lead = bytes[at];
        const std::size_t length = lead < 0x80 ? 1 : lead >> 5 == 6 ? 2 : lead >> 4 == 14 ? 3 : lead >> 3 == 30 ? 4 : 0;
        if (length == 0 || size - at < length) return at;
        unsigned point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i) {
            if ((bytes[at + i] & 0xC0) != 0x80) return at;
            point = point << 6 | (bytes[at + i] & 0x3F);
        }
        if (point < kSmallest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return at;
        at += length;
    }
    return size;
}

// An optional byte-order mark, then an optional tag line ended by CR LF, LF,
// CR or the text's end: the bytes they take; format 2 for a mark or UTF-8.
inline std::size_t CatalogHead(const std::string& text, int& format)
{
    const std::string head = text.c_str(), open = "<meta charset=\"";
    std::size_t at = head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    format = at == 3 ? 2 : 1;
    const std::size_t end = head.find("\"/>", at + open.size());
    if (head.compare(at, open.size(), open) != 0 || end == std::string::npos || head.find_first_of("\r\n", at) < end)
        return at;
    std::size_t next = end + 3;
    next += head.compare(next, 2, "\r\n") == 0 ? 2 : next < head.size() && (head[next] == '\r' || head[next] == '\n');
    if (next == end + 3 && next < head.size()) return at;
    std::string name = head.substr(at + open.size(), end - at - open.size());
    for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (name == "utf-8") format = 2;
    return next;
}

inline bool IsBreak(char byte) { return byte == '\r' || byte == '\n'; }

// 0xFF ends a text in memory as a zero byte does (in a file only the end
// does). Every start within the first 16 bytes, for the vector scan's sake.
inline const char* Eol(const std::string&, const std::string& bytes)
{
    for (std::size_t skip = 0; skip < 16 && skip <= bytes.size(); ++skip) {
        const char *text = bytes.c_str() + skip, *eol = nullptr;
        const std::size_t at = std::strcspn(text, "\r\n\xFF");
        const bool found = IsBreak(text[at]);
        AGREE(DetectEOL(text, eol) == (found ? S_OK : S_FALSE));
        AGREE(eol ==
              std::string(!found || (text[at] == '\r' && text[at + 1] == '\n') ? "\r\n" : std::string(1, text[at])));
    }
    return nullptr;
}

// The mark in a buffer of the bytes declared whole or as 0 to 3 bytes, UTF-8
// validation, and the catalog head.
inline const char* Memory(const std::string&, const std::string& bytes)
{
    for (const std::size_t declared : {bytes.size(), std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{3}}) {
        const std::string copy = bytes.substr(0, declared);  // ASan sees reads past the declared size
        const char *text = copy.data(), *none = nullptr;
        auto left = static_cast<unsigned int>(copy.size());
        const bool mark = copy.compare(0, 3, "\xEF\xBB\xBF") == 0;
        AGREE(DetectUnicodeBOM(text, left) == (mark ? S_OK : S_FALSE));
        AGREE(text == copy.data() + (mark ? 3 : 0) && left == copy.size() - (mark ? 3 : 0));
        AGREE(DetectUnicodeBOM(none, left) == E_FAIL && DetectEOL(nullptr, none) == E_FAIL);  // null texts
    }
    const char *text = bytes.data(), *head = bytes.c_str();
    const std::size_t stop = Utf8Stop(reinterpret_cast<const unsigned char*>(text), bytes.size());
    AGREE((QORSysUCAlgorithm::IsUTF8(text, bytes.size()) == 0) == (stop == bytes.size()));
    AGREE(static_cast<std::size_t>(text - bytes.data()) == (stop == bytes.size() ? 0 : stop));
    int format = 0, model = 0;
    AGREE(DetectCatalogFileFormat(head, format) == S_OK);
    AGREE(head == bytes.c_str() + CatalogHead(bytes, model) && format == model);
    return nullptr;
}

// Split at the first "|||" into the first and the second text (both the same
// without one). Past both heads they are compared with line breaks left out
// until the second is used up; the first's zero byte ends it early.
inline const char* Compare(const std::string& dir, const std::string& bytes)
{
    const std::size_t split = std::min(bytes.find("|||"), bytes.size());
    const std::string first = bytes.substr(0, split), second = split == bytes.size() ? first : bytes.substr(split + 3);
    int format = 0;
    const std::size_t secondHead = CatalogHead(second, format), firstHead = CatalogHead(first, format);
    std::size_t a = secondHead, b = firstHead;
    const auto at = [](const std::string& text, std::size_t i) { return i < text.size() ? text[i] : '\0'; };
    HRESULT model = S_OK;
    for (long long remaining = static_cast<long long>(second.size() - a); remaining > 0 && model == S_OK; ++a, ++b) {
        long long skipped = 0;
        for (; IsBreak(at(second, a)); ++a) ++skipped;
        while (IsBreak(at(first, b))) ++b;
        if (at(second, a) != at(first, b) || (b == first.size() && a < second.size())) model = S_FALSE;
        remaining -= skipped + 1;
    }
    const QORSysPath firstPath = Path(Put(dir + "/first.velnls", first)),
                     secondPath = Path(Put(dir + "/second", second));
    AGREE(CompareCatalogFiles(firstPath, secondPath) == model);
    // Read a few bytes at a time, so that a window ends in a head, a run of equal bytes, a CR LF.
    for (const std::size_t window : {1, 2, 5, 17, 40})
        AGREE(QORSysTextFileUtilities::CompareCatalogFileTexts(firstPath, secondPath, window) == model);
    // The same loop over both texts held whole, past their heads.
    AGREE(QORSysTextFileUtilities::CompareCatalogTexts(second.c_str() + secondHead, second.c_str() + second.size(),
                                                       first.c_str() + firstHead,
                                                       first.c_str() + first.size()) == model);
    return nullptr;
}

// Windows of 4096 bytes; a stop within a window's last 3 bytes is carried.
inline const char* Deep(const std::string& dir, const std::string& bytes)
{
    constexpr std::size_t kWindow = 4096;
    unsigned char window[kWindow] = {};  // after a short read the tail keeps older bytes
    int model = 2;
    for (std::size_t done = 0, carried = 0; done < bytes.size() && model == 2;) {
        const std::size_t got = std::min(kWindow - carried, bytes.size() - done);
        std::memcpy(window + carried, bytes.data() + done, got);
        done += got;
        const std::size_t stop = Utf8Stop(window, carried + got);
        carried = stop == carried + got ? 0 : kWindow - stop;
        if (carried > 3) model = 1;
        std::memmove(window, window + stop, std::min(carried, kWindow - stop));
    }
    int format = 0;
    AGREE(DetectFileFormatDeep(Path(Put(dir + "/deep", bytes)), format) >= 0 && format == model);
    return nullptr;
}

// The descriptor forms on a file of the bytes, opened at a start and with a
// restore flag both taken from the bytes: each one's result, where it leaves
// the position, and what the writers leave in the file; null texts refused.
inline const char* Descriptors(const std::string& dir, const std::string& bytes)
{
    const std::size_t size = bytes.size(), at = std::min(bytes.find_first_of("\r\n"), size);
    const unsigned start = size == 0 ? 0 : static_cast<unsigned char>(bytes.back()) % (size + 1);
    const char restore = size % 2 == 0 ? 0 : size % 4 == 1 ? 1 : '\x80';  // any non-zero value restores
    // A charset name near the longest that fits, or a short one, and a line end, also from the size.
    const char* const ends[] = {"\n", "\r\n", "\r", ""};
    const std::string lineEnd = ends[size / 32 % 4], name(size % 32 + (size % 3 != 0 ? 224 : 0), 'n');
    const std::string line = "<meta charset=\"" + name + "\"/>" + lineEnd;
    const bool mark = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0, fits = name.size() + 18 < 256 && line.size() <= 256;
    const char* eol = nullptr;
    using Call = std::function<HRESULT(QORSysFileDescriptor&)>;
    // clang-format off
    const struct { const char* mode; Call call; HRESULT result; std::size_t end; std::string head; } calls[] = {
        {"rb", [&](QORSysFileDescriptor& f) { return DetectFileEOL(f, eol, restore); }, at < size ? S_OK : S_FALSE,
            restore ? start : std::min(at + 2, size), ""},
        {"rb", [&](QORSysFileDescriptor& f) { return DetectUnicodeBOM(f, restore); }, size < 3 ? E_FAIL : mark ? S_OK : S_FALSE,
            restore || (size >= 3 && !mark) ? start : std::min<std::size_t>(size, 3), ""},
        {"r+b", [&](QORSysFileDescriptor& f) { return WriteUnicodeBOM(f, restore); }, S_OK, restore ? start : 3, "\xEF\xBB\xBF"},
        {"r+b", [&](QORSysFileDescriptor& f) { return WriteCatalogFileTag(f, name.c_str(), lineEnd.c_str(), restore); },
            fits ? S_OK : E_FAIL, restore || !fits ? start : line.size(), fits ? line : ""},
        {"r+b", [&](QORSysFileDescriptor& f) { return WriteCatalogFileTag(f, nullptr, "\n", restore); }, E_FAIL, start, ""},
        {"r+b", [&](QORSysFileDescriptor& f) { return WriteCatalogFileTag(f, "x", nullptr, restore); }, E_FAIL, start, ""},
    };
    // clang-format on
    for (const auto& c : calls) {
        QORSysFileDescriptor file;
        unsigned int position = 0;
        QORSysFOpen(Path(Put(dir + "/open", bytes)), c.mode, file, 0);
        QORSysFSeek(file, static_cast<int>(start), 0);
        const bool agree = c.call(file) == c.result && QORSysFTell(file, &position) >= 0 && position == c.end;
        QORSysFClose(file);
        AGREE(agree && Read(dir + "/open") == std::string(bytes).replace(0, c.head.size(), c.head));
    }
    AGREE(eol == (at < size && bytes.compare(at, 2, "\r\n") != 0 ? bytes.substr(at, 1) : std::string("\r\n")));
    return nullptr;
}

#undef AGREE

using Check = const char* (*)(const std::string& dir, const std::string& bytes);
inline constexpr Check kChecks[] = {Eol, Memory, Compare, Deep, Descriptors};

}  // namespace Agree

#endif
