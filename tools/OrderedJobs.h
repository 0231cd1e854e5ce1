// Runs numbered jobs on several threads and writes what each said in the
// order they were added, so that any number of threads prints the same bytes
// as one. Only a window of jobs is in flight: adding waits for the oldest.
#ifndef KESTRUNE_TOOL_ORDEREDJOBS_H
#define KESTRUNE_TOOL_ORDEREDJOBS_H

#include "Progress.h"
#include "Report.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace kestrune_tool {

class OrderedJobs {
public:
    using Job = std::function<int()>;  // returns an exit status

    // threads 1 runs each job as it is added, on the caller's thread.
    OrderedJobs(unsigned threads, Progress& progress);
    ~OrderedJobs();
    OrderedJobs(const OrderedJobs&) = delete;
    OrderedJobs& operator=(const OrderedJobs&) = delete;

    void Add(Job job);
    // Waits for every job and writes the rest; the worst status of them all.
    int Finish();

private:
    struct Slot {
        Job job;
        Said said;
        int status = 0;
        bool done = false;
    };
    void Work();
    // Writes the oldest jobs while they are done; with wait, waits for the oldest first.
    void WriteDone(bool wait);
    void Write(const Slot& slot);

    Progress& progress_;
    std::size_t window_;
    std::mutex mutex_;
    std::condition_variable added_;  // for the workers
    std::condition_variable done_;   // for the writer
    std::deque<Slot> slots_;         // from the oldest not yet written
    std::size_t taken_ = 0;          // how many of slots_ a worker has taken
    bool stopping_ = false;
    int status_ = 0;
    std::vector<std::thread> workers_;
};

}  // namespace kestrune_tool

#endif
