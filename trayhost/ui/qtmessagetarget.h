#pragma once

#include "platform/messages.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

class QThread;
class QTimer;
class QWidget;

namespace trayhost {

// Gives a widget a platform window handle (platform/messages.h) whose messages are handled by the
// widget's window procedure on the GUI thread: posted ones through the Qt event loop, sent ones
// directly on the GUI thread and otherwise through the loop while the sender waits.
//
// Progress messages. A worker may report progress far faster than anyone can read it: a scan posts
// a count for every folder entry. Posted messages that the progress filter accepts are therefore
// not queued one by one. At most one waits at any time, a newer one taking the place of the one
// waiting, and one is handed to the procedure at most every kProgressInterval. The event loop so
// stays free for the person's clicks, and the window is repainted no more often than the eye can
// follow. Only messages of which the newest says all that older ones did may be progress messages
// (a report pointing to counters the worker keeps, a fraction done). Any other message, posted or
// sent from another thread, first hands over a waiting progress message, so the procedure sees
// messages in the order they were posted. Sent messages are never held back.
class QtMessageTarget : public platform::MessageTarget {
public:
    using Procedure = std::function<intptr_t(const platform::WindowMessage& message)>;
    using ProgressFilter = std::function<bool(const platform::WindowMessage& message)>;

    // About 25 progress updates a second.
    static constexpr std::chrono::milliseconds kProgressInterval{40};

    // Registers the handle; construct and destroy on the GUI thread. Without a progress filter
    // every posted message is queued.
    QtMessageTarget(QWidget* widget, Procedure procedure, ProgressFilter isProgress = {});
    QtMessageTarget(const QtMessageTarget&) = delete;
    QtMessageTarget& operator=(const QtMessageTarget&) = delete;
    // Unregisters the handle. Messages not yet handled are dropped; a sender still waiting gets 0.
    ~QtMessageTarget() override;

    platform::WindowHandle handle() const { return handle_; }

    // The widget behind a handle of this kind; null for an unknown handle. GUI thread only.
    static QWidget* WidgetOf(platform::WindowHandle handle);

    void Post(const platform::WindowMessage& message) override;
    intptr_t Send(const platform::WindowMessage& message) override;

private:
    struct Gate;

    // Under the gate's lock, on any thread.
    void WaitAsProgress(const platform::WindowMessage& message);
    void QueueWaitingProgress();
    template <typename Call>
    void Queue(Call call);
    // On the GUI thread.
    void HandOverProgressWhenDue();
    void HandOverWaitingProgress();
    void HandOverProgress(const platform::WindowMessage& message);

    QWidget* widget_;
    Procedure procedure_;
    ProgressFilter isProgress_;
    std::shared_ptr<Gate> gate_;
    // Receives the queued calls and owns the progress timer; deleting it drops those not yet run.
    std::unique_ptr<QObject> context_;
    QTimer* progressTimer_;
    std::chrono::steady_clock::time_point lastProgress_;
    QThread* guiThread_;
    platform::WindowHandle handle_ = nullptr;
};

}  // namespace trayhost
