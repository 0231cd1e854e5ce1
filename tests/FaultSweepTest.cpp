// Every system call under the file services, and every allocation, that an
// export makes is made to go wrong in turn, in each way it can. The export
// must give the outcome in its table (any fault not listed must not change
// the outcome at all), close what it opened, never close the caller's file,
// and leak nothing.
#include "FaultSeam.h"
#include "FixedFile.h"
#include "QORSysTextFileUtilities.h"
#include "SafeReplace.h"
#include "Scratch.h"

#include <cstdlib>
#include <functional>
#include <new>

using namespace QORSysTextFileUtilities;
namespace Seam = FaultSeam;
using Seam::Fault;

// Allocations of the whole program, counted and failed by the seam while
// armed; the first armed ones are kept. A Windows program's operator new is
// not its DLLs', so there the exports' allocations are out of reach.
struct {
    std::size_t size, alignment;
} armed[8];
void* Allocated(std::size_t size, std::size_t alignment)
{
    const int kind = Seam::Next(Seam::New);
    const unsigned nth = Seam::state.counts[Seam::New];
    if (kind >= 0) throw std::bad_alloc();
    if (kind == -1 && nth <= std::size(armed)) armed[nth - 1] = {size, alignment};
#ifdef _WIN32
    void* block = alignment > 16 ? nullptr : std::malloc(size ? size : 1);  // nothing here asks for more
#else
    void* block = nullptr;
    posix_memalign(&block, alignment < sizeof(void*) ? sizeof(void*) : alignment, size ? size : 1);
#endif
    return block != nullptr ? block : throw std::bad_alloc();
}
void* operator new(std::size_t size) { return Allocated(size, 0); }
void* operator new(std::size_t size, std::align_val_t align) { return Allocated(size, std::size_t(align)); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }

namespace {

constexpr HRESULT kInjected = Seam::kInjected, kBadAlloc = 0x7BADA11C;  // no export returns the second
const std::string kMark = "\xEF\xBB\xBF";
enum : unsigned { F = 1 << Seam::Fail, S = 1 << Seam::Short, Z = 1 << Seam::Zero };
// A removal that failed would leave the temporary file: the replace does all it can.
// clang-format off
const unsigned kKindsOf[] = {F, F | S | Z, F | S | Z, F | Z, F | S | Z, F, F, F,  // the file services, New
                             F | S | Z, F, F, F, F, F | Z, F, 0, F | Z, F | Z};   // the safe replace's
// clang-format on

// The result, the output (a detected end of line, a format, or the file's
// bytes afterwards) and the caller's position (-1: no descriptor).
using Outcome = std::tuple<HRESULT, std::string, long long>;
// The outcome when call number nth (0: any) of call goes wrong in one of the
// ways in kinds. The first matching row counts.
struct Row {
    Seam::Call call;
    unsigned nth, kinds;
    Outcome outcome;
};

class FaultSweep : public Scratch {
protected:
    // Runs call armed with faults_; std::bad_alloc becomes kBadAlloc.
    HRESULT Armed(const std::function<HRESULT()>& call)
    {
        Seam::Arm(faults_);
        HRESULT result = kBadAlloc;
        try {
            result = call();
        } catch (const std::bad_alloc&) {
        }
        Seam::state.armed = false;
        return result;
    }

    // Runs once without faults, then once per fault of each call the clean run made.
    void Sweep(const std::function<Outcome()>& run, const Outcome& good, const std::vector<Row>& table)
    {
        faults_.clear();
        EXPECT_EQ(run(), good);
        const Seam::State clean = Seam::state;
        ASSERT_GT(clean.counts[Seam::Read] + clean.counts[Seam::Write], 0u) << "the calls do not reach the seam";
        std::vector<bool> used(table.size());
        for (unsigned c = 0; c < Seam::kCalls; ++c) {
            for (unsigned nth = 1, kind = 0; nth <= clean.counts[c]; kind = (kind + 1) % 3, nth += kind == 0) {
                if ((kKindsOf[c] & 1u << kind) == 0) continue;
                faults_ = {{Seam::Call(c), nth, Seam::Kind(kind)}};
                const Outcome got = run();
                const auto row = std::find_if(table.begin(), table.end(), [&](const Row& r) {
                    return r.call == c && (r.nth == 0 || r.nth == nth) && (r.kinds & 1u << kind) != 0;
                });
                if (row != table.end()) used[row - table.begin()] = true;
                // Besides the outcome: no handle it opened left open, the caller's file not closed.
                EXPECT_EQ(std::tuple_cat(got, std::tuple(Seam::state.opened, Seam::state.foreignCloses)),
                          std::tuple_cat(row == table.end() ? good : row->outcome, std::tuple(0u, 0u)))
                    << "call " << c << " #" << nth << " kind " << kind;
            }
        }
        for (std::size_t i = 0; i < table.size(); ++i) EXPECT_TRUE(used[i]) << "row " << i << " was never reached";
    }

