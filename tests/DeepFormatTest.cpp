#include "QORSysTextFileUtilities.h"
#include "Scratch.h"

#include <fcntl.h>
#include <unistd.h>

using namespace QORSysTextFileUtilities;

namespace {

using DetectFileFormatDeepTest = Scratch;

// n bytes of ASCII with text placed so that it ends at offset end.
std::string Filler(std::size_t n, const std::string& text, std::size_t end)
{
    std::string bytes(n, 'a');
    return bytes.replace(end - text.size(), text.size(), text);
}

TEST_F(DetectFileFormatDeepTest, WindowAndCarryRule)
{
    const std::string e = "\xC3\xA9";  // two bytes
    std::string straddling = Filler(10000, "\xE2\x82\xAC", 4097);  // 3 bytes across the first window end
    straddling.replace(8188, 4, "\xF0\x9F\x98\x80");              // 4 bytes across the second
    const struct {
        const char* name;
        std::string bytes;
        int format;
    } cases[] = {
        {"empty", "", 2},
        {"ascii", std::string(20000, 'q'), 2},
        {"FF early", Filler(4092, "\xFF", 100), 1},
        {"FF last of small file", Filler(4092, "\xFF", 4092), 1},
        {"letters across windows", straddling, 2},
        {"invalid in second window", Filler(9000, "\xC0\xAF", 6000), 1},
        {"lead byte ends 4093-byte file", Filler(4093, "\xC3", 4093), 1},
        {"lead byte ends 4094-byte file", Filler(4094, "\xC3", 4094), 2},
        {"lead byte ends 4095-byte file", Filler(4095, "\xC3", 4095), 2},
        {"lead byte ends 4096-byte file", Filler(4096, "\xC3", 4096), 2},
        {"lead byte ends 4097-byte file", Filler(4097, "\xC3", 4097), 1},
        {"two-byte letter ends the file", Filler(5000, e, 5000), 2},
    };
    for (const auto& c : cases) {
        int format = 0;
        EXPECT_GE(DetectFileFormatDeep(Path(Write("t", c.bytes)), format), 0) << c.name;
        EXPECT_EQ(format, c.format) << c.name;
    }
}

TEST_F(DetectFileFormatDeepTest, UnreadableFilesGiveFormat1AndTheirCode)
{
    const std::string huge = Write("huge", "");
    ASSERT_EQ(truncate(huge.c_str(), 0x100000000LL), 0);  // sparse 4 GiB: its size does not fit
    for (const std::string& path : {dir_ + "/missing", dir_, huge}) {
        int format = 0;
        EXPECT_LT(DetectFileFormatDeep(Path(path), format), 0) << path;
        EXPECT_EQ(format, 1) << path;
    }
}

TEST_F(DetectFileFormatDeepTest, ClosesWhatItOpens)
{
    const int before = dup(0);
    close(before);
    int format = 0;
    DetectFileFormatDeep(Path(Write("t", "ok\xFF")), format);
    DetectFileFormatDeep(Path(Write("u", "fine")), format);
    const int after = dup(0);
    close(after);
    EXPECT_EQ(after, before);
}

}  // namespace
