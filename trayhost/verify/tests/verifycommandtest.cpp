#include "trayhost/ui/trayapplication.h"

#include "platform/sound.h"
#include "testsupport/runtimedirectory.h"
#include "testsupport/scripteduserinterface.h"
#include "trayhost/profile/profiledialog.h"
#include "trayhost/tests/fakedetection.h"
#include "trayhost/tests/manualclock.h"
#include "trayhost/tests/scriptedengine.h"
#include "trayhost/verify/tests/verifytestdevice.h"
#include "trayhost/verify/verificationdialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <atomic>
#include <chrono>
#include <memory>
#include <sstream>
#include <thread>

namespace trayhost {

namespace {

constexpr uint32_t kVerify = static_cast<uint32_t>(Command::Verify);

}  // namespace

// The verify command from the tray program to the device and back: the dialog, the questions
// answered by the scripted recorder, Done, the profile offer and the profile it starts, the cancel,
// and the busy rules, on real temporary devices.
class VerifyCommandTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void verifyFromTheMenuRemovesAnEntryAndOffersAProfile();
    void submenuItemVerifiesItsDeviceAndUnchangedPlaylistsOfferNothing();
    void cancelClosesTheDialogAfterThePauseWithoutAnOffer();
    void busyRules();

private:
    void Verify(std::vector<std::pair<char, uint8_t>> devices, uint32_t command = kVerify);
    VerificationDialog* Dialog() const;
    QString Text(int32_t control) const;
    QPushButton* Button() const;
    // The worker holds at its first presence check until Release.
    void HoldWorker();
    void Release() { released_ = true; }
    void WaitForWorker();

    std::unique_ptr<testsupport::ScopedRuntimeDirectory> runtime_;
    std::unique_ptr<testsupport::ScriptedUserInterface> ui_;
    std::unique_ptr<ScriptedEngine> engine_;
    std::unique_ptr<ManualClock> clock_;
    std::ostringstream diagnostics_;
    std::unique_ptr<TrayApplication> tray_;
    std::atomic<bool> released_{false};
};

void VerifyCommandTest::init()
{
    runtime_ = std::make_unique<testsupport::ScopedRuntimeDirectory>();
    ui_ = std::make_unique<testsupport::ScriptedUserInterface>();
    engine_ = std::make_unique<ScriptedEngine>();
    clock_ = std::make_unique<ManualClock>();
    released_ = false;
    tray_ = std::make_unique<TrayApplication>(TrayApplication::Environment{
        &FakeDetection::Enumerate, *ui_, diagnostics_, [](int) {}, *engine_, *clock_});
}

void VerifyCommandTest::cleanup()
{
    Release();
    clock_->ReleasePauses();
    tray_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    clock_.reset();
    engine_.reset();
    ui_.reset();
    runtime_.reset();
}

void VerifyCommandTest::Verify(std::vector<std::pair<char, uint8_t>> devices, uint32_t command)
{
    FakeDetection::Attach(std::move(devices));
    tray_->devices().Rebuild("");
    QVERIFY(tray_->commands().Dispatch(command));
}

VerificationDialog* VerifyCommandTest::Dialog() const
{
    return dynamic_cast<VerificationDialog*>(tray_->dialogs().Get(DialogSlot::Verification));
}

QString VerifyCommandTest::Text(int32_t control) const
{
    const VerificationDialog* dialog = Dialog();
    const auto* label = dialog ? dialog->findChild<QLabel*>(QString::number(control)) : nullptr;
    return label ? label->text() : QString("(no dialog)");
}

QPushButton* VerifyCommandTest::Button() const
{
    return Dialog()->findChild<QPushButton*>(QString::number(kControlProfileButton));
}

void VerifyCommandTest::HoldWorker()
{
    engine_->devicePresent = [this](const std::string&) {
        for (int wait = 0; wait < 500 && !released_; ++wait) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return true;
    };
}

void VerifyCommandTest::WaitForWorker()
{
    QTRY_VERIFY_WITH_TIMEOUT(!tray_->verifyWorkerRunning(), 5000);
}

