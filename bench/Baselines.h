// What the library's exports are measured against: plain loops and the
// cost of reading the same bytes without doing anything with them.
#ifndef KESTRUNE_BENCH_BASELINES_H
#define KESTRUNE_BENCH_BASELINES_H

#include "QORSysText.h"

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// RFC 3629 validation one sequence at a time, branching on the lead byte:
// the validator anyone writes first.
bool ByteLoopIsUtf8(const char* text, std::size_t length);

// The memory floor of any validator: one pass of the widest vector loads the
// CPU has, ORed together, true when no byte has its high bit set.
bool LoadOrPass(const char* text, std::size_t length);

// The catalog comparison loop as CompareCatalogFiles runs it over two texts
// held in memory (zero-terminated): past the head marks, skip CR/LF runs on
// both sides, compare a byte, advance, until the second text is used up.
// S_OK when equal so far, S_FALSE at the first difference.
HRESULT ByteLoopCompareCatalog(const std::string& first, const std::string& second);

// Open, size, read the file through the file services in 4096-byte calls,
// close; nothing is looked at. True when every byte was read.
bool ReadInWindows(const QORSysPath& path);

// Open, read(2) in 128 KiB calls into buffer, close. True when it all went well.
bool ReadPlain(const char* path, std::vector<char>& buffer);

// Open, size and read each file whole into a fresh new char[size + 1], then
// free both: what CompareCatalogFiles does before comparing.
bool ReadBothWhole(const QORSysPath& first, const QORSysPath& second);

// fopen, getc until the first '\n', fclose. True when one was found.
bool GetcToLineFeed(const char* path);

// Starts argv[0] (looked up in PATH) as its own process and waits for it;
// true when it exits with status 0. cpuSeconds, when given, gets the child's
// user and system time.
bool RunProcess(const std::vector<std::string>& argv, double* cpuSeconds = nullptr);
// Whether a program of that name is in PATH.
bool InPath(const std::string& program);

}  // namespace bench

#endif
