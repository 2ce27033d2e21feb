#include "trayhost/ui/trayapplication.h"

#include "platform/sound.h"
#include "testsupport/devicegenerator.h"
#include "testsupport/devicetree.h"
#include "testsupport/runtimedirectory.h"
#include "testsupport/scripteduserinterface.h"
#include "trayhost/libraryprofilerengine.h"
#include "trayhost/profile/profiledialog.h"
#include "trayhost/tests/fakedetection.h"
#include "trayhost/tests/manualclock.h"
#include "trayhost/tests/scriptedengine.h"
#include "trayhost/ui/realclock.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <sstream>
#include <vector>

namespace trayhost {

namespace {

constexpr uint32_t kProfile = static_cast<uint32_t>(Command::Profile);
constexpr const char* kCancellingStatus = "Status:  Profile Canceled.  This may take a few seconds...";

// Large enough that its scan outlasts a click that waits behind every count the scan posted.
constexpr int kLargeDeviceFiles = 8000;

// The engine library, recording the codes its runs report through the callback.
class RecordingLibraryEngine : public LibraryProfilerEngine {
public:
    int32_t Synchronize(char driveLetter, KovaProgressCallback callback, void* window) override
    {
        forward_ = callback;
        return LibraryProfilerEngine::Synchronize(driveLetter, &Record, window);
    }

    // Written on the worker thread; read once the worker has ended.
    static inline std::vector<int32_t> codes;

private:
    static void Record(int32_t code, int32_t value)
    {
        codes.push_back(code);
        forward_(code, value);
    }

    static inline KovaProgressCallback forward_ = nullptr;
};

}  // namespace

// The profile command from the tray program to the engine and back: the dialog, its states, the
// cancel and its watchdog, with a scripted engine on a test clock; and one real run over a device.
class ProfileCommandTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dialogShowsTheDeviceItsDriveAndPicture();
    void reportsShowTheLiveCountThenFinishedAndDone();
    void cancelShowsTheCancelAtOnceAndClosesAfterThePause();
    void cancelTwiceStartsOneWatchdogWhichEndsTheProgram();
    void closeBoxAndEscapeCancelWhileTheButtonIsCancel();
    void failedRunShowsTheConnectionFailureAndDone();
    void busyAndNoDeviceRules();
    void realProfileOfAGeneratedDevice();
    void cancelDuringTheScanOfALargeDeviceStopsTheScan();

private:
    void Profile(std::vector<std::pair<char, uint8_t>> devices, uint32_t command = kProfile);
    ProfileDialog* Dialog() const;
    QString Text(int32_t control) const;
    QPushButton* Button() const;
    void WaitForWorker();

    std::unique_ptr<testsupport::ScopedRuntimeDirectory> runtime_;
    std::unique_ptr<testsupport::ScriptedUserInterface> ui_;
    std::unique_ptr<ScriptedEngine> engine_;
    std::unique_ptr<ManualClock> clock_;
    std::ostringstream diagnostics_;
    QList<int> exitCodes_;
    LibraryProfilerEngine libraryEngine_;
    RealClock realClock_;
    std::unique_ptr<TrayApplication> tray_;
};

void ProfileCommandTest::init()
{
    runtime_ = std::make_unique<testsupport::ScopedRuntimeDirectory>();
    ui_ = std::make_unique<testsupport::ScriptedUserInterface>();
    engine_ = std::make_unique<ScriptedEngine>();
    clock_ = std::make_unique<ManualClock>();
    exitCodes_.clear();
    tray_ = std::make_unique<TrayApplication>(TrayApplication::Environment{
        &FakeDetection::Enumerate, *ui_, diagnostics_, [this](int code) { exitCodes_.append(code); }, *engine_,
        *clock_});
}

void ProfileCommandTest::cleanup()
{
    // A held engine and a held pause let the worker go, so that the tray program can wait for it.
    engine_->Finish(kProfileRunCancelled);
    clock_->ReleasePauses();
    tray_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    clock_.reset();
    engine_.reset();
    ui_.reset();
    runtime_.reset();
}

void ProfileCommandTest::Profile(std::vector<std::pair<char, uint8_t>> devices, uint32_t command)
{
    FakeDetection::Attach(std::move(devices));
    tray_->devices().Rebuild("");
    QVERIFY(tray_->commands().Dispatch(command));
}

