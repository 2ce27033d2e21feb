#include "engine/scan/tagreadahead.h"

#include "engine/api/cancelflag.h"

#include <algorithm>
#include <system_error>

namespace engine {

namespace {

// How far ahead of the walk the thread reads, in files: what it has read waits for the walk.
constexpr std::size_t kReach = 64;
// The walk offers its listing again after so many files, before the thread runs out of reach.
constexpr std::size_t kRenewEvery = kReach / 2;
// A file in the page cache is read, and the next folder listed, in microseconds: a thread waiting
// for the other gives way this often before it sleeps, which would cost more than the wait.
constexpr int kYieldsBeforeSleep = 1000;

}  // namespace

ListingReads::ListingReads(TagReadAhead& readAhead, FolderTagReader& reader, std::vector<ListedAudioFile> files)
    : readAhead_(readAhead), reader_(reader), files_(std::move(files)),
      slots_(std::make_unique<Slot[]>(files_.size()))
{
    Renew();
}

ListingReads::~ListingReads()
{
    if (!files_.empty()) readAhead_.Withdraw(*this);
}

void ListingReads::Renew()
{
    if (taken_.load() < files_.size()) readAhead_.Offer(*this);
}

int32_t ListingReads::Take(std::size_t index, TrackRecord& record)
{
    taken_.store(index + 1);
    if (index % kRenewEvery == kRenewEvery - 1) Renew();

    FileTags tags;
    if (!TakeReadAhead(slots_[index], record, tags)) ReadFile(index, record, tags);
    return reader_.Keep(tags, files_[index].DevicePath(), record);
}

// What the thread read for the file, once it has; false when it has not begun the file, which is
// then the walk's to read, or failed, which the walk then meets again where it knows what to do.
bool ListingReads::TakeReadAhead(Slot& slot, TrackRecord& record, FileTags& tags)
{
    SlotState state = SlotState::Waiting;
    if (slot.state.compare_exchange_strong(state, SlotState::ReadingHere)) return false;
    if (state == SlotState::ReadingAhead) state = AwaitReadAhead(slot);
    if (state != SlotState::ReadAhead) return false;
    record = *slot.record;
    tags = slot.tags;
    slot.record.reset();
    return true;
}

// The thread is reading the file: the walk gives way for the moments that take, then sleeps until
// it is told.
ListingReads::SlotState ListingReads::AwaitReadAhead(Slot& slot)
{
    for (int yields = 0; yields < kYieldsBeforeSleep; ++yields) {
        const SlotState state = slot.state.load();
        if (state != SlotState::ReadingAhead) return state;
        std::this_thread::yield();
    }
    walkAsleep_.store(true);
    SlotState state = slot.state.load();
    for (; state == SlotState::ReadingAhead; state = slot.state.load()) slot.state.wait(state);
    walkAsleep_.store(false);
    return state;
}

bool ListingReads::ReadOneAhead()
{
    const std::size_t next = taken_.load();
    for (std::size_t index = std::min(files_.size(), next + kReach); index > next; --index) {
        Slot& slot = slots_[index - 1];
        SlotState state = SlotState::Waiting;
        if (!slot.state.compare_exchange_strong(state, SlotState::ReadingAhead)) continue;
        try {
            slot.record = std::make_unique<TrackRecord>();
            ReadFile(index - 1, *slot.record, slot.tags);
            state = SlotState::ReadAhead;
        } catch (...) {
            // The walk reads the file again, and meets the failure where it knows what to do.
            slot.record.reset();
            state = SlotState::FailedAhead;
        }
        slot.state.store(state);
        if (walkAsleep_.load()) slot.state.notify_one();
        return true;
    }
    return false;
}

void ListingReads::ReadFile(std::size_t index, TrackRecord& record, FileTags& tags) const
{
    const ListedAudioFile& file = files_[index];
    record = TrackRecord{};
    SetText(record.path, file.path);
    SetText(record.fileName, file.entry->name);
    tags = reader_.Read(*file.entry, file.path, file.DevicePath(), record);
}

TagReadAhead::TagReadAhead()
{
    if (std::thread::hardware_concurrency() < 2) return;
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // The walk reads every file itself.
    }
}

TagReadAhead::~TagReadAhead()
{
    if (!thread_.joinable()) return;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    offerMade_.notify_one();
    thread_.join();
}

void TagReadAhead::Offer(ListingReads& reads)
{
    if (!thread_.joinable()) return;
    {
        const std::lock_guard lock(mutex_);
        offered_ = &reads;
        ++offers_;
    }
    offerMade_.notify_one();
}

void TagReadAhead::Withdraw(const ListingReads& reads)
{
    if (!thread_.joinable()) return;
    std::unique_lock lock(mutex_);
    if (offered_ == &reads) offered_ = nullptr;
    withdrawing_ = true;
    letGo_.wait(lock, [&] { return reading_ != &reads; });
    withdrawing_ = false;
}

void TagReadAhead::Run()
{
    std::unique_lock lock(mutex_);
    while (ListingReads* const reads = AwaitOffer(lock)) {
        const uint64_t offer = offers_.load();
        reading_ = reads;
        lock.unlock();
        const bool readOne = !CancelRequested() && reads->ReadOneAhead();
        lock.lock();
        reading_ = nullptr;
        if (withdrawing_) letGo_.notify_one();
        // Nothing within reach: the thread waits until the walk offers a listing again.
        if (!readOne && offers_.load() == offer) offered_ = nullptr;
    }
}

// The listing offered, or null when the thread is to stop. The walk comes to its next listing in
// moments, so the thread gives way for a while before it sleeps.
ListingReads* TagReadAhead::AwaitOffer(std::unique_lock<std::mutex>& lock)
{
    if (!offered_ && !stopping_) {
        const uint64_t seen = offers_.load();
        lock.unlock();
        for (int yields = 0; yields < kYieldsBeforeSleep && offers_.load() == seen; ++yields) {
            std::this_thread::yield();
        }
        lock.lock();
    }
    offerMade_.wait(lock, [this] { return stopping_ || offered_; });
    return stopping_ ? nullptr : offered_;
}

}  // namespace engine
