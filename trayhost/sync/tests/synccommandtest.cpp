#include "trayhost/ui/trayapplication.h"

#include "platform/sound.h"
#include "testsupport/devicetree.h"
#include "testsupport/fatimage.h"
#include "testsupport/runtimedirectory.h"
#include "testsupport/scripteduserinterface.h"
#include "testsupport/userfolders.h"
#include "trayhost/sync/syncconflictdialog.h"
#include "trayhost/sync/syncprofilestore.h"
#include "trayhost/sync/syncprogressdialog.h"
#include "trayhost/sync/syncstate.h"
#include "trayhost/syncui/tests/filedrop.h"
#include "trayhost/tests/fakedetection.h"
#include "trayhost/tests/manualclock.h"
#include "trayhost/tests/scriptedengine.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <filesystem>
#include <future>
#include <iterator>
#include <memory>
#include <sstream>

namespace trayhost {

namespace {

constexpr uint32_t kStartSync = static_cast<uint32_t>(Command::StartSync);
constexpr uint32_t kKovaSync = static_cast<uint32_t>(Command::KovaSync);

// Keeps every text the status control was painted with, in order, each once: the notices that
// repaint the dialog at once, as the person sees them.
class PaintedTexts : public QObject {
public:
    explicit PaintedTexts(QLabel* label) : label_(label) { label->installEventFilter(this); }

    QStringList texts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == label_ && event->type() == QEvent::Paint &&
            (texts.isEmpty() || texts.back() != label_->text())) {
            texts << label_->text();
        }
        return false;
    }

private:
    QLabel* label_;
};

}  // namespace

// A synchronisation from the tray program: command 32780, the progress dialog and its worker over
// real drives, the scripted person answering the conflict dialog, and the profile command after.
class SyncCommandTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void oneWayRunShowsItsNoticesClosesAndProfilesTheDevice();
    void conflictIsAnsweredAndTheDeviceFileWins();
    void deviceToPcStaysOpenWithCompleteAndDone();
    void cancelClosesTheDialogAfterThePauseAndWritesNoState();
    void aProfileWithoutItemsIsToldAndTheOptionsWindowOpens();
    void noDeviceIsTold();
    void conflictDialogOffersTheChoicesAndAnswersByItsButtons();
    void theProfilesDeviceIsShownAndProfiledWhenAnotherIsSelected();
    void aWorkerStuckInADeviceCallKeepsKovaSyncAndSynchronizeAway();
    void droppedDottedFoldersAreMadeAsFoldersOnAFatDevice();
    void aCleanUpOfMostOfTheDeviceIsAskedAboutAndNoKeepsEveryFile();

private:
    void StoreProfile(SyncOption option, bool profileAfterSync = true, char deviceLetter = 'E',
                      std::vector<std::pair<std::string, std::string>> items = {{"P:\\Music", "E:\\Music"}});
    void Start();
    SyncProgressDialog* Dialog() const;
    QString Text(int32_t control) const;
    QPushButton* Button() const;
    void WaitForWorker();

    std::unique_ptr<testsupport::ScopedRuntimeDirectory> runtime_;
    std::unique_ptr<testsupport::ScopedUserFolders> folders_;
    std::unique_ptr<testsupport::TemporaryDevice> pc_;
    std::unique_ptr<testsupport::TemporaryDevice> device_;
    std::unique_ptr<testsupport::ScriptedUserInterface> ui_;
    std::unique_ptr<ScriptedEngine> engine_;
    std::unique_ptr<ManualClock> clock_;
    std::ostringstream diagnostics_;
    std::unique_ptr<TrayApplication> tray_;
};

