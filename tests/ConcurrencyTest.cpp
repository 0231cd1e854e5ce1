// Every export from two threads at once, each on its own files and
// descriptor (only standard output is shared). Under the tsan preset this is
// the data-race check; elsewhere it checks that the results stay right.
#include "Kestrune.h"
#include "QORSysExeUtilities.h"
#include "QORSysTextFileUtilities.h"
#include "Scratch.h"

#include <thread>

using namespace QORSysTextFileUtilities;
using namespace QORSysExeUtilities;

using Concurrency = Scratch;

TEST_F(Concurrency, EveryExportFromTwoThreads)
{
    constexpr int kIterations = 300;
    const std::string cwd = std::filesystem::current_path().string();
    int failed[2] = {};
    const auto work = [&](int id) {
        const std::string tag = "t" + std::to_string(id), eol = id == 0 ? "\r\n" : "\r", text = "k=1" + eol;
        const QORSysPath catalog = Path(Write(tag + ".velnls", "\xEF\xBB\xBF<meta charset=\"UTF-8\"/>\n" + text));
        const QORSysPath plain = Path(Write(tag + "-plain", "k=1\n")),
                         deep = Path(Write(tag, id ? "\xE9" : "\xC3\xA9"));
        const VELUnicodeString strings[] = {tag.c_str(), "echo"};
        const char* const texts[] = {tag.c_str(), "echo", nullptr};
        QORSysFileDescriptor file;
        QORSysFOpen(Path(Write(tag + "-head", std::string(40, '.') + text)), "r+b", file, 0);
        for (int i = 0; i < kIterations; ++i) {
            const char *found = nullptr, *head = text.c_str();
            unsigned int size = 3;
            int format = 0;
            QORSysPath absolute;
            PrintCmdLine(2, strings);
            PrintCmdLine(texts);
            QORSysFSeek(file, 7, 0);
            failed[id] += DetectEOL(text.c_str(), found) != S_OK || found != eol ||
                          DetectUnicodeBOM(head, size) != S_FALSE || WriteUnicodeBOM(file, 1) != S_OK ||
                          DetectUnicodeBOM(file, 1) != S_OK || WriteCatalogFileTag(file, "x", found, 1) != S_OK ||
                          DetectUnicodeBOM(file, 1) != S_FALSE || DetectFileEOL(file, found, 1) != S_OK ||
                          found != eol || Tell(file) != 7 || DetectFileFormatDeep(deep, format) < 0 ||
                          format != 2 - id || CompareCatalogFiles(catalog, plain) != S_OK ||
                          VANTORIC_TAVREN2_INTERNAL_Kestrune() != 1 ||
                          GetAbsolutePath(VELUnicodeString((tag + "/x/../y").c_str()), absolute) != S_OK ||
                          absolute.ConvertToChar() != cwd + kSeparator + tag + kSeparator + "y";
        }
        QORSysFClose(file);
    };
    // Both threads echo to one file instead of the test's output.
    std::fflush(stdout);
    const int saved = dup(1);
    std::FILE* sink = std::fopen((dir_ + "/echo").c_str(), "wb");
    dup2(fileno(sink), 1);
    std::fclose(sink);
    std::thread other(work, 1);
    work(0);
    other.join();
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
    EXPECT_EQ(failed[0] + failed[1], 0);
    // Two lines per iteration and thread, each "tN echo \n": interleaving is allowed, loss is not.
    EXPECT_EQ(Read(dir_ + "/echo").size(), 2u * kIterations * 2 * std::strlen("t0 echo \n"));
}
