#include "QORSysTextFileUtilities.h"
#include "Scratch.h"

using namespace QORSysTextFileUtilities;

namespace {

using DetectFileFormatDeepTest = Scratch;

// n ASCII bytes with text placed to end at offset end.
std::string Filler(std::size_t n, const std::string& text, std::size_t end)
{
    return std::string(n, 'a').replace(end - text.size(), text.size(), text);
}

TEST_F(DetectFileFormatDeepTest, WindowAndCarryRule)
{
    // Letters across the first and the second window's end.
    const std::string straddling = Filler(10000, "\xE2\x82\xAC", 4097).replace(8188, 4, "\xF0\x9F\x98\x80");
    // clang-format off
    const struct { std::string bytes; int format; } cases[] = {
        {"", 2}, {std::string(20000, 'q'), 2}, {Filler(4092, "\xFF", 100), 1}, {Filler(4092, "\xFF", 4092), 1},
        {straddling, 2}, {Filler(9000, "\xC0\xAF", 6000), 1}, {Filler(5000, "\xC3\xA9", 5000), 2},
        // A lead byte ending the file: judged only when 4 or more bytes from the window's end.
        {Filler(4093, "\xC3", 4093), 1}, {Filler(4094, "\xC3", 4094), 2}, {Filler(4095, "\xC3", 4095), 2},
        {Filler(4096, "\xC3", 4096), 2}, {Filler(4097, "\xC3", 4097), 1},
    };
    // clang-format on
    for (const auto& c : cases) {
        int format = 0;
        EXPECT_GE(DetectFileFormatDeep(Path(Write("t", c.bytes)), format), 0) << c.bytes.size();
        EXPECT_EQ(format, c.format) << c.bytes.size();
    }
}

TEST_F(DetectFileFormatDeepTest, UnreadableFilesGiveFormat1AndTheirCode)
{
    const std::string huge = Write("huge", "");
    std::filesystem::resize_file(huge, 0x100000000ULL);  // sparse 4 GiB: its size does not fit
    // clang-format off
    const struct { std::string path; HRESULT result; } cases[] = {
        {dir_ + "/missing", QORSysResultFromErrno(ENOENT)}, {dir_, kDirectoryRefused}, {huge, QORSYS_E_OVERFLOW}};
    // clang-format on
    for (const auto& c : cases) {
        int format = 0;
        EXPECT_EQ(DetectFileFormatDeep(Path(c.path), format), c.result) << c.path;
        EXPECT_EQ(format, 1) << c.path;
    }
}

}  // namespace