void SyncCommandTest::init()
{
    runtime_ = std::make_unique<testsupport::ScopedRuntimeDirectory>();
    folders_ = std::make_unique<testsupport::ScopedUserFolders>();
    pc_ = std::make_unique<testsupport::TemporaryDevice>('P');
    device_ = std::make_unique<testsupport::TemporaryDevice>('E');
    ui_ = std::make_unique<testsupport::ScriptedUserInterface>();
    engine_ = std::make_unique<ScriptedEngine>();
    clock_ = std::make_unique<ManualClock>();
    tray_ = std::make_unique<TrayApplication>(
        TrayApplication::Environment{&FakeDetection::Enumerate, *ui_, diagnostics_, [](int) {}, *engine_, *clock_});
    FakeDetection::Attach({{'E', kModelHd}});
    tray_->devices().Rebuild("");
    pc_->WriteFile("Music/a.mp3", "pc a");
}

void SyncCommandTest::cleanup()
{
    clock_->ReleasePauses();
    WaitForWorker();
    tray_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    clock_.reset();
    engine_.reset();
    ui_.reset();
    device_.reset();
    pc_.reset();
    folders_.reset();
    runtime_.reset();
}

void SyncCommandTest::StoreProfile(SyncOption option, bool profileAfterSync, char deviceLetter,
                                   std::vector<std::pair<std::string, std::string>> items)
{
    SyncSettings profile;
    profile.option = option;
    profile.deviceLetter = deviceLetter;
    profile.profileAfterSync = profileAfterSync;
    for (auto& [pcPath, devicePath] : items) profile.items.push_back({{}, {}, pcPath, devicePath});
    QVERIFY(SaveSyncSettings(profile));
}

void SyncCommandTest::Start()
{
    QVERIFY(tray_->commands().Dispatch(kStartSync));
}

SyncProgressDialog* SyncCommandTest::Dialog() const
{
    return dynamic_cast<SyncProgressDialog*>(tray_->dialogs().Get(DialogSlot::SyncProgress));
}

QString SyncCommandTest::Text(int32_t control) const
{
    const SyncProgressDialog* dialog = Dialog();
    const auto* label = dialog ? dialog->findChild<QLabel*>(QString::number(control)) : nullptr;
    return label ? label->text() : QString("(no dialog)");
}

QPushButton* SyncCommandTest::Button() const
{
    return Dialog()->findChild<QPushButton*>(QString::number(kControlSyncProgressButton));
}

void SyncCommandTest::WaitForWorker()
{
    QTRY_VERIFY_WITH_TIMEOUT(!tray_->syncWorkerRunning(), 10000);
}

void SyncCommandTest::oneWayRunShowsItsNoticesClosesAndProfilesTheDevice()
{
    StoreProfile(SyncOption::PcToDevice);
    // The worker waits for the dialog to handle its first notice, so the painter is in place.
    Start();
    SyncProgressDialog* dialog = Dialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->objectName(), QString("160"));
    QCOMPARE(dialog->windowTitle(), QString("Device Synchronization"));
    QCOMPARE(Text(kControlSyncProgressDevice), QString("Device:         Vantor Kova MP3 Jukebox \nDrive Letter:  E:"));
    QVERIFY(!dialog->findChild<QLabel*>("1004")->pixmap().isNull());
    PaintedTexts painted(dialog->findChild<QLabel*>(QString::number(kControlSyncProgressStatus)));

    // Notice 10 closes the dialog and the profile command follows on the device.
    QTRY_COMPARE_WITH_TIMEOUT(engine_->runs().size(), std::size_t(1), 10000);
    QCOMPARE(Dialog(), nullptr);
    QCOMPARE(engine_->runs()[0].first, 'E');
    QCOMPARE(device_->ReadFile("Music/a.mp3"), std::string("pc a"));
    QVERIFY(std::filesystem::exists(SyncStateFilePath()));
    QVERIFY(ui_->messageBoxes().empty());
    // The count of the first pass is painted at its own pace, if at all before the run ends; the
    // template's text may be painted before the first notice.
    QStringList statuses = painted.texts;
    statuses.removeIf([](const QString& text) {
        return text == "Status:" || text.startsWith("Status:  Syncing device contents");
    });
    QCOMPARE(statuses, (QStringList{"Status:  Initializing Synchronization...",
                                    "Status:  Acquiring synchronization info...", "Status:  Synchronization finished."}));
}

