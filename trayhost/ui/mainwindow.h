#pragma once

#include "platform/windowdirectory.h"
#include "trayhost/resources/ids.h"
#include "trayhost/ui/qtmessagetarget.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace trayhost {

// The hidden main window, titled "KOVAHDTrayApp" with class "KOVAHDTRAYAPP": never shown, it
// receives the commands, the tray icon's clicks and WM_CLOSE, through its platform window handle
// in this process and through the top-level window directory from other processes.
class MainWindow : public QWidget {
public:
    struct Handlers {
        std::function<bool(uintptr_t wParam)> command;  // WM_COMMAND; true when handled
        std::function<void(MouseMessage mouse)> trayClick;
        std::function<void()> destroyed;                // WM_DESTROY: remove the icon, end the loop
    };

    explicit MainWindow(Handlers handlers);
    ~MainWindow() override;

    // Lists the window in the top-level window directory; false (last error set) when that fails.
    bool Publish();

    platform::WindowHandle handle() const { return target_.handle(); }

    // The window procedure. Returns 0 for every message it acts on.
    intptr_t HandleMessage(const platform::WindowMessage& message);

    // Destroys the window once: runs the destroyed handler; later calls do nothing.
    void Destroy();
    bool isDestroyed() const { return destroyed_; }

private:
    void ReceiveFromOtherProcess(const platform::WindowMessage& message, platform::PublishedWindow::Reply reply);

    Handlers handlers_;
    bool destroyed_ = false;
    QtMessageTarget target_;
    std::unique_ptr<platform::PublishedWindow> publication_;
};

}  // namespace trayhost
