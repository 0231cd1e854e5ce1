#include "QORSysExeUtilities.h"
#include "Scratch.h"

#include <cstdio>
#include <functional>

using namespace QORSysExeUtilities;

namespace {

using ExeUtilities = Scratch;

TEST_F(ExeUtilities, PrintCmdLineEchoesEachArgumentAndASpace)
{
    const VELUnicodeString strings[] = {"prog", "-x", "a b"};
    const char* const texts[] = {"prog", "-x", "a b", nullptr, "after"};
    const char* const empty[] = {nullptr};
    // "~" is left pending in the stream before each call: it shows whether the call flushed.
    // clang-format off
    const struct { std::function<void()> call; const char* seen; } cases[] = {
        {[&] { PrintCmdLine(3, strings); }, "~prog -x a b \n"}, {[&] { PrintCmdLine(texts); }, "~prog -x a b \n"},
        {[&] { PrintCmdLine(0, strings); }, "~"},              {[&] { PrintCmdLine(-2, strings); }, "~"},
        {[&] { PrintCmdLine(empty); }, "~"},                   {[] { PrintCmdLine(1, nullptr); }, ""},
        {[] { PrintCmdLine(static_cast<const char* const*>(nullptr)); }, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::fflush(stdout);
        const int saved = dup(1);
        FILE* sink = std::fopen((dir_ + "/out").c_str(), "wb");
        dup2(fileno(sink), 1);
        std::printf("~");
        c.call();
        const std::string seen = Read(dir_ + "/out");
        std::fflush(stdout);
        dup2(saved, 1);
        close(saved);
        std::fclose(sink);
        EXPECT_EQ(seen, c.seen);
    }
}

TEST_F(ExeUtilities, GetAbsolutePathResolvesRelativePathsOnly)
{
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    const std::string gone = dir_ + "/gone";
    // clang-format off
#ifdef _WIN32
    // Drive, UNC, root-relative and drive-relative forms; a current directory cannot be removed here.
    const std::string root = std::string(cwd, 3), driveC = cwd[0] == 'C' ? std::string(cwd) + "\\x" : "C:\\x";
    const struct { bool cwdGone; const char* text; HRESULT result; std::string path; } cases[] = {
        {false, "", E_FAIL, "/kept"}, {false, "C:/a/../b", S_OK, "C:/a/../b"}, {false, "\\\\srv\\share\\..\\x", S_OK, "\\\\srv\\share\\..\\x"},
        {false, "sub/./x/..//f", S_OK, std::string(cwd) + "\\sub\\f"}, {false, "..\\..\\..\\..\\..\\..\\..\\..\\..\\..", S_OK, root},
        {false, "/a/./b", S_OK, root + "a\\b"}, {false, "C:x", S_OK, driveC},
    };
#else
    const struct { bool cwdGone; const char* text; HRESULT result; std::string path; } cases[] = {
        {false, "", E_FAIL, "/kept"}, {false, "/a/../b", S_OK, "/a/../b"}, {false, "sub/./x/..//f", S_OK, std::string(cwd) + "/sub/f"},
        {false, "../../../../../../../../../../../../../..", S_OK, "/"}, {true, "relative", E_FAIL, "/kept"}, {true, "/abs", S_OK, "/abs"},
    };
#endif
    for (const auto& c : cases) {
        if (c.cwdGone) {  // a current directory that no longer exists
            ASSERT_TRUE(std::filesystem::create_directory(gone));
            ASSERT_EQ(chdir(gone.c_str()), 0);
            rmdir(gone.c_str());
        }
        QORSysPath path = Path("/kept");
        const HRESULT result = GetAbsolutePath(VELUnicodeString(c.text), path);
        ASSERT_EQ(chdir(cwd), 0);
        EXPECT_EQ(result, c.result) << c.text;
        EXPECT_EQ(path.ConvertToChar(), c.path) << c.text;
    }
}
// clang-format on

}  // namespace