void SyncCommandTest::conflictIsAnsweredAndTheDeviceFileWins()
{
    device_->WriteFile("Music/a.mp3", "device a, longer");
    StoreProfile(SyncOption::SyncBoth, false);
    ui_->ScriptSyncConflictAnswer({kIdOk, SyncConflictChoice::DeviceOverwritesPc, false});
    Start();

    QTRY_COMPARE_WITH_TIMEOUT(Dialog(), nullptr, 10000);
    WaitForWorker();
    const auto questions = ui_->syncConflicts();
    QCOMPARE(questions.size(), std::size_t(1));
    QCOMPARE(questions[0].pcFile, std::string("P:\\Music\\a.mp3"));
    QCOMPARE(questions[0].deviceFile, std::string("E:\\Music\\a.mp3"));
    QCOMPARE(questions[0].choice, SyncConflictChoice::PcOverwritesDevice);
    QCOMPARE(pc_->ReadFile("Music/a.mp3"), std::string("device a, longer"));
    QVERIFY(engine_->runs().empty());

    // The choice is offered again at the next conflict.
    pc_->WriteFile("Music/a.mp3", "pc a again, and longer still");
    Start();
    QTRY_COMPARE_WITH_TIMEOUT(ui_->syncConflicts().size(), std::size_t(2), 10000);
    QCOMPARE(ui_->syncConflicts()[1].choice, SyncConflictChoice::DeviceOverwritesPc);
}

void SyncCommandTest::deviceToPcStaysOpenWithCompleteAndDone()
{
    device_->WriteFile("Music/b.mp3", "device b");
    StoreProfile(SyncOption::DeviceToPc);
    Start();

    QTRY_COMPARE_WITH_TIMEOUT(Text(kControlSyncProgressStatus), QString("Synchronization Complete"), 10000);
    QCOMPARE(Text(kControlSyncProgressPathLine), QString("Path Items:  Done"));
    QCOMPARE(Button()->text(), QString("Done"));
    QCOMPARE(pc_->ReadFile("Music/b.mp3"), std::string("device b"));
    QVERIFY(engine_->runs().empty());
    Button()->click();
    QCOMPARE(Dialog(), nullptr);
}

void SyncCommandTest::cancelClosesTheDialogAfterThePauseAndWritesNoState()
{
    // The worker waits for its first notice to be shown: the cancel comes before any item.
    device_->WriteFile("Music/a.mp3", "device a, longer");
    StoreProfile(SyncOption::SyncBoth);
    clock_->HoldPauses();
    Start();
    Button()->click();
    QTRY_COMPARE_WITH_TIMEOUT(Text(kControlSyncProgressStatus),
                              QString("Status:  Synchronization canceled.  This may take a few seconds..."), 10000);
    QCOMPARE(Dialog()->state(), SyncProgress::State::Cancelling);

    QTRY_COMPARE_WITH_TIMEOUT(clock_->pauses().size(), std::size_t(1), 10000);
    QCOMPARE(clock_->pauses()[0], std::chrono::milliseconds(750));
    QVERIFY(Dialog());
    clock_->ReleasePauses();
    QTRY_COMPARE_WITH_TIMEOUT(Dialog(), nullptr, 10000);
    WaitForWorker();
    QVERIFY(!std::filesystem::exists(SyncStateFilePath()));
    QVERIFY(engine_->runs().empty());
}

void SyncCommandTest::aProfileWithoutItemsIsToldAndTheOptionsWindowOpens()
{
    SyncSettings profile;
    profile.deviceLetter = 'E';
    QVERIFY(SaveSyncSettings(profile));
    QString opened;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        opened = modal->objectName();
        modal->close();
    });
    closer.start(10);
    Start();

    QTRY_COMPARE_WITH_TIMEOUT(opened, QString("143"), 10000);
    const auto boxes = ui_->messageBoxes();
    QCOMPARE(boxes.size(), std::size_t(1));
    QCOMPARE(boxes[0].text, std::string("Must specify valid synchronization path options."));
    QCOMPARE(boxes[0].title, std::string("Invalid Sync Paths"));
    QVERIFY(boxes[0].owner != nullptr);
    QCOMPARE(Dialog(), nullptr);
    QVERIFY(!tray_->syncWorkerRunning());
}

