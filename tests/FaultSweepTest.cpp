// Every file-service call an export makes is made to go wrong in turn, in
// each way the call can: the export must give the documented result, write
// its outputs as documented, leave the caller's position where documented,
// close what it opened and never close the caller's file.
#include "FaultyFileServices.h"
#include "QORSysTextFileUtilities.h"
#include "Scratch.h"

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace QORSysTextFileUtilities;
using FaultyFiles::Fail;
using FaultyFiles::Fault;
using FaultyFiles::Op;
using FaultyFiles::Short;
using FaultyFiles::Zero;
using Faults = std::vector<Fault>;

namespace {

constexpr HRESULT kInjected = FaultyFiles::kInjected;
const std::string kMark = "\xEF\xBB\xBF";

// What one run gave: the result, the output argument (or, for the writers,
// the file's bytes afterwards) and the caller's position (-1: no descriptor).
struct Outcome {
    HRESULT result;
    std::string output;
    long long position = -1;
};

// The outcome when call number `call` (0: any) of op goes wrong in one of
// the ways in the mask `kinds`. The first matching row counts.
struct Expect {
    Op op;
    unsigned call;
    unsigned kinds;
    Outcome outcome;
};

class FaultSweep : public Scratch {
protected:
    using Run = std::function<Outcome(const Faults&)>;

    // Runs once without faults, then once for each call the good run made of
    // each operation, with that call going wrong in each way it knows.
    void Sweep(const Run& run, const Outcome& good, const std::vector<Expect>& table, bool byPath)
    {
        Check("no fault", run({}), good, byPath);
        unsigned counts[FaultyFiles::OpCount] = {};
        unsigned calls = 0;
        for (unsigned op = 0; op < FaultyFiles::OpCount; ++op) calls += counts[op] = FaultyFiles::Calls(Op(op));
        ASSERT_GT(calls, 0u) << "the library's file calls do not reach the double";
        unsigned runs = 0;
        std::vector<bool> used(table.size());
        for (unsigned op = 0; op < FaultyFiles::OpCount; ++op) {
            for (unsigned call = 1; call <= counts[op]; ++call) {
                for (const auto kind : {Fail, Short, Zero}) {
                    if ((FaultyFiles::KindsOf(Op(op)) & kind) == 0) continue;
                    const std::string what = std::string(FaultyFiles::kOpNames[op]) + " #" + std::to_string(call) +
                                             " " + FaultyFiles::KindName(kind);
                    const Outcome outcome = run({{Op(op), call, kind}});
                    ++runs;
                    const auto row = std::find_if(table.begin(), table.end(), [&](const Expect& e) {
                        return e.op == op && (e.call == 0 || e.call == call) && (e.kinds & kind) != 0;
                    });
                    if (row == table.end()) {
                        ADD_FAILURE() << "no expectation for " << what;
                        continue;
                    }
                    used[row - table.begin()] = true;
                    Check(what, outcome, row->outcome, byPath);
                }
            }
        }
        // A row no call reached describes calls the export no longer makes.
        for (std::size_t i = 0; i < table.size(); ++i) EXPECT_TRUE(used[i]) << "row " << i << " was never reached";
        std::printf("[  SWEEP   ] %u calls, %u faulty runs\n", calls, runs);
    }

    static void Check(const std::string& what, const Outcome& got, const Outcome& want, bool byPath)
    {
        EXPECT_EQ(got.result, want.result) << what << std::hex << ": got 0x" << got.result;
        EXPECT_EQ(got.output, want.output) << what;
        EXPECT_EQ(got.position, want.position) << what;
        if (byPath) {
            EXPECT_EQ(FaultyFiles::Opened(), FaultyFiles::Closed()) << what << ": a descriptor it opened was left open";
            EXPECT_EQ(FaultyFiles::ForeignCloses(), 0u) << what;
        } else {
            EXPECT_EQ(FaultyFiles::Calls(Op::Open), 0u) << what;
            EXPECT_EQ(FaultyFiles::Calls(Op::Close), 0u) << what << ": the caller's descriptor was closed";
        }
    }

    // Runs call, armed with faults, on a file holding bytes, opened in mode at
    // start. The output is what call stores in it, or with readFile the file's
    // bytes afterwards.
    Outcome OnDescriptor(const std::string& bytes, const char* mode, unsigned start, const Faults& faults,
                         const std::function<HRESULT(QORSysFileDescriptor&, std::string&)>& call, bool readFile = false)
    {
        QORSysFileDescriptor file = Open(bytes, mode, start);
        std::string output;
        FaultyFiles::Arm(faults);
        const HRESULT result = call(file, output);
        FaultyFiles::Disarm();
        const unsigned position = Tell(file);
        QORSysFClose(file);
        return {result, readFile ? Read(dir_ + "/open") : output, position};
    }

