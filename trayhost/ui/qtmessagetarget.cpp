#include "trayhost/ui/qtmessagetarget.h"

#include <QThread>
#include <QTimer>
#include <QWidget>

#include <future>
#include <map>
#include <mutex>
#include <optional>

namespace trayhost {

namespace {

std::map<platform::WindowHandle, QWidget*>& WidgetsByHandle()
{
    static std::map<platform::WindowHandle, QWidget*> widgets;
    return widgets;
}

}  // namespace

// Closed once the target is going away: no new call is queued after that. Also guards the progress
// message waiting to be handed over.
struct QtMessageTarget::Gate {
    std::mutex mutex;
    bool closed = false;
    std::optional<platform::WindowMessage> waitingProgress;
    // A hand-over of the waiting progress message is queued or timed: a newer one needs none of its own.
    bool handOverScheduled = false;
};

QtMessageTarget::QtMessageTarget(QWidget* widget, Procedure procedure, ProgressFilter isProgress)
    : widget_(widget), procedure_(std::move(procedure)), isProgress_(std::move(isProgress)),
      gate_(std::make_shared<Gate>()), context_(std::make_unique<QObject>()),
      progressTimer_(new QTimer(context_.get())), guiThread_(QThread::currentThread())
{
    progressTimer_->setSingleShot(true);
    QObject::connect(progressTimer_, &QTimer::timeout, context_.get(), [this] { HandOverWaitingProgress(); });
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
    if (isProgress_ && isProgress_(message)) {
        WaitAsProgress(message);
        return;
    }
    QueueWaitingProgress();
    Queue([this, message] { procedure_(message); });
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
        QueueWaitingProgress();
        Queue([this, message, promise = std::move(promise)] { promise->set_value(procedure_(message)); });
    }
    try {
        return result.get();
    } catch (const std::future_error&) {
        return 0;  // dropped unhandled: the window went away first
    }
}

void QtMessageTarget::WaitAsProgress(const platform::WindowMessage& message)
{
    gate_->waitingProgress = message;
    if (gate_->handOverScheduled) return;
    gate_->handOverScheduled = true;
    Queue([this] { HandOverProgressWhenDue(); });
}

void QtMessageTarget::QueueWaitingProgress()
{
    if (!gate_->waitingProgress) return;
    const platform::WindowMessage progress = *gate_->waitingProgress;
    gate_->waitingProgress.reset();
    Queue([this, progress] { HandOverProgress(progress); });
}

template <typename Call>
void QtMessageTarget::Queue(Call call)
{
    QMetaObject::invokeMethod(context_.get(), std::move(call), Qt::QueuedConnection);
}

void QtMessageTarget::HandOverProgressWhenDue()
{
    const auto wait = lastProgress_ + kProgressInterval - std::chrono::steady_clock::now();
    if (wait <= std::chrono::steady_clock::duration::zero()) {
        HandOverWaitingProgress();
    } else {
        progressTimer_->start(std::chrono::ceil<std::chrono::milliseconds>(wait));
    }
}

void QtMessageTarget::HandOverWaitingProgress()
{
    std::optional<platform::WindowMessage> progress;
    {
        std::lock_guard lock(gate_->mutex);
        progress.swap(gate_->waitingProgress);
        gate_->handOverScheduled = false;
    }
    if (progress) HandOverProgress(*progress);
}

void QtMessageTarget::HandOverProgress(const platform::WindowMessage& message)
{
    lastProgress_ = std::chrono::steady_clock::now();
    procedure_(message);
}

}  // namespace trayhost
