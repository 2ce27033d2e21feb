#include "trayhost/ui/traymenu.h"

#include "trayhost/resources/ids.h"

namespace trayhost {

namespace {

// Styles draw the default item bold, but not when it opens a submenu, as Profile does with several
// devices: its own font keeps it bold either way.
void MakeDefault(QMenu& menu, QAction& action)
{
    menu.setDefaultAction(&action);
    QFont font = action.font();
    font.setBold(true);
    action.setFont(font);
}

}  // namespace

TrayMenu::TrayMenu(CommandHandler onCommand) : onCommand_(std::move(onCommand))
{
    menu_.setObjectName(QString::number(kTrayMenuId));
}

void TrayMenu::Rebuild(const std::vector<TrayMenuItem>& items)
{
    menu_.clear();
    submenus_.clear();
    AddItems(menu_, items);
}

void TrayMenu::AddItems(QMenu& target, const std::vector<TrayMenuItem>& items)
{
    for (const TrayMenuItem& item : items) {
        if (item.separator) {
            target.addSeparator();
            continue;
        }
        QAction* action = target.addAction(QString::fromStdString(item.text));
        action->setData(item.id);
        action->setObjectName(QString::number(item.id));
        if (item.isDefault) MakeDefault(target, *action);
        if (item.submenu.empty()) {
            const uint32_t id = item.id;
            QObject::connect(action, &QAction::triggered, action, [this, id] { onCommand_(id); });
            continue;
        }
        auto& submenu = submenus_.emplace_back(std::make_unique<QMenu>());
        AddItems(*submenu, item.submenu);
        action->setMenu(submenu.get());
    }
}

void TrayMenu::Popup(const QPoint& at)
{
    menu_.popup(at);
}

}  // namespace trayhost
