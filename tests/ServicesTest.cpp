// The executable utilities, and the service stand-ins where the exports do
// not reach every rule: UTF-8 validation, paths, strings, file services.
#include "Kestrune.h"
#include "QORSysExeUtilities.h"
#include "Scratch.h"
#include "VELGeneral.h"

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

using namespace QORSysExeUtilities;

namespace {

using Services = Scratch;

TEST(TextServices, PathsAndStrings)
{
    // clang-format off
    struct PathCase { const char* text; const char* extension; unsigned char relative; };  // null: none
    std::vector<PathCase> paths = {
        {"a.velnls", "velnls", 1}, {"/d.x/file.TXT", "TXT", kSlashRooted}, {"/d.x/file", nullptr, kSlashRooted},
        {".profile", nullptr, 1}, {"dir/", nullptr, 1}, {"a.b.c", "c", 1}, {"trailing.", nullptr, 1},
    };
#ifdef _WIN32
    paths.insert(paths.end(), {{"C:\\d.x\\f.TXT", "TXT", 0}, {"c:/d.x/f", nullptr, 0}, {"C:a.b", "b", 1},
        {"C:.profile", nullptr, 1}, {"\\\\srv\\share\\f.velnls", "velnls", 0}, {"d.x\\f", nullptr, 1}, {"\\d", nullptr, 1}});
#endif
    // clang-format on
    for (const auto& c : paths) {
        QORSysPath path;
        VELUnicodeString extension("kept");
        const bool has = path.Set(VELUnicodeString(c.text)) == S_OK && path.GetExtension(extension) >= 0;
        EXPECT_TRUE(has == (c.extension != nullptr) && path.IsRelative() == c.relative) << c.text;
        EXPECT_STREQ(extension.ConvertToChar(), c.extension ? c.extension : "kept") << c.text;
    }
    QORSysPath path;
    VELUnicodeString text("@AZ[`az{\xC3\x89");
    text.ToLower();
    EXPECT_TRUE(path.Set("") < 0 && path.Set(static_cast<const char*>(nullptr)) < 0 && text != nullptr);
    EXPECT_STREQ(text.ConvertToChar(), "@az[`az{\xC3\x89");
    EXPECT_FALSE(text != "@az[`az{\xC3\x89");
    EXPECT_EQ(VANTORIC_TAVREN2_INTERNAL_Kestrune(), 1);
}

TEST_F(Services, FileServicesModesAndLimits)
{
    QORSysFileDescriptor file = Open("ab\xFF", "r+b", 1);
    EXPECT_TRUE(QORSysFWrite(file, "Z", 1, nullptr) == S_OK && QORSysFSeek(file, -3, 2) == S_OK);
    int c = 0;
    for (int expected : {int{'a'}, int{'Z'}, 255, -1})
        EXPECT_TRUE(QORSysFGetc(file, &c) == (expected < 0) && c == expected);
    EXPECT_TRUE(QORSysFClose(file) == S_OK && QORSysFClose(file) < 0);
    unsigned int size = 9;
    file = Open("x", "w+b");
    EXPECT_TRUE(QORSysFSize(file, &size) == S_OK && size == 0);
    QORSysFClose(file);
    // clang-format off
    for (const auto& [name, mode, flags] : {std::tuple{dir_ + "/open", "a", 0}, {dir_ + "/open", "rb", 1}, {dir_, "rb", 0}, {dir_ + "/x/y", "wb", 0}})
        EXPECT_TRUE(QORSysFOpen(Path(name), mode, file, flags) < 0 && QORSysFTell(file, &size) < 0) << name << mode;  // not open
    // clang-format on
    file = Open("", "rb");
    std::filesystem::resize_file(dir_ + "/open", 0x100000000LL);  // sparse 4 GiB
    EXPECT_EQ(QORSysFSeek(file, -1, 0), S_OK);  // to 4 GiB - 1: origin 0 takes told positions as they are
    EXPECT_TRUE(QORSysFSize(file, &size) == QORSYS_E_OVERFLOW && Tell(file) == 0xFFFFFFFFu &&
                QORSysFGetc(file, &c) == S_OK);
    EXPECT_TRUE(QORSysFTell(file, &size) == QORSYS_E_OVERFLOW && QORSysFSeek(file, 1, 1) == QORSYS_E_OVERFLOW &&
                size == 0);
    QORSysFClose(file);
}

// Random reads, getc, writes, seeks and tells on one descriptor, each checked
// against the same operation on a twin file through the C library.
TEST_F(Services, ReadAheadStaysCoherent)
{
    std::mt19937 random(5);
    std::vector<char> mine(300 * 1024), theirs(mine.size());
    for (char& byte : mine) byte = static_cast<char>(random());
    QORSysFileDescriptor file;
    ASSERT_EQ(QORSysFOpen(Path(Write("file", {mine.begin(), mine.end()})), "r+b", file, 0), S_OK);
    std::FILE* twin = std::fopen(Write("twin", {mine.begin(), mine.end()}).c_str(), "r+b");
    for (int step = 0; step < 4000; ++step) {
        const unsigned size = std::vector<unsigned>{1, 3, 4096, 5000, 70000, 140000}[random() % 6];
        const int origin = static_cast<int>(random() % 3),
                  offset = static_cast<int>(random() % 200000) - origin * 50000;
        const long here = std::ftell(twin), end = (std::fseek(twin, 0, SEEK_END), std::ftell(twin));
        const long target = (origin == 0 ? 0 : origin == 1 ? here : end) + offset;
        std::fseek(twin, here, SEEK_SET);  // also the C library's turn between reading and writing
        unsigned int got = 0;
        int c = 0;
        switch (random() % 5) {
            case 0:
                ASSERT_EQ(QORSysFRead(file, mine.data(), size, &got), S_OK);
                ASSERT_TRUE(got == std::fread(theirs.data(), 1, size, twin) &&
                            std::equal(&mine[0], &mine[got], &theirs[0]));
                break;
            case 1: ASSERT_EQ(QORSysFGetc(file, &c) == S_OK ? c : -1, std::fgetc(twin)) << step; break;
            case 2:
                ASSERT_EQ(QORSysFWrite(file, mine.data(), size % 5000, &got), S_OK);
                ASSERT_EQ(got, std::fwrite(mine.data(), 1, size % 5000, twin));
                break;
            case 3:
                ASSERT_EQ(QORSysFSeek(file, offset, origin) >= 0, target >= 0) << step;
                std::fseek(twin, target >= 0 ? target : here, SEEK_SET);
                break;
            default: ASSERT_EQ(Tell(file), static_cast<unsigned int>(std::ftell(twin))) << step;
        }
    }
    QORSysFClose(file);
    std::fclose(twin);
    EXPECT_EQ(Read(dir_ + "/file"), Read(dir_ + "/twin"));
}

TEST_F(Services, PrintCmdLineEchoesEachArgumentAndASpace)
{
    const VELUnicodeString strings[] = {"prog", "-x", "a b"};
    const char* const texts[] = {"prog", "-x", "a b", nullptr, "after"};
    const char* const one[] = {"solo", nullptr};
    const char* const empty[] = {nullptr};
    // "~" is left pending in the stream before each call: it shows whether the call flushed.
    // clang-format off
    const struct { std::function<void()> call; const char* seen; } cases[] = {
        {[&] { PrintCmdLine(3, strings); }, "~prog -x a b \n"}, {[&] { PrintCmdLine(texts); }, "~prog -x a b \n"},
        {[&] { PrintCmdLine(1, strings); }, "~prog \n"},        {[&] { PrintCmdLine(one); }, "~solo \n"},
        {[&] { PrintCmdLine(0, strings); }, "~"},               {[&] { PrintCmdLine(-2, strings); }, "~"},
        {[&] { PrintCmdLine(empty); }, "~"},                    {[] { PrintCmdLine(1, nullptr); }, ""},
        {[] { PrintCmdLine(static_cast<const char* const*>(nullptr)); }, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::fflush(stdout);
        const int saved = dup(1);
        std::FILE* sink = std::fopen((dir_ + "/out").c_str(), "wb");
        dup2(fileno(sink), 1);
        std::printf("~");
        c.call();
        EXPECT_EQ(Read(dir_ + "/out"), c.seen);
        std::fflush(stdout);
        dup2(saved, 1);
        close(saved);
        std::fclose(sink);
    }
}

TEST_F(Services, AbsolutePaths)
{
    const std::string cwd = std::filesystem::current_path().string(), gone = dir_ + "/gone";
    // clang-format off
#ifdef _WIN32
    // Drive, UNC, root-relative and drive-relative forms; a current directory cannot be removed here.
    const std::string root = cwd.substr(0, 3), driveC = cwd[0] == 'C' ? cwd + "\\x" : "C:\\x";
    const struct { bool cwdGone; const char* text; HRESULT result; std::string path; } cases[] = {
        {false, "", E_FAIL, "/kept"}, {false, "C:/a/../b", S_OK, "C:/a/../b"}, {false, "\\\\srv\\share\\..\\x", S_OK, "\\\\srv\\share\\..\\x"},
        {false, "sub/./x/..//f", S_OK, cwd + "\\sub\\f"}, {false, "..\\..\\..\\..\\..\\..\\..\\..\\..\\..", S_OK, root},
        {false, "/a/./b", S_OK, root + "a\\b"}, {false, "C:x", S_OK, driveC},
    };
    const std::pair<const char*, const char*> resolved[] = {{"C:/x//y/./z/../", "C:\\x\\y"}, {"\\\\s\\h\\..\\..\\a", "\\\\s\\h\\a"}};
#else
    const struct { bool cwdGone; const char* text; HRESULT result; std::string path; } cases[] = {
        {false, "", E_FAIL, "/kept"}, {false, "/a/../b", S_OK, "/a/../b"}, {false, "sub/./x/..//f", S_OK, cwd + "/sub/f"},
        {false, "../../../../../../../../../../../../../..", S_OK, "/"}, {true, "relative", E_FAIL, "/kept"}, {true, "/abs", S_OK, "/abs"},
    };
    const std::pair<const char*, const char*> resolved[] = {{"/x//y/./z/../", "/x/y"}};
#endif
    // clang-format on
    for (const auto& c : cases) {
        if (c.cwdGone) {  // a current directory that no longer exists
            std::filesystem::create_directory(gone);
            std::filesystem::current_path(gone);
            std::filesystem::remove(gone);
        }
        QORSysPath path = Path("/kept");
        const VELUnicodeString text(c.text);
        VELUnicodeString resolved("kept");  // the general services' own answer, unmasked
        const HRESULT result = GetAbsolutePath(text, path), own = VELGetAbsolutePath(&text, resolved);
        std::filesystem::current_path(cwd);
        EXPECT_EQ(own < 0, c.cwdGone && result < 0) << c.text;
        EXPECT_TRUE(result == c.result && path.ConvertToChar() == c.path) << c.text << " gave " << path.ConvertToChar();
    }
    VELUnicodeString absolute;
    for (const auto& [text, expected] : resolved) {
        const VELUnicodeString path(text);
        EXPECT_TRUE(VELGetAbsolutePath(&path, absolute) == S_OK && absolute.ConvertToChar() == std::string(expected));
    }
    EXPECT_LT(VELGetAbsolutePath(nullptr, absolute), 0);
}

}  // namespace
