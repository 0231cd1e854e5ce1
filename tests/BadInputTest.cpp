// Odd files, odd names and oversized arguments: each has a defined result,
// and whatever a call opens it closes.
#include "FaultyFileServices.h"
#include "QORSysTextFileUtilities.h"
#include "Scratch.h"

using namespace QORSysTextFileUtilities;

namespace {

using BadInput = Scratch;

void ExpectOpenedAllClosed(const std::string& what)
{
    EXPECT_EQ(FaultyFiles::Opened(), FaultyFiles::Closed()) << what;
    EXPECT_EQ(FaultyFiles::ForeignCloses(), 0u) << what;
}

TEST_F(BadInput, PathFunctionsOnOddFilesAndNames)
{
    const std::string huge = Write("huge.velnls", "");
    std::filesystem::resize_file(huge, 0x100000000ULL);  // sparse 4 GiB: its size does not fit
    const std::string catalog = Write("a.velnls", "k=v");
    const std::string latin1 = Write("caf\xE9.velnls", "k=v\n");  // a name that is not UTF-8
    // clang-format off
    const struct { std::string first; std::string second; HRESULT result; } compares[] = {
        {huge, catalog, S_FALSE},  // cannot be sized, so counts as empty: it ends before "k=v"
        {catalog, huge, S_OK},     // an empty second matches anything
        {dir_, catalog, E_FAIL},   // a directory as the first path
        {"/dev/null", catalog, S_FALSE}, {catalog, "/dev/null", S_OK},
        {latin1, Write("\xFF\xFE", "k=v"), S_OK},
        // A zero byte in the first text where the second's ends, after a line
        // break: it meets the second's terminating zero as an equal byte.
        {Write("zero.velnls", std::string("ab\0cd", 5)), Write("ab-lf", "ab\n"), S_OK},
    };
    // clang-format on
    for (const auto& c : compares) {
        const std::string what = c.first + " | " + c.second;
        FaultyFiles::Arm();
        EXPECT_EQ(CompareCatalogFiles(Path(c.first), Path(c.second)), c.result) << what;
        FaultyFiles::Disarm();
        ExpectOpenedAllClosed(what);
    }
    for (const std::string& path : {std::string("/dev/null"), latin1}) {
        int format = 0;
        FaultyFiles::Arm();
        EXPECT_EQ(DetectFileFormatDeep(Path(path), format), S_OK) << path;
        FaultyFiles::Disarm();
        EXPECT_EQ(format, 2) << path;
        ExpectOpenedAllClosed(path);
    }
}

TEST_F(BadInput, WriteCatalogFileTagRefusesA300ByteNameOrEndOfLineUntouched)
{
    const std::string name(300, 'n');
    for (const auto& [charset, eol] : {std::pair{name.c_str(), "\r\n"}, std::pair{"UTF-8", name.c_str()}}) {
        QORSysFileDescriptor file = Open("k=v\n", "r+b", 2);
        FaultyFiles::Arm();
        EXPECT_EQ(WriteCatalogFileTag(file, charset, eol, 0), E_FAIL);
        FaultyFiles::Disarm();
        for (unsigned op = 0; op < FaultyFiles::OpCount; ++op)
            EXPECT_EQ(FaultyFiles::Calls(FaultyFiles::Op(op)), 0u) << op;
        EXPECT_EQ(Tell(file), 2u);
        QORSysFClose(file);
        EXPECT_EQ(Read(dir_ + "/open"), "k=v\n");
    }
}

}  // namespace
