#include "trayhost/ui/qtmessagetarget.h"

#include <QThread>
#include <QWidget>

#include <future>
#include <map>
#include <mutex>

namespace trayhost {

namespace {

std::map<platform::WindowHandle, QWidget*>& WidgetsByHandle()
{
    static std::map<platform::WindowHandle, QWidget*> widgets;
    return widgets;
}

}  // namespace

// Closed once the target is going away: no new call is queued after that.
struct QtMessageTarget::Gate {
    std::mutex mutex;
    bool closed = false;
};

QtMessageTarget::QtMessageTarget(QWidget* widget, Procedure procedure)
    : widget_(widget), procedure_(std::move(procedure)), gate_(std::make_shared<Gate>()),
      context_(std::make_unique<QObject>()), guiThread_(QThread::currentThread())
{
    handle_ = platform::RegisterWindow(this);
    WidgetsByHandle()[handle_] = widget_;
}

QtMessageTarget::~QtMessageTarget()
{
    WidgetsByHandle().erase(handle_);
    {
        std::lock_guard lock(gate_->mutex);
        gate_->closed = true;
    }
    // Deleting the context deletes its queued calls, and with them the promises their senders
    // wait on, so that no sender still blocks the unregistration below.
    context_.reset();
    platform::UnregisterWindow(handle_);
}

QWidget* QtMessageTarget::WidgetOf(platform::WindowHandle handle)
{
    const auto found = WidgetsByHandle().find(handle);
    return found == WidgetsByHandle().end() ? nullptr : found->second;
}

void QtMessageTarget::Post(const platform::WindowMessage& message)
{
    std::lock_guard lock(gate_->mutex);
    if (gate_->closed) return;
    QMetaObject::invokeMethod(
        context_.get(), [this, message] { procedure_(message); }, Qt::QueuedConnection);
}

intptr_t QtMessageTarget::Send(const platform::WindowMessage& message)
{
    if (QThread::currentThread() == guiThread_) return procedure_(message);
    // Only the queued call holds the promise: when the call is dropped, the promise breaks.
    auto promise = std::make_shared<std::promise<intptr_t>>();
    std::future<intptr_t> result = promise->get_future();
    {
        std::lock_guard lock(gate_->mutex);
        if (gate_->closed) return 0;
        QMetaObject::invokeMethod(
            context_.get(), [this, message, promise = std::move(promise)] { promise->set_value(procedure_(message)); },
            Qt::QueuedConnection);
    }
    try {
        return result.get();
    } catch (const std::future_error&) {
        return 0;  // dropped unhandled: the window went away first
    }
}

}  // namespace trayhost