void VerifyCommandTest::verifyFromTheMenuRemovesAnEntryAndOffersAProfile()
{
    VerifyTestDevice device('E');
    device.WritePlaylist("list.m3u", "#EXTM3U\r\n\\Music\\song.mp3\r\ngone.mp3\r\n");
    ui_->ScriptFileNotFoundAnswer({FileNotFoundChoice::Yes, false});
    ui_->ScriptMessageBoxAnswer(kIdYes);
    Verify({{'E', kModelHd}});

    VerificationDialog* dialog = Dialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->objectName(), QString("130"));
    QCOMPARE(dialog->windowTitle(), QString("Kova MP3/Personal Jukebox Verify User Playlists"));
    QCOMPARE(Text(kControlProfileCaption), QString("User Playlist Verification..."));
    QCOMPARE(Text(kControlProfileDevice), QString("Device:         Vantor Kova MP3 Jukebox \nDrive Letter:  E:"));
    QTRY_COMPARE_WITH_TIMEOUT(Button()->text(), QString("Done"), 5000);
    QCOMPARE(Text(kControlProfileStatus), QString("Status:  User Playlists Verification finished."));
    WaitForWorker();
    QCOMPARE(ui_->fileNotFoundQuestions().size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(ui_->fileNotFoundQuestions()[0].entryText), QString("gone.mp3"));
    QCOMPARE(device.ReadPlaylist("list.m3u"), std::string("#EXTM3U\r\n\\Music\\song.mp3\r\n"));
    QCOMPARE(ui_->beeps(), std::vector<uint32_t>{platform::kBeepExclamation});
    QVERIFY(ui_->messageBoxes().empty());

    Button()->click();
    QCOMPARE(Dialog(), nullptr);
    const auto boxes = ui_->messageBoxes();
    QCOMPARE(boxes.size(), std::size_t(1));
    QCOMPARE(boxes[0].title, std::string("Kova Profile"));
    QCOMPARE(boxes[0].text, std::string("Do you want to profile the contents of the Vantor Kova MP3 Jukebox (E:) device?"));
    auto* profile = dynamic_cast<ProfileDialog*>(tray_->dialogs().Get(DialogSlot::Profile));
    QVERIFY(profile);
    QTRY_COMPARE_WITH_TIMEOUT(engine_->runs().size(), std::size_t(1), 5000);
    QCOMPARE(engine_->runs()[0].first, 'E');
    QTRY_VERIFY_WITH_TIMEOUT(!tray_->profileWorkerRunning(), 5000);
}

void VerifyCommandTest::submenuItemVerifiesItsDeviceAndUnchangedPlaylistsOfferNothing()
{
    VerifyTestDevice first('E');
    VerifyTestDevice second('G');
    second.WritePlaylist("list.m3u", "\\Music\\song.mp3\r\n");
    Verify({{'E', kModelHd}, {'G', kModelPj}}, kVerifyDeviceFirstId + 1);

    QCOMPARE(Text(kControlProfileDevice), QString("Device:         Corvane Kova Personal Jukebox \nDrive Letter:  G:"));
    QTRY_COMPARE_WITH_TIMEOUT(Button()->text(), QString("Done"), 5000);
    QCOMPARE(Text(kControlProfileStatus), QString("Status:  User Playlists Verification finished."));
    WaitForWorker();
    Button()->click();
    QCOMPARE(Dialog(), nullptr);
    QVERIFY(ui_->messageBoxes().empty());
    QVERIFY(ui_->fileNotFoundQuestions().empty());
}

void VerifyCommandTest::cancelClosesTheDialogAfterThePauseWithoutAnOffer()
{
    VerifyTestDevice device('E');
    device.WritePlaylist("list.m3u", "");
    HoldWorker();
    clock_->HoldPauses();
    Verify({{'E', kModelHd}});

    Button()->click();
    QTRY_COMPARE_WITH_TIMEOUT(Text(kControlProfileStatus),
                              QString("Status:  Verification canceled.  This may take a few seconds..."), 5000);
    QCOMPARE(Button()->text(), QString("Cancel"));
    QVERIFY(clock_->timers().front()->running);

    Release();
    QTRY_COMPARE_WITH_TIMEOUT(clock_->pauses().size(), std::size_t(1), 5000);
    QCOMPARE(clock_->pauses().front(), std::chrono::milliseconds(1500));
    QVERIFY(Dialog());
    clock_->ReleasePauses();
    QTRY_COMPARE_WITH_TIMEOUT(Dialog(), nullptr, 5000);
    WaitForWorker();
    QVERIFY(device.HasPlaylist("list.m3u"));
    QVERIFY(ui_->messageBoxes().empty());
    QCOMPARE(ui_->beeps(), std::vector<uint32_t>{platform::kBeepExclamation});
}

void VerifyCommandTest::busyRules()
{
    VerifyTestDevice device('E');
    device.WritePlaylist("list.m3u", "\\Music\\song.mp3\r\n");
    HoldWorker();
    Verify({{'E', kModelHd}});
    VerificationDialog* running = Dialog();
    running->showMinimized();

    QVERIFY(tray_->commands().Dispatch(kVerify));
    QCOMPARE(Dialog(), running);
    QVERIFY(!running->isMinimized());
    for (const Command busy : {Command::Profile, Command::Update}) {
        QVERIFY(tray_->commands().Dispatch(static_cast<uint32_t>(busy)));
    }
    QCOMPARE(ui_->beeps(), (std::vector<uint32_t>{platform::kBeepExclamation, platform::kBeepExclamation}));
    QVERIFY(engine_->runs().empty());
    QVERIFY(engine_->updates().empty());

    Release();
    QTRY_COMPARE_WITH_TIMEOUT(Button()->text(), QString("Done"), 5000);
    Button()->click();
    WaitForWorker();

    Verify({});
    QCOMPARE(Dialog(), nullptr);
    const auto boxes = ui_->messageBoxes();
    QCOMPARE(boxes.size(), std::size_t(1));
    QCOMPARE(boxes[0].title, std::string("Kova Verify Aborted"));
    QCOMPARE(boxes[0].style, kMbOk | kMbIconExclamation);
}

}  // namespace trayhost

QTEST_MAIN(trayhost::VerifyCommandTest)
#include "verifycommandtest.moc"
