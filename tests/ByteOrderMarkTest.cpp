#include "QORSysTextFileUtilities.h"
#include "Scratch.h"

using namespace QORSysTextFileUtilities;

namespace {

const std::string kMark = "\xEF\xBB\xBF";

TEST(DetectUnicodeBOMBuffer, MovesPastTheMarkOnly)
{
    // clang-format off
    const struct { std::string bytes; HRESULT result; unsigned int skipped; } cases[] = {
        {kMark + "A", S_OK, 3}, {kMark, S_OK, 3}, {"\xEF\xBB", S_FALSE, 0}, {"\xEF\xBB\xBE", S_FALSE, 0}};
    // clang-format on
    for (const auto& c : cases) {
        const char* text = c.bytes.data();
        auto size = static_cast<unsigned int>(c.bytes.size());
        EXPECT_EQ(DetectUnicodeBOM(text, size), c.result);
        EXPECT_EQ(text, c.bytes.data() + c.skipped);
        EXPECT_EQ(size, c.bytes.size() - c.skipped);
    }
    const char* none = nullptr;
    unsigned int size = 7;
    EXPECT_EQ(DetectUnicodeBOM(none, size), E_FAIL);
}

using UnicodeBOMFile = Scratch;

TEST_F(UnicodeBOMFile, DetectResultAndPosition)
{
    const std::string marked = kMark + "0123456789abc";
    // clang-format off
    const struct { std::string bytes; unsigned int start; char restore; HRESULT result; unsigned int end; } cases[] = {
        {marked, 0, 0, S_OK, 3},      {marked, 10, 1, S_OK, 10},    {marked, 10, 0, S_OK, 3},
        {"abcdef", 5, 0, S_FALSE, 5}, {"abcdef", 5, 1, S_FALSE, 5}, {"ab", 1, 0, E_FAIL, 2}, {"ab", 1, 1, E_FAIL, 1},
    };
    // clang-format on
    for (const auto& c : cases) {
        QORSysFileDescriptor file = Open(c.bytes, "rb", c.start);
        EXPECT_EQ(DetectUnicodeBOM(file, c.restore), c.result) << c.bytes << " from " << c.start;
        EXPECT_EQ(Tell(file), c.end) << c.bytes << " from " << c.start;
        QORSysFClose(file);
    }
    QORSysFileDescriptor writeOnly = Open(marked, "wb");
    EXPECT_EQ(DetectUnicodeBOM(writeOnly, 1), kWrongAccess);  // the read's own code
    QORSysFClose(writeOnly);
}

TEST_F(UnicodeBOMFile, WriteOverwritesTheHead)
{
    // clang-format off
    const struct { const char* mode; unsigned int start; char restore; HRESULT result; unsigned int end; std::string after; } cases[] = {
        {"r+b", 10, 1, S_OK, 10, kMark + "3456789xyz"}, {"wb", 0, 0, S_OK, 3, kMark},
        {"rb", 4, 0, kWrongAccess, 0, "0123456789xyz"},  // the write's own code
    };
    // clang-format on
    for (const auto& c : cases) {
        QORSysFileDescriptor file = Open("0123456789xyz", c.mode, c.start);
        EXPECT_EQ(WriteUnicodeBOM(file, c.restore), c.result);
        EXPECT_EQ(Tell(file), c.end);
        QORSysFClose(file);
        EXPECT_EQ(Read(dir_ + "/open"), c.after);
    }
}

}  // namespace
