#include "trayhost/syncui/syncuiwidgets.h"

#include "trayhost/resources/ids.h"
#include "trayhost/syncui/syncuitexts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

namespace trayhost {

QPushButton* MakeButton(int32_t id, const QString& text)
{
    auto* button = new QPushButton(text);
    button->setObjectName(QString::number(id));
    return button;
}

QLabel* MakeSunkenText(int32_t id)
{
    auto* label = new QLabel;
    label->setObjectName(QString::number(id));
    label->setTextFormat(Qt::PlainText);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QDialogButtonBox* MakeDialogButtons(QDialog* dialog, const QString& acceptText)
{
    // In the dialog from the start, so that the dialog knows its default button.
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* accept = MakeButton(kControlOk, acceptText);
    buttons->addButton(accept, QDialogButtonBox::AcceptRole);
    buttons->addButton(MakeButton(kControlCancel, QString::fromUtf8(kSyncCancelButton)), QDialogButtonBox::RejectRole);
    accept->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace trayhost
