// The text-file exports on real files: one table per behaviour.
#include "QORSysExeUtilities.h"
#include "Scratch.h"

#include <thread>

using namespace QORSysTextFileUtilities;
using QORSysExeUtilities::GetAbsolutePath;

namespace {

using TextFile = Scratch;

// Texts made of the pieces that matter, each export against its model, in
// two threads at once, each in its own directory (under the tsan preset this
// is the data-race check). Some texts end around the first window's end;
// some are a pair of long texts that differ in one place.
TEST_F(TextFile, GeneratedTextsAgreeWithTheModels)
{
    // clang-format off
    const std::string pieces[] = {"a", "b", "\r", "\n", "\r\n", "|||", "\xEF\xBB\xBF", "<meta charset=\"",
        "<meta charset=\"utF-8\"/>", "<meta charset=\"x\"/>", "\"/>", std::string(1, '\0'), "\xFF", "\xC3\xA9", "\xC3",
        "\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xF0\x9F", "\xE0\xA0\x80", "\xC0\xAF", "\xE0\x9F\xBF",
        "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF0\x8F\xBF\xBF"};
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

// Both path exports on files that are missing, directories, too large to
// size, the null device or not UTF-8 by name.
TEST_F(TextFile, ExportsByPath)
{
    const std::string huge = Write("huge.velnls", ""), catalog = Write("a.velnls", "x"), none = dir_ + "/missing";
    std::filesystem::resize_file(huge, 0x100000000LL);  // sparse 4 GiB: its size does not fit
    // clang-format off
    const struct { std::string path; HRESULT result; int format; } deep[] = {
        {none, QORSysResultFromErrno(ENOENT), 1}, {dir_, kDirectoryRefused, 1}, {huge, QORSYS_E_OVERFLOW, 1},
        {kNullDevice, S_OK, 2}, {Write("caf\xE9", "k\n"), kNotUtf8Name, kNotUtf8Name < 0 ? 1 : 2},
    };
    const struct { std::string first, second; HRESULT result; } compare[] = {
        {Write("a.VELNLS", "x"), catalog, S_OK}, {Write("a.txt", "x"), catalog, E_FAIL},
        {Write("noextension", "x"), catalog, S_OK}, {catalog, Write("b.txt", "x"), S_OK}, {catalog, none, E_FAIL},
        {dir_, catalog, E_FAIL}, {huge, catalog, S_FALSE}, {catalog, huge, S_OK}, {kNullDevice, catalog, S_FALSE},
        {catalog, kNullDevice, S_OK},
        {Write("caf\xE9.velnls", "k=v\n"), Write("\xFF\xFE", "k=v"), kNotUtf8Name < 0 ? E_FAIL : S_OK},
    };
    // clang-format on
    for (const auto& c : deep) {
        int format = 0;
        EXPECT_TRUE(DetectFileFormatDeep(Path(c.path), format) == c.result && format == c.format) << c.path;
    }
    for (const auto& c : compare)
        EXPECT_EQ(CompareCatalogFiles(Path(c.first), Path(c.second)), c.result) << c.first << "|" << c.second;
}

}  // namespace
