#include "Baselines.h"

#include "QORSysFile.h"
#include "VELGeneral.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

extern char** environ;

namespace bench {

namespace {

// Four vectors a step, as a memory-bound loop wants; the tail byte by byte.
// Always inlined, so that it takes the instruction set of its caller.
template <typename V>
__attribute__((always_inline)) inline bool OrPass(const char* text, std::size_t length)
{
    constexpr std::size_t kStep = 4 * sizeof(V);
    V any{};
    std::size_t i = 0;
    const auto load = [text](std::size_t at) {
        V v;
        std::memcpy(&v, text + at, sizeof v);
        return v;
    };
    for (; i + kStep <= length; i += kStep) {
        any |= (load(i) | load(i + sizeof(V))) | (load(i + 2 * sizeof(V)) | load(i + 3 * sizeof(V)));
    }
    unsigned char high = 0;
    for (std::size_t k = 0; k < sizeof(V); ++k) high |= static_cast<unsigned char>(any[k]);
    for (; i < length; ++i) high |= static_cast<unsigned char>(text[i]);
    return high < 0x80;
}

#if defined(__x86_64__)
using V64 = char __attribute__((vector_size(64)));
__attribute__((target("avx512f"))) bool OrPass64(const char* text, std::size_t length)
{
    return OrPass<V64>(text, length);
}
#endif
using V16 = char __attribute__((vector_size(16)));

}  // namespace

bool LoadOrPass(const char* text, std::size_t length)
{
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx512f")) return OrPass64(text, length);
#endif
    return OrPass<V16>(text, length);
}

bool ByteLoopIsUtf8(const char* text, std::size_t length)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    std::size_t i = 0;
    while (i < length) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t size;
        unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            size = 2;
        } else if (lead == 0xE0) {
            size = 3, low = 0xA0;  // no overlong forms
        } else if (lead == 0xED) {
            size = 3, high = 0x9F;  // no surrogates
        } else if (lead >= 0xE1 && lead <= 0xEF) {
            size = 3;
        } else if (lead == 0xF0) {
            size = 4, low = 0x90;
        } else if (lead >= 0xF1 && lead <= 0xF3) {
            size = 4;
        } else if (lead == 0xF4) {
            size = 4, high = 0x8F;  // nothing above U+10FFFF
        } else {
            return false;
        }
        if (length - i < size || p[i + 1] < low || p[i + 1] > high) return false;
        for (std::size_t k = 2; k < size; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return false;
        }
        i += size;
    }
    return true;
}

HRESULT ByteLoopCompareCatalog(const std::string& first, const std::string& second)
{
    const char* a = second.c_str();
    const char* b = first.c_str();
    const char* const aEnd = a + second.size();
    const char* const bEnd = b + first.size();
    int format = 0;
    DetectCatalogFileFormat(a, format);
    DetectCatalogFileFormat(b, format);
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    long long remaining = aEnd - a;
    while (remaining > 0) {
        long long skipped = 0;
        while (isBreak(*a)) {
            ++a;
            ++skipped;
        }
        while (isBreak(*b)) ++b;
        if (*a != *b) return S_FALSE;
        if (b == bEnd && a != aEnd) return S_FALSE;  // stepping b on would leave its text
        ++a;
        ++b;
        remaining -= skipped + 1;
    }
    return S_OK;
}

bool ReadInWindows(const QORSysPath& path)
{
    QORSysFileDescriptor file;
    if (QORSysFOpen(path, "rb", file, 0) < 0) return false;
    unsigned int remaining = 0;
    bool ok = QORSysFSize(file, &remaining) >= 0;
    char window[4096];
    while (ok && remaining > 0) {
        unsigned int got = 0;
        ok = QORSysFRead(file, window, sizeof window, &got) >= 0 && got > 0;
        remaining -= got;
    }
    QORSysFClose(file);
    return ok;
}

bool ReadPlain(const char* path, std::vector<char>& buffer)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    ssize_t got;
    while ((got = ::read(fd, buffer.data(), buffer.size())) > 0) {}
    ::close(fd);
    return got == 0;
}

namespace {

bool ReadWhole(const QORSysPath& path, std::unique_ptr<char[]>& text)
{
    QORSysFileDescriptor file;
    if (QORSysFOpen(path, "rb", file, 0) < 0) return false;
    unsigned int size = 0;
    bool ok = QORSysFSize(file, &size) >= 0;
    text.reset(new char[static_cast<std::size_t>(size) + 1]);
    unsigned int got = 0;
    ok = ok && QORSysFRead(file, text.get(), size, &got) >= 0 && got == size;
    text[size] = '\0';
    QORSysFClose(file);
    return ok;
}

}  // namespace

bool ReadBothWhole(const QORSysPath& first, const QORSysPath& second)
{
    std::unique_ptr<char[]> secondText, firstText;
    return ReadWhole(second, secondText) && ReadWhole(first, firstText);
}

bool GetcToLineFeed(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    int c;
    while ((c = std::getc(file)) != EOF && c != '\n') {}
    std::fclose(file);
    return c == '\n';
}

bool RunProcess(const std::vector<std::string>& argv, double* cpuSeconds)
{
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    // posix_spawn rather than fork: this process holds large buffers, and
    // copying its page tables is no part of the child's cost.
    pid_t child;
    if (::posix_spawnp(&child, args[0], nullptr, nullptr, args.data(), environ) != 0) return false;
    int status = 0;
    rusage usage{};
    pid_t waited;
    while ((waited = ::wait4(child, &status, 0, &usage)) < 0 && errno == EINTR) {}
    if (cpuSeconds != nullptr) {
        *cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                      static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    }
    return waited == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool InPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    for (std::size_t start = 0; start <= dirs.size();) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string candidate = dirs.substr(start, end - start) + "/" + program;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace bench
