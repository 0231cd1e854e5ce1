#include "QORSysTextFileUtilities.h"
#include "Scratch.h"

#include <cstring>

using namespace QORSysTextFileUtilities;

namespace {

struct EolCase {
    std::string text;
    HRESULT result;
    const char* eol;
};

// The same table drives the memory and the file forms; only 0xFF differs
// (a file's 0xFF byte reads as 255, never as the end).
const EolCase kCases[] = {
    {"", S_FALSE, "\r\n"},
    {"abc", S_FALSE, "\r\n"},
    {"a\r\nb", S_OK, "\r\n"},
    {"a\nb", S_OK, "\n"},
    {"a\rb", S_OK, "\r"},
    {"a\r", S_OK, "\r"},
    {"a\n\r", S_OK, "\n"},
    {"a\nb\r\nc", S_OK, "\n"},
    {"caf\xC3\xA9\r\n", S_OK, "\r\n"},
};

TEST(DetectEOL, FirstLineEndingDecides)
{
    for (const EolCase& c : kCases) {
        const char* eol = nullptr;
        EXPECT_EQ(DetectEOL(c.text.c_str(), eol), c.result) << c.text;
        EXPECT_STREQ(eol, c.eol) << c.text;
    }
}

TEST(DetectEOL, StopsAtFFAndNull)
{
    const char* eol = nullptr;
    EXPECT_EQ(DetectEOL("ab\xFF\n", eol), S_FALSE);
    EXPECT_STREQ(eol, "\r\n");
    EXPECT_EQ(DetectEOL(nullptr, eol), E_FAIL);
}

TEST(DetectEOL, ReturnsTheSamePointerEachTime)
{
    const char* first = nullptr;
    const char* second = nullptr;
    DetectEOL("x\n", first);
    DetectEOL("y\nz", second);
    EXPECT_EQ(first, second);
}

using DetectFileEOLTest = Scratch;

TEST_F(DetectFileEOLTest, MatchesTheMemoryForm)
{
    for (const EolCase& c : kCases) {
        QORSysFileDescriptor file = Open(Write("t", c.text), "rb");
        const char* eol = nullptr;
        EXPECT_EQ(DetectFileEOL(file, eol, 0), c.result) << c.text;
        EXPECT_STREQ(eol, c.eol) << c.text;
        QORSysFClose(file);
    }
}

TEST_F(DetectFileEOLTest, PositionAfterwards)
{
    const struct {
        std::string text;
        unsigned int start;
        char restore;
        unsigned int end;
    } cases[] = {
        {"ab\ncd", 0, 0, 4},       {"ab\r\ncd", 0, 0, 4}, {"abc", 0, 0, 3},
        {"ab\n", 2, 0, 3},         {"ab\xFF\ncd", 0, 0, 5},
        {std::string(120, 'x') + "\n", 100, 1, 100},
    };
    for (const auto& c : cases) {
        QORSysFileDescriptor file = Open(Write("t", c.text), "rb", c.start);
        const char* eol = nullptr;
        const bool hasBreak = c.text.find_first_of("\r\n") != std::string::npos;
        EXPECT_EQ(DetectFileEOL(file, eol, c.restore), hasBreak ? S_OK : S_FALSE) << c.text;
        EXPECT_EQ(Tell(file), c.end) << c.text;
        QORSysFClose(file);
    }
}

}  // namespace
