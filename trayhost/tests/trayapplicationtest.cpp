#include "trayhost/ui/trayapplication.h"

#include "platform/drivemap.h"
#include "platform/messages.h"
#include "platform/sound.h"
#include "platform/windowdirectory.h"
#include "testsupport/runtimedirectory.h"
#include "testsupport/scripteduserinterface.h"
#include "testsupport/userfolders.h"
#include "trayhost/tests/fakedetection.h"
#include "trayhost/tests/manualclock.h"
#include "trayhost/tests/scriptedengine.h"

#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <future>
#include <memory>
#include <optional>
#include <sstream>
#include <utility>

namespace trayhost {

// Sets an environment variable for the life of the object; the drive map is read again afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QByteArray& value)
        : name_(name), previous_(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
    {
        qputenv(name, value);
    }
    ~ScopedVariable()
    {
        if (previous_) {
            qputenv(name_, *previous_);
        } else {
            qunsetenv(name_);
        }
        platform::DriveMap::Instance().Reload();
    }

private:
    const char* name_;
    std::optional<QByteArray> previous_;
};

// The running tray program on the offscreen platform, with scripted detection and user interface.
class TrayApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menuWithoutDevice();
    void menuWithOneDevice();
    void menuWithTwoDevicesHasDriveSubmenus();
    void devicesMappedAtEAndGGiveDriveSubmenusThroughDetection();
    void unpluggingOneOfTwoDevicesRemovesTheSubmenus();
    void chosenDriveIsTheSelectedDevice();
    void leftClickOpensTheMenuOnceForADoubleClick();
    void openOperationDialogIsRaisedInsteadOfTheMenu();
    void clickWhileDetectingDoesNothing();
    void updateWorksOnTheSelectedDeviceAndWaitsForAnOpenProfile();
    void kovaSyncFollowsTheBusyRules();
    void aboutDialogShowsVersionAndOpensOnce();
    void closeCommandRemovesTheIconAndEndsTheProgram();
    void closeFromAnotherProcessIsAnsweredAfterHandling();
    void mainWindowIsHiddenAndPublishedUnderItsTitle();
    void missingTrayIsReportedOnce();

private:
    void Click(MouseMessage mouse);
    QList<QAction*> Entries() const;
    static QStringList TextsOf(const QMenu* menu);

    std::unique_ptr<testsupport::ScopedRuntimeDirectory> runtime_;
    std::unique_ptr<testsupport::ScriptedUserInterface> ui_;
    std::unique_ptr<ScriptedEngine> engine_;
    ManualClock clock_;
    std::ostringstream diagnostics_;
    QList<int> exitCodes_;
    std::unique_ptr<TrayApplication> tray_;
};

void TrayApplicationTest::init()
{
    runtime_ = std::make_unique<testsupport::ScopedRuntimeDirectory>();
    ui_ = std::make_unique<testsupport::ScriptedUserInterface>();
    engine_ = std::make_unique<ScriptedEngine>();
    diagnostics_.str("");
    exitCodes_.clear();
    FakeDetection::Attach({});
    tray_ = std::make_unique<TrayApplication>(TrayApplication::Environment{
        &FakeDetection::Enumerate, *ui_, diagnostics_, [this](int code) { exitCodes_.append(code); }, *engine_,
        clock_});
    tray_->Start();
}

void TrayApplicationTest::cleanup()
{
    tray_->trayMenu().menu().hide();
    tray_.reset();
    engine_.reset();
    ui_.reset();
    runtime_.reset();
}

void TrayApplicationTest::Click(MouseMessage mouse)
{
    tray_->mainWindow().HandleMessage({kTrayIconMessage, kTrayIconId, static_cast<intptr_t>(mouse)});
}

QList<QAction*> TrayApplicationTest::Entries() const
{
    return tray_->trayMenu().menu().actions();
}

QStringList TrayApplicationTest::TextsOf(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions()) texts << action->text() + "=" + action->data().toString();
    return texts;
}

