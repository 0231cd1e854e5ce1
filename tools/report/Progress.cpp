#include "Progress.h"

#include <atomic>
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kestrune_tool {

namespace {

std::atomic<std::uint64_t> bytesRead{0};

bool IsTerminal(std::FILE* stream)
{
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

}  // namespace

void CountRead(std::uint64_t bytes) { bytesRead.fetch_add(bytes, std::memory_order_relaxed); }
std::uint64_t BytesRead() { return bytesRead.load(std::memory_order_relaxed); }

Progress::Progress(bool shown) : shown_(shown && IsTerminal(stderr)), outputTerminal_(IsTerminal(stdout)) {}

void Progress::Done(std::uint64_t bytes)
{
    ++files_;
    if (!shown_) return;
    // For every file: a long walk of a few slow files shows the line too.
    const Clock::time_point now = Clock::now();
    if (now - start_ < std::chrono::seconds(1) || now - drawn_ < std::chrono::milliseconds(200)) return;
    drawn_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    char line[128];
    const int length = std::snprintf(line, sizeof line, "kestrune: %llu files, %.1f MiB, %.0f files/s",
                                     static_cast<unsigned long long>(files_), static_cast<double>(bytes) / 1048576.0,
                                     static_cast<double>(files_) / seconds);
    std::fflush(stdout);
    // Spaces cover a longer line drawn before; no terminal escapes, so that any console takes it.
    std::fprintf(stderr, "\r%-*s", static_cast<int>(width_), line);
    std::fflush(stderr);
    if (length > 0 && static_cast<std::size_t>(length) > width_) width_ = static_cast<std::size_t>(length);
}

void Progress::Erase()
{
    if (width_ == 0) return;
    std::fprintf(stderr, "\r%s\r", std::string(width_, ' ').c_str());
    std::fflush(stderr);
    width_ = 0;
}

}  // namespace kestrune_tool
