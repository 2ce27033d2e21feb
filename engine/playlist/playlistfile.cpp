#include "engine/playlist/playlistfile.h"

#include "platform/errors.h"
#include "platform/paths.h"

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
    pending_.clear();
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
    pending_.append(bytes);
    if (pending_.size() >= kWriteBlockSize) WritePending();
}

void PlaylistFile::WritePending()
{
    try {
        file_->Write(pending_.data(), pending_.size());
    } catch (const platform::FileError& error) {
        failure_ = error.code();
        throw;
    }
    pending_.clear();
}

void PlaylistFile::Finish()
{
    WritePending();
    try {
        file_->Sync();
        file_->Close();
    } catch (const platform::FileError& error) {
        failure_ = error.code();
        throw;
    }
    file_.reset();
    complete_ = true;
}

bool PlaylistFile::PutInPlace()
{
    if (!complete_) return false;
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
    complete_ = false;
    pending_.clear();
    platform::DeleteFile(TemporaryPath());
}

}  // namespace engine
