#pragma once

#include <atomic>
#include <cstdint>

namespace engine {

// The process-wide cancel request: 1 stops a running profile at its next check, 0 carries on.
// Set from the caller's thread, polled by the run's thread.
std::atomic<int32_t>& CancelFlag();

inline bool CancelRequested()
{
    return CancelFlag().load() != 0;
}

}  // namespace engine
