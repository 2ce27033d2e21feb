#include "trayhost/ui/aboutdialog.h"

#include "trayhost/resources/ids.h"
#include "trayhost/resources/strings.h"
#include "trayhost/ui/appicon.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace trayhost {

namespace {

constexpr int kIconPixels = 48;

}  // namespace

AboutDialog::AboutDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QString::number(kDialogAbout));
    setWindowTitle(QString::fromUtf8(kAboutTitle));

    auto* icon = new QLabel;
    icon->setPixmap(AppIcon().pixmap(kIconPixels, kIconPixels));
    icon->setAlignment(Qt::AlignTop);

    auto* caption = new QLabel(QString::fromUtf8(kAboutCaption));
    auto* text = new QPlainTextEdit(QString::fromUtf8(AboutText(KOVAHDD_VERSION)));
    text->setObjectName(QString::number(kControlAboutText));
    text->setReadOnly(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QString::number(kControlOk));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* column = new QVBoxLayout;
    column->addWidget(caption);
    column->addWidget(text);
    column->addWidget(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon);
    layout->addLayout(column);
}

}  // namespace trayhost
