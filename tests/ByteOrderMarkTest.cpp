#include "QORSysTextFileUtilities.h"
#include "Scratch.h"

using namespace QORSysTextFileUtilities;

namespace {

const std::string kMark = "\xEF\xBB\xBF";

TEST(DetectUnicodeBOMBuffer, MovesPastTheMarkOnly)
{
    const struct {
        std::string bytes;
        HRESULT result;
        unsigned int skipped;
    } cases[] = {
        {kMark + "A", S_OK, 3}, {kMark, S_OK, 3}, {"\xEF\xBB", S_FALSE, 0}, {"\xEF\xBB\xBE", S_FALSE, 0}, {"", S_FALSE, 0},
    };
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
    EXPECT_EQ(size, 7u);
}

using DetectUnicodeBOMFile = Scratch;

TEST_F(DetectUnicodeBOMFile, ResultAndPosition)
{
    const std::string marked = kMark + "0123456789abc";
    const struct {
        std::string bytes;
        unsigned int start;
        char restore;
        HRESULT result;
        unsigned int end;
    } cases[] = {
        {marked, 0, 0, S_OK, 3},  {marked, 10, 1, S_OK, 10}, {marked, 10, 0, S_OK, 3},
        {"abcdef", 5, 0, S_FALSE, 5}, {"abcdef", 5, 1, S_FALSE, 5},
        {"ab", 1, 0, E_FAIL, 2},  {"ab", 1, 1, E_FAIL, 1},  {"", 0, 0, E_FAIL, 0},
    };
    for (const auto& c : cases) {
        QORSysFileDescriptor file = Open(Write("t", c.bytes), "rb", c.start);
        EXPECT_EQ(DetectUnicodeBOM(file, c.restore), c.result) << c.bytes << " from " << c.start;
        EXPECT_EQ(Tell(file), c.end) << c.bytes << " from " << c.start;
        QORSysFClose(file);
    }
}

TEST_F(DetectUnicodeBOMFile, PassesAFailedReadThrough)
{
    QORSysFileDescriptor file = Open(Write("t", kMark), "wb");  // write-only: reads fail
    EXPECT_LT(DetectUnicodeBOM(file, 1), 0);
    QORSysFClose(file);
}

using WriteUnicodeBOMTest = Scratch;

TEST_F(WriteUnicodeBOMTest, OverwritesTheHead)
{
    const std::string path = Write("t", "");
    QORSysFileDescriptor file = Open(path, "wb");
    EXPECT_EQ(WriteUnicodeBOM(file, 0), S_OK);
    EXPECT_EQ(Tell(file), 3u);
    QORSysFClose(file);
    EXPECT_EQ(Read(path), kMark);

    Write("t", "0123456789xyz");
    file = Open(path, "r+b", 10);
    EXPECT_EQ(WriteUnicodeBOM(file, 1), S_OK);
    EXPECT_EQ(Tell(file), 10u);
    QORSysFClose(file);
    EXPECT_EQ(Read(path), kMark + "3456789xyz");

    file = Open(path, "rb");
    EXPECT_LT(WriteUnicodeBOM(file, 1), 0);  // the write's own failure is reported
    QORSysFClose(file);
}

}  // namespace
