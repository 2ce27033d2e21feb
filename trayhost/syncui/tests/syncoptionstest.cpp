#include "platform/registry.h"
#include "platform/sound.h"
#include "testsupport/devicetree.h"
#include "testsupport/runtimedirectory.h"
#include "testsupport/scripteduserinterface.h"
#include "testsupport/userfolders.h"
#include "trayhost/sync/syncprofilestore.h"
#include "trayhost/syncui/tests/filedrop.h"
#include "trayhost/syncui/tests/modalscript.h"
#include "trayhost/syncui/syncoptionscommand.h"
#include "trayhost/syncui/syncoptionsdialog.h"
#include "trayhost/syncui/syncpatheditor.h"
#include "trayhost/syncui/syncuiids.h"
#include "trayhost/tests/fakedetection.h"
#include "trayhost/tests/manualclock.h"
#include "trayhost/tests/scriptedengine.h"
#include "trayhost/ui/qtuserinterface.h"
#include "trayhost/ui/trayapplication.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include <future>
#include <memory>
#include <sstream>

namespace trayhost {

namespace {

constexpr uint32_t kKovaSync = static_cast<uint32_t>(Command::KovaSync);
constexpr uint32_t kWarning = kMbOk | kMbIconExclamation;

}  // namespace

// The "KovaSync Options" dialog in the running tray program, offscreen: opened from the tray menu,
// fed by drops and the path editor, saving the profile and asking for a run.
class SyncOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fullFlowFromTheTrayMenuToARunAndBack();
    void cancellingTheEditorAfterInsertLeavesTheList();
    void deletingSelectsTheRowNowThereAndRenumbers();
    void conflictingItemsKeepTheDialogOpen();
    void noOptionIsRefusedUntilOneIsChosen();
    void closeBoxDiscardsAndEscapeSaves();
    void devicesAndDrops();
    void optionButtonsShowTheCleanupBox();
    void tabOrderFollowsTheWindowFromTopToBottom();
    void helpOpensOnceAndClosesWithTheDialog();
    void runOpensTheDialogModally();
    void focusComesBackAfterTheEditorCreatedAFolder();

private:
    void Open(std::vector<std::pair<char, uint8_t>> devices = {{'E', kModelHd}});
    void Store(SyncOption option, char deviceLetter, const std::vector<std::pair<std::string, std::string>>& items);
    SyncOptionsDialog* Dialog() const;
    template <typename Widget>
    Widget* Control(int32_t id) const;
    QTreeWidget* List() const { return Control<QTreeWidget>(kControlSyncItems); }
    QStringList Rows() const;
    int SelectedRow() const;
    void Drop(const std::vector<std::string>& linuxPaths);
    void Press(int32_t id);
    QString Pc(const std::string& relative) const { return QString::fromStdString(pc_->LinuxPath(relative)); }
    std::vector<std::string> MessageTitles() const;

    std::unique_ptr<testsupport::ScopedUserFolders> folders_;
    std::unique_ptr<testsupport::ScopedRuntimeDirectory> runtime_;
    std::unique_ptr<testsupport::TemporaryDevice> pc_;
    std::unique_ptr<testsupport::TemporaryDevice> device_;
    std::unique_ptr<testsupport::ScriptedUserInterface> ui_;
    std::unique_ptr<ScriptedEngine> engine_;
    ManualClock clock_;
    std::ostringstream diagnostics_;
    std::unique_ptr<TrayApplication> tray_;
    int runsAskedFor_ = 0;
};

