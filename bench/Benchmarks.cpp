// Kestrune's exports through the public API, each registered beside the
// baselines it is judged against so that both sides run in the same process
// minutes apart at most. Names are section/case.../side; table.py pairs them.
#include "Baselines.h"
#include "Data.h"

#include "CatalogTextCompare.h"
#include "QORSysTextFileUtilities.h"
#include "VELGeneral.h"

#include <benchmark/benchmark.h>

#include <sys/utsname.h>
#include <time.h>
#include <unistd.h>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace bench;
namespace tfu = QORSysTextFileUtilities;

// By default a call costs the CPU time of this thread (user and system, so
// read(2) and page faults count), which other work on the machine disturbs
// far less than the wall clock; --wall measures wall-clock time instead.
bool wallClock = false;

// One measured call returning whether it gave the expected answer.
using Call = std::function<bool()>;

// Registers a benchmark whose setup (loading data, untimed) yields the call.
// The call runs once untimed to warm caches and check its answer, then in the
// timed loop.
void Add(const std::string& name, std::size_t bytesPerCall, std::function<Call()> setup)
{
    auto* bench = benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& state) {
        const Call call = setup();
        if (!call()) {
            state.SkipWithError("unexpected answer");
            return;
        }
        for (auto _ : state) {
            bool answer = call();
            benchmark::DoNotOptimize(answer);
        }
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytesPerCall));
    });
    if (wallClock) bench->UseRealTime();
}

double ThreadSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// A whole process per call. Its work is not on this thread's clock, so a
// call costs this thread's time to spawn and wait plus the child's own.
void AddProcess(const std::string& name, std::size_t bytesPerCall, const std::vector<std::string>& argv)
{
    auto* bench = benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& state) {
        if (!RunProcess(argv)) {
            state.SkipWithError("unexpected answer");
            return;
        }
        for (auto _ : state) {
            const double start = ThreadSeconds();
            double child = 0;
            const bool answer = RunProcess(argv, &child);
            state.SetIterationTime(ThreadSeconds() - start + child);
            if (!answer) {
                state.SkipWithError("unexpected answer");
                break;
            }
        }
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytesPerCall));
    });
    if (wallClock) {
        bench->UseRealTime();
    } else {
        bench->UseManualTime();
    }
}

QORSysPath PathOf(const std::string& text)
{
    QORSysPath path;
    path.Set(text.c_str());
    return path;
}

std::string Case(Flavour flavour, std::size_t bytes) { return std::string(Name(flavour)) + "/" + SizeName(bytes); }

void AddUtf8(const std::string& dir, Flavour flavour, std::size_t bytes)
{
    const std::string path = CatalogPath(dir, flavour, bytes, Copy::Lf);
    const std::string name = "utf8/" + Case(flavour, bytes);
    Add(name + "/library", bytes, [path] {
        const std::string& text = Load(path);
        return [&text] {
            const char* stop = text.data();
            return QORSysUCAlgorithm::IsUTF8(stop, text.size()) == 0;
        };
    });
    Add(name + "/byteloop", bytes, [path] {
        const std::string& text = Load(path);
        return [&text] { return ByteLoopIsUtf8(text.data(), text.size()); };
    });
    if (flavour == Flavour::Ascii) {  // the floor's answer is "all ASCII"
        Add(name + "/floor", bytes, [path] {
            const std::string& text = Load(path);
            return [&text] { return LoadOrPass(text.data(), text.size()); };
        });
    }
}

void AddDeep(const std::string& dir, Flavour flavour, std::size_t bytes, bool withIsutf8)
{
    const std::string path = CatalogPath(dir, flavour, bytes, Copy::Lf);
    const std::string name = "deep/" + Case(flavour, bytes);
    Add(name + "/library", bytes, [path] {
        return [file = PathOf(path)] {
            int format = 0;
            return tfu::DetectFileFormatDeep(file, format) >= 0 && format == 2;
        };
    });
    Add(name + "/services4k", bytes, [path] { return [file = PathOf(path)] { return ReadInWindows(file); }; });
    Add(name + "/read128k", bytes, [path] {
        return [path, buffer = std::vector<char>(128 * kKiB)]() mutable { return ReadPlain(path.c_str(), buffer); };
    });
    if (withIsutf8) {
        AddProcess(name + "/isutf8", bytes, {"isutf8", path});
    }
}