ProfileDialog* ProfileCommandTest::Dialog() const
{
    return dynamic_cast<ProfileDialog*>(tray_->dialogs().Get(DialogSlot::Profile));
}

QString ProfileCommandTest::Text(int32_t control) const
{
    const ProfileDialog* dialog = Dialog();
    const auto* label = dialog ? dialog->findChild<QLabel*>(QString::number(control)) : nullptr;
    return label ? label->text() : QString("(no dialog)");
}

QPushButton* ProfileCommandTest::Button() const
{
    return Dialog()->findChild<QPushButton*>(QString::number(kControlProfileButton));
}

void ProfileCommandTest::WaitForWorker()
{
    QTRY_VERIFY_WITH_TIMEOUT(!tray_->profileWorkerRunning(), 5000);
}

void ProfileCommandTest::dialogShowsTheDeviceItsDriveAndPicture()
{
    struct Case {
        uint32_t command;
        QString deviceText;
        QString picture;
    };
    const Case cases[] = {
        {600, "Device:         Vantor Kova MP3 Jukebox \nDrive Letter:  E:", ":/bitmaps/132"},
        {601, "Device:         Corvane Kova Personal Jukebox \nDrive Letter:  G:", ":/bitmaps/133"},
    };
    for (const Case& c : cases) {
        Profile({{'E', kModelHd}, {'G', kModelPj}}, c.command);
        ProfileDialog* dialog = Dialog();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->objectName(), QString("130"));
        QCOMPARE(dialog->windowTitle(), QString("Kova MP3/Personal Jukebox Profiler"));
        QVERIFY(dialog->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QCOMPARE(Text(kControlProfileDevice), c.deviceText);
        QCOMPARE(Text(kControlProfileCaption), QString("Profiling Device Contents..."));
        const QPixmap picture = dialog->findChild<QLabel*>("1004")->pixmap();
        QVERIFY(!picture.isNull());
        QCOMPARE(picture.toImage(), QPixmap(c.picture).toImage());
        QTRY_COMPARE_WITH_TIMEOUT(Button()->text(), QString("Done"), 5000);
        Button()->click();
        QCOMPARE(Dialog(), nullptr);
        WaitForWorker();
    }
    QCOMPARE(QPixmap(":/bitmaps/132").toImage() == QPixmap(":/bitmaps/133").toImage(), false);
}

void ProfileCommandTest::reportsShowTheLiveCountThenFinishedAndDone()
{
    engine_->reports = {{kReportScanStarted}, {kReportScanProgress}};
    engine_->scanCounters = {12, 40};
    engine_->holds = true;
    Profile({{'F', kModelHd}});

    QCOMPARE(Button()->text(), QString("Cancel"));
    QVERIFY(engine_->WaitUntilRunning());
    QCOMPARE(engine_->runs().at(0).first, 'F');
    QCOMPARE(engine_->runs().at(0).second, Dialog()->handle());
    QTRY_COMPARE_WITH_TIMEOUT(Text(kControlProfileStatus), QString("Status:  Acquiring device contents (12 of 40)..."),
                              5000);
    QCOMPARE(Dialog()->cursor().shape(), Qt::BusyCursor);

    engine_->Finish(1);
    QTRY_COMPARE_WITH_TIMEOUT(Button()->text(), QString("Done"), 5000);
    QCOMPARE(Dialog()->state(), ProfileProgress::State::Finished);
    QCOMPARE(Dialog()->cursor().shape(), Qt::ArrowCursor);
    WaitForWorker();
    QVERIFY(ui_->messageBoxes().empty());

    Button()->click();
    QCOMPARE(Dialog(), nullptr);
    QCOMPARE(engine_->cancels(), 0);
}

