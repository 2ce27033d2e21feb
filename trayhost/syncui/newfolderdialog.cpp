#include "trayhost/syncui/newfolderdialog.h"

#include "platform/paths.h"
#include "trayhost/syncui/syncuiids.h"
#include "trayhost/syncui/syncuitexts.h"
#include "trayhost/syncui/syncuiwidgets.h"
#include "trayhost/ui/userinterface.h"
#include "trayhost/ui/windowcentring.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace trayhost {

namespace {

// Room for a name of about this many characters.
constexpr int kNameColumns = 36;

}  // namespace

NewFolderDialog::NewFolderDialog(QWidget* owner, const QString& proposal) : QDialog(owner), field_(new QLineEdit)
{
    setWindowTitle(QString::fromUtf8(kNewFolderTitle));
    field_->setObjectName(QString::number(kControlNewFolderName));
    field_->setMaxLength(static_cast<int>(platform::kMaxPath));
    field_->setText(proposal);
    field_->selectAll();
    field_->setMinimumWidth(fontMetrics().averageCharWidth() * kNameColumns);

    auto* label = new QLabel(QString::fromUtf8(kNewFolderLabel));
    label->setBuddy(field_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(field_);
    layout->addWidget(MakeDialogButtons(this, QStringLiteral("OK")));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    field_->setFocus();
    adjustSize();
    CenterWindow(this);
}

void NewFolderDialog::accept()
{
    name_ = field_->text();
    done(kIdOk);
}

void NewFolderDialog::reject()
{
    name_.clear();
    done(kIdCancel);
}

}  // namespace trayhost
