#include "testsupport/flushrecorder.h"

#include "platform/filesystemflush.h"

namespace testsupport {

FlushRecorder::FlushRecorder()
{
    platform::SetFileSystemFlusher([this](const std::string& folder) {
        folders.push_back(folder);
        if (onFlush) onFlush(folder);
        return answer;
    });
}

FlushRecorder::~FlushRecorder()
{
    platform::SetFileSystemFlusher({});
}

}  // namespace testsupport
