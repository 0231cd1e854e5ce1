// The status line of a long walk: files done, bytes read and the rate, on
// standard error when that is a terminal, erased before anything else is
// written there or on standard output and at the end.
#ifndef KESTRUNE_TOOL_PROGRESS_H
#define KESTRUNE_TOOL_PROGRESS_H

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace kestrune_tool {

// Counts bytes read by any thread, for the line; and how many so far in this run.
void CountRead(std::uint64_t bytes);
std::uint64_t BytesRead();

class Progress {
public:
    // Shows nothing unless shown and standard error is a terminal.
    explicit Progress(bool shown);
    ~Progress() { Erase(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // One more file done, with bytes read by the whole run so far; redraws
    // the line a few times a second once the walk has lasted a second.
    void Done(std::uint64_t bytes);
    // Takes the line away before a write to standard error (onError) or to
    // standard output, when that shares the terminal.
    void Before(bool onError)
    {
        if (onError || outputTerminal_) Erase();
    }
    void Erase();

private:
    using Clock = std::chrono::steady_clock;
    bool shown_;
    bool outputTerminal_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point drawn_ = start_;
    std::uint64_t files_ = 0;
    std::size_t width_ = 0;  // of the line on the screen, 0 when there is none
};

}  // namespace kestrune_tool

#endif
