#include "platform/messages.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace platform {

namespace {

// One registered window: its target and the threads whose calls into it are under way.
struct WindowSlot {
    MessageTarget* target = nullptr;
    std::vector<std::thread::id> callers;
};

class WindowTable {
public:
    static WindowTable& Instance()
    {
        static WindowTable table;
        return table;
    }

    WindowHandle Register(MessageTarget* target)
    {
        std::lock_guard lock(mutex_);
        // Handles are never reused, so a stale handle cannot reach a later window.
        const WindowHandle window = reinterpret_cast<WindowHandle>(nextHandle_);
        nextHandle_ += kHandleStep;
        auto slot = std::make_shared<WindowSlot>();
        slot->target = target;
        slots_.emplace(window, std::move(slot));
        return window;
    }

    void Unregister(WindowHandle window)
    {
        std::unique_lock lock(mutex_);
        const auto found = slots_.find(window);
        if (found == slots_.end()) return;
        const std::shared_ptr<WindowSlot> slot = found->second;
        slots_.erase(found);
        // A target may unregister itself while handling a message on this thread; only calls on
        // other threads are waited for.
        const std::thread::id self = std::this_thread::get_id();
        callsDone_.wait(lock, [&] {
            return std::all_of(slot->callers.begin(), slot->callers.end(), [&](auto id) { return id == self; });
        });
    }

    bool Contains(WindowHandle window) const
    {
        std::lock_guard lock(mutex_);
        return slots_.contains(window);
    }

    // Runs call(target) unless the window is unknown; false when it is.
    template <typename Call>
    bool Deliver(WindowHandle window, Call call)
    {
        std::shared_ptr<WindowSlot> slot;
        {
            std::lock_guard lock(mutex_);
            const auto found = slots_.find(window);
            if (found == slots_.end()) return false;
            slot = found->second;
            slot->callers.push_back(std::this_thread::get_id());
        }
        struct CallEnd {
            WindowTable& table;
            WindowSlot& slot;
            ~CallEnd() { table.EndCall(slot); }
        } end{*this, *slot};
        call(*slot->target);
        return true;
    }

private:
    static constexpr uintptr_t kFirstHandle = 0x10000;
    static constexpr uintptr_t kHandleStep = 4;

    void EndCall(WindowSlot& slot)
    {
        {
            std::lock_guard lock(mutex_);
            const auto at = std::find(slot.callers.begin(), slot.callers.end(), std::this_thread::get_id());
            slot.callers.erase(at);
        }
        callsDone_.notify_all();
    }

    mutable std::mutex mutex_;
    std::condition_variable callsDone_;
    std::unordered_map<WindowHandle, std::shared_ptr<WindowSlot>> slots_;
    uintptr_t nextHandle_ = kFirstHandle;
};

}  // namespace

WindowHandle RegisterWindow(MessageTarget* target)
{
    if (!target) return nullptr;
    return WindowTable::Instance().Register(target);
}

void UnregisterWindow(WindowHandle window)
{
    WindowTable::Instance().Unregister(window);
}

bool IsWindow(WindowHandle window)
{
    return WindowTable::Instance().Contains(window);
}

bool PostMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    const WindowMessage posted{message, wParam, lParam};
    return WindowTable::Instance().Deliver(window, [&](MessageTarget& target) { target.Post(posted); });
}

intptr_t SendMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    const WindowMessage sent{message, wParam, lParam};
    intptr_t result = 0;
    WindowTable::Instance().Deliver(window, [&](MessageTarget& target) { result = target.Send(sent); });
    return result;
}

}  // namespace platform
