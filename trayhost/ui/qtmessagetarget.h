#pragma once

#include "platform/messages.h"

#include <QObject>

#include <functional>
#include <memory>

class QThread;
class QWidget;

namespace trayhost {

// Gives a widget a platform window handle (platform/messages.h) whose messages are handled by the
// widget's window procedure on the GUI thread: posted ones through the Qt event loop, sent ones
// directly on the GUI thread and otherwise through the loop while the sender waits.
class QtMessageTarget : public platform::MessageTarget {
public:
    using Procedure = std::function<intptr_t(const platform::WindowMessage& message)>;

    // Registers the handle; construct and destroy on the GUI thread.
    QtMessageTarget(QWidget* widget, Procedure procedure);
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

    QWidget* widget_;
    Procedure procedure_;
    std::shared_ptr<Gate> gate_;
    // Receives the queued calls; deleting it drops those not yet run.
    std::unique_ptr<QObject> context_;
    QThread* guiThread_;
    platform::WindowHandle handle_ = nullptr;
};

}  // namespace trayhost