void TrayApplicationTest::menuWithoutDevice()
{
    Click(MouseMessage::RightButtonUp);

    QVERIFY(tray_->trayMenu().menu().isVisible());
    QCOMPARE(tray_->devices().count(), 0);
    const QList<QAction*> entries = Entries();
    QCOMPARE(entries.size(), 9);
    QCOMPARE(entries[0]->text(), QString("&About Kova MP3/Personal Jukebox Application..."));
    QCOMPARE(entries[0]->data().toUInt(), 32773u);
    QVERIFY(entries[1]->isSeparator());
    QCOMPARE(entries[2]->data().toUInt(), 32771u);
    QCOMPARE(entries[3]->data().toUInt(), 32774u);
    QCOMPARE(entries[4]->data().toUInt(), 32777u);
    QVERIFY(entries[5]->isSeparator());
    QCOMPARE(entries[6]->text(), QString("KovaSync"));
    QCOMPARE(entries[6]->data().toUInt(), 32779u);
    QVERIFY(entries[7]->isSeparator());
    QCOMPARE(entries[8]->text(), QString("&Close Kova MP3/Personal Jukebox Application"));
    QCOMPARE(entries[8]->data().toUInt(), 32772u);
    QCOMPARE(tray_->trayMenu().menu().defaultAction(), entries[2]);
    QVERIFY(entries[2]->font().bold());
    for (const QAction* entry : entries) QVERIFY(!entry->menu());
}

void TrayApplicationTest::menuWithOneDevice()
{
    FakeDetection::Attach({{'E', kModelHd}});
    Click(MouseMessage::LeftButtonDoubleClick);

    QVERIFY(tray_->trayMenu().menu().isVisible());
    QCOMPARE(tray_->devices().count(), 1);
    for (const QAction* entry : Entries()) QVERIFY(!entry->menu());
}

void TrayApplicationTest::menuWithTwoDevicesHasDriveSubmenus()
{
    FakeDetection::Attach({{'E', kModelHd}, {'G', kModelPj}});
    Click(MouseMessage::RightButtonUp);

    const QList<QAction*> entries = Entries();
    QVERIFY(entries[2]->menu());
    QCOMPARE(TextsOf(entries[2]->menu()), (QStringList{"E:\\=600", "G:\\=601"}));
    QCOMPARE(TextsOf(entries[3]->menu()), (QStringList{"E:\\=700", "G:\\=701"}));
    QCOMPARE(TextsOf(entries[4]->menu()), (QStringList{"E:\\=800", "G:\\=801"}));
    QCOMPARE(tray_->trayMenu().menu().defaultAction(), entries[2]);
    QVERIFY(entries[2]->font().bold());
    QVERIFY(!entries[3]->font().bold());
}

void TrayApplicationTest::devicesMappedAtEAndGGiveDriveSubmenusThroughDetection()
{
    QTemporaryDir hd;
    QTemporaryDir pj;
    // No drives file of the developer's may add devices.
    const ScopedVariable configHome("XDG_CONFIG_HOME", QFile::encodeName(runtime_->path().c_str()));
    const ScopedVariable drives("KOVAHDD_DRIVES", QFile::encodeName("E=" + hd.path() + "|Corvane|Kova HD Storage;G=" +
                                                                    pj.path() + "|Corvane|Kova PJ Storage"));
    platform::DriveMap::Instance().Reload();
    TrayApplication tray({&KOVAHDDDetectionEnumDevices, *ui_, diagnostics_, [](int) {}, *engine_, clock_});
    const auto click = [&tray] {
        tray.trayMenu().menu().hide();
        tray.mainWindow().HandleMessage({kTrayIconMessage, kTrayIconId, static_cast<intptr_t>(MouseMessage::RightButtonUp)});
    };

    click();
    const QMenu* profile = tray.trayMenu().menu().actions()[2]->menu();
    QVERIFY(profile);
    QCOMPARE(TextsOf(profile), (QStringList{"E:\\=600", "G:\\=601"}));
    QCOMPARE(tray.devices().entry(1).model, uint8_t(kModelPj));

    qputenv("KOVAHDD_DRIVES", QFile::encodeName("E=" + hd.path() + "|Corvane|Kova HD Storage"));
    platform::DriveMap::Instance().Reload();
    click();
    QVERIFY(!tray.trayMenu().menu().actions()[2]->menu());
    QCOMPARE(tray.devices().count(), 1);
    tray.trayMenu().menu().hide();
}

