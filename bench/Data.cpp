#include "Data.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>

namespace bench {

namespace {

// splitmix64: fixed output on every platform, unlike std:: distributions.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    unsigned Below(unsigned n) { return static_cast<unsigned>(Next() % n); }
    bool Percent(unsigned p) { return Below(100) < p; }

private:
    std::uint64_t state_;
};

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

constexpr char32_t kAccented[] = {U'é', U'è', U'ê', U'ë', U'à', U'â', U'ä', U'á', U'ç', U'ñ', U'ö', U'ó', U'ô',
                                  U'ü', U'ú', U'ù', U'û', U'í', U'î', U'ï', U'ß', U'å', U'ø', U'æ', U'œ', U'ÿ'};

char32_t LatinLetter(Random& random, unsigned accentedPercent)
{
    if (random.Percent(accentedPercent)) return kAccented[random.Below(static_cast<unsigned>(std::size(kAccented)))];
    return U'a' + random.Below(26);
}

char32_t Emoji(Random& random)
{
    switch (random.Below(3)) {
        case 0: return 0x1F600 + random.Below(0x50);   // faces
        case 1: return 0x1F300 + random.Below(0x300);  // symbols and pictographs
        default: return 0x1F680 + random.Below(0x80);  // transport and map
    }
}

// Words separated by spaces, some ended by punctuation.
void AppendWords(std::string& out, Random& random, unsigned accentedPercent, bool cyrillic, unsigned emojiPercent)
{
    const unsigned words = 3 + random.Below(8);
    for (unsigned w = 0; w < words; ++w) {
        if (w > 0) out += ' ';
        const unsigned letters = 2 + random.Below(8);
        for (unsigned i = 0; i < letters; ++i) {
            char32_t c =
                cyrillic ? (random.Percent(2) ? U'ё' : U'а' + random.Below(32)) : LatinLetter(random, accentedPercent);
            // a-z and а-я both have their capitals 0x20 below.
            const bool plain = (c >= U'a' && c <= U'z') || (c >= U'а' && c <= U'я');
            if (i == 0 && plain && random.Percent(15)) c -= 0x20;
            AppendUtf8(out, c);
        }
        if (random.Percent(10)) out += random.Percent(50) ? ',' : '.';
        if (random.Percent(emojiPercent)) {
            out += ' ';
            AppendUtf8(out, Emoji(random));
        }
    }
}

// Ideographs with CJK punctuation, no spaces.
void AppendIdeographs(std::string& out, Random& random)
{
    const unsigned count = 6 + random.Below(25);
    for (unsigned i = 0; i < count; ++i) {
        AppendUtf8(out, 0x4E00 + random.Below(0x5200));
        if (random.Percent(8)) AppendUtf8(out, random.Percent(50) ? U'、' : U'，');
    }
    AppendUtf8(out, U'。');
}

void AppendValue(std::string& out, Random& random, Flavour flavour)
{
    switch (flavour) {
        case Flavour::Ascii: AppendWords(out, random, 0, false, 0); break;
        case Flavour::Western: AppendWords(out, random, 25, false, 0); break;
        case Flavour::Cyrillic: AppendWords(out, random, 0, true, 0); break;
        case Flavour::Cjk: AppendIdeographs(out, random); break;
        case Flavour::Emoji: AppendWords(out, random, 8, false, 25); break;
    }
}

void WriteIfStale(const std::string& path, const std::string& bytes)
{
    std::error_code error;
    if (std::filesystem::file_size(path, error) == bytes.size() && !error) return;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes(FileSize(path), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot read " + path);
    return bytes;
}

std::string WithCrlf(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace

const char* Name(Flavour flavour)
{
    switch (flavour) {
        case Flavour::Ascii: return "ascii";
        case Flavour::Western: return "western";
        case Flavour::Cyrillic: return "cyrillic";
        case Flavour::Cjk: return "cjk";
        case Flavour::Emoji: return "emoji";
    }
    return "?";
}

std::string SizeName(std::size_t bytes)
{
    if (bytes % kMiB == 0) return std::to_string(bytes / kMiB) + "MiB";
    if (bytes % kKiB == 0) return std::to_string(bytes / kKiB) + "KiB";
    return std::to_string(bytes) + "B";
}

std::string CatalogText(Flavour flavour, std::size_t bytes)
{
    Random random(0x4B657374 + static_cast<std::uint64_t>(flavour) * 1000003 + bytes);
    std::string text;
    text.reserve(bytes + 512);
    for (unsigned line = 1; text.size() < bytes; ++line) {
        text += "key.";
        text += std::to_string(line);
        text += " = ";
        AppendValue(text, random, flavour);
        text += '\n';
    }
    // Cut at a character boundary one byte short, pad with spaces, end the line.
    std::size_t cut = bytes - 1;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text.resize(cut);
    text.append(bytes - 1 - cut, ' ');
    text += '\n';
    return text;
}

std::string CatalogPath(const std::string& dir, Flavour flavour, std::size_t bytes, Copy copy)
{
    static const char* const kSuffix[] = {".velnls", ".copy.velnls", ".crlf.velnls"};
    return dir + "/" + Name(flavour) + "-" + SizeName(bytes) + kSuffix[static_cast<int>(copy)];
}

std::string LinePath(const std::string& dir, Flavour flavour, std::size_t bytes)
{
    return dir + "/" + Name(flavour) + "-" + SizeName(bytes) + ".line";
}

void PrepareData(const std::string& dir)
{
    std::filesystem::create_directories(dir);
    for (Flavour flavour : kFlavours) {
        for (std::size_t bytes : kCatalogSizes) {
            const std::string lf = CatalogPath(dir, flavour, bytes, Copy::Lf);
            std::error_code error;
            const bool kept = std::filesystem::file_size(lf, error) == bytes && !error;
            // A kept file is read back so that its copies match it byte for byte.
            const std::string text = kept ? ReadFile(lf) : CatalogText(flavour, bytes);
            WriteIfStale(lf, text);
            WriteIfStale(CatalogPath(dir, flavour, bytes, Copy::LfCopy), text);
            WriteIfStale(CatalogPath(dir, flavour, bytes, Copy::Crlf), WithCrlf(text));
        }
        for (std::size_t bytes : {kLineInMemory, kLineInFile}) {
            std::string text = CatalogText(flavour, bytes);
            for (std::size_t i = 0; i + 1 < text.size(); ++i) {
                if (text[i] == '\n') text[i] = ' ';
            }
            WriteIfStale(LinePath(dir, flavour, bytes), text);
        }
    }
}

const std::string& Load(const std::string& path)
{
    static std::map<std::string, std::unique_ptr<const std::string>> cache;
    auto& entry = cache[path];
    if (!entry) entry = std::make_unique<const std::string>(ReadFile(path));
    return *entry;
}

std::size_t FileSize(const std::string& path) { return std::filesystem::file_size(path); }

}  // namespace bench