    // Runs call on a file holding bytes, opened in mode at start.
    Outcome OnDescriptor(const std::string& bytes, unsigned start,
                         const std::function<HRESULT(QORSysFileDescriptor&)>& call)
    {
        QORSysFileDescriptor file = Open(bytes, "r+b", start);
        const HRESULT result = Armed([&] { return call(file); });
        const unsigned position = Tell(file);
        QORSysFClose(file);
        return {result, Read(dir_ + "/open"), position};
    }

    std::vector<Fault> faults_;
};

TEST_F(FaultSweep, DetectFileEOL)
{
    // Restoring offset 4098 of a file whose CR LF straddles the first
    // read-ahead: tell, seek to 0, two reads, seek back.
    const auto run = [&] {
        const char* eol = "unset";
        Outcome outcome = OnDescriptor(std::string(4095, 'a') + "\r\ncd", 4098,
                                       [&](QORSysFileDescriptor& file) { return DetectFileEOL(file, eol, 1); });
        std::get<1>(outcome) = eol;
        return outcome;
    };
    // clang-format off
    Sweep(run, {S_OK, "\r\n", 4098}, {
        {Seam::Seek, 1, F, {S_OK, "\r\n", 0}},            // from and back to offset 0
        {Seam::Seek, 2, F | Z, {S_FALSE, "\r\n", 4098}},  // scans "d" from where it stood
        {Seam::Seek, 3, F, {S_OK, "\r\n", 4097}}, {Seam::Seek, 3, Z, {S_OK, "\r\n", 4099}},  // not back
        {Seam::Read, 1, F | Z, {S_FALSE, "\r\n", 4098}}, {Seam::Read, 2, F | Z, {S_OK, "\r", 4098}},  // nothing after the CR
    });
    // clang-format on
}

TEST_F(FaultSweep, DetectUnicodeBOMOnAFile)
{
    // A marked file at offset 10, restoring: tell, seek to 0, read, seek back, tell. The file stays as it is.
    const std::string m = kMark + "0123456789";
    // clang-format off
    Sweep([&] { return OnDescriptor(m, 10, [&](QORSysFileDescriptor& f) { return DetectUnicodeBOM(f, 1); }); }, {S_OK, m, 10}, {
        {Seam::Seek, 1, F, {S_OK, m, 0}}, {Seam::Seek, 2, F, {kInjected, m, 10}},
        {Seam::Seek, 2, Z, {S_FALSE, m, 10}},  // reads "789" where it stood
        {Seam::Seek, 3, F, {kInjected, m, 3}}, {Seam::Seek, 3, Z, {E_FAIL, m, 13}},  // not back
        {Seam::Seek, 4, F, {kInjected, m, 10}}, {Seam::Read, 1, F, {kInjected, m, 0}}, {Seam::Read, 1, Z, {E_FAIL, m, 10}},
    });
    // clang-format on
}

TEST_F(FaultSweep, Writers)
{
    // A line put over the head of bytes for a caller at start, restoring:
    // tell, seek to 0, write, seek back.
    const auto sweep = [&](const std::string& bytes, unsigned start, const std::string& line,
                           const std::function<HRESULT(QORSysFileDescriptor&)>& write) {
        const auto over = [&](std::size_t at) { return std::string(bytes).replace(at, line.size(), line); };
        // clang-format off
        Sweep([&] { return OnDescriptor(bytes, start, write); }, {S_OK, over(0), start}, {
            {Seam::Seek, 1, F, {S_OK, over(0), 0}},              // from and back to offset 0
            {Seam::Seek, 2, F | Z, {S_OK, over(start), start}},  // written where it stood
            {Seam::Seek, 3, F | Z, {S_OK, over(0), static_cast<long long>(line.size())}},
            {Seam::Write, 1, F, {kInjected, bytes, start}}, {Seam::Write, 1, Z, {QORSYS_E_WRITEFAULT, bytes, start}},
        });
        // clang-format on
    };
    sweep("0123456789abc", 10, kMark, [](QORSysFileDescriptor& file) { return WriteUnicodeBOM(file, 1); });
    sweep(std::string(40, '.'), 30, "<meta charset=\"UTF-8\"/>\n",
          [](QORSysFileDescriptor& file) { return WriteCatalogFileTag(file, "UTF-8", "\n", 1); });
}

TEST_F(FaultSweep, DetectFileFormatDeep)
{
    // 8000 valid bytes with a letter across the first window's end: open,
    // size, two reads and one at the end, close; no allocation.
    std::string bytes(8000, 'a');
    const QORSysPath path = Path(Write("deep", bytes.replace(4095, 2, "\xC3\xA9")));
    const auto run = [&] {
        int format = 0;
        const HRESULT result = Armed([&] { return DetectFileFormatDeep(path, format); });
        return Outcome{result, std::to_string(format) + (Seam::state.counts[Seam::New] ? " allocated" : ""), -1};
    };
    // clang-format off
    Sweep(run, {S_OK, "2", -1}, {
        {Seam::Open, 0, F, {kInjected, "1", -1}}, {Seam::Size, 0, F, {kInjected, "1", -1}}, {Seam::Read, 0, F, {kInjected, "1", -1}},
        {Seam::Size, 0, S, {S_OK, "1", -1}},  // grown past its size: read until a read gives 0, not judged
        {Seam::Read, 3, Z, {S_OK, "2", -1}}, {Seam::Read, 0, Z, {S_OK, "1", -1}},  // the end as it is; shrunk
    });
    // clang-format on
}

TEST_F(FaultSweep, CompareCatalogFiles)
{
    // Equal catalogs, the second large enough to be read past the read-ahead:
    // open and size the second, then the first; read the second's first
    // window, then the first's; read on to the end, and close; two windows.
    const std::string tail(200 * 1024, 'x');
    const QORSysPath first = Path(Write("first.velnls", "k=1\r\nvalue=2\r\n" + tail));
    const QORSysPath second = Path(Write("second", "k=1\nvalue=2\n" + tail));
    // clang-format off
    Sweep([&] { return Outcome{Armed([&] { return CompareCatalogFiles(first, second); }), "", -1}; }, {S_OK, "", -1}, {
        {Seam::Open, 0, F, {E_FAIL, "", -1}}, {Seam::Read, 0, F, {E_FAIL, "", -1}},
#ifndef _WIN32
        {Seam::New, 0, F, {kBadAlloc, "", -1}},
#endif
        {Seam::Size, 1, F | S | Z, {S_OK, "", -1}},  // the second counts as empty, or as what it said
        {Seam::Size, 2, F | S | Z, {S_FALSE, "", -1}},
        // The first ends early: its first reads, after the second's five (4, 8, 16, 32 and 64 KiB read ahead).
        {Seam::Read, 6, Z, {S_FALSE, "", -1}}, {Seam::Read, 7, Z, {S_FALSE, "", -1}}, {Seam::Read, 8, Z, {S_FALSE, "", -1}},
        {Seam::Read, 9, Z, {S_FALSE, "", -1}}, {Seam::Read, 10, Z, {S_FALSE, "", -1}}, {Seam::Read, 11, Z, {S_FALSE, "", -1}},
    });
    // A file that shrank or grew: its text ends where its read stopped or where its size said.
    const struct { std::string first, second; std::vector<Fault> faults; } changed[] = {
        {"k=1\nv=2\n", "k=1\n", {{Seam::Read, 2, Seam::Short}, {Seam::Read, 3, Seam::Zero}}},
        {"k=1\n", "k=1\nv=2\n", {{Seam::Read, 1, Seam::Short}, {Seam::Read, 2, Seam::Zero}}},
        {"k=1\nv=2\n", "k=1\n", {{Seam::Size, 2, Seam::Short}}}, {"k=1\n", "k=1\nv=2\n", {{Seam::Size, 1, Seam::Short}}},
    };
    // clang-format on
    for (const auto& c : changed) {
        faults_ = c.faults;
        const QORSysPath one = Path(Write("one.velnls", c.first)), two = Path(Write("two", c.second));
        EXPECT_EQ(Armed([&] { return CompareCatalogFiles(one, two); }), S_OK) << c.first << "|" << c.second;
    }
}

TEST_F(FaultSweep, SafeReplace)
{
    // fix --tag UTF-8, which writes the text after the new tag line as it was: before the rename every failure or
    // refusal leaves the original and no temporary file; only the close comes after it, the directory's flush later.
    namespace tool = kestrune_tool;
    const std::string original = "a\r\nb\r\n", fixed = "<meta charset=\"UTF-8\"/>\r\na\r\nb\r\n", name = dir_ + "/c";
    tool::Policy policy;
    policy.tag = "UTF-8";
    std::string meanwhile;
    const std::function<HRESULT(QORSysFileDescriptor&)> write = [&](QORSysFileDescriptor& file) {
        if (!meanwhile.empty()) Write("c", meanwhile);
        return tool::WriteFixed(file, original, policy, tool::CheckText(original, policy));
    };
    const auto replace = [&](const std::string& file) {
        tool::Snapshot snapshot;
        tool::Outcome got = tool::Inspect(file.c_str(), snapshot);
        return got.Ok() ? tool::Replace(snapshot, write) : got;
    };
    const auto run = [&](const std::string& changed) -> Outcome {
        Write("c", original);
        meanwhile = changed;
        const HRESULT result = Armed([&] {
            tool::Outcome got = replace(name);
            tool::FlushDirectories([&](const char*, const tool::Outcome& late) { got = late; });
            return got.Ok() || got.code < 0 ? got.code : S_FALSE;
        });
        // A temporary file left is counted and removed: a fresh one is a live run's to Windows.
        return {result, Read(name), std::filesystem::remove(tool::TempName(name))};
    };
    const Outcome failed{kInjected, original, 0}, unchecked{E_FAIL, original, 0}, refused{S_FALSE, original, 0};
    // clang-format off
    Sweep([&] { return run(""); }, {S_OK, fixed, 0}, {
        {Seam::Seek, 2, Z, unchecked}, {Seam::Seek, 3, Z, unchecked}, {Seam::Read, 0, Z, unchecked},
        {Seam::Size, 0, S | Z, unchecked}, {Seam::Write, 0, Z, {QORSYS_E_WRITEFAULT, original, 0}},
        {Seam::Seek, 1, F, {S_OK, fixed, 0}},
#ifndef _WIN32  // there the strings allocate in the C++ library's DLL, out of the seam's reach
        {Seam::New, 18, F, {S_OK, fixed, 0}}, {Seam::New, 19, F, {S_OK, fixed, 0}},  // the directory flushed at once
        {Seam::New, 0, F, {QORSysResultFromErrno(ENOMEM), original, 0}},
#endif
        {Seam::SyncDirectory, 0, F, {kInjected, fixed, 0}}, {Seam::CloseTemp, 0, F, {kInjected, fixed, 0}},
        {Seam::Stat, 0, S | Z, refused},  // a second link or a new change time, at the snapshot or just before the rename
        {Seam::SetOwner, 0, Z, refused}, {Seam::CopyAttributes, 0, Z, refused},
        {Seam::Rename, 0, Z, {S_FALSE, original, 1}},  // not the file written: not this run's to remove
        {Seam::Open, 0, F, failed}, {Seam::Read, 0, F, failed}, {Seam::Write, 0, F, failed}, {Seam::Seek, 0, F, failed},
        {Seam::Size, 0, F, failed}, {Seam::Close, 0, F, failed}, {Seam::Stat, 0, F, failed},
        {Seam::CreateTemp, 0, F, failed}, {Seam::Sync, 0, F, failed}, {Seam::SetMode, 0, F, failed},
        {Seam::Rename, 0, F, failed}, {Seam::SetOwner, 0, F, failed}, {Seam::CopyAttributes, 0, F, failed},
    });
    // clang-format on
    // Another writer's work, done while the new text was written, is kept.
    EXPECT_EQ(run("a\n"), Outcome(S_FALSE, "a\n", 0));
    // Two files replaced in one directory: it is flushed once, after both.
    unsigned early = 0;
    const std::string other = Write("d", original);
    Write("c", original);
    meanwhile.clear();
    faults_.clear();
    Armed([&] {
        early = replace(name).Ok() && replace(other).Ok() ? Seam::state.counts[Seam::SyncDirectory] : 9;
        tool::FlushDirectories([](const char*, const tool::Outcome&) {});
        return S_OK;
    });
    EXPECT_EQ(std::pair(early, Seam::state.counts[Seam::SyncDirectory]), std::pair(0u, 1u));
}

}  // namespace
