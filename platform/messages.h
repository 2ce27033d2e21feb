#pragma once

#include "platform/export.h"

#include <cstdint>

// Window handles and numbered messages between threads: a process-wide table of handles, each
// bound to a target that receives what is posted or sent to it. A handle no longer in the table
// swallows its messages.
namespace platform {

using WindowHandle = void*;

inline constexpr uint32_t kWmClose = 0x0010;
inline constexpr uint32_t kWmCommand = 0x0111;
inline constexpr uint32_t kWmUser = 0x0400;

struct WindowMessage {
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

class KOVAPLATFORM_API MessageTarget {
public:
    virtual ~MessageTarget() = default;
    // Called on the poster's thread; the target queues the message for its own thread.
    virtual void Post(const WindowMessage& message) = 0;
    // Called on the sender's thread; returns once the target has handled the message.
    virtual intptr_t Send(const WindowMessage& message) = 0;
};

// A new handle, never one given before; null for a null target.
KOVAPLATFORM_API WindowHandle RegisterWindow(MessageTarget* target);
// After it returns no call reaches the target any more: it waits for calls under way on other
// threads (a call on the unregistering thread itself, such as a target closing its own window while
// handling a message, is not waited for). A target whose Send waits for the thread that unregisters
// it must release such waiting senders before unregistering, or the two wait for each other.
KOVAPLATFORM_API void UnregisterWindow(WindowHandle window);
KOVAPLATFORM_API bool IsWindow(WindowHandle window);

// False when the handle is unknown (the message is dropped).
KOVAPLATFORM_API bool PostMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// 0 when the handle is unknown.
KOVAPLATFORM_API intptr_t SendMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

}  // namespace platform
