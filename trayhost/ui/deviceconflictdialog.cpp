#include "trayhost/ui/deviceconflictdialog.h"

#include "platform/codepage.h"
#include "platform/sound.h"
#include "trayhost/detection/devicemodelnames.h"
#include "trayhost/resources/ids.h"
#include "trayhost/resources/strings.h"
#include "trayhost/ui/windowcentring.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace trayhost {

namespace {

constexpr int kIconPixels = 32;

}  // namespace

DeviceConflictDialog::DeviceConflictDialog(const DeviceConflictQuestion& question, QWidget* owner)
    : QDialog(owner), list_(new QListWidget), chosenModel_(kDeviceConflictChoices.front().model)
{
    setObjectName(QString::number(kDialogDeviceConflict));
    setWindowTitle(QString::fromUtf8(kDeviceConflictTitle));

    auto* icon = new QLabel;
    icon->setObjectName(QString::number(kControlConflictIcon));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(kIconPixels, kIconPixels));
    icon->setAlignment(Qt::AlignTop);

    auto* text = new QLabel(QString::fromStdString(platform::CodePage::System().ToUtf8(question.text)));
    text->setObjectName(QString::number(kControlConflictText));
    text->setWordWrap(true);

    list_->setObjectName(QString::number(kControlConflictList));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const DeviceModelChoice& choice : kDeviceConflictChoices) {
        auto* item = new QListWidgetItem(QString::fromUtf8(choice.name.data(), qsizetype(choice.name.size())));
        item->setData(Qt::UserRole, choice.model);
        list_->addItem(item);
    }
    list_->setCurrentRow(0);
    connect(list_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* current) {
        if (current) chosenModel_ = static_cast<uint8_t>(current->data(Qt::UserRole).toUInt());
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QString::number(kControlOk));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QString::number(kControlCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* column = new QVBoxLayout;
    column->addWidget(text);
    column->addWidget(list_);
    column->addWidget(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon);
    layout->addLayout(column);
}

DeviceConflictAnswer DeviceConflictDialog::Ask()
{
    if (!parentWidget()) {
        adjustSize();
        CenterWindow(this);
    }
    platform::MessageBeep(platform::kBeepExclamation);
    const int result = exec();
    return {result == QDialog::Accepted ? kIdOk : kIdCancel, chosenModel_};
}

}  // namespace trayhost
