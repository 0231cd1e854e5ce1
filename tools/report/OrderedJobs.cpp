#include "OrderedJobs.h"

#include <algorithm>
#include <utility>

namespace kestrune_tool {

thread_local OrderedJobs::Running OrderedJobs::running_;

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
        slots_.emplace_back();
        slots_.back().job = std::move(job);
        slots_.back().number = written_ + slots_.size() - 1;
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
        running_ = {this, &slot};
        const int status = slot.job();
        running_ = {};
        KeepSaid(nullptr);
        slot.job = nullptr;  // what it holds goes now, on this thread
        lock.lock();
        slot.status = status;
        slot.done = true;
        if (slot.holds) held_.erase(held_.find(slot.key));
        PassTurns();
        done_.notify_one();
        turned_.notify_all();
    }
}

void OrderedJobs::TakeTurn(const std::string& key)
{
    if (running_.jobs != nullptr) running_.jobs->TakeTurn(*running_.slot, key);
}

void OrderedJobs::TakeTurn(Slot& slot, const std::string& key)
{
    std::unique_lock<std::mutex> lock(mutex_);
    turned_.wait(lock, [&] { return turn_ == slot.number && held_.count(key) == 0; });
    slot.key = key;
    slot.holds = true;
    held_.insert(key);
    PassTurns();
    turned_.notify_all();
}

void OrderedJobs::PassTurns()
{
    while (turn_ - written_ < slots_.size() && (slots_[turn_ - written_].done || slots_[turn_ - written_].holds))
        ++turn_;
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
            ++written_;
        }
        wait = false;
        Write(slot);
    }
}

void OrderedJobs::Write(const Slot& slot)
{
    if (!slot.said.parts.empty()) {
        progress_.Before(slot.said.ToError());
        WriteSaid(slot.said);
    }
    status_ = std::max(status_, slot.status);
    progress_.Done(BytesRead());
}

}  // namespace kestrune_tool
