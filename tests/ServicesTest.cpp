// The executable utilities, and the service stand-ins where the exports do
// not reach every rule: UTF-8 validation, paths, strings, file services.
#include "Kestrune.h"
#include "QORSysExeUtilities.h"
#include "Scratch.h"
#include "VELGeneral.h"

#include <cstdio>

using namespace QORSysExeUtilities;

namespace {

using Services = Scratch;

TEST(TextServices, PathsAndStrings)
{
    // clang-format off
    struct PathCase { const char* text; const char* extension; unsigned char relative; };  // null: none
    std::vector<PathCase> paths = {
        {"a.velnls", "velnls", 1}, {"/d.x/file.TXT", "TXT", kSlashRooted}, {"/d.x/file", nullptr, kSlashRooted},
        {"d/.profile", nullptr, 1}, {"dir/", nullptr, 1}, {"a.b.c", "c", 1}, {"trailing.", nullptr, 1},
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
    // A write after a read that filled the read-ahead goes where the caller stands, and drops what was read ahead.
    QORSysFileDescriptor file = Open("ab\xFF", "r+b");
    int c = 0;
    EXPECT_TRUE(QORSysFGetc(file, &c) == S_OK && c == 'a' && Tell(file) == 1 &&
                QORSysFWrite(file, "Z", 1, nullptr) == S_OK);
    EXPECT_TRUE(QORSysFGetc(file, &c) == S_OK && c == 255 && QORSysFSeek(file, -3, 2) == S_OK);
    for (int expected : {int{'a'}, int{'Z'}, 255, -1})
        EXPECT_TRUE(QORSysFGetc(file, &c) == (expected < 0) && c == expected);
    EXPECT_TRUE(QORSysFClose(file) == S_OK && QORSysFClose(file) < 0);
    // Truncated when opened for writing; a read of a file open only for writing, or the reverse, refused.
    unsigned int size = 9;
    file = Open("x", "w+b");
    EXPECT_TRUE(QORSysFSize(file, &size) == S_OK && size == 0 && QORSysFClose(file) == S_OK);
    file = Open("x", "wb");
    EXPECT_TRUE(QORSysFGetc(file, &c) == kWrongAccess && QORSysFClose(file) == S_OK);
    file = Open("x", "rb");
    EXPECT_TRUE(QORSysFWrite(file, "y", 1, nullptr) == kWrongAccess && QORSysFClose(file) == S_OK);
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
    // A case: the current directory removed first, the path, the export's result and answer, and the general
    // services' own answer ("kept": it failed).
    const std::string cwd = std::filesystem::current_path().string(), gone = dir_ + "/gone";
    // clang-format off
#ifdef _WIN32
    // Drive, UNC, root-relative and drive-relative forms; a current directory cannot be removed here.
    const std::string root = cwd.substr(0, 3), driveC = cwd[0] == 'C' ? cwd + "\\x" : "C:\\x";
    const struct { bool cwdGone; const char* text; HRESULT result; std::string path, own; } cases[] = {
        {false, "", E_FAIL, "/kept", cwd}, {false, "C:/a/../b", S_OK, "C:/a/../b", "C:\\b"},
        {false, "\\\\srv\\share\\..\\x", S_OK, "\\\\srv\\share\\..\\x", "\\\\srv\\share\\x"},
        {false, "sub/./x/..//f", S_OK, cwd + "\\sub\\f", cwd + "\\sub\\f"}, {false, "..\\..\\..\\..\\..\\..\\..\\..\\..\\..", S_OK, root, root},
        {false, "/a/./b", S_OK, root + "a\\b", root + "a\\b"}, {false, "C:x", S_OK, driveC, driveC},
        {false, "C:/x//y/./z/../", S_OK, "C:/x//y/./z/../", "C:\\x\\y"}, {false, "\\\\s\\h\\..\\..\\a", S_OK, "\\\\s\\h\\..\\..\\a", "\\\\s\\h\\a"},
    };
#else
    const struct { bool cwdGone; const char* text; HRESULT result; std::string path, own; } cases[] = {
        {false, "", E_FAIL, "/kept", cwd}, {false, "/a/../b", S_OK, "/a/../b", "/b"}, {false, "sub/./x/..//f", S_OK, cwd + "/sub/f", cwd + "/sub/f"},
        {false, "../../../../../../../../../../../../../..", S_OK, "/", "/"}, {false, "/x//y/./z/../", S_OK, "/x//y/./z/../", "/x/y"},
        {true, "relative", E_FAIL, "/kept", "kept"}, {true, "/abs", S_OK, "/abs", "/abs"},
    };
#endif
    // clang-format on
    for (const auto& c : cases) {
        if (c.cwdGone) {
            std::filesystem::create_directory(gone);
            std::filesystem::current_path(gone);
            std::filesystem::remove(gone);
        }
        QORSysPath path = Path("/kept");
        const VELUnicodeString text(c.text);
        VELUnicodeString own("kept");
        const HRESULT result = GetAbsolutePath(text, path), ownResult = VELGetAbsolutePath(&text, own);
        std::filesystem::current_path(cwd);
        EXPECT_EQ(
            std::tuple(result, std::string(path.ConvertToChar()), std::string(own.ConvertToChar()), ownResult < 0),
            std::tuple(c.result, c.path, c.own, c.own == "kept"))
            << c.text;
    }
    VELUnicodeString untouched;
    EXPECT_LT(VELGetAbsolutePath(nullptr, untouched), 0);
}

}  // namespace
