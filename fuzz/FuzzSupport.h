// Bits shared by the fuzz targets: exact-size heap copies of the input, a
// scratch directory for the targets that go through files, and the mismatch
// report.
#ifndef KESTRUNE_FUZZ_SUPPORT_H
#define KESTRUNE_FUZZ_SUPPORT_H

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>

// Prints what the library and the model said, then stops so that libFuzzer
// keeps the input as a crash.
#define FUZZ_CHECK(agree, ...)                              \
    do {                                                    \
        if (!(agree)) {                                     \
            std::fprintf(stderr, "mismatch: " __VA_ARGS__); \
            std::fprintf(stderr, "\n");                     \
            __builtin_trap();                               \
        }                                                   \
    } while (0)

namespace fuzz {

// A heap block of exactly the input's bytes (plus a zero when asked), so
// that AddressSanitizer reports any read past them.
inline std::unique_ptr<char[]> Copy(const uint8_t* data, std::size_t size, bool zeroTerminated)
{
    std::unique_ptr<char[]> copy(new char[size + (zeroTerminated ? 1 : 0)]);
    if (size != 0) std::memcpy(copy.get(), data, size);
    if (zeroTerminated) copy[size] = '\0';
    return copy;
}

// A directory of this process's own under $TMPDIR; the same few names are
// rewritten on every run and removed at exit.
class ScratchDir {
public:
    ScratchDir()
    {
        const char* base = std::getenv("TMPDIR");
        dir_ = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/kestrune-fuzz-XXXXXX";
        if (mkdtemp(dir_.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
    }
    ~ScratchDir()
    {
        for (const std::string& path : written_) unlink(path.c_str());
        rmdir(dir_.c_str());
    }

    // Writes the bytes to name in the directory and returns its path.
    std::string Write(const char* name, const uint8_t* data, std::size_t size)
    {
        const std::string path = dir_ + "/" + name;
        // A new file rather than a truncated one: ext4 flushes a file
        // truncated and rewritten on close, which slows runs a hundredfold.
        unlink(path.c_str());
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
            std::perror(path.c_str());
            std::abort();
        }
        written_.insert(path);
        return path;
    }

private:
    std::string dir_;
    std::set<std::string> written_;
};

inline std::string WriteScratch(const char* name, const uint8_t* data, std::size_t size)
{
    static ScratchDir dir;
    return dir.Write(name, data, size);
}

// The bytes as hex, for mismatch reports.
inline std::string Hex(const std::string& bytes)
{
    std::string out;
    char digits[4];
    for (unsigned char byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02X ", byte);
        out += digits;
    }
    return out.empty() ? "(empty)" : out;
}

}  // namespace fuzz

#endif
