// The text-file exports on real files: one table per behaviour.
#include "Agree.h"
#include "QORSysExeUtilities.h"
#include "Scratch.h"

#include <thread>

using namespace QORSysTextFileUtilities;
using QORSysExeUtilities::GetAbsolutePath;

namespace {

using TextFile = Scratch;
const std::string kMark = "\xEF\xBB\xBF";

// Texts made of the pieces that matter, each export against its model, in
// two threads at once, each in its own directory (under the tsan preset this
// is the data-race check). Some texts end around the first window's end;
// some are a pair of long texts that differ in one place.
TEST_F(TextFile, GeneratedTextsAgreeWithTheModels)
{
    // clang-format off
    const std::string pieces[] = {"a", "b", "\r", "\n", "\r\n", "|||", kMark, "<meta charset=\"", "<meta charset=\"utF-8\"/>",
        "<meta charset=\"x\"/>", "\"/>", std::string(1, '\0'), "\xFF", "\xC3\xA9", "\xC3", "\xA9", "\xE2\x82\xAC",
        "\xF0\x9F\x98\x80", "\xF0\x9F", "\xC0\xAF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF0\x8F\xBF\xBF"};
    // clang-format on
    std::string failures[2];
    const auto work = [&](unsigned id) {
        const std::string dir = dir_ + "/" + std::to_string(id), cwd = std::filesystem::current_path().string();
        std::filesystem::create_directory(dir);
        std::mt19937 random(id);
        for (int i = 0; i < 600 && failures[id].empty(); ++i) {
            std::string text = random() % 4 != 0 ? "" : std::string(4088 + random() % 8, 'a');
            for (auto n = random() % 10; n-- > 0;) text += pieces[random() % std::size(pieces)];
            if (random() % 4 == 0) {  // the second: the first with a line break more, a byte changed, or cut short
                const std::string first = text + std::string(random() % 300, 'k') + text;
                std::string second = first;
                const std::size_t at = random() % (first.size() + 1);
                switch (random() % 3) {
                    case 0: second.insert(at, random() % 2 ? "\r\n" : "\n"); break;
                    case 1: second.replace(at, 1, "x"); break;
                    default: second.resize(at);
                }
                text = first + "|||" + second;
            }
            for (const Agree::Check check : Agree::kChecks)
                if (const char* disagreement = check(dir, text)) failures[id] = disagreement + (" for " + text);
            QORSysPath absolute;  // the path export too, for the threads' sake
            if (GetAbsolutePath(VELUnicodeString("a/../b"), absolute) != S_OK ||
                cwd + kSeparator + "b" != absolute.ConvertToChar())
                failures[id] = "GetAbsolutePath";
        }
    };
    std::thread other(work, 1);
    work(0);
    other.join();
    EXPECT_EQ(failures[0] + failures[1], "");
}

// Null texts; what the writers leave in the file and where, or that they refuse.
TEST_F(TextFile, WritersRefuseWhatDoesNotFit)
{
    const std::string body(60, '.'), big(260, 'n');
    using Write = std::function<HRESULT(QORSysFileDescriptor&)>;
    const auto tag = [](const char* charset, const char* eol) -> Write {
        return [=](QORSysFileDescriptor& f) { return WriteCatalogFileTag(f, charset, eol, 0); };
    };
    // clang-format off
    struct Case { Write write; const char* mode; HRESULT result; std::string line; unsigned end; };
    std::vector<Case> cases = {
        {[](QORSysFileDescriptor& f) { return WriteUnicodeBOM(f, 0); }, "rb", kWrongAccess, "", 0},
        {[](QORSysFileDescriptor& f) { return DetectUnicodeBOM(f, 1); }, "wb", kWrongAccess, "", 0},
        {tag(nullptr, "\n"), "r+b", E_FAIL, "", 5}, {tag("UTF-8", nullptr), "r+b", E_FAIL, "", 5},
    };
    // Lines of 250 to 260 bytes: those that fit in 256 are written whole, with no zero byte; the others refused.
    for (const char* eol : {"\r\n", "\n", "\r", ""}) {
        for (std::size_t length = 250; length <= 260; ++length) {
            const std::size_t name = length - 18 - std::strlen(eol);
            const bool fits = length <= 256 && name + 18 < 256;
            const std::string line = "<meta charset=\"" + big.substr(0, name) + "\"/>" + eol;
            cases.push_back({tag(big.c_str() + big.size() - name, eol), "r+b", fits ? S_OK : E_FAIL, fits ? line : "",
                             fits ? static_cast<unsigned>(length) : 5});
        }
    }
    // clang-format on
    const char *eol = nullptr, *none = nullptr;
    unsigned int size = 7;
    EXPECT_EQ(DetectEOL(nullptr, eol), E_FAIL);
    EXPECT_EQ(DetectUnicodeBOM(none, size), E_FAIL);
    for (const auto& c : cases) {
        QORSysFileDescriptor file = Open(c.mode[0] == 'w' ? "" : body, c.mode, c.end == 0 ? 0 : 5);
        EXPECT_EQ(c.write(file), c.result) << c.line;
        EXPECT_EQ(Tell(file), c.end) << c.line;
        QORSysFClose(file);
        EXPECT_EQ(Read(dir_ + "/open"), c.mode[0] == 'w' ? "" : std::string(body).replace(0, c.line.size(), c.line));
    }
}

// n ASCII bytes with text placed to end at offset end.
std::string Filler(std::size_t n, const std::string& text, std::size_t end)
{
    return std::string(n, 'a').replace(end - text.size(), text.size(), text);
}

// Deep detection's windows, and both path exports on files that are missing,
// directories, too large to size, the null device or not UTF-8 by name.
TEST_F(TextFile, ExportsByPath)
{
    const std::string straddling = Filler(10000, "\xE2\x82\xAC", 4097).replace(8188, 4, "\xF0\x9F\x98\x80");
    const std::string huge = Write("huge.velnls", ""), catalog = Write("a.velnls", "x"), none = dir_ + "/missing";
    std::filesystem::resize_file(huge, 0x100000000LL);  // sparse 4 GiB: its size does not fit
    // clang-format off
    const struct { std::string bytes; int format; HRESULT result = S_OK; std::string path = ""; } deep[] = {
        {straddling, 2}, {Filler(4092, "\xFF", 4092), 1},
        // A lead byte ending the file: judged only when 4 or more bytes from the window's end.
        {Filler(4093, "\xC3", 4093), 1}, {Filler(4094, "\xC3", 4094), 2}, {Filler(4095, "\xC3", 4095), 2},
        {Filler(4096, "\xC3", 4096), 2}, {Filler(4097, "\xC3", 4097), 1},
        {"", 1, QORSysResultFromErrno(ENOENT), none}, {"", 1, kDirectoryRefused, dir_}, {"", 1, QORSYS_E_OVERFLOW, huge},
        {"", 2, S_OK, kNullDevice}, {"k\n", kNotUtf8Name < 0 ? 1 : 2, kNotUtf8Name, Write("caf\xE9", "k\n")},
    };
    const struct { std::string first, second; HRESULT result; } compare[] = {
        {Write("a.VELNLS", "x"), catalog, S_OK}, {Write("a.txt", "x"), catalog, E_FAIL},
        {Write("noextension", "x"), catalog, S_OK}, {catalog, Write("b.txt", "x"), S_OK}, {catalog, none, E_FAIL},
        {none + ".velnls", catalog, E_FAIL}, {catalog, dir_, E_FAIL}, {dir_, catalog, E_FAIL}, {huge, catalog, S_FALSE},
        {catalog, huge, S_OK}, {kNullDevice, catalog, S_FALSE}, {catalog, kNullDevice, S_OK},
        {Write("caf\xE9.velnls", "k=v\n"), Write("\xFF\xFE", "k=v"), kNotUtf8Name < 0 ? E_FAIL : S_OK},
    };
    // clang-format on
    for (const auto& c : deep) {
        int format = 0;
        const std::string path = c.path.empty() ? Write("t", c.bytes) : c.path;
        EXPECT_EQ(DetectFileFormatDeep(Path(path), format), c.result) << c.bytes.size() << path;
        EXPECT_EQ(format, c.format) << c.bytes.size() << path;
    }
    for (const auto& c : compare)
        EXPECT_EQ(CompareCatalogFiles(Path(c.first), Path(c.second)), c.result) << c.first << "|" << c.second;
}

}  // namespace