void SyncOptionsTest::init()
{
    folders_ = std::make_unique<testsupport::ScopedUserFolders>();
    runtime_ = std::make_unique<testsupport::ScopedRuntimeDirectory>();
    pc_ = std::make_unique<testsupport::TemporaryDevice>('C');
    pc_->WriteFile("Music/a.mp3", "x");
    pc_->MakeFolder("Music/Rock");
    pc_->MakeFolder("Video");
    device_ = std::make_unique<testsupport::TemporaryDevice>('E');
    device_->MakeFolder("Music");
    ui_ = std::make_unique<testsupport::ScriptedUserInterface>();
    engine_ = std::make_unique<ScriptedEngine>();
    tray_ = std::make_unique<TrayApplication>(
        TrayApplication::Environment{&FakeDetection::Enumerate, *ui_, diagnostics_, [](int) {}, *engine_, clock_});
    runsAskedFor_ = 0;
    // The run itself is another command's; here it is enough that it is asked for.
    tray_->commands().SetHandler(Command::StartSync, [this] { ++runsAskedFor_; });
}

void SyncOptionsTest::cleanup()
{
    tray_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    engine_.reset();
    ui_.reset();
    device_.reset();
    pc_.reset();
    runtime_.reset();
    folders_.reset();
}

void SyncOptionsTest::Open(std::vector<std::pair<char, uint8_t>> devices)
{
    FakeDetection::Attach(std::move(devices));
    QVERIFY(tray_->commands().Dispatch(kKovaSync));
    QVERIFY(Dialog());
    QVERIFY(Dialog()->isVisible());
}

void SyncOptionsTest::Store(SyncOption option, char deviceLetter,
                            const std::vector<std::pair<std::string, std::string>>& items)
{
    SyncSettings settings;
    settings.option = option;
    settings.deviceLetter = deviceLetter;
    for (const auto& [pcPath, devicePath] : items) settings.items.push_back({{}, {}, pcPath, devicePath});
    QVERIFY(SaveSyncSettings(settings));
}

SyncOptionsDialog* SyncOptionsTest::Dialog() const
{
    return dynamic_cast<SyncOptionsDialog*>(tray_->dialogs().Get(DialogSlot::SyncOptions));
}

template <typename Widget>
Widget* SyncOptionsTest::Control(int32_t id) const
{
    return Dialog() ? Dialog()->findChild<Widget*>(QString::number(id)) : nullptr;
}

QStringList SyncOptionsTest::Rows() const
{
    QStringList rows;
    for (int row = 0; row < List()->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = List()->topLevelItem(row);
        rows << item->text(0) + " | " + item->text(1) + " | " + item->text(2);
    }
    return rows;
}

int SyncOptionsTest::SelectedRow() const
{
    const QList<QTreeWidgetItem*> selected = List()->selectedItems();
    return selected.size() == 1 ? List()->indexOfTopLevelItem(selected.front()) : -1;
}

void SyncOptionsTest::Drop(const std::vector<std::string>& linuxPaths)
{
    QVERIFY(DropFiles(Dialog(), linuxPaths));
}

void SyncOptionsTest::Press(int32_t id)
{
    QPushButton* button = Control<QPushButton>(id);
    QVERIFY(button);
    QVERIFY(button->isEnabled());
    button->click();
}

std::vector<std::string> SyncOptionsTest::MessageTitles() const
{
    std::vector<std::string> titles;
    for (const auto& box : ui_->messageBoxes()) titles.push_back(box.title);
    return titles;
}

// Sets the path editor's two fields and presses OK.
void EnterPaths(QDialog* editor, const QString& pcPath, const QString& devicePath)
{
    editor->findChild<QLineEdit*>("1012")->setText(pcPath);
    editor->findChild<QLineEdit*>("1013")->setText(devicePath);
    editor->findChild<QPushButton*>("1")->click();
}