// kind "same": a file and its identical copy; "crlf": the file and its CRLF copy.
void AddCompare(const std::string& dir, Flavour flavour, std::size_t bytes, bool crlf)
{
    const std::string first = CatalogPath(dir, flavour, bytes, Copy::Lf);
    const std::string second = CatalogPath(dir, flavour, bytes, crlf ? Copy::Crlf : Copy::LfCopy);
    const std::size_t both = FileSize(first) + FileSize(second);
    const std::string name = "compare/" + Case(flavour, bytes) + (crlf ? "/crlf" : "/same");
    Add(name + "/library", both, [first, second] {
        return [a = PathOf(first), b = PathOf(second)] { return tfu::CompareCatalogFiles(a, b) == S_OK; };
    });
    Add(name + "/readwhole", both,
        [first, second] { return [a = PathOf(first), b = PathOf(second)] { return ReadBothWhole(a, b); }; });
    // The library's own comparison loop, past both heads, on the same texts in memory.
    Add(name + "/libraryloop", both, [first, second] {
        return [&a = Load(first), &b = Load(second)] {
            const char* secondText = b.c_str();
            const char* firstText = a.c_str();
            int format = 0;
            DetectCatalogFileFormat(secondText, format);
            DetectCatalogFileFormat(firstText, format);
            return tfu::CompareCatalogTexts(secondText, b.c_str() + b.size(), firstText, a.c_str() + a.size()) == S_OK;
        };
    });
    Add(name + "/byteloop", both, [first, second] {
        return [&a = Load(first), &b = Load(second)] { return ByteLoopCompareCatalog(a, b) == S_OK; };
    });
    // memcmp stops at the first CR of a CRLF text, so it runs on same pairs only.
    if (!crlf) {
        Add(name + "/memcmp", both, [first, second] {
            return [&a = Load(first), &b = Load(second)] { return std::memcmp(a.data(), b.data(), a.size()) == 0; };
        });
    }
}

void AddEol(const std::string& dir, Flavour flavour)
{
    const std::string inMemory = LinePath(dir, flavour, kLineInMemory);
    const std::string name = "eol/" + Case(flavour, kLineInMemory) + "/memory";
    Add(name + "/DetectEOL", kLineInMemory, [inMemory] {
        return [&text = Load(inMemory)] {
            const char* eol = nullptr;
            return tfu::DetectEOL(text.c_str(), eol) == S_OK && std::strcmp(eol, "\n") == 0;
        };
    });
    Add(name + "/memchr", kLineInMemory, [inMemory] {
        return [&text = Load(inMemory)] { return std::memchr(text.data(), '\n', text.size()) != nullptr; };
    });

    const std::string inFile = LinePath(dir, flavour, kLineInFile);
    const std::string fileName = "eol/" + Case(flavour, kLineInFile) + "/file";
    Add(fileName + "/DetectFileEOL", kLineInFile, [inFile] {
        return [path = PathOf(inFile)] {
            QORSysFileDescriptor file;
            if (QORSysFOpen(path, "rb", file, 0) < 0) return false;
            const char* eol = nullptr;
            const bool found = tfu::DetectFileEOL(file, eol, 0) == S_OK && std::strcmp(eol, "\n") == 0;
            QORSysFClose(file);
            return found;
        };
    });
    Add(fileName + "/getc", kLineInFile, [inFile] { return [inFile] { return GetcToLineFeed(inFile.c_str()); }; });
}

void AddMachineContext()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);) {
        if (line.rfind("model name", 0) == 0) {
            benchmark::AddCustomContext("cpu_model", line.substr(line.find(':') + 2));
            break;
        }
    }
    benchmark::AddCustomContext("cores", std::to_string(::sysconf(_SC_NPROCESSORS_ONLN)));
    utsname system{};
    if (::uname(&system) == 0)
        benchmark::AddCustomContext("kernel", std::string(system.sysname) + " " + system.release);
    benchmark::AddCustomContext("compiler", KESTRUNE_BENCH_COMPILER);
    benchmark::AddCustomContext("build_type", KESTRUNE_BENCH_BUILD_TYPE);
    benchmark::AddCustomContext("clock", wallClock ? "wall" : "cpu");
}

}  // namespace

int main(int argc, char** argv)
{
    // Own options first; the rest are Google Benchmark's.
    std::string dir = "data";
    bool generateOnly = false;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--data=", 7) == 0) {
            dir = argv[i] + 7;
        } else if (std::strcmp(argv[i], "--generate-only") == 0) {
            generateOnly = true;
        } else if (std::strcmp(argv[i], "--wall") == 0) {
            wallClock = true;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    PrepareData(dir);
    if (generateOnly) return 0;

    AddMachineContext();
    const bool withIsutf8 = InPath("isutf8");
    for (Flavour flavour : kFlavours) {
        for (std::size_t bytes : {4 * kMiB, 64 * kMiB}) AddUtf8(dir, flavour, bytes);
    }
    for (Flavour flavour : kFlavours) {
        for (std::size_t bytes : kCatalogSizes) AddDeep(dir, flavour, bytes, withIsutf8 && bytes == 64 * kMiB);
    }
    for (bool crlf : {false, true}) {
        for (Flavour flavour : kFlavours) {
            for (std::size_t bytes : kCatalogSizes) AddCompare(dir, flavour, bytes, crlf);
        }
    }
    for (Flavour flavour : kFlavours) AddEol(dir, flavour);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