void ProfileCommandTest::cancelShowsTheCancelAtOnceAndClosesAfterThePause()
{
    engine_->holds = true;
    clock_->HoldPauses();
    Profile({{'E', kModelHd}});
    QVERIFY(engine_->WaitUntilRunning());

    Button()->click();
    QTRY_COMPARE_WITH_TIMEOUT(Text(kControlProfileStatus), QString(kCancellingStatus), 5000);
    QCOMPARE(Button()->text(), QString("Cancel"));
    QCOMPARE(engine_->cancels(), 1);

    // The engine returned -1: the dialog stays for the pause, then closes.
    QTRY_COMPARE_WITH_TIMEOUT(clock_->pauses().size(), std::size_t(1), 5000);
    QCOMPARE(clock_->pauses().front(), std::chrono::milliseconds(1500));
    QCoreApplication::processEvents();
    QVERIFY(Dialog());
    QVERIFY(Dialog()->isVisible());
    QVERIFY(!clock_->timers().front()->running);

    clock_->ReleasePauses();
    QTRY_COMPARE_WITH_TIMEOUT(Dialog(), nullptr, 5000);
    WaitForWorker();
    QVERIFY(ui_->messageBoxes().empty());
    QVERIFY(exitCodes_.isEmpty());
}

void ProfileCommandTest::cancelTwiceStartsOneWatchdogWhichEndsTheProgram()
{
    engine_->holds = true;
    engine_->stopsOnCancel = false;
    Profile({{'E', kModelHd}});
    QVERIFY(engine_->WaitUntilRunning());
    const platform::WindowHandle dialogHandle = Dialog()->handle();

    Button()->click();
    Button()->click();
    QCOMPARE(engine_->cancels(), 2);
    const ManualClock::TimerState& watchdog = *clock_->timers().front();
    QCOMPARE(watchdog.starts.size(), std::size_t(1));

    clock_->Tick(10);
    QVERIFY(Dialog());
    QVERIFY(ui_->messageBoxes().empty());
    clock_->Tick();
    const auto boxes = ui_->messageBoxes();
    QCOMPARE(boxes.size(), std::size_t(1));
    QCOMPARE(boxes[0].title, std::string("Error"));
    QCOMPARE(boxes[0].owner, dialogHandle);
    QCOMPARE(boxes[0].style, kMbOk | kMbIconStop);
    QCOMPARE(Dialog(), nullptr);
    QVERIFY(tray_->mainWindow().isDestroyed());
    QCOMPARE(exitCodes_, QList<int>{0});
    // The engine is still stuck: the program must end without waiting for the worker.
    QVERIFY(tray_->profileWorkerRunning());
}

void ProfileCommandTest::closeBoxAndEscapeCancelWhileTheButtonIsCancel()
{
    engine_->holds = true;
    engine_->stopsOnCancel = false;
    Profile({{'E', kModelHd}});
    QVERIFY(engine_->WaitUntilRunning());

    QVERIFY(!Dialog()->close());
    QTest::keyClick(Dialog(), Qt::Key_Escape);
    QCOMPARE(engine_->cancels(), 2);
    QVERIFY(Dialog());
    QVERIFY(Dialog()->isVisible());
    QCOMPARE(Dialog()->state(), ProfileProgress::State::Cancelling);
    QCOMPARE(clock_->timers().front()->starts.size(), std::size_t(1));

    // Once the run is over the close box closes.
    engine_->Finish(2);
    QTRY_COMPARE_WITH_TIMEOUT(Button()->text(), QString("Done"), 5000);
    Dialog()->close();
    QCOMPARE(Dialog(), nullptr);
}

