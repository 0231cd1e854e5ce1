// Every export from two threads at once, each on its own files and
// descriptors (only standard output is shared). Under the tsan preset this is
// the data-race check; elsewhere it checks the results stay right.
#include "Kestrune.h"
#include "QORSysExeUtilities.h"
#include "QORSysTextFileUtilities.h"
#include "Scratch.h"

#include <fcntl.h>
#include <cstring>
#include <functional>
#include <set>
#include <thread>

using namespace QORSysTextFileUtilities;
using namespace QORSysExeUtilities;

namespace {

constexpr int kIterations = 300;
const std::string kMark = "\xEF\xBB\xBF";

class Concurrency : public Scratch {
public:
    // Runs every step kIterations times on thread id's own files; returns the names of steps that went wrong.
    std::set<std::string> Work(int id, const std::string& cwd)
    {
        const std::string tag = "t" + std::to_string(id);
        const char* const eol = id == 0 ? "\r\n" : "\r";
        const std::string text = "k=" + tag + eol + "v=1" + eol;
        const QORSysPath catalog = Path(Write(tag + ".velnls", kMark + "<meta charset=\"UTF-8\"/>\n" + text));
        const QORSysPath plain = Path(Write(tag + "-plain", "k=" + tag + "\nv=1\n"));
        const QORSysPath other = Path(Write(tag + "-other", "k=" + tag + "\nv=2\n"));
        const QORSysPath deep = Path(Write(tag + "-deep", id == 0 ? "caf\xC3\xA9" : "caf\xE9"));
        const VELUnicodeString strings[] = {tag.c_str(), "echo"};
        const char* const texts[] = {tag.c_str(), "echo", nullptr};
        QORSysFileDescriptor file;
        QORSysFOpen(Path(Write(tag + "-head", std::string(40, '.') + text)), "r+b", file, 0);
        const auto at7 = [&] { return Tell(file) == 7; };
        const struct {
            const char* name;
            std::function<bool()> step;
        } steps[] = {
            {"DetectEOL",
             [&] {
                 const char* e = nullptr;
                 return DetectEOL(text.c_str(), e) == S_OK && e == std::string(eol);
             }},
            {"DetectUnicodeBOM(text)",
             [&] {
                 const char* p = text.c_str();
                 unsigned int n = 3;
                 return DetectUnicodeBOM(p, n) == S_FALSE && p == text.c_str() && n == 3;
             }},
            {"seek", [&] { return QORSysFSeek(file, 7, 0) == S_OK; }},
            {"WriteUnicodeBOM", [&] { return WriteUnicodeBOM(file, 1) == S_OK && at7(); }},
            {"DetectUnicodeBOM(marked)", [&] { return DetectUnicodeBOM(file, 1) == S_OK && at7(); }},
            {"WriteCatalogFileTag", [&] { return WriteCatalogFileTag(file, tag.c_str(), eol, 1) == S_OK && at7(); }},
            {"DetectUnicodeBOM(tagged)", [&] { return DetectUnicodeBOM(file, 1) == S_FALSE && at7(); }},
            {"DetectFileEOL",
             [&] {
                 const char* e = nullptr;
                 return DetectFileEOL(file, e, 1) == S_OK && e == std::string(eol) && at7();
             }},
            {"DetectFileFormatDeep",
             [&] {
                 int f = 0;
                 return DetectFileFormatDeep(deep, f) >= 0 && f == 2 - id;
             }},
            {"CompareCatalogFiles",
             [&] {
                 return CompareCatalogFiles(catalog, plain) == S_OK && CompareCatalogFiles(catalog, other) == S_FALSE;
             }},
            {"GetAbsolutePath",
             [&] {
                 QORSysPath out;
                 return GetAbsolutePath(VELUnicodeString((tag + "/x/../y").c_str()), out) == S_OK &&
                        out.ConvertToChar() == cwd + kSeparator + tag + kSeparator + "y";
             }},
            {"PrintCmdLine",
             [&] {
                 PrintCmdLine(2, strings);
                 PrintCmdLine(texts);
                 return true;
             }},
            {"marker", [] { return VANTORIC_TAVREN2_INTERNAL_Kestrune() == 1; }},
        };
        std::set<std::string> failed;
        for (int i = 0; i < kIterations; ++i)
            for (const auto& s : steps)
                if (!s.step()) failed.insert(s.name);
        QORSysFClose(file);
        return failed;
    }
};

TEST_F(Concurrency, EveryExportFromTwoThreads)
{
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    // Both threads echo to one file instead of the test's output.
    std::fflush(stdout);
    const int saved = dup(1);
    const int sink = open((dir_ + "/echo").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_BINARY, 0600);
    dup2(sink, 1);
    close(sink);
    std::set<std::string> failed[2];
    std::thread other([&] { failed[1] = Work(1, cwd); });
    failed[0] = Work(0, cwd);
    other.join();
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
    for (const auto& f : failed)
        for (const auto& name : f) ADD_FAILURE() << name;
    // Two calls per iteration and thread, each "tN echo \n"; interleaving is allowed, loss is not.
    EXPECT_EQ(Read(dir_ + "/echo").size(), 2u * kIterations * 2 * std::strlen("t0 echo \n"));
}

}  // namespace