void SyncOptionsTest::fullFlowFromTheTrayMenuToARunAndBack()
{
    Open();
    QCOMPARE(Dialog()->windowTitle(), QString("KovaSync Options"));
    QCOMPARE(Control<QComboBox>(kControlSyncDevice)->currentText(), QString("Vantor Kova MP3 Jukebox (E:)"));
    QVERIFY(Control<QRadioButton>(kControlSyncPcToDevice)->isChecked());
    QVERIFY(Control<QCheckBox>(kControlSyncProfileAfter)->isChecked());
    QVERIFY(Control<QPushButton>(kControlSyncInsert)->isEnabled());
    QVERIFY(!Control<QPushButton>(kControlSyncEdit)->isEnabled());

    // A folder dropped from the file manager.
    Drop({pc_->LinuxPath("Music")});
    QCOMPARE(Rows(), QStringList{"1 | " + Pc("Music") + " | E:\\Music"});
    QCOMPARE(SelectedRow(), 0);

    // Insert: a PC folder that does not exist is refused; the device folder is created on request.
    ui_->ScriptMessageBoxAnswer(kIdOk);
    ui_->ScriptMessageBoxAnswer(kIdYes);
    QStringList editorTexts;
    ModalScript insert({[&](QDialog* editor) {
        QCOMPARE(editor->windowTitle(), QString("Edit KovaSync Paths"));
        editorTexts << editor->findChild<QLabel*>("1028")->text() << editor->findChild<QLabel*>("1029")->text()
                    << editor->findChild<QLabel*>("1044")->text();
        EnterPaths(editor, Pc("Missing"), "E:\\Rock");
        QVERIFY(editor->isVisible());
        QVERIFY(editor->findChild<QLineEdit*>("1012")->hasSelectedText());
        EnterPaths(editor, "  " + Pc("Music/Rock") + " ", "e:\\Rock");
    }});
    Press(kControlSyncInsert);
    QVERIFY(insert.finished());
    QCOMPARE(editorTexts, (QStringList{"Vantor Kova MP3 Jukebox (E:)", "2",
                                       "Specify the two folders to be synched.  Use the browse buttons below or "
                                       "drag-n-drop folders onto each path."}));
    QCOMPARE(MessageTitles(), (std::vector<std::string>{"Invalid PC Path", "Create Folder"}));
    QVERIFY(device_->Exists("Rock"));
    QCOMPARE(Rows(), (QStringList{"1 | " + Pc("Music") + " | E:\\Music", "2 | " + Pc("Music/Rock") + " | e:\\Rock"}));
    QCOMPARE(SelectedRow(), 1);

    // Edit (a double click): the editor shows the item and writes the new pair back.
    QString shownPc;
    ModalScript edit({[&](QDialog* editor) {
        shownPc = editor->findChild<QLineEdit*>("1012")->text();
        EnterPaths(editor, Pc("Video"), "E:\\Video");
    }});
    ui_->ScriptMessageBoxAnswer(kIdYes);
    emit List()->itemDoubleClicked(List()->topLevelItem(1), 1);
    QVERIFY(edit.finished());
    QCOMPARE(shownPc, Pc("Music/Rock"));
    QCOMPARE(Rows().at(1), "2 | " + Pc("Video") + " | E:\\Video");

    // Delete the first: the second moves up as item 1.
    List()->setCurrentItem(List()->topLevelItem(0));
    Press(kControlSyncDelete);
    QCOMPARE(Rows(), QStringList{"1 | " + Pc("Video") + " | E:\\Video"});
    QCOMPARE(SelectedRow(), 0);

    // Synchronize saves and asks for a run.
    Press(kControlOk);
    QCOMPARE(Dialog(), nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(runsAskedFor_, 1, 5000);
    SyncSettings saved;
    LoadSyncSettings(saved);
    QCOMPARE(saved.deviceLetter, 'E');
    QCOMPARE(saved.option, SyncOption::PcToDevice);
    QCOMPARE(saved.items.size(), std::size_t(1));
    QCOMPARE(saved.items[0].pcPath, std::string("C:\\Video"));
    QCOMPARE(saved.items[0].devicePath, std::string("E:\\Video"));

    // Opened again, the dialog shows what was saved.
    QTRY_VERIFY_WITH_TIMEOUT(!tray_->dialogs().Open().IsOpen(DialogSlot::SyncOptions), 5000);
    Open();
    QCOMPARE(Rows(), QStringList{"1 | " + Pc("Video") + " | E:\\Video"});
}

void SyncOptionsTest::cancellingTheEditorAfterInsertLeavesTheList()
{
    Store(SyncOption::PcToDevice, 'E', {{"C:\\Music", "E:\\Music"}});
    Open();
    for (const char* button : {"2", "close box"}) {
        ModalScript cancel({[button](QDialog* editor) {
            if (QString(button) == "2") {
                editor->findChild<QPushButton*>(button)->click();
            } else {
                editor->close();
            }
        }});
        Press(kControlSyncInsert);
        QVERIFY(cancel.finished());
        QCOMPARE(Rows(), QStringList{"1 | " + Pc("Music") + " | E:\\Music"});
    }
}

void SyncOptionsTest::deletingSelectsTheRowNowThereAndRenumbers()
{
    Store(SyncOption::PcToDevice, 'E', {{"C:\\a", "E:\\a"}, {"C:\\b", "E:\\b"}, {"C:\\c", "E:\\c"}, {"C:\\d", "E:\\d"}});
    Open();
    List()->setCurrentItem(List()->topLevelItem(3));
    Press(kControlSyncDelete);
    QCOMPARE(SelectedRow(), 2);
    List()->setCurrentItem(List()->topLevelItem(1));
    Press(kControlSyncDelete);
    QCOMPARE(SelectedRow(), 1);
    QCOMPARE(Rows(), (QStringList{"1 | " + Pc("a") + " | E:\\a", "2 | " + Pc("c") + " | E:\\c"}));
}

void SyncOptionsTest::conflictingItemsKeepTheDialogOpen()
{
    Store(SyncOption::SyncBoth, 'E', {{"C:\\Music", "E:\\Music"}, {"C:\\Music\\Rock", "E:\\Rock"}});
    Open();
    List()->setCurrentItem(List()->topLevelItem(0));
    QTest::keyClick(List(), Qt::Key_Return);  // Enter acts as "Synchronize"
    QVERIFY(Dialog());
    QCOMPARE(SelectedRow(), 1);
    QCOMPARE(ui_->messageBoxes().size(), std::size_t(1));
    QCOMPARE(ui_->messageBoxes()[0].title, std::string("Item 2:  Invalid Path"));
    QCOMPARE(ui_->messageBoxes()[0].text,
             std::string("The PC Path specified for Item 2 conflicts with another path specified for a "
                         "synchronization and is invalid.  Please specify another PC Path."));
    QCOMPARE(ui_->messageBoxes()[0].owner, Dialog()->handle());
    QCOMPARE(ui_->messageBoxes()[0].style, kWarning);

    // One way without clean-up, the same rows are fine.
    Control<QRadioButton>(kControlSyncPcToDevice)->click();
    Press(kControlOk);
    QCOMPARE(Dialog(), nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(runsAskedFor_, 1, 5000);
}

void SyncOptionsTest::noOptionIsRefusedUntilOneIsChosen()
{
    Store(SyncOption::Invalid, 'E', {});
    Open();
    for (const int32_t id : {kControlSyncBoth, kControlSyncPcToDevice, kControlSyncDeviceToPc}) {
        QVERIFY(!Control<QRadioButton>(id)->isChecked());
    }
    QCheckBox* cleanup = Control<QCheckBox>(kControlSyncCleanup);
    QVERIFY(cleanup->isVisible() && cleanup->isEnabled());
    QCOMPARE(cleanup->text(), QString("Delete File/Folders that do not match"));

    Press(kControlCancel);
    QVERIFY(Dialog());
    QCOMPARE(MessageTitles(), std::vector<std::string>{"Invalid Option"});
    QCOMPARE(ui_->messageBoxes()[0].text,
             std::string("Invalid KovaSync option has been specified.  Please select a valid option."));
    QCOMPARE(Dialog()->focusWidget(), Control<QRadioButton>(kControlSyncBoth));

    Control<QRadioButton>(kControlSyncDeviceToPc)->click();
    Press(kControlCancel);
    QCOMPARE(Dialog(), nullptr);
    SyncSettings saved;
    LoadSyncSettings(saved);
    QCOMPARE(saved.option, SyncOption::DeviceToPc);
    QCOMPARE(runsAskedFor_, 0);
}

void SyncOptionsTest::closeBoxDiscardsAndEscapeSaves()
{
    Open();
    Drop({pc_->LinuxPath("Music")});
    Dialog()->close();
    QCOMPARE(Dialog(), nullptr);
    SyncSettings saved;
    LoadSyncSettings(saved);
    QVERIFY(saved.items.empty());

    QTRY_VERIFY_WITH_TIMEOUT(!tray_->dialogs().Open().IsOpen(DialogSlot::SyncOptions), 5000);
    Open();
    Drop({pc_->LinuxPath("Music")});
    QTest::keyClick(Dialog(), Qt::Key_Escape);
    QCOMPARE(Dialog(), nullptr);
    LoadSyncSettings(saved);
    QCOMPARE(saved.items.size(), std::size_t(1));
    QCoreApplication::processEvents();
    QCOMPARE(runsAskedFor_, 0);
}

void SyncOptionsTest::devicesAndDrops()
{
    // Two devices and none stored: none is chosen, and a drop adds nothing.
    Store(SyncOption::PcToDevice, 'F', {{"C:\\Music", "F:\\Music"}});
    Open({{'E', kModelPj}, {'G', kModelHd}});
    QComboBox* box = Control<QComboBox>(kControlSyncDevice);
    QCOMPARE(box->currentIndex(), -1);
    QCOMPARE(Rows(), QStringList{"1 | " + Pc("Music") + " | F:\\Music"});
    Drop({pc_->LinuxPath("Video")});
    QCOMPARE(Rows().size(), 1);

    // Choosing a device lets drops in; a folder on the device's own mount point is refused.
    box->setCurrentIndex(0);
    Drop({device_->LinuxPath("Music"), pc_->LinuxPath("Video")});
    QCOMPARE(Rows().at(1), "2 | " + Pc("Video") + " | E:\\Video");
    QCOMPARE(MessageTitles(), std::vector<std::string>{"Warning"});
    QCOMPARE(ui_->messageBoxes()[0].text, std::string("You can't synchronize a device to itself"));
    Dialog()->close();

    // Refresh finds a device plugged in meanwhile; a loaded device path takes the chosen device's letter.
    QTRY_VERIFY_WITH_TIMEOUT(!tray_->dialogs().Open().IsOpen(DialogSlot::SyncOptions), 5000);
    Open({});
    QVERIFY(!Control<QPushButton>(kControlSyncInsert)->isEnabled());
    FakeDetection::Attach({{'E', kModelHd}});
    Press(kControlSyncRefresh);
    QVERIFY(Control<QPushButton>(kControlSyncInsert)->isEnabled());
    Dialog()->close();
    QTRY_VERIFY_WITH_TIMEOUT(!tray_->dialogs().Open().IsOpen(DialogSlot::SyncOptions), 5000);
    Open({{'E', kModelHd}});
    QCOMPARE(Rows(), QStringList{"1 | " + Pc("Music") + " | E:\\Music"});
}

void SyncOptionsTest::optionButtonsShowTheCleanupBox()
{
    Open();
    QCheckBox* cleanup = Control<QCheckBox>(kControlSyncCleanup);
    QCOMPARE(cleanup->text(), QString("Delete Files/Folders on Device that do not exist on PC"));
    cleanup->click();
    Control<QRadioButton>(kControlSyncBoth)->click();
    QVERIFY(cleanup->isHidden());
    QVERIFY(!cleanup->isEnabled());
    Control<QRadioButton>(kControlSyncDeviceToPc)->click();
    QVERIFY(cleanup->isVisible() && cleanup->isEnabled() && cleanup->isChecked());
    QCOMPARE(cleanup->text(), QString("Delete Files/Folders on PC that do not exist on Device"));
}

void SyncOptionsTest::tabOrderFollowsTheWindowFromTopToBottom()
{
    Open();
    QStringList order;
    QWidget* first = Control<QComboBox>(kControlSyncDevice);
    for (QWidget* widget = first; order.size() < 20; widget = widget->nextInFocusChain()) {
        if (widget->focusPolicy() & Qt::TabFocus && !widget->objectName().isEmpty()) order << widget->objectName();
        if (widget->nextInFocusChain() == first) break;
    }
    QCOMPARE(order, (QStringList{"1007", "1019", "1023", "1024", "1025", "1026", "1054", "1015", "1016", "1031",
                                 "1042", "1032", "1", "2"}));
}

void SyncOptionsTest::helpOpensOnceAndClosesWithTheDialog()
{
    Open();
    Press(kControlSyncHelp);
    const auto viewers = [] {
        QList<QWidget*> found;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->findChild<QTextBrowser*>("1039")) found << window;
        }
        return found;
    };
    QCOMPARE(viewers().size(), 1);
    const QPointer<QWidget> viewer = viewers().front();
    QCOMPARE(viewer->windowTitle(), QString("Kova Sync Options Help"));
    Press(kControlSyncHelp);
    QCOMPARE(viewers().size(), 1);
    Dialog()->close();
    QVERIFY(!viewer);
}