void TrayApplicationTest::unpluggingOneOfTwoDevicesRemovesTheSubmenus()
{
    FakeDetection::Attach({{'E', kModelHd}, {'G', kModelPj}});
    Click(MouseMessage::RightButtonUp);
    tray_->trayMenu().menu().hide();

    FakeDetection::Attach({{'E', kModelHd}});
    Click(MouseMessage::RightButtonUp);
    for (const QAction* entry : Entries()) QVERIFY(!entry->menu());
    QCOMPARE(Entries().size(), 9);
}

void TrayApplicationTest::chosenDriveIsTheSelectedDevice()
{
    FakeDetection::Attach({{'E', kModelHd}, {'G', kModelPj}});
    Click(MouseMessage::RightButtonUp);
    Entries()[3]->menu()->actions()[1]->trigger();

    // The command arrives as a posted WM_COMMAND, after the menu has closed.
    QTRY_COMPARE_WITH_TIMEOUT(ui_->messageBoxes().size(), std::size_t(1), 5000);
    QCOMPARE(tray_->devices().selectedIndex(), 1);
    QCOMPARE(tray_->devices().SelectedEntry()->driveLetter, 'G');
    QCOMPARE(engine_->updates(), (std::vector<std::string>{"help G", "system G 2"}));
}

void TrayApplicationTest::leftClickOpensTheMenuOnceForADoubleClick()
{
    // As the desktop's tray reports a left click, and then the double click it began.
    emit tray_->trayIcon().icon().activated(QSystemTrayIcon::Trigger);
    QVERIFY(tray_->trayMenu().menu().isVisible());
    emit tray_->trayIcon().icon().activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(tray_->trayMenu().menu().isVisible());
    QCOMPARE(FakeDetection::calls, 1);
}

void TrayApplicationTest::openOperationDialogIsRaisedInsteadOfTheMenu()
{
    QDialog progress;
    progress.showMinimized();
    tray_->dialogs().Set(DialogSlot::Profile, &progress);

    Click(MouseMessage::RightButtonUp);
    QVERIFY(!tray_->trayMenu().menu().isVisible());
    QCOMPARE(FakeDetection::calls, 0);
    QVERIFY(progress.isVisible());
    QVERIFY(!progress.isMinimized());
}

void TrayApplicationTest::clickWhileDetectingDoesNothing()
{
    FakeDetection::whileDetecting = [this, clicked = false]() mutable {
        if (!std::exchange(clicked, true)) Click(MouseMessage::RightButtonUp);
    };
    Click(MouseMessage::RightButtonUp);
    QCOMPARE(FakeDetection::calls, 1);
}

void TrayApplicationTest::updateWorksOnTheSelectedDeviceAndWaitsForAnOpenProfile()
{
    FakeDetection::Attach({{'E', kModelHd}, {'F', kModelPj}});
    tray_->devices().Rebuild("");
    QVERIFY(tray_->commands().Dispatch(kUpdateDeviceFirstId + 1));
    QCOMPARE(engine_->updates(), (std::vector<std::string>{"help F", "system F 2"}));

    QDialog profile;
    tray_->dialogs().Set(DialogSlot::Profile, &profile);
    QVERIFY(tray_->commands().Dispatch(static_cast<uint32_t>(Command::Update)));
    QCOMPARE(ui_->beeps(), std::vector<uint32_t>{platform::kBeepExclamation});
    QCOMPARE(engine_->updates().size(), std::size_t(2));
}