    // A writer that puts line over the head of bytes for a caller standing at
    // start, restoring the position: tell, seek to 0, one write, seek back.
    void SweepWriter(const std::string& bytes, unsigned start, const std::string& line,
                     const std::function<HRESULT(QORSysFileDescriptor&)>& write)
    {
        const auto over = [&](std::size_t at, const std::string& text) {
            return std::string(bytes).replace(at, text.size(), text);
        };
        const auto n = static_cast<long long>(line.size());
        Sweep(
            [&](const Faults& faults) {
                return OnDescriptor(
                    bytes, "r+b", start, faults, [&](QORSysFileDescriptor& file, std::string&) { return write(file); },
                    true);
            },
            {S_OK, over(0, line), start},
            {
                {Op::Tell, 1, Fail, {S_OK, over(0, line), 0}},                 // from and back to offset 0
                {Op::Seek, 1, Fail | Zero, {S_OK, over(start, line), start}},  // written where it stood
                {Op::Seek, 2, Fail | Zero, {S_OK, over(0, line), n}},          // left after the line
                {Op::Write, 1, Fail, {kInjected, bytes, start}},
                {Op::Write,
                 1,
                 Short,
                 {S_OK, over(0, line.substr(0, line.size() / 2)), start}},  // the count is not looked at
                {Op::Write, 1, Zero, {S_OK, bytes, start}},
            },
            false);
    }

