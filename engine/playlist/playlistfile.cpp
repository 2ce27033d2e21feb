#include "engine/playlist/playlistfile.h"

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
    ResetSums();
    pending_.clear();
    file_ = platform::File::TryOpen(TemporaryPath(), platform::File::Mode::CreateTruncate);
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
    if (pending_.size() < kWriteBlockSize) return;
    file_->Write(pending_.data(), pending_.size());
    pending_.clear();
}

bool PlaylistFile::Commit()
{
    file_->Write(pending_.data(), pending_.size());
    pending_.clear();
    file_->Sync();
    file_->Close();
    file_.reset();
    if (platform::MoveFileReplacing(TemporaryPath(), FinalPath())) return true;
    platform::DeleteFile(TemporaryPath());
    return false;
}

void PlaylistFile::Discard()
{
    if (!file_) return;
    file_.reset();
    pending_.clear();
    platform::DeleteFile(TemporaryPath());
}

}  // namespace engine
