#include "trayhost/syncui/syncpatheditor.h"

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/sound.h"
#include "trayhost/resources/ids.h"
#include "trayhost/sync/pcpathtext.h"
#include "trayhost/sync/syncpaths.h"
#include "trayhost/syncui/devicefolderbrowser.h"
#include "trayhost/syncui/droppedfiles.h"
#include "trayhost/syncui/pcpathchooser.h"
#include "trayhost/syncui/syncuiids.h"
#include "trayhost/syncui/syncuitexts.h"
#include "trayhost/syncui/syncuiwidgets.h"
#include "trayhost/syncui/systemtext.h"
#include "trayhost/ui/windowcentring.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace trayhost {

namespace {

// Room for a path of about this many characters in each field.
constexpr int kPathColumns = 60;

QString ShownPcPath(const std::string& insidePath)
{
    return QString::fromStdString(PcPathForDisplay(insidePath));
}

std::string TrimmedText(const QLineEdit* field)
{
    std::string text = field->text().toStdString();
    TrimSpaces(text);
    return text;
}

// A "..." button no wider than its text needs.
QPushButton* MakeBrowseButton(int32_t id)
{
    QPushButton* button = MakeButton(id, QString::fromUtf8(kBrowseButton));
    button->setMaximumWidth(button->fontMetrics().horizontalAdvance(QString::fromUtf8(kBrowseButton)) * 4);
    return button;
}

QLabel* MakeLabel(const char* text, QWidget* buddy)
{
    auto* label = new QLabel(QString::fromUtf8(text));
    label->setBuddy(buddy);
    return label;
}

}  // namespace