void SyncOptionsTest::runOpensTheDialogModally()
{
    Store(SyncOption::Invalid, 'E', {});
    FakeDetection::Attach({{'E', kModelHd}});
    SyncSettings settings;
    SyncOptionsCommand command({tray_->devices(), tray_->dialogs(), *ui_, settings,
                                [this] { return tray_->mainWindow().handle(); }, [] { return false; }});
    ModalScript choose({[this](QDialog* dialog) {
        QCOMPARE(dialog, static_cast<QDialog*>(Dialog()));
        Control<QRadioButton>(kControlSyncBoth)->click();
        Press(kControlCancel);
    }});
    // As a run's worker thread asks for it: the dialog is shown on the GUI thread while it waits.
    std::future<SyncOptionsResult> result = std::async(std::launch::async, [&command] { return command.ShowModal(); });
    QTRY_VERIFY_WITH_TIMEOUT(choose.finished(), 5000);
    QCOMPARE(result.get(), SyncOptionsResult::Cancelled);
    QCOMPARE(Dialog(), nullptr);
    QCOMPARE(settings.option, SyncOption::SyncBoth);
    SyncSettings saved;
    LoadSyncSettings(saved);
    QCOMPARE(saved.option, SyncOption::SyncBoth);
}

// The editor closes right after its folder question, a real message box that takes the focus with
// it while it is open: the options window must have the focus back, as after Cancel.
void SyncOptionsTest::focusComesBackAfterTheEditorCreatedAFolder()
{
    Store(SyncOption::PcToDevice, 'E', {});
    FakeDetection::Attach({{'E', kModelHd}});
    DeviceTable devices(&FakeDetection::Enumerate);
    QtUserInterface messageBoxes({});
    SyncSettings settings;
    auto* dialog = new SyncOptionsDialog({devices, messageBoxes, settings, nullptr, {}, std::nullopt, [] {}});
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    ModalScript createFolder({
        [this](QDialog* editor) {
            // Pressed once this step is over, so that the script sees the question the press opens.
            QMetaObject::invokeMethod(
                editor, [this, editor] { EnterPaths(editor, Pc("Music"), "E:\\New"); }, Qt::QueuedConnection);
        },
        [](QDialog* question) { static_cast<QMessageBox*>(question)->button(QMessageBox::Yes)->click(); },
    });
    dialog->findChild<QPushButton*>(QString::number(kControlSyncInsert))->click();
    QVERIFY(createFolder.finished());
    QVERIFY(device_->Exists("New"));
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), static_cast<QWidget*>(dialog), 5000);
    dialog->close();
}

}  // namespace trayhost

QTEST_MAIN(trayhost::SyncOptionsTest)
#include "syncoptionstest.moc"
