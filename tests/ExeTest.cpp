#include "QORSysExeUtilities.h"
#include "Scratch.h"

#include <cstdio>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace QORSysExeUtilities;

namespace {

using PrintCmdLineTest = Scratch;

// What reaches standard output's file while call runs, and whether bytes
// left in the stream before it were flushed by it.
std::string Echo(const std::string& file, const std::function<void()>& call, bool* flushed = nullptr)
{
    std::fflush(stdout);
    const int saved = dup(1);
    FILE* sink = std::fopen(file.c_str(), "wb");
    dup2(fileno(sink), 1);
    std::printf("~");  // pending in the stream until something flushes it
    call();
    const std::string seen = Scratch::Read(file);
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
    std::fclose(sink);
    if (flushed != nullptr) *flushed = !seen.empty();
    return seen.empty() ? seen : seen.substr(1);
}

TEST_F(PrintCmdLineTest, EchoesEachArgumentAndASpace)
{
    const std::string out = dir_ + "/out";
    const VELUnicodeString strings[] = {"prog", "-x", "a b"};
    const char* const texts[] = {"prog", "-x", "a b", nullptr, "after"};
    const char* const none[] = {nullptr};
    EXPECT_EQ(Echo(out, [&] { PrintCmdLine(3, strings); }), "prog -x a b \n");
    EXPECT_EQ(Echo(out, [&] { PrintCmdLine(texts); }), "prog -x a b \n");

    bool flushed = false;
    for (const auto& call : std::initializer_list<std::function<void()>>{
             [&] { PrintCmdLine(0, strings); }, [&] { PrintCmdLine(-2, strings); }, [&] { PrintCmdLine(none); }}) {
        EXPECT_EQ(Echo(out, call, &flushed), "");
        EXPECT_TRUE(flushed);
    }
    for (const auto& call : std::initializer_list<std::function<void()>>{
             [] { PrintCmdLine(1, static_cast<const VELUnicodeString*>(nullptr)); },
             [] { PrintCmdLine(static_cast<const char* const*>(nullptr)); }}) {
        EXPECT_EQ(Echo(out, call, &flushed), "");
        EXPECT_FALSE(flushed);
    }
}

using GetAbsolutePathTest = Scratch;

TEST_F(GetAbsolutePathTest, ResolvesRelativePathsOnly)
{
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    const struct {
        const char* text;
        std::string expected;
    } cases[] = {
        {"/already/../absolute", "/already/../absolute"},
        {"sub/./x/../file.velnls", std::string(cwd) + "/sub/file.velnls"},
    };
    for (const auto& c : cases) {
        QORSysPath path;
        EXPECT_EQ(GetAbsolutePath(VELUnicodeString(c.text), path), S_OK);
        EXPECT_STREQ(path.ConvertToChar(), c.expected.c_str());
    }
    QORSysPath kept = Path("/kept");
    EXPECT_EQ(GetAbsolutePath(VELUnicodeString(""), kept), E_FAIL);
    EXPECT_STREQ(kept.ConvertToChar(), "/kept");
}

TEST_F(GetAbsolutePathTest, FailsWithoutACurrentDirectory)
{
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    const std::string gone = dir_ + "/gone";
    ASSERT_EQ(mkdir(gone.c_str(), 0700), 0);
    ASSERT_EQ(chdir(gone.c_str()), 0);
    rmdir(gone.c_str());
    QORSysPath kept = Path("/kept");
    const HRESULT relative = GetAbsolutePath(VELUnicodeString("relative"), kept);
    const std::string keptText = kept.ConvertToChar();
    const HRESULT absolute = GetAbsolutePath(VELUnicodeString("/abs"), kept);  // needs no directory
    ASSERT_EQ(chdir(cwd), 0);
    EXPECT_EQ(relative, E_FAIL);
    EXPECT_EQ(keptText, "/kept");
    EXPECT_EQ(absolute, S_OK);
}

}  // namespace
