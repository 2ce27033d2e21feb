#pragma once

#include "trayhost/traymenumodel.h"

#include <QMenu>

#include <functional>
#include <memory>
#include <vector>

namespace trayhost {

// The tray icon's popup menu, kept for the life of the program and refilled from the menu model at
// every opening; the per-device submenus are made anew each time. Every action carries its command
// id as data and as object name.
class TrayMenu {
public:
    using CommandHandler = std::function<void(uint32_t commandId)>;

    explicit TrayMenu(CommandHandler onCommand);

    void Rebuild(const std::vector<TrayMenuItem>& items);
    // Opens the menu at a point of the screen and returns at once.
    void Popup(const QPoint& at);

    QMenu& menu() { return menu_; }

private:
    void AddItems(QMenu& target, const std::vector<TrayMenuItem>& items);

    CommandHandler onCommand_;
    // Declared before the menu so that the menu and its actions go first.
    std::vector<std::unique_ptr<QMenu>> submenus_;
    QMenu menu_;
};

}  // namespace trayhost