    // DetectFileFormatDeep on 8000 valid bytes with a letter across the first
    // window's end: open, size, two reads, close.
    Outcome Deep(const Faults& faults)
    {
        std::string bytes(8000, 'a');
        const QORSysPath path = Path(Write("deep", bytes.replace(4095, 2, "\xC3\xA9")));
        int format = 0;
        FaultyFiles::Arm(faults);
        const HRESULT result = DetectFileFormatDeep(path, format);
        FaultyFiles::Disarm();
        return {result, std::to_string(format)};
    }
};

TEST_F(FaultSweep, DetectFileEOL)
{
    // Restoring offset 5 of "ab\r\ncd": tell, seek to 0, four getc, seek back.
    Sweep(
        [&](const Faults& faults) {
            return OnDescriptor("ab\r\ncd", "rb", 5, faults, [](QORSysFileDescriptor& file, std::string& output) {
                const char* eol = "unset";
                const HRESULT result = DetectFileEOL(file, eol, 1);
                output = eol;
                return result;
            });
        },
        {S_OK, "\r\n", 5},
        {
            {Op::Tell, 0, Fail, {S_OK, "\r\n", 0}},            // from and back to offset 0
            {Op::Seek, 1, Fail | Zero, {S_FALSE, "\r\n", 5}},  // scans "d" from where it stood
            {Op::Seek, 2, Fail | Zero, {S_OK, "\r\n", 4}},     // left two past the CR
            {Op::Getc, 4, Fail | Zero, {S_OK, "\r", 5}},       // nothing after the CR
            {Op::Getc, 0, Fail | Zero, {S_FALSE, "\r\n", 5}},
        },
        false);
}

TEST_F(FaultSweep, DetectUnicodeBOMOnAFile)
{
    // A marked file at offset 10. Restoring: tell, seek to 0, read 3, seek back, tell.
    // clang-format off
    const struct { char restore; Outcome good; std::vector<Expect> table; } sweeps[] = {
        {1, {S_OK, "", 10}, {
            {Op::Tell, 1, Fail, {S_OK, "", 0}},
            {Op::Tell, 2, Fail, {kInjected, "", 10}},
            {Op::Seek, 1, Fail, {kInjected, "", 10}},
            {Op::Seek, 1, Zero, {S_FALSE, "", 10}},  // reads "789" where it stood
            {Op::Seek, 2, Fail, {kInjected, "", 3}},
            {Op::Seek, 2, Zero, {E_FAIL, "", 3}},    // the position did not come back
            {Op::Read, 1, Fail, {kInjected, "", 0}},
            {Op::Read, 1, Short | Zero, {E_FAIL, "", 10}},
        }},
        // Not restoring: tell, seek to 0, read 3; no mark puts the position back all the same.
        {0, {S_OK, "", 3}, {
            {Op::Tell, 1, Fail, {S_OK, "", 3}},
            {Op::Seek, 1, Fail, {kInjected, "", 10}},
            {Op::Seek, 1, Zero, {S_FALSE, "", 10}},
            {Op::Read, 1, Fail, {kInjected, "", 0}},
            {Op::Read, 1, Short, {E_FAIL, "", 1}},   // left after the byte read
            {Op::Read, 1, Zero, {E_FAIL, "", 0}},
        }},
    };
    // clang-format on
    for (const auto& s : sweeps) {
        Sweep(
            [&](const Faults& faults) {
                return OnDescriptor(
                    kMark + "0123456789", "rb", 10, faults,
                    [&](QORSysFileDescriptor& file, std::string&) { return DetectUnicodeBOM(file, s.restore); });
            },
            s.good, s.table, false);
    }
}

TEST_F(FaultSweep, WriteUnicodeBOMAndWriteCatalogFileTag)
{
    SweepWriter("0123456789abc", 10, kMark, [](QORSysFileDescriptor& file) { return WriteUnicodeBOM(file, 1); });
    SweepWriter(std::string(40, '.'), 30, "<meta charset=\"UTF-8\"/>\n",
                [](QORSysFileDescriptor& file) { return WriteCatalogFileTag(file, "UTF-8", "\n", 1); });
}

TEST_F(FaultSweep, DetectFileFormatDeep)
{
    // clang-format off
    Sweep([&](const Faults& faults) { return Deep(faults); }, {S_OK, "2"}, {
        {Op::Open, 0, Fail, {kInjected, "1"}},
        {Op::Size, 0, Fail, {kInjected, "1"}},
        {Op::Size, 0, Short, {S_OK, "1"}},  // grown past its size: read until a read gives 0, not judged
        {Op::Size, 0, Zero, {S_OK, "2"}},   // judged as the empty file it was
        {Op::Read, 0, Fail, {kInjected, "1"}},
        {Op::Read, 0, Short, {S_OK, "2"}},  // the rest comes with the next read
        {Op::Read, 0, Zero, {S_OK, "1"}},   // shrunk: bytes remain but none come
        {Op::Close, 0, Fail, {S_OK, "2"}},
    }, true);
    // clang-format on
}

TEST_F(FaultSweep, DetectFileFormatDeepWhenAFileChangesSize)
{
    // clang-format off
    const struct { Faults faults; unsigned reads; } cases[] = {
        {{{Op::Read, 2, Short}, {Op::Read, 3, Zero}}, 3},  // shrank after a short read
        {{{Op::Size, 1, Short}}, 3},                       // grew: the 4000 bytes it was told are read past
    };
    // clang-format on
    for (const auto& c : cases) {
        const Outcome outcome = Deep(c.faults);
        EXPECT_EQ(outcome.result, S_OK);
        EXPECT_EQ(outcome.output, "1");
        EXPECT_EQ(FaultyFiles::Calls(Op::Read), c.reads);  // ends at the first read giving 0
        EXPECT_EQ(FaultyFiles::Opened(), FaultyFiles::Closed());
    }
}

TEST_F(FaultSweep, CompareCatalogFiles)
{
    // Equal catalogs: open, size, read, close the second, then the first.
    const QORSysPath first = Path(Write("first.velnls", "k=1\r\nvalue=2\r\n"));
    const QORSysPath second = Path(Write("second", "k=1\nvalue=2"));
    Sweep(
        [&](const Faults& faults) {
            FaultyFiles::Arm(faults);
            const HRESULT result = CompareCatalogFiles(first, second);
            FaultyFiles::Disarm();
            return Outcome{result, ""};
        },
        {S_OK, ""},
        {
            {Op::Open, 0, Fail, {E_FAIL, ""}},
            {Op::Read, 0, Fail, {E_FAIL, ""}},
            {Op::Close, 0, Fail, {S_OK, ""}},
            {Op::Size, 1, Fail | Zero, {S_OK, ""}},     // the second counts as empty
            {Op::Size, 2, Fail | Zero, {S_FALSE, ""}},  // the first counts as empty
            // Grown or shrunk: only what was read counts, the second "k=1\nv",
            // the first "k=1\r\nva"; the rest of each buffer is garbage.
            {Op::Size, 1, Short, {S_OK, ""}},
            {Op::Read, 1, Short | Zero, {S_OK, ""}},
            {Op::Size, 2, Short, {S_FALSE, ""}},
            {Op::Read, 2, Short | Zero, {S_FALSE, ""}},
        },
        true);
}

TEST_F(FaultSweep, CompareCatalogFilesWhenAFileChangesSize)
{
    // Each text ends where its read stopped (shrunk) or where its size said
    // (grown), never in the rest of a buffer sized for more.
    // clang-format off
    const struct { std::string first; std::string second; Faults faults; } cases[] = {
        {"k=1\nv=2\n", "k=1\n", {{Op::Read, 2, Short}}}, {"k=1\n", "k=1\nv=2\n", {{Op::Read, 1, Short}}},
        {"k=1\nv=2\n", "k=1\n", {{Op::Size, 2, Short}}}, {"k=1\n", "k=1\nv=2\n", {{Op::Size, 1, Short}}},
    };
    // clang-format on
    for (const auto& c : cases) {
        const QORSysPath first = Path(Write("first.velnls", c.first));
        const QORSysPath second = Path(Write("second", c.second));
        FaultyFiles::Arm(c.faults);
        EXPECT_EQ(CompareCatalogFiles(first, second), S_OK) << c.first << "|" << c.second;
        FaultyFiles::Disarm();
        EXPECT_EQ(FaultyFiles::Opened(), FaultyFiles::Closed());
    }
}

}  // namespace
