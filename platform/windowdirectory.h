#pragma once

#include "platform/export.h"
#include "platform/messages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// The top-level window directory: how a process finds the top-level windows of other processes by
// title and sends them a message, as EnumWindows and SendMessage do across processes on Windows.
//
// Every published window is a Unix-domain socket in the per-user directory $XDG_RUNTIME_DIR/kovahdd/
// (/tmp/kovahdd-<uid> when that variable is unset or not absolute), mode 0700. A listener thread per
// window answers queries for its title and class and hands messages to the window's owner. Both sides
// refuse a peer that runs as another user.
namespace platform {

struct TopLevelWindow {
    std::string title;      // system code page; may be empty
    std::string className;
    int32_t processId = 0;
    std::string address;    // the socket's Linux path
};

// The per-user directory (not created by this call).
KOVAPLATFORM_API std::string WindowDirectoryPath();

// Calls visit for each published window of this user whose process answers, the calling process's own
// included, until visit returns false. Entries left behind by processes that have ended are removed on
// the way. Returns false when visit stopped the walk or the directory is unsafe (another user's, or not
// a directory); true when every window was visited, also when none is published.
KOVAPLATFORM_API bool EnumTopLevelWindows(const std::function<bool(const TopLevelWindow& window)>& visit);

// Sends a message to a published window and waits until its owner has handled it; returns the
// owner's result. Empty optional (last error set) when the window is gone, belongs to another user or
// its process ended before answering. Must not be called on the thread that handles the target's
// messages: it would wait for itself.
KOVAPLATFORM_API std::optional<intptr_t> SendTopLevelMessage(const TopLevelWindow& window,
                                                             const WindowMessage& message);

// One published top-level window; the entry disappears with this object.
class KOVAPLATFORM_API PublishedWindow {
public:
    // Hands over the result of a message; call it once, from any thread.
    using Reply = std::function<void(intptr_t result)>;
    // Called on the listener thread for each message another process sends. The handler arranges for
    // the message to be handled on the window's own thread and calls reply once that is done; the
    // sender stays blocked until then, or until this window is unpublished.
    using Handler = std::function<void(const WindowMessage& message, Reply reply)>;

    // Empty pointer (last error set) when the directory or the socket cannot be made.
    static std::unique_ptr<PublishedWindow> Publish(const std::string& title, const std::string& className,
                                                    Handler handler);

    PublishedWindow(const PublishedWindow&) = delete;
    PublishedWindow& operator=(const PublishedWindow&) = delete;
    // Removes the entry and stops the listener; a sender still waiting for a reply gets none.
    ~PublishedWindow();

    const std::string& address() const;

private:
    struct State;
    explicit PublishedWindow(std::unique_ptr<State> state);

    std::unique_ptr<State> state_;
};

}  // namespace platform
