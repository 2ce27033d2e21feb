#include "engine/playlist/playlistfile.h"

#include "platform/errors.h"
#include "platform/paths.h"

#include <algorithm>

namespace engine {

namespace {

constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kWriteBlockSize = 64 * 1024;

}  // namespace

PlaylistFile::~PlaylistFile()
{
    Discard();
}

bool PlaylistFile::Create(const std::string& folder, std::string_view fileName)
{
    Discard();
    folder_ = folder;
    fileName_ = fileName;
    failure_ = platform::kErrorSuccess;
    ResetSums();
    pending_.assign(kWriteBlockSize, '\0');
    pendingBytes_ = 0;
    file_ = platform::File::TryOpen(TemporaryPath(), platform::File::Mode::CreateTruncate, &failure_);
    return file_.has_value();
}

std::string PlaylistFile::FinalPath() const
{
    return platform::JoinPath(folder_, fileName_);
}

std::string PlaylistFile::TemporaryPath() const
{
    return FinalPath() + std::string(kTemporarySuffix);
}

void PlaylistFile::Append(std::string_view bytes)
{
    char* const room = Room(bytes.size());
    std::copy(bytes.begin(), bytes.end(), room);
    pendingBytes_ += bytes.size();
}

char* PlaylistFile::Room(std::size_t maxBytes)
{
    if (pending_.size() - pendingBytes_ < maxBytes) {
        WritePending();
        if (pending_.size() < maxBytes) pending_.resize(maxBytes);
    }
    return pending_.data() + pendingBytes_;
}

void PlaylistFile::WritePending()
{
    try {
        file_->Write(pending_.data(), pendingBytes_);
    } catch (const platform::FileError& error) {
        failure_ = error.code();
        throw;
    }
    pendingBytes_ = 0;
}

void PlaylistFile::Finish()
{
    WritePending();
    pending_ = {};
    // Without a thread to spare, the flush is made when it is awaited.
    flush_ = std::async(std::launch::async | std::launch::deferred,
                        [file = std::move(*file_)]() mutable -> uint32_t {
                            try {
                                file.Sync();
                                file.Close();
                            } catch (const platform::FileError& error) {
                                return error.code();
                            }
                            return platform::kErrorSuccess;
                        });
    file_.reset();
    complete_ = true;
}

bool PlaylistFile::AwaitDevice()
{
    if (!complete_) return false;
    if (flush_.valid()) failure_ = flush_.get();
    if (failure_ == platform::kErrorSuccess) return true;
    Discard();
    return false;
}

bool PlaylistFile::PutInPlace()
{
    if (!AwaitDevice()) return false;
    complete_ = false;
    if (platform::MoveFileReplacing(TemporaryPath(), FinalPath())) return true;
    failure_ = platform::GetLastError();
    platform::DeleteFile(TemporaryPath());
    return false;
}

void PlaylistFile::Discard()
{
    if (!file_ && !complete_) return;
    file_.reset();
    flush_ = {};  // waits for a flush under way
    complete_ = false;
    pending_ = {};
    pendingBytes_ = 0;
    platform::DeleteFile(TemporaryPath());
}

}  // namespace engine
