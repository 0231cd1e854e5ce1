#include "QORSysFile.h"
#include "QORSysText.h"
#include "Scratch.h"
#include "VELGeneral.h"

#include <vector>

namespace {

TEST(IsUTF8, StopsAtTheFirstBadSequence)
{
    // clang-format off
    const struct { std::string bytes; long stop; } cases[] = {  // stop -1: valid
        {"", -1}, {"plain", -1}, {"\xC2\x80\xDF\xBF", -1}, {"\xE0\xA0\x80\xED\x9F\xBF\xEF\xBF\xBF", -1},
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", -1}, {"ab\x80", 2} /* stray continuation */,
        {"a\xC0\xAF", 1}, {"a\xC1\xBF", 1}, {"ab\xE0\x9F\xBF", 2}, {"\xF0\x8F\xBF\xBF", 0} /* overlong */,
        {"x\xED\xA0\x80", 1} /* surrogate */, {"x\xF4\x90\x80\x80", 1}, {"\xF5\x80\x80\x80", 0} /* too high */,
        {"\xC3\xA9\xE2\x82", 2}, {"\xC3\xA9\xF0\x9F\x98", 2} /* cut short */, {"\xE2\x28\xA1", 0},
        {"\xF0\x9F\x98\x28", 0}, {std::string("a\0\xFF", 3), 2},
    };
    // clang-format on
    for (const auto& c : cases) {
        const char* text = c.bytes.data();
        EXPECT_EQ(QORSysUCAlgorithm::IsUTF8(text, c.bytes.size()) != 0, c.stop >= 0) << c.bytes;
        EXPECT_EQ(text - c.bytes.data(), c.stop >= 0 ? c.stop : 0) << c.bytes;
    }
}

TEST(QORSysPath, SetExtensionAndRelativity)
{
#ifdef _WIN32
    const unsigned char slashRooted = 1;  // "/d.x" has no drive: relative to the current one
#else
    const unsigned char slashRooted = 0;
#endif
    // clang-format off
    struct Case { const char* text; const char* extension; unsigned char relative; };  // extension null: none
    std::vector<Case> cases = {
        {"a.velnls", "velnls", 1}, {"/d.x/file.TXT", "TXT", slashRooted}, {"/d.x/file", nullptr, slashRooted},
        {".profile", nullptr, 1}, {"dir/", nullptr, 1}, {"a.b.c", "c", 1}, {"trailing.", nullptr, 1},
    };
#ifdef _WIN32
    cases.insert(cases.end(), {{"C:\\d.x\\f.TXT", "TXT", 0}, {"c:/d.x/f", nullptr, 0}, {"C:a.b", "b", 1},
        {"C:.profile", nullptr, 1}, {"\\\\srv\\share\\f.velnls", "velnls", 0}, {"d.x\\f", nullptr, 1}, {"\\d", nullptr, 1}});
#endif
    // clang-format on
    for (const auto& c : cases) {
        const QORSysPath path = Path(c.text);
        VELUnicodeString extension("kept");
        EXPECT_EQ(path.GetExtension(extension) >= 0, c.extension != nullptr) << c.text;
        EXPECT_STREQ(extension.ConvertToChar(), c.extension ? c.extension : "kept") << c.text;
        EXPECT_EQ(path.IsRelative(), c.relative) << c.text;
    }
    QORSysPath path;
    EXPECT_LT(path.Set(""), 0);
    EXPECT_LT(path.Set(static_cast<const char*>(nullptr)), 0);
}

TEST(DetectCatalogFileFormat, SkipsMarkThenTagLine)
{
    const std::string mark = "\xEF\xBB\xBF";
    // clang-format off
    const struct { std::string text; std::size_t skipped; int format; } cases[] = {
        {"k=v", 0, 1}, {mark + "k=v", 3, 2}, {"<meta charset=\"utf-8\"/>\r\nk", 25, 2},
        {mark + "<meta charset=\"ISO-8859-1\"/>\nk", 32, 2}, {"<meta charset=\"ISO-8859-1\"/>\rk", 29, 1},
        {"<meta charset=\"UTF-8\"/>", 23, 2}, {"<meta charset=\"UTF-8\"/> k", 0, 1}, {"<meta charset=\"UTF-8\"", 0, 1},
        {"<meta charset=\"UTF-8\n\"/>\n", 0, 1}, {"\xEF\xBB", 0, 1},
    };
    // clang-format on
    for (const auto& c : cases) {
        const char* text = c.text.c_str();
        int format = 0;
        EXPECT_EQ(DetectCatalogFileFormat(text, format), S_OK);
        EXPECT_EQ(static_cast<std::size_t>(text - c.text.c_str()), c.skipped) << c.text;
        EXPECT_EQ(format, c.format) << c.text;
    }
}

using FileServices = Scratch;

TEST_F(FileServices, ModesBytesAndEnd)
{
    QORSysFileDescriptor file = Open("ab\xFF", "r+b", 1);
    EXPECT_EQ(QORSysFWrite(file, "Z", 1, nullptr), S_OK);
    EXPECT_EQ(QORSysFSeek(file, -3, 2), S_OK);
    int c = 0;
    for (int expected : {int{'a'}, int{'Z'}, 255, -1}) {
        EXPECT_EQ(QORSysFGetc(file, &c), expected < 0 ? S_FALSE : S_OK);
        EXPECT_EQ(c, expected);
    }
    EXPECT_EQ(QORSysFClose(file), S_OK);
    EXPECT_LT(QORSysFClose(file), 0);
    unsigned int size = 9;
    file = Open("x", "w+b");
    EXPECT_EQ(QORSysFSize(file, &size), S_OK);
    EXPECT_EQ(size, 0u);
    QORSysFClose(file);
    // clang-format off
    for (const auto& [name, mode, flags] : {std::tuple{dir_ + "/open", "a", 0}, {dir_ + "/open", "rb", 1}, {dir_, "rb", 0}, {dir_ + "/x/y", "wb", 0}}) {
        EXPECT_LT(QORSysFOpen(Path(name), mode, file, flags), 0) << name << " " << mode;
        EXPECT_LT(QORSysFTell(file, &size), 0);  // the record is not open
    }
    // clang-format on
}

TEST_F(FileServices, PositionsBeyond32BitsFail)
{
    QORSysFileDescriptor file = Open("", "rb");
    std::filesystem::resize_file(dir_ + "/open", 0x100000000ULL);  // sparse 4 GiB
    EXPECT_EQ(QORSysFSeek(file, -1, 0), S_OK);  // to 4 GiB - 1: origin 0 takes told positions as they are
    unsigned int value = 7;
    EXPECT_EQ(QORSysFSize(file, &value), QORSYS_E_OVERFLOW);
    EXPECT_EQ(Tell(file), 0xFFFFFFFFu);
    int c = 0;
    EXPECT_EQ(QORSysFGetc(file, &c), S_OK);
    EXPECT_EQ(QORSysFTell(file, &value), QORSYS_E_OVERFLOW);
    EXPECT_EQ(QORSysFSeek(file, 1, 1), QORSYS_E_OVERFLOW);
    EXPECT_EQ(value, 7u);
    QORSysFClose(file);
}

TEST(VELGetAbsolutePath, NormalisesAbsolutePathsToo)
{
#ifdef _WIN32
    for (const auto& [text, expected] :
         {std::pair{"C:/x//y/./z/../", "C:\\x\\y"}, {"\\\\srv\\sh\\..\\..\\a", "\\\\srv\\sh\\a"}}) {
#else
    for (const auto& [text, expected] : {std::pair{"/x//y/./z/../", "/x/y"}}) {
#endif
        const VELUnicodeString path(text);
        VELUnicodeString absolute;
        EXPECT_EQ(VELGetAbsolutePath(&path, absolute), S_OK);
        EXPECT_STREQ(absolute.ConvertToChar(), expected);
    }
    VELUnicodeString absolute;
    EXPECT_LT(VELGetAbsolutePath(nullptr, absolute), 0);
}

}  // namespace