void SyncCommandTest::noDeviceIsTold()
{
    FakeDetection::Attach({});
    tray_->devices().Rebuild("");
    Start();
    const auto boxes = ui_->messageBoxes();
    QCOMPARE(boxes.size(), std::size_t(1));
    QCOMPARE(boxes[0].text, std::string("No Vantor Kova MP3 or Corvane Kova Personal Jukebox devices were detected.  "
                                        "Please verify all device connection(s) to the PC and that the device(s) are "
                                        "working properly"));
    QCOMPARE(boxes[0].title, std::string("Kova Synchronization Aborted"));
    QCOMPARE(boxes[0].style, kMbOk | kMbIconExclamation);
    QCOMPARE(Dialog(), nullptr);
}

void SyncCommandTest::conflictDialogOffersTheChoicesAndAnswersByItsButtons()
{
    struct Case {
        int row;          // the entry chosen, -1 for the one selected when the dialog opens
        bool tick;
        int32_t button;
        SyncConflictAnswer answer;
    };
    const Case cases[] = {
        {-1, true, kControlOk, {kIdOk, SyncConflictChoice::DeviceOverwritesPc, true}},
        {2, false, kControlOk, {kIdOk, SyncConflictChoice::DoNothing, false}},
        {0, true, kControlCancel, {kIdCancel}},
        {0, true, kControlSyncConflictAbort, {kIdAbort}},
    };
    for (const Case& c : cases) {
        QStringList entries;
        int selected = -1;
        bool tickedAtStart = true;
        QTimer::singleShot(0, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            QCOMPARE(modal->windowTitle(), QString("Resolve Sync Conflict"));
            // The PC's file as a Linux path, the device's with its drive letter.
            QCOMPARE(modal->findChild<QLabel*>("1047")->text(), QString::fromStdString(pc_->LinuxPath("Music/a.mp3")));
            QCOMPARE(modal->findChild<QLabel*>("1008")->text(), QString("E:\\Music\\a.mp3"));
            auto* list = modal->findChild<QListWidget*>("1009");
            for (int row = 0; row < list->count(); ++row) {
                entries << list->item(row)->text() + "=" + list->item(row)->data(Qt::UserRole).toString();
            }
            selected = list->currentRow();
            auto* box = modal->findChild<QCheckBox*>("1011");
            tickedAtStart = box->isChecked();
            if (c.row >= 0) list->setCurrentRow(c.row);
            box->setChecked(c.tick);
            modal->findChild<QPushButton*>(QString::number(c.button))->click();
        });
        const SyncConflictAnswer answer =
            SyncConflictDialog({"P:\\Music\\a.mp3", "E:\\Music\\a.mp3", SyncConflictChoice::DeviceOverwritesPc}, nullptr)
                .Ask();
        QCOMPARE(entries, (QStringList{"PC file overwrites Device file=1", "Device file overwrites PC file=2",
                                       "Do Nothing=0"}));
        QCOMPARE(selected, 1);
        QVERIFY(!tickedAtStart);
        QCOMPARE(answer.result, c.answer.result);
        if (answer.result == kIdOk) {
            QCOMPARE(answer.choice, c.answer.choice);
            QCOMPARE(answer.applyToAll, c.answer.applyToAll);
        }
    }
}