void ProfileCommandTest::failedRunShowsTheConnectionFailureAndDone()
{
    engine_->reports = {{kReportScanStarted}};
    engine_->result = kProfileRunFailed;
    Profile({{'E', kModelHd}});

    QTRY_COMPARE_WITH_TIMEOUT(Text(kControlProfileStatus),
                              QString("Status:  Profile aborted.  The device connection failed."), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(Button()->text(), QString("Done"), 5000);
    const auto boxes = ui_->messageBoxes();
    QCOMPARE(boxes.size(), std::size_t(1));
    QCOMPARE(boxes[0].title, std::string("Profiler Warning"));
}

void ProfileCommandTest::busyAndNoDeviceRules()
{
    engine_->holds = true;
    Profile({{'E', kModelHd}});
    QVERIFY(engine_->WaitUntilRunning());
    ProfileDialog* first = Dialog();
    first->showMinimized();
    QVERIFY(tray_->commands().Dispatch(kProfile));
    QCOMPARE(Dialog(), first);
    QVERIFY(!first->isMinimized());
    QCOMPARE(engine_->runs().size(), std::size_t(1));

    engine_->Finish(1);
    QTRY_COMPARE_WITH_TIMEOUT(Button()->text(), QString("Done"), 5000);
    Button()->click();
    WaitForWorker();

    QDialog verification;
    tray_->dialogs().Set(DialogSlot::Verification, &verification);
    QVERIFY(tray_->commands().Dispatch(kProfile));
    QCOMPARE(ui_->beeps(), std::vector<uint32_t>{platform::kBeepExclamation});
    tray_->dialogs().Set(DialogSlot::Verification, nullptr);

    Profile({});
    QCOMPARE(Dialog(), nullptr);
    const auto boxes = ui_->messageBoxes();
    QCOMPARE(boxes.size(), std::size_t(1));
    QCOMPARE(boxes[0].title, std::string("Kova Profiling Aborted"));
    QCOMPARE(boxes[0].style, kMbOk | kMbIconExclamation);
    QCOMPARE(engine_->runs().size(), std::size_t(1));
}

void ProfileCommandTest::realProfileOfAGeneratedDevice()
{
    tray_.reset();
    testsupport::TemporaryDevice device('E');
    testsupport::GenerateDemoDevice(device.directory());
    tray_ = std::make_unique<TrayApplication>(TrayApplication::Environment{
        &FakeDetection::Enumerate, *ui_, diagnostics_, [](int) {}, libraryEngine_, realClock_});

    Profile({{'E', kModelHd}});
    QTRY_COMPARE_WITH_TIMEOUT(Button()->text(), QString("Done"), 30000);
    QCOMPARE(Text(kControlProfileStatus), QString("Status:  Profiling finished."));
    WaitForWorker();
    for (const char* file : {"artist.m3u", "album.m3u", "title.m3u", "genre.m3u", "audiofiles.m3u"}) {
        QVERIFY2(device.Exists(std::string("kovahdd/sys_playlist/") + file), file);
    }
    QCOMPARE(device.ReadFile("kovahdd/pfr.bin").size(), std::size_t(8));
    QVERIFY(ui_->messageBoxes().empty());

    Button()->click();
    QCOMPARE(Dialog(), nullptr);
}

void ProfileCommandTest::cancelDuringTheScanOfALargeDeviceStopsTheScan()
{
    tray_.reset();
    testsupport::TemporaryDevice device('E');
    testsupport::GenerateDevice(device.directory(), kLargeDeviceFiles);
    RecordingLibraryEngine engine;
    clock_->HoldPauses();
    tray_ = std::make_unique<TrayApplication>(TrayApplication::Environment{
        &FakeDetection::Enumerate, *ui_, diagnostics_, [](int) {}, engine, *clock_});
    Profile({{'E', kModelHd}});

    // A quarter into the scan, as the dialog shows it, the person clicks Cancel. The click comes
    // through the event loop, behind whatever the scan has posted by then, as a real click does.
    const QRegularExpression count("Acquiring device contents \\((\\d+) of (\\d+)\\)");
    QTimer watch;
    watch.setInterval(1);
    connect(&watch, &QTimer::timeout, this, [&] {
        const QRegularExpressionMatch shown = count.match(Text(kControlProfileStatus));
        if (!shown.hasMatch() || shown.captured(1).toInt() * 4 < shown.captured(2).toInt()) return;
        watch.stop();
        QMetaObject::invokeMethod(Button(), &QAbstractButton::click, Qt::QueuedConnection);
    });
    watch.start();

    // Only a cancelled run pauses before its dialog closes.
    QTRY_COMPARE_WITH_TIMEOUT(clock_->pauses().size(), std::size_t(1), 30000);
    QCOMPARE(Text(kControlProfileStatus), QString(kCancellingStatus));
    QVERIFY(!device.Exists("kovahdd/sys_playlist"));
    clock_->ReleasePauses();
    QTRY_COMPARE_WITH_TIMEOUT(Dialog(), nullptr, 5000);
    WaitForWorker();
    // The engine reports the cancel itself only when it ends the scan.
    QCOMPARE(std::count(engine.codes.begin(), engine.codes.end(), kReportProfileCancelled), std::ptrdiff_t(1));
    QVERIFY(ui_->messageBoxes().empty());
}

}  // namespace trayhost

QTEST_MAIN(trayhost::ProfileCommandTest)
#include "profilecommandtest.moc"
