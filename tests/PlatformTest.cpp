#include "QORSysFile.h"
#include "QORSysText.h"
#include "Scratch.h"
#include "VELGeneral.h"

#include <unistd.h>

namespace {

TEST(IsUTF8, StopsAtTheFirstBadSequence)
{
    const struct {
        std::string bytes;
        long stop;  // -1: valid
    } cases[] = {
        {"", -1}, {"plain", -1}, {"\xC2\x80\xDF\xBF", -1}, {"\xE0\xA0\x80\xED\x9F\xBF\xEF\xBF\xBF", -1},
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", -1},
        {"ab\x80", 2},                 // stray continuation
        {"a\xC0\xAF", 1},              // overlong
        {"a\xC1\xBF", 1},              // overlong
        {"ab\xE0\x9F\xBF", 2},         // overlong
        {"\xF0\x8F\xBF\xBF", 0},       // overlong
        {"x\xED\xA0\x80", 1},          // surrogate
        {"x\xF4\x90\x80\x80", 1},      // above U+10FFFF
        {"\xF5\x80\x80\x80", 0},       // above U+10FFFF
        {"\xC3\xA9\xE2\x82", 2},       // cut short
        {"\xC3\xA9\xF0\x9F\x98", 2},   // cut short
        {"\xE2\x28\xA1", 0},           // bad second byte
        {"\xF0\x9F\x98\x28", 0},       // bad last byte
        {std::string("a\0\xFF", 3), 2},
    };
    for (const auto& c : cases) {
        const char* text = c.bytes.data();
        const int result = QORSysUCAlgorithm::IsUTF8(text, c.bytes.size());
        EXPECT_EQ(result != 0, c.stop >= 0) << c.bytes;
        EXPECT_EQ(text - c.bytes.data(), c.stop >= 0 ? c.stop : 0) << c.bytes;
    }
}

TEST(QORSysPath, SetExtensionAndRelativity)
{
    const struct {
        const char* text;
        const char* extension;  // null: none can be given
        unsigned char relative;
    } cases[] = {
        {"a.velnls", "velnls", 1}, {"/d.x/file.TXT", "TXT", 0}, {"/d.x/file", nullptr, 0},
        {".profile", nullptr, 1},  {"dir/", nullptr, 1},       {"a.b.c", "c", 1}, {"trailing.", nullptr, 1},
    };
    for (const auto& c : cases) {
        QORSysPath path;
        ASSERT_EQ(path.Set(c.text), S_OK);
        VELUnicodeString extension("kept");
        EXPECT_EQ(path.GetExtension(extension) >= 0, c.extension != nullptr) << c.text;
        EXPECT_STREQ(extension.ConvertToChar(), c.extension ? c.extension : "kept") << c.text;
        EXPECT_EQ(path.IsRelative(), c.relative) << c.text;
    }
    QORSysPath path;
    ASSERT_EQ(path.Set("/x"), S_OK);
    EXPECT_LT(path.Set(""), 0);
    EXPECT_LT(path.Set(static_cast<const char*>(nullptr)), 0);
    EXPECT_STREQ(path.ConvertToChar(), "/x");
}

TEST(VELUnicodeString, LowerCaseAndComparison)
{
    VELUnicodeString text("VelNLS-\xC3\x89");
    text.ToLower();
    EXPECT_FALSE(text != "velnls-\xC3\x89");
    EXPECT_TRUE(text != "velnls");
    EXPECT_TRUE(text != nullptr);
}

TEST(DetectCatalogFileFormat, SkipsMarkAndTagLine)
{
    const std::string mark = "\xEF\xBB\xBF";
    const struct {
        std::string text;
        std::size_t skipped;
        int format;
    } cases[] = {
        {"k=v", 0, 1},
        {mark + "k=v", 3, 2},
        {"<meta charset=\"utf-8\"/>\r\nk", 25, 2},
        {mark + "<meta charset=\"ISO-8859-1\"/>\nk", 32, 2},
        {"<meta charset=\"ISO-8859-1\"/>\rk", 29, 1},
        {"<meta charset=\"UTF-8\"/>", 23, 2},
        {"<meta charset=\"UTF-8\"/> k", 0, 1},
        {"<meta charset=\"UTF-8\"", 0, 1},
        {"<meta charset=\"UTF-8\n\"/>\n", 0, 1},
        {"\xEF\xBB", 0, 1},
    };
    for (const auto& c : cases) {
        const char* text = c.text.c_str();
        int format = 0;
        EXPECT_EQ(DetectCatalogFileFormat(text, format), S_OK);
        EXPECT_EQ(static_cast<std::size_t>(text - c.text.c_str()), c.skipped) << c.text;
        EXPECT_EQ(format, c.format) << c.text;
    }
}

using FileServices = Scratch;

TEST_F(FileServices, ModesAndReading)
{
    const std::string path = Write("f", "ab\xFF");
    QORSysFileDescriptor file = Open(path, "rb");
    int c = 0;
    for (int expected : {int{'a'}, int{'b'}, 255}) {
        EXPECT_EQ(QORSysFGetc(file, &c), S_OK);
        EXPECT_EQ(c, expected);
    }
    EXPECT_EQ(QORSysFGetc(file, &c), S_FALSE);
    EXPECT_EQ(c, -1);
    unsigned int size = 0;
    EXPECT_EQ(QORSysFSize(file, &size), S_OK);
    EXPECT_EQ(size, 3u);
    EXPECT_LT(QORSysFWrite(file, "x", 1, nullptr), 0);
    EXPECT_EQ(QORSysFClose(file), S_OK);
    EXPECT_LT(QORSysFClose(file), 0);

    file = Open(path, "r+b", 1);
    EXPECT_EQ(QORSysFWrite(file, "Z", 1, nullptr), S_OK);
    QORSysFClose(file);
    EXPECT_EQ(Read(path), "aZ\xFF");

    file = Open(path, "w+b");
    char buffer[8] = {};
    unsigned int got = 9;
    EXPECT_EQ(QORSysFWrite(file, "hello", 5, &got), S_OK);
    EXPECT_EQ(QORSysFSeek(file, -3, 2), S_OK);
    EXPECT_EQ(QORSysFRead(file, buffer, sizeof buffer, &got), S_OK);
    EXPECT_EQ(std::string(buffer, got), "llo");
    EXPECT_LT(QORSysFSeek(file, 0, 3), 0);
    EXPECT_LT(QORSysFSeek(file, -10, 1), 0);
    QORSysFClose(file);
}

TEST_F(FileServices, RefusedOpensLeaveTheRecordClosed)
{
    const std::string path = Write("f", "x");
    for (const auto& [name, mode, flags] : {std::tuple{path, "a", 0}, {path, "rb", 1}, {dir_ + "/none", "rb", 0},
                                            {dir_, "rb", 0}, {dir_, "r+b", 0}}) {
        QORSysFileDescriptor file;
        EXPECT_LT(QORSysFOpen(Path(name), mode, file, flags), 0) << name << " " << mode;
        EXPECT_LT(QORSysFTell(file, nullptr), 0);
        unsigned int position = 0;
        EXPECT_LT(QORSysFTell(file, &position), 0);
    }
}

TEST_F(FileServices, PositionsBeyond32BitsFail)
{
    const std::string path = Write("huge", "");
    ASSERT_EQ(truncate(path.c_str(), 0x100000000LL), 0);  // sparse
    QORSysFileDescriptor file = Open(path, "rb", 0xFFFFFFFFu);
    unsigned int value = 7;
    EXPECT_EQ(QORSysFSize(file, &value), QORSYS_E_OVERFLOW);
    EXPECT_EQ(Tell(file), 0xFFFFFFFFu);  // the largest position still round-trips
    int c = 0;
    EXPECT_EQ(QORSysFGetc(file, &c), S_OK);
    EXPECT_EQ(QORSysFTell(file, &value), QORSYS_E_OVERFLOW);
    EXPECT_EQ(QORSysFSeek(file, 1, 1), QORSYS_E_OVERFLOW);
    QORSysFClose(file);
}

TEST(VELGetAbsolutePath, NormalisesLexically)
{
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    const std::string here = cwd;
    const struct {
        const char* text;
        std::string expected;
    } cases[] = {
        {"a/./b/../c", here + "/a/c"}, {"", here}, {"/x//y/", "/x/y"}, {"/../..", "/"}, {"/a/b/../../..", "/"},
    };
    for (const auto& c : cases) {
        const VELUnicodeString text(c.text);
        VELUnicodeString absolute;
        EXPECT_EQ(VELGetAbsolutePath(&text, absolute), S_OK);
        EXPECT_STREQ(absolute.ConvertToChar(), c.expected.c_str()) << c.text;
    }
    VELUnicodeString absolute("kept");
    EXPECT_LT(VELGetAbsolutePath(nullptr, absolute), 0);
    EXPECT_STREQ(absolute.ConvertToChar(), "kept");
}

}  // namespace
