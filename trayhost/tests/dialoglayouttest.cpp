#include "testsupport/scripteduserinterface.h"
#include "testsupport/userfolders.h"
#include "trayhost/devicetable.h"
#include "trayhost/profile/profiledialog.h"
#include "trayhost/resources/ids.h"
#include "trayhost/sync/syncconflictdialog.h"
#include "trayhost/sync/syncprogressdialog.h"
#include "trayhost/syncui/devicefolderbrowser.h"
#include "trayhost/syncui/newfolderdialog.h"
#include "trayhost/syncui/pcpathchooser.h"
#include "trayhost/syncui/synchelpviewer.h"
#include "trayhost/syncui/syncoptionsdialog.h"
#include "trayhost/syncui/syncpatheditor.h"
#include "trayhost/tests/fakedetection.h"
#include "trayhost/tests/manualclock.h"
#include "trayhost/tests/scriptedengine.h"
#include "trayhost/ui/aboutdialog.h"
#include "trayhost/ui/deviceconflictdialog.h"
#include "trayhost/ui/filenotfounddialog.h"
#include "trayhost/verify/verificationdialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QTest>

#include <functional>
#include <map>
#include <memory>

namespace trayhost {

// What every window of the program owes a person at the keyboard, or at a small screen set to a
// large scale: offscreen, at twice the size.
class DialogLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void everyDialogGivesEachControlAKeyOfItsOwn();
    void progressWindowsKeepTheirSize();
    void optionsWindowFitsASmallScreenAtTwiceTheSize();

private:
    struct Window {
        const char* name;
        std::function<std::unique_ptr<QWidget>()> make;
        QString longestStatus{};  // of a progress window: a status of as many lines as it has room for
    };

    std::vector<Window> Windows();
    std::unique_ptr<SyncOptionsDialog> MakeOptions();

    testsupport::ScopedUserFolders folders_;
    testsupport::ScriptedUserInterface ui_;
    ScriptedEngine engine_;
    ManualClock clock_;
    DeviceTable devices_{&FakeDetection::Enumerate};
    VerificationFlags verificationFlags_;
    SyncProgressMailbox mailbox_;
    std::atomic<int32_t> syncCancel_{0};
    SyncSettings settings_;
    PathEditorExchange exchange_{"Vantor Kova MP3 Jukebox (E:)", "Z:\\home", "E:\\Music", 'E', SyncOption::SyncBoth, 1};
};

namespace {

constexpr DeviceTable::Entry kDevice{'E', kModelHd};

// The key of a text's mnemonic, lower case ("&Refresh": r); none for a text without one ("&&" is an
// ampersand).
std::optional<QChar> MnemonicOf(const QString& text)
{
    for (qsizetype at = 0; at + 1 < text.size(); ++at) {
        if (text[at] != '&') continue;
        if (text[at + 1] != '&') return text[at + 1].toLower();
        ++at;
    }
    return std::nullopt;
}

// The texts of the window's controls that carry a mnemonic, by its key: buttons and check boxes,
// group boxes, and labels that lead to a control.
std::map<QChar, QStringList> MnemonicsOf(const QWidget& window)
{
    std::map<QChar, QStringList> texts;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        QString text;
        if (const auto* button = qobject_cast<QAbstractButton*>(control)) text = button->text();
        if (const auto* group = qobject_cast<QGroupBox*>(control)) text = group->title();
        if (const auto* label = qobject_cast<QLabel*>(control); label && label->buddy()) text = label->text();
        if (const std::optional<QChar> key = MnemonicOf(text)) texts[*key] << text;
    }
    return texts;
}

}  // namespace

