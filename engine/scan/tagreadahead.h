#pragma once

#include "engine/catalogue/trackrecord.h"
#include "engine/scan/foldertagreader.h"

#include "platform/files.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace engine {

// An audio file of a listing that the walk takes into the catalogue.
struct ListedAudioFile {
    const platform::FolderEntry* entry = nullptr;
    std::string path;                 // as the scan names it: the Windows path
    std::size_t devicePathStart = 0;  // where the part of the path below the device's root starts
    // False when the code page cannot hold its name or a folder's on the way: such a name may
    // read like another's, so the file is never cached.
    bool addressable = true;

    // The file's name in the tag cache; empty for a file that must not be cached.
    std::string_view DevicePath() const
    {
        return addressable ? std::string_view(path).substr(devicePathStart) : std::string_view();
    }
};

class TagReadAhead;

// The reading of the tags of one listing's audio files, shared between the walk, which takes the
// files in the listing's order, and the read-ahead thread, which reads files the walk has not yet
// come to. Each file is read once, by whichever begins it first; the cache keeps them in order. The
// listing is offered to the read-ahead thread for as long as this lives.
class ListingReads {
public:
    ListingReads(TagReadAhead& readAhead, FolderTagReader& reader, std::vector<ListedAudioFile> files);
    ~ListingReads();
    ListingReads(const ListingReads&) = delete;
    ListingReads& operator=(const ListingReads&) = delete;

    std::size_t Count() const { return files_.size(); }
    const ListedAudioFile& File(std::size_t index) const { return files_[index]; }

    // Fills the record with the file's path, name and tags, reading them here unless the read-ahead
    // thread has begun, and then waiting for it; gives the reader's result. Files are taken in order.
    int32_t Take(std::size_t index, TrackRecord& record);
    // Offers the listing again, after a sub-folder's walk offered its own.
    void Renew();

    // For the read-ahead thread: reads the last file not yet begun among the next few the walk will
    // take. False when there is none.
    bool ReadOneAhead();

private:
    enum class SlotState { Waiting, ReadingHere, ReadingAhead, ReadAhead, FailedAhead };

    struct Slot {
        std::atomic<SlotState> state{SlotState::Waiting};
        std::unique_ptr<TrackRecord> record;  // filled ahead
        FileTags tags;
    };

    bool TakeReadAhead(Slot& slot, TrackRecord& record, FileTags& tags);
    SlotState AwaitReadAhead(Slot& slot);
    void ReadFile(std::size_t index, TrackRecord& record, FileTags& tags) const;

    TagReadAhead& readAhead_;
    FolderTagReader& reader_;
    std::vector<ListedAudioFile> files_;
    std::unique_ptr<Slot[]> slots_;
    std::atomic<std::size_t> taken_{0};      // files the walk has taken
    std::atomic<bool> walkAsleep_{false};    // the walk sleeps until a file read ahead is done
};

// A thread that reads the tags of the files of the listing offered last, ahead of the walk, while
// the walk reads others of the same folder and fills the catalogue: with two cores, the opening and
// reading of files is shared between them, and a disk has the next file of the folder queued.
// Without a second core, or a thread, the walk reads every file itself.
class TagReadAhead {
public:
    TagReadAhead();
    ~TagReadAhead();
    TagReadAhead(const TagReadAhead&) = delete;
    TagReadAhead& operator=(const TagReadAhead&) = delete;

    // Offers the listing being walked, in place of the one offered before; offered again, it wakes
    // the thread for the files the walk has come nearer to.
    void Offer(ListingReads& reads);
    // Takes the listing back: when this returns, the thread has let go of it.
    void Withdraw(const ListingReads& reads);

private:
    void Run();
    ListingReads* AwaitOffer(std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable offerMade_;
    std::condition_variable letGo_;
    ListingReads* offered_ = nullptr;          // null when nothing offered is within reach
    std::atomic<uint64_t> offers_{0};          // changed under the lock, watched without it
    const ListingReads* reading_ = nullptr;    // the listing of the file the thread is reading
    bool withdrawing_ = false;                 // the walk waits for the thread to let go
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace engine
