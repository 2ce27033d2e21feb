#include "trayhost/ui/mainwindow.h"

#include "trayhost/resources/strings.h"

namespace trayhost {

MainWindow::MainWindow(Handlers handlers)
    : handlers_(std::move(handlers)),
      target_(this, [this](const platform::WindowMessage& message) { return HandleMessage(message); })
{
    setObjectName(QString::fromUtf8(kClassName));
    setWindowTitle(QString::fromUtf8(kWindowName));
}

MainWindow::~MainWindow()
{
    // First of all: the listener thread queues calls on this object until the publication ends.
    publication_.reset();
}

bool MainWindow::Publish()
{
    publication_ = platform::PublishedWindow::Publish(
        kWindowName, kClassName,
        [this](const platform::WindowMessage& message, platform::PublishedWindow::Reply reply) {
            ReceiveFromOtherProcess(message, std::move(reply));
        });
    return publication_ != nullptr;
}

// Runs on the directory's listener thread: the message is handled on the GUI thread, and the other
// process is answered once it has been.
void MainWindow::ReceiveFromOtherProcess(const platform::WindowMessage& message,
                                         platform::PublishedWindow::Reply reply)
{
    QMetaObject::invokeMethod(
        this, [this, message, reply = std::move(reply)] { reply(HandleMessage(message)); }, Qt::QueuedConnection);
}

intptr_t MainWindow::HandleMessage(const platform::WindowMessage& message)
{
    if (destroyed_) return 0;
    switch (message.message) {
    case platform::kWmCommand:
        handlers_.command(message.wParam);
        break;
    case platform::kWmClose:
        Destroy();
        break;
    case kTrayIconMessage:
        // The icon id picks the menu; only the program's own icon has one.
        if ((message.wParam & 0xFFFF) == kTrayIconId) {
            handlers_.trayClick(static_cast<MouseMessage>(message.lParam));
        }
        break;
    default:
        break;
    }
    return 0;
}

void MainWindow::Destroy()
{
    if (destroyed_) return;
    destroyed_ = true;
    handlers_.destroyed();
}

}  // namespace trayhost