std::vector<DialogLayoutTest::Window> DialogLayoutTest::Windows()
{
    const ProfileDialog::Collaborators profile{engine_, clock_, ui_, [] {}, [] {}};
    const VerificationDialog::Collaborators verification{verificationFlags_, devices_, clock_, ui_,
                                                         [] {}, [] {}, [] {}};
    const SyncProgressDialog::Collaborators sync{clock_, ui_, mailbox_, syncCancel_, settings_, [](char) {}, [] {}};
    const QString deviceGone = "Status:  Profile aborted.  The device is no longer connected to the system and/or "
                               "is not working properly.";
    const QString syncingAPath = "Status:  Syncing device contents (7 of 17)...\nE:\\Music\\The Lanterns of the "
                                 "Northern Harbour\\Songs for the Long Winter Nights\\03 The Lighthouse Keeper.mp3";
    return {
        {"About", [] { return std::make_unique<AboutDialog>(nullptr); }},
        {"Device Conflict",
         [] { return std::make_unique<DeviceConflictDialog>(DeviceConflictQuestion{'E', "Which one?"}, nullptr); }},
        {"Profile", [=] { return std::make_unique<ProfileDialog>(kDevice, profile); }, deviceGone},
        {"Verification", [=] { return std::make_unique<VerificationDialog>(kDevice, verification); }, deviceGone},
        {"File Not Found", [] { return std::make_unique<FileNotFoundDialog>(); }},
        {"Device Synchronization", [=] { return std::make_unique<SyncProgressDialog>(kDevice, sync); }, syncingAPath},
        {"Resolve Sync Conflict",
         [] { return std::make_unique<SyncConflictDialog>(SyncConflictQuestion{"Z:\\a.mp3", "E:\\a.mp3"}, nullptr); }},
        {"KovaSync Options", [this] { return MakeOptions(); }},
        {"Edit KovaSync Paths", [this] { return std::make_unique<SyncPathEditor>(nullptr, exchange_, ui_); }},
        {"Device folder browser", [this] { return std::make_unique<DeviceFolderBrowser>(nullptr, "E:\\", ui_); }},
        {"New folder", [] { return std::make_unique<NewFolderDialog>(nullptr, QStringLiteral("Folder 1")); }},
        {"PC chooser", [] { return std::make_unique<PcPathChooser>(nullptr, QString()); }},
        {"Help viewer", [] { return std::make_unique<SyncOptionsHelpViewer>(std::nullopt); }},
    };
}

std::unique_ptr<SyncOptionsDialog> DialogLayoutTest::MakeOptions()
{
    FakeDetection::Attach({{kDevice.driveLetter, kDevice.model}});
    return std::make_unique<SyncOptionsDialog>(
        SyncOptionsDialog::Collaborators{devices_, ui_, settings_, nullptr, {}, std::nullopt, [] {}});
}

// Alt and a letter reach one control: with two sharing it, the second cannot be reached by its key.
void DialogLayoutTest::everyDialogGivesEachControlAKeyOfItsOwn()
{
    for (const Window& window : Windows()) {
        const std::unique_ptr<QWidget> shown = window.make();
        for (const auto& [key, texts] : MnemonicsOf(*shown)) {
            QVERIFY2(texts.size() == 1,
                     qPrintable(QString("%1: Alt+%2 for %3").arg(window.name, key, texts.join(" and "))));
        }
    }
}

// Neither maximised nor dragged larger, and no larger for a longer status: the picture would stay
// in its corner while the texts drifted away from it.
void DialogLayoutTest::progressWindowsKeepTheirSize()
{
    for (const Window& window : Windows()) {
        if (window.longestStatus.isEmpty()) continue;
        const std::unique_ptr<QWidget> shown = window.make();
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
        const QSize first = shown->size();
        QVERIFY2(shown->minimumSize() == first && shown->maximumSize() == first, window.name);
        shown->findChild<QLabel*>(QString::number(kControlProfileStatus))->setText(window.longestStatus);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QVERIFY2(shown->size() == first, window.name);
    }
}

// A 1280 by 800 screen at twice the size has room for the window at its least, beside a panel and
// under a title bar of 32 pixels of the scale and a frame of 4.
void DialogLayoutTest::optionsWindowFitsASmallScreenAtTwiceTheSize()
{
    const std::unique_ptr<SyncOptionsDialog> options = MakeOptions();
    options->show();
    QVERIFY(QTest::qWaitForWindowExposed(options.get()));
    const qreal scale = options->devicePixelRatioF();
    QCOMPARE(scale, 2.0);
    const QSize least = options->minimumSize() * scale;
    const QSize room = QSize(1280, 800) - QSize(2 * 4, 32 + 32 + 2 * 4) * scale;
    QVERIFY2(least.width() <= room.width() && least.height() <= room.height(),
             qPrintable(QString("%1 by %2 pixels").arg(least.width()).arg(least.height())));
}

}  // namespace trayhost

int main(int argc, char** argv)
{
    // As a desktop set to twice the size; the other checks hold at any scale.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    trayhost::DialogLayoutTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "dialoglayouttest.moc"
