// Benchmark data: catalog-like text in five scripts, written once to files.
#ifndef KESTRUNE_BENCH_DATA_H
#define KESTRUNE_BENCH_DATA_H

#include <cstddef>
#include <string>

namespace bench {

enum class Flavour { Ascii, Western, Cyrillic, Cjk, Emoji };

inline constexpr Flavour kFlavours[] = {Flavour::Ascii, Flavour::Western, Flavour::Cyrillic, Flavour::Cjk,
                                        Flavour::Emoji};
inline constexpr std::size_t kKiB = 1024;
inline constexpr std::size_t kMiB = 1024 * kKiB;
inline constexpr std::size_t kCatalogSizes[] = {64 * kKiB, 4 * kMiB, 64 * kMiB};
// Lengths of the single-line texts for the end-of-line scans (in memory, in a file).
inline constexpr std::size_t kLineInMemory = 4 * kMiB;
inline constexpr std::size_t kLineInFile = 1 * kMiB;

const char* Name(Flavour flavour);
std::string SizeName(std::size_t bytes);  // "64KiB", "4MiB", ...

// Lines "key.N = value\n" in the flavour's script, exactly bytes long, valid
// UTF-8, ending in a line feed. The same bytes for the same arguments on every run.
std::string CatalogText(Flavour flavour, std::size_t bytes);

enum class Copy { Lf, LfCopy, Crlf };
std::string CatalogPath(const std::string& dir, Flavour flavour, std::size_t bytes, Copy copy);
// A text of the flavour whose only line feed is its last byte.
std::string LinePath(const std::string& dir, Flavour flavour, std::size_t bytes);

// Writes every file the benchmarks read into dir, keeping files already
// there with the right size.
void PrepareData(const std::string& dir);

// A file's whole contents, read once and kept for the process's lifetime.
const std::string& Load(const std::string& path);
std::size_t FileSize(const std::string& path);

}  // namespace bench

#endif