// With E: and G: attached the menu selects E:, but the profile is for G:: the window names G: and
// the profile command after the run works on G:.
void SyncCommandTest::theProfilesDeviceIsShownAndProfiledWhenAnotherIsSelected()
{
    const testsupport::TemporaryDevice second('G');
    FakeDetection::Attach({{'E', kModelHd}, {'G', kModelPj}});
    tray_->devices().Rebuild("");
    StoreProfile(SyncOption::PcToDevice, true, 'G', {{"P:\\Music", "G:\\Music"}});
    Start();
    QCOMPARE(Text(kControlSyncProgressDevice),
             QString("Device:         Corvane Kova Personal Jukebox \nDrive Letter:  G:"));

    QTRY_COMPARE_WITH_TIMEOUT(engine_->runs().size(), std::size_t(1), 10000);
    QCOMPARE(engine_->runs()[0].first, 'G');
    QCOMPARE(second.ReadFile("Music/a.mp3"), std::string("pc a"));
    QVERIFY(!device_->Exists("Music"));
}

// After Cancel the worker hangs in the device's presence test until the test lets it go; the
// watchdog closes the dialog meanwhile. Neither the options window (whose loading of the profile
// would free the items the worker holds) nor another run may start until the worker has ended.
void SyncCommandTest::aWorkerStuckInADeviceCallKeepsKovaSyncAndSynchronizeAway()
{
    StoreProfile(SyncOption::PcToDevice, false);
    std::promise<void> release;
    const auto stuck = std::make_shared<std::atomic<bool>>(false);
    engine_->devicePresent = [stuck, released = release.get_future().share()](const std::string&) {
        *stuck = true;
        released.wait_for(std::chrono::seconds(5));
        return true;
    };
    Start();
    QTRY_VERIFY_WITH_TIMEOUT(stuck->load(), 10000);
    Button()->click();
    clock_->Tick(17);  // 8.5 s of the watchdog
    QCOMPARE(Dialog(), nullptr);
    QCOMPARE(ui_->messageBoxes().back().title, std::string("Error"));
    QVERIFY(tray_->syncWorkerRunning());

    QVERIFY(tray_->commands().Dispatch(kKovaSync));
    Start();
    QCOMPARE(ui_->beeps(), (std::vector<uint32_t>{platform::kBeepExclamation, platform::kBeepExclamation}));
    QCOMPARE(tray_->dialogs().Get(DialogSlot::SyncOptions), nullptr);
    QCOMPARE(Dialog(), nullptr);

    release.set_value();
    WaitForWorker();
    QVERIFY(tray_->commands().Dispatch(kKovaSync));
    QVERIFY(tray_->dialogs().Get(DialogSlot::SyncOptions));
}

// Folders dropped on the KovaSync window become items whose device folder, named with dots, the run
// makes as a folder on the player's FAT file system, or fills the PC folder from.
void SyncCommandTest::droppedDottedFoldersAreMadeAsFoldersOnAFatDevice()
{
    device_->Unplug();
    const testsupport::FatImage fat('E');
    if (!fat.mounted()) QSKIP("needs /dev/fuse, fusefat and mkfs.vfat");
    struct Case {
        SyncOption option;
        std::string folder;
    };
    const Case cases[] = {
        {SyncOption::PcToDevice, "R.E.M."}, {SyncOption::SyncBoth, "Vol. 1"}, {SyncOption::DeviceToPc, "Mr. Big"}};
    for (const Case& c : cases) {
        const bool toDevice = c.option != SyncOption::DeviceToPc;
        pc_->MakeFolder(c.folder);
        if (toDevice) {
            pc_->WriteFile(c.folder + "/pc.mp3", "pc");
        } else {
            std::filesystem::create_directory(fat.LinuxPath(c.folder));
            testsupport::WriteWholeFile(fat.LinuxPath(c.folder + "/device.mp3"), "device");
        }
        StoreProfile(c.option, false, 'E', {});
        QVERIFY(tray_->commands().Dispatch(kKovaSync));
        QWidget* options = tray_->dialogs().Get(DialogSlot::SyncOptions);
        QVERIFY(options);
        QVERIFY(DropFiles(options, {pc_->LinuxPath(c.folder)}));
        options->findChild<QPushButton*>(QString::number(kControlOk))->click();

        const std::string copy = toDevice ? fat.LinuxPath(c.folder + "/pc.mp3") : pc_->LinuxPath(c.folder + "/device.mp3");
        QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::is_regular_file(copy), 10000);
        WaitForWorker();
        // The PC as the destination: the window stays with "Done".
        if (!toDevice) QTRY_COMPARE_WITH_TIMEOUT(Text(kControlSyncProgressStatus), QString("Synchronization Complete"), 10000);
        if (Dialog()) Button()->click();
        QTRY_COMPARE_WITH_TIMEOUT(Dialog(), nullptr, 10000);
        QVERIFY(ui_->messageBoxes().empty());
        QCOMPARE(testsupport::ReadWholeFile(copy), std::string(toDevice ? "pc" : "device"));
    }
}