SyncPathEditor::SyncPathEditor(QWidget* owner, PathEditorExchange& exchange, UserInterface& userInterface)
    : QDialog(owner), exchange_(exchange), userInterface_(userInterface),
      pcField_(new PathDropField([](const std::string& linuxPath) { return QString::fromStdString(linuxPath); })),
      deviceField_(new PathDropField([](const std::string& linuxPath) {
          return FromSystemText(platform::ToWindowsPath(linuxPath));
      })),
      target_(this, [](const platform::WindowMessage&) { return intptr_t{0}; })
{
    setWindowTitle(QString::fromUtf8(kPathEditorTitle));

    QLabel* device = MakeSunkenText(kControlEditorDevice);
    device->setText(FromSystemText(exchange_.deviceLabel));
    QLabel* item = MakeSunkenText(kControlEditorItem);
    if (exchange_.itemNumber != -1) item->setText(QString::number(exchange_.itemNumber));
    auto* hint = new QLabel(QString::fromUtf8(kPathEditorHint));
    hint->setObjectName(QString::number(kControlEditorHint));
    hint->setAlignment(Qt::AlignCenter);
    hint->setWordWrap(true);

    pcField_->setObjectName(QString::number(kControlEditorPcPath));
    pcField_->setMaxLength(static_cast<int>(platform::kMaxPath));
    pcField_->setMinimumWidth(fontMetrics().averageCharWidth() * kPathColumns);
    pcField_->setText(ShownPcPath(exchange_.pcPath));
    deviceField_->setObjectName(QString::number(kControlEditorDevicePath));
    deviceField_->setMaxLength(static_cast<int>(platform::kMaxPath));
    std::string devicePath = exchange_.devicePath;
    if (exchange_.deviceLetter != 0) SetDeviceDriveLetter(exchange_.deviceLetter, devicePath);
    deviceField_->setText(FromSystemText(devicePath));
    QPushButton* browsePc = MakeBrowseButton(kControlEditorBrowsePc);
    QPushButton* browseDevice = MakeBrowseButton(kControlEditorBrowseDevice);
    browsePc->setAccessibleName(QString::fromUtf8(kPcBrowserTitle));
    browseDevice->setAccessibleName(QString::fromUtf8(kDeviceBrowserCaption));
    const bool hasDevice = exchange_.deviceLetter != 0;
    deviceField_->setEnabled(hasDevice);
    browseDevice->setEnabled(hasDevice);
    QLabel* deviceLabel = MakeLabel(kPathEditorDeviceLabelPath, deviceField_);
    deviceLabel->setObjectName(QString::number(kControlEditorDevicePathLabel));

    auto* itemGrid = new QGridLayout;
    itemGrid->addWidget(MakeLabel(kPathEditorDeviceLabel, device), 0, 0);
    itemGrid->addWidget(MakeLabel(kPathEditorItemLabel, item), 0, 1);
    itemGrid->addWidget(device, 1, 0);
    itemGrid->addWidget(item, 1, 1);
    itemGrid->setColumnStretch(0, 3);
    itemGrid->setColumnStretch(1, 1);
    auto* pathGrid = new QGridLayout;
    pathGrid->addWidget(MakeLabel(kPathEditorPcLabel, pcField_), 0, 0, 1, 2);
    pathGrid->addWidget(pcField_, 1, 0);
    pathGrid->addWidget(browsePc, 1, 1);
    pathGrid->addWidget(deviceLabel, 2, 0, 1, 2);
    pathGrid->addWidget(deviceField_, 3, 0);
    pathGrid->addWidget(browseDevice, 3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(itemGrid);
    layout->addSpacing(fontMetrics().lineSpacing() / 2);
    layout->addWidget(hint);
    layout->addSpacing(fontMetrics().lineSpacing() / 2);
    layout->addLayout(pathGrid);
    layout->addWidget(MakeDialogButtons(this, QStringLiteral("OK")));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(pcField_, browsePc);
    setTabOrder(browsePc, deviceField_);
    setTabOrder(deviceField_, browseDevice);

    connect(browsePc, &QPushButton::clicked, this, [this] { BrowsePc(); });
    connect(browseDevice, &QPushButton::clicked, this, [this] { BrowseDevice(); });

    adjustSize();
    CenterWindow(this);
    FocusField(PathField::PcPath);
}

void SyncPathEditor::accept()
{
    const std::string shownPc = TrimmedText(pcField_);
    std::string devicePath = platform::CodePage::System().FromUtf8(TrimmedText(deviceField_));
    std::string pcPath = PcPathFromDisplay(shownPc);
    pcField_->setText(QString::fromStdString(shownPc));
    deviceField_->setText(FromSystemText(devicePath));
    const PathValidation validation = AcceptPathEditorEntry(userInterface_, target_.handle(), exchange_.deviceLetter,
                                                            exchange_.option, pcPath, devicePath);
    if (!validation.accepted) {
        FocusField(validation.focus);
        repaint();
        return;
    }
    exchange_.pcPath = pcPath;
    exchange_.devicePath = devicePath;
    done(kIdOk);
}

void SyncPathEditor::reject()
{
    exchange_.pcPath.clear();
    exchange_.devicePath.clear();
    done(kIdCancel);
}

void SyncPathEditor::BrowsePc()
{
    const std::string typed = PcPathFromDisplay(TrimmedText(pcField_));
    const QString start = platform::FileExists(typed) ? ShownPcPath(typed) : QString();
    if (const std::optional<QString> chosen = BrowseForPcPath(this, start)) pcField_->setText(*chosen);
}

void SyncPathEditor::BrowseDevice()
{
    if (exchange_.deviceLetter == 0) {
        userInterface_.MessageBeep(platform::kBeepExclamation);
        return;
    }
    std::string start = ToSystemText(deviceField_->text());
    if (!platform::FileExists(start)) start = std::string(1, exchange_.deviceLetter) + ":\\";
    DeviceFolderBrowser browser(this, start, userInterface_);
    if (browser.exec() == kIdOk) deviceField_->setText(FromSystemText(browser.chosenPath()));
}

void SyncPathEditor::FocusField(PathField field)
{
    if (field == PathField::None) return;
    PathDropField* target = field == PathField::PcPath ? pcField_ : deviceField_;
    target->selectAll();
    target->setFocus();
}

}  // namespace trayhost