void TrayApplicationTest::kovaSyncFollowsTheBusyRules()
{
    const testsupport::ScopedUserFolders folders;
    const uint32_t kovaSync = static_cast<uint32_t>(Command::KovaSync);
    tray_->commands().Dispatch(kovaSync);
    QPointer<QWidget> options = tray_->dialogs().Get(DialogSlot::SyncOptions);
    QVERIFY(options && options->isVisible());
    QCOMPARE(options->objectName(), QString("143"));

    options->showMinimized();
    tray_->commands().Dispatch(kovaSync);
    QVERIFY(!options->isMinimized());
    QCOMPARE(tray_->dialogs().Get(DialogSlot::SyncOptions), options.data());

    QDialog progress;
    tray_->dialogs().Set(DialogSlot::SyncProgress, &progress);
    tray_->commands().Dispatch(kovaSync);
    QCOMPARE(ui_->beeps(), std::vector<uint32_t>{platform::kBeepExclamation});
    QVERIFY(ui_->messageBoxes().empty());

    options->close();
    QCOMPARE(tray_->dialogs().Get(DialogSlot::SyncOptions), nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(!options, 5000);
}

void TrayApplicationTest::aboutDialogShowsVersionAndOpensOnce()
{
    QString title;
    QString text;
    int aboutDialogs = 0;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        title = dialog->windowTitle();
        text = dialog->findChild<QPlainTextEdit*>("1047")->toPlainText();
        QCOMPARE(tray_->dialogs().Get(DialogSlot::About), dialog);
        // A second About while one is open does nothing.
        tray_->commands().Dispatch(static_cast<uint32_t>(Command::About));
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == "103" && widget->isVisible()) ++aboutDialogs;
        }
        dialog->findChild<QPushButton*>("1")->click();
    });
    tray_->commands().Dispatch(static_cast<uint32_t>(Command::About));

    QCOMPARE(title, QString("About Kova MP3/Personal Jukebox Application"));
    QVERIFY2(text.contains("version " KOVAHDD_VERSION), qPrintable(text));
    QVERIFY(text.contains("Copyright"));
    QCOMPARE(aboutDialogs, 1);
    QCOMPARE(tray_->dialogs().Get(DialogSlot::About), nullptr);
}

void TrayApplicationTest::closeCommandRemovesTheIconAndEndsTheProgram()
{
    QVERIFY(tray_->trayIcon().icon().isVisible());
    platform::PostMessage(tray_->mainWindow().handle(), platform::kWmCommand, 32772, 0);
    QTRY_COMPARE_WITH_TIMEOUT(exitCodes_, QList<int>{0}, 5000);
    QVERIFY(!tray_->trayIcon().icon().isVisible());
    QVERIFY(tray_->mainWindow().isDestroyed());

    // A destroyed window handles nothing more.
    tray_->mainWindow().HandleMessage({platform::kWmClose, 0, 0});
    QCOMPARE(exitCodes_, QList<int>{0});
}

void TrayApplicationTest::closeFromAnotherProcessIsAnsweredAfterHandling()
{
    platform::TopLevelWindow window;
    platform::EnumTopLevelWindows([&](const platform::TopLevelWindow& found) {
        window = found;
        return false;
    });
    auto sent = std::async(std::launch::async, [window] {
        return platform::SendTopLevelMessage(window, {platform::kWmClose, 0, 0});
    });
    // The answer needs the GUI thread: it comes only while the event loop runs.
    QTRY_VERIFY_WITH_TIMEOUT(sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 5000);
    QCOMPARE(sent.get(), std::optional<intptr_t>(0));
    QCOMPARE(exitCodes_, QList<int>{0});
}

void TrayApplicationTest::mainWindowIsHiddenAndPublishedUnderItsTitle()
{
    QCOMPARE(tray_->mainWindow().windowTitle(), QString("KOVAHDTrayApp"));
    QVERIFY(!tray_->mainWindow().isVisible());
    QStringList published;
    platform::EnumTopLevelWindows([&](const platform::TopLevelWindow& window) {
        published << QString::fromStdString(window.title + "/" + window.className);
        return true;
    });
    QCOMPARE(published, QStringList{"KOVAHDTrayApp/KOVAHDTRAYAPP"});
}

void TrayApplicationTest::missingTrayIsReportedOnce()
{
    // The offscreen platform has no tray.
    tray_->trayIcon().CheckDesktopTray();
    tray_->trayIcon().CheckDesktopTray();
    const QString text = QString::fromStdString(diagnostics_.str());
    QCOMPARE(text.count("no notification area"), 1);
}

}  // namespace trayhost

QTEST_MAIN(trayhost::TrayApplicationTest)
#include "trayapplicationtest.moc"