// The clean-up asks before it deletes every file of the device's folder, or more than half of a
// folder of 20 files or more. No keeps every file, the copies are made, and the end of the run says
// the folder was not cleaned up.
void SyncCommandTest::aCleanUpOfMostOfTheDeviceIsAskedAboutAndNoKeepsEveryFile()
{
    struct Case {
        int files;      // on the device
        int deletions;  // of them not on the PC
        bool asked;
    };
    const Case cases[] = {{1, 1, true}, {19, 19, true}, {19, 18, false}, {20, 10, false}, {20, 11, true}};
    SyncSettings profile;
    profile.deviceLetter = 'E';
    profile.fileCleanup = true;
    profile.profileAfterSync = false;
    profile.items.push_back({{}, {}, "P:\\Music", "E:\\Music"});
    QVERIFY(SaveSyncSettings(profile));
    for (const Case& c : cases) {
        const std::string trace = std::to_string(c.deletions) + " of " + std::to_string(c.files);
        std::filesystem::remove_all(device_->LinuxPath("Music"));
        std::filesystem::remove_all(pc_->LinuxPath("Music"));
        pc_->WriteFile("Music/a.mp3", "pc a");
        for (int i = 0; i < c.files; ++i) {
            const std::string song = "Music/song" + std::to_string(i) + ".mp3";
            device_->WriteFile(song, "song");
            if (i >= c.deletions) pc_->WriteFile(song, "song");
        }
        if (c.asked) ui_->ScriptMessageBoxAnswer(kIdNo);
        const std::size_t boxesBefore = ui_->messageBoxes().size();
        Start();
        QTRY_COMPARE_WITH_TIMEOUT(Dialog(), nullptr, 10000);
        WaitForWorker();

        const auto boxes = ui_->messageBoxes();
        const std::size_t kept = c.asked ? c.files : c.files - c.deletions;
        QVERIFY2(std::filesystem::exists(device_->LinuxPath("Music/a.mp3")), trace.c_str());
        const auto onDevice = std::filesystem::directory_iterator(device_->LinuxPath("Music"));
        QVERIFY2(std::size_t(std::distance(onDevice, {})) == kept + 1, trace.c_str());
        if (!c.asked) {
            QVERIFY2(boxes.size() == boxesBefore, trace.c_str());
            continue;
        }
        QVERIFY2(boxes.size() == boxesBefore + 2, trace.c_str());
        const auto& question = boxes[boxesBefore];
        const std::string count = std::to_string(c.deletions) + (c.deletions == 1 ? " file" : " files");
        QVERIFY2(question.text.starts_with("Delete " + count + " on the device that " + (c.deletions == 1 ? "is" : "are") +
                                           " not in " + pc_->LinuxPath("Music") + "?\n\n"),
                 question.text.c_str());
        QCOMPARE(question.title, std::string("Device Synchronization"));
        QCOMPARE(question.style, kMbYesNo | kMbIconQuestion | kMbDefaultButton2);
        QVERIFY(question.owner != nullptr);
        const std::string report = boxes[boxesBefore + 1].text;
        QVERIFY2(report == "These were not cleaned up, as the deletions were not confirmed:\nE:\\Music (kept " + count +
                               " that the source does not have)",
                 report.c_str());
    }
}

}  // namespace trayhost

QTEST_MAIN(trayhost::SyncCommandTest)
#include "synccommandtest.moc"
