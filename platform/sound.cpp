#include "platform/sound.h"

#include <mutex>

namespace platform {

namespace {

std::mutex playerMutex;
std::function<void(uint32_t)> installedPlayer;

}  // namespace

void MessageBeep(uint32_t type)
{
    std::function<void(uint32_t)> player;
    {
        std::lock_guard lock(playerMutex);
        player = installedPlayer;
    }
    // Played outside the lock so that a player may install another one or beep again.
    if (player) player(type);
}

void SetBeepPlayer(std::function<void(uint32_t type)> player)
{
    std::lock_guard lock(playerMutex);
    installedPlayer = std::move(player);
}

}  // namespace platform
