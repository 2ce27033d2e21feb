#include "trayhost/sync/syncconflictdialog.h"

#include "platform/codepage.h"
#include "trayhost/resources/ids.h"
#include "trayhost/sync/pcpathtext.h"
#include "trayhost/sync/syncruntexts.h"
#include "trayhost/ui/windowcentring.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace trayhost {

namespace {

constexpr int kIconPixels = 32;
// Wide enough for a long path.
constexpr int kPathWidth = 440;

QLabel* MakeText(const QString& text, int32_t id = 0)
{
    auto* label = new QLabel(text);
    if (id != 0) label->setObjectName(QString::number(id));
    label->setTextFormat(Qt::PlainText);
    return label;
}

// shownPath: as the person knows the path (UTF-8).
QLabel* MakePath(const std::string& shownPath, int32_t id)
{
    QLabel* label = MakeText(QString::fromStdString(shownPath), id);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(kPathWidth);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton* MakeButton(const char* text, int32_t id)
{
    auto* button = new QPushButton(QString::fromUtf8(text));
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

SyncConflictDialog::SyncConflictDialog(const SyncConflictQuestion& question, QWidget* owner)
    : QDialog(owner), list_(new QListWidget), applyToAll_(new QCheckBox(QString::fromUtf8(kConflictApplyToAll))),
      previous_(question.choice)
{
    setObjectName(QString::number(kDialogSyncConflict));
    setWindowTitle(QString::fromUtf8(kConflictTitle));

    auto* icon = new QLabel;
    icon->setObjectName(QString::number(kControlSyncConflictIcon));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(kIconPixels, kIconPixels));
    icon->setAlignment(Qt::AlignTop);

    list_->setObjectName(QString::number(kControlSyncConflictList));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const SyncConflictEntry& entry : kConflictEntries) {
        auto* item = new QListWidgetItem(QString::fromUtf8(entry.text));
        item->setData(Qt::UserRole, static_cast<int>(entry.choice));
        list_->addItem(item);
        if (entry.choice == question.choice) list_->setCurrentItem(item);
    }
    applyToAll_->setObjectName(QString::number(kControlSyncConflictApplyToAll));

    QPushButton* ok = MakeButton("OK", kControlOk);
    ok->setDefault(true);
    QPushButton* cancel = MakeButton("Cancel", kControlCancel);
    QPushButton* abort = MakeButton(kConflictAbortButton, kControlSyncConflictAbort);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(abort, &QPushButton::clicked, this, [this] { done(kIdAbort); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(applyToAll_);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(abort);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 6, 1);
    layout->addWidget(MakeText(QString::fromUtf8(kConflictText), kControlSyncConflictText), 0, 1);
    layout->addWidget(MakeText(QString::fromUtf8(kConflictPcCaption)), 1, 1);
    layout->addWidget(MakePath(PcPathForDisplay(question.pcFile), kControlSyncConflictPcFile), 2, 1);
    layout->addWidget(MakeText(QString::fromUtf8(kConflictDeviceCaption)), 3, 1);
    layout->addWidget(MakePath(platform::CodePage::System().ToUtf8(question.deviceFile), kControlSyncConflictDeviceFile),
                      4, 1);
    layout->addWidget(MakeText(QString::fromUtf8(kConflictChoiceCaption)), 5, 1);
    layout->addWidget(list_, 6, 1);
    layout->addLayout(buttons, 7, 0, 1, 2);
}

SyncConflictAnswer SyncConflictDialog::Ask()
{
    adjustSize();
    CenterWindow(this);
    raise();
    activateWindow();
    const int result = exec();
    if (result == kIdAbort) return {kIdAbort};
    if (result != QDialog::Accepted) return {kIdCancel};
    const QListWidgetItem* selected = list_->currentItem();
    const SyncConflictChoice choice =
        selected ? static_cast<SyncConflictChoice>(selected->data(Qt::UserRole).toInt()) : previous_;
    return {kIdOk, choice, applyToAll_->isChecked()};
}

}  // namespace trayhost
