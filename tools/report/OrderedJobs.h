// Runs numbered jobs on several threads and writes what each said in the
// order they were added, so that any number of threads prints the same bytes
// as one. Only a window of jobs is in flight: adding waits for the oldest.
// Jobs that change files take their turn on each file in the same order.
#ifndef KESTRUNE_TOOL_ORDEREDJOBS_H
#define KESTRUNE_TOOL_ORDEREDJOBS_H

#include "Progress.h"
#include "Report.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
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

    // Called once by a running job before it looks at the file it is to
    // change, named by a key that changing it keeps: waits while a job added
    // before it has neither ended nor taken its turn, or holds the same key;
    // the job then holds the key until it ends. Two names of one file (links)
    // are thus changed in the order they were added, whatever the number of
    // threads. With one thread, returns at once.
    static void TakeTurn(const std::string& key);

private:
    struct Slot {
        Job job;
        std::uint64_t number = 0;  // in the order added
        Said said;
        int status = 0;
        bool done = false;
        bool holds = false;  // key, until done
        std::string key;
    };
    struct Running {
        OrderedJobs* jobs = nullptr;
        Slot* slot = nullptr;
    };
    static thread_local Running running_;

    void Work();
    void TakeTurn(Slot& slot, const std::string& key);
    // Moves turn_ past the slots that are done or hold a key; under mutex_.
    void PassTurns();
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
    std::uint64_t written_ = 0;      // the number of slots_.front()
    // The number of the first slot neither done nor holding: only it may take
    // its turn, so that turns go in order, and every key held is an earlier job's.
    std::uint64_t turn_ = 0;
    std::multiset<std::string> held_;
    std::condition_variable turned_;  // for jobs waiting for their turn
    bool stopping_ = false;
    int status_ = 0;
    std::vector<std::thread> workers_;
};

}  // namespace kestrune_tool

#endif
