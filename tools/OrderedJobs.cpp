#include "OrderedJobs.h"

#include "FileText.h"

#include <algorithm>
#include <utility>

namespace kestrune_tool {

OrderedJobs::OrderedJobs(unsigned threads, Progress& progress) : progress_(progress), window_(std::size_t{threads} * 64)
{
    if (threads > 1) {
        for (unsigned i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
    }
}

OrderedJobs::~OrderedJobs()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    added_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

void OrderedJobs::Add(Job job)
{
    if (workers_.empty()) {
        Slot slot;
        KeepSaid(&slot.said);
        slot.status = job();
        KeepSaid(nullptr);
        Write(slot);
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        slots_.push_back(Slot{std::move(job), {}, 0, false});
    }
    added_.notify_one();
    WriteDone(slots_.size() >= window_);  // only this thread adds or removes slots
}

int OrderedJobs::Finish()
{
    while (!slots_.empty()) WriteDone(true);
    progress_.Erase();
    return status_;
}

void OrderedJobs::Work()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        added_.wait(lock, [this] { return stopping_ || taken_ < slots_.size(); });
        if (taken_ == slots_.size()) return;
        Slot& slot = slots_[taken_++];  // stays put: the writer removes only done slots
        lock.unlock();
        KeepSaid(&slot.said);
        const int status = slot.job();
        KeepSaid(nullptr);
        slot.job = nullptr;  // what it holds goes now, on this thread
        lock.lock();
        slot.status = status;
        slot.done = true;
        done_.notify_one();
    }
}

void OrderedJobs::WriteDone(bool wait)
{
    for (;;) {
        Slot slot;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            if (wait) done_.wait(lock, [this] { return slots_.front().done; });
            if (slots_.empty() || !slots_.front().done) return;
            slot = std::move(slots_.front());
            slots_.pop_front();
            --taken_;
        }
        wait = false;
        Write(slot);
    }
}

void OrderedJobs::Write(const Slot& slot)
{
    if (!slot.said.parts.empty()) {
        const bool onError = std::any_of(slot.said.parts.begin(), slot.said.parts.end(),
                                         [](const auto& part) { return part.first != Said::kOut; });
        progress_.Before(onError);
        WriteSaid(slot.said);
    }
    status_ = std::max(status_, slot.status);
    progress_.Done(BytesRead());
}

}  // namespace kestrune_tool
