#include "QORSysTextFileUtilities.h"
#include "Scratch.h"

using namespace QORSysTextFileUtilities;

namespace {

using DetectEOLTest = Scratch;

// One table for the memory and the file forms; they differ only on 0xFF,
// which ends a text in memory but is an ordinary byte (255) in a file.
TEST_F(DetectEOLTest, FirstLineEndingDecidesInMemoryAndInFiles)
{
    // clang-format off
    const struct { std::string text; HRESULT result; const char* eol; HRESULT fileResult; } cases[] = {
        {"", S_FALSE, "\r\n", S_FALSE}, {"abc", S_FALSE, "\r\n", S_FALSE}, {"a\r\nb", S_OK, "\r\n", S_OK},
        {"a\nb", S_OK, "\n", S_OK},     {"a\rb", S_OK, "\r", S_OK},        {"a\r", S_OK, "\r", S_OK},
        {"a\n\r", S_OK, "\n", S_OK},    {"a\nb\r\nc", S_OK, "\n", S_OK},   {"\xC3\xA9\r\n", S_OK, "\r\n", S_OK},
        {"a\xFF\n", S_FALSE, "\n", S_OK},
    };
    // clang-format on
    for (const auto& c : cases) {
        const char* eol = nullptr;
        EXPECT_EQ(DetectEOL(c.text.c_str(), eol), c.result) << c.text;
        EXPECT_STREQ(eol, c.result == c.fileResult ? c.eol : "\r\n") << c.text;
        QORSysFileDescriptor file = Open(c.text, "rb");
        EXPECT_EQ(DetectFileEOL(file, eol, 0), c.fileResult) << c.text;
        EXPECT_STREQ(eol, c.eol) << c.text;
        QORSysFClose(file);
    }
    const char* eol = nullptr;
    EXPECT_EQ(DetectEOL(nullptr, eol), E_FAIL);
}

// Line breaks before the text must not count, whatever its alignment.
TEST(DetectEOL, AnyAlignmentAndDistance)
{
    for (std::size_t start = 0; start < 16; ++start) {
        for (std::size_t at = 0; at < 40; ++at) {
            std::string bytes = std::string(start, '\n') + std::string(at, 'x') + "\r\n";
            const char* eol = nullptr;
            EXPECT_EQ(DetectEOL(bytes.c_str() + start, eol), S_OK);
            EXPECT_STREQ(eol, "\r\n");
            bytes[start + at] = '\xFF';
            EXPECT_EQ(DetectEOL(bytes.c_str() + start, eol), S_FALSE);
        }
    }
}

TEST_F(DetectEOLTest, FilePositionAfterwards)
{
    // clang-format off
    const struct { std::string text; unsigned int start; char restore; unsigned int end; } cases[] = {
        {"ab\ncd", 0, 0, 4}, {"ab\r\ncd", 3, 0, 4}, {"abc", 1, 0, 3}, {"ab\n", 2, 0, 3},
        {std::string(120, 'x') + "\n", 100, 1, 100}, {"abc", 2, 1, 2},
    };
    // clang-format on
    for (const auto& c : cases) {
        QORSysFileDescriptor file = Open(c.text, "rb", c.start);
        const char* eol = nullptr;
        DetectFileEOL(file, eol, c.restore);
        EXPECT_EQ(Tell(file), c.end) << c.text;
        QORSysFClose(file);
    }
}

}  // namespace
