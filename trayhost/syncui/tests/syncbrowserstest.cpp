#include "testsupport/devicegenerator.h"
#include "testsupport/devicetree.h"
#include "testsupport/scripteduserinterface.h"
#include "trayhost/resources/ids.h"
#include "trayhost/syncui/devicefolderbrowser.h"
#include "trayhost/syncui/pcpathchooser.h"
#include "trayhost/syncui/newfolderdialog.h"
#include "trayhost/syncui/synchelpviewer.h"
#include "trayhost/syncui/syncpatheditor.h"
#include "trayhost/syncui/syncuiids.h"
#include "trayhost/syncui/tests/modalscript.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeView>
#include <QTreeWidget>

namespace trayhost {

// The help viewer, the device folder browser and the PC browser, offscreen.
class SyncBrowsersTest : public QObject {
    Q_OBJECT

private slots:
    void helpViewerShowsTheFormattedHelp();
    void helpViewerOfAMissingFileIsEmpty();
    void deviceBrowserOpensAtTheStartFolderOfAGeneratedDevice();
    void deviceBrowserStartingAtAFileSelectsTheRoot();
    void deviceBrowserListDoubleClicks();
    void deviceBrowserRefreshSelectsTheRoot();
    void deviceBrowserWithoutDevice();
    void newFolderProposesAFreeNameAndAsksAgainForATakenOne();
    void newFolderShowsInTheTreeAndTheListWhereItIs();
    void pathEditorFieldsTakeTheFirstDroppedPath();
    void pathEditorBrowsesTheDevice();
    void pcBrowserChoosesAFolderOrAFile();

private:
    static QTreeWidget* Tree(QWidget* dialog) { return dialog->findChild<QTreeWidget*>("1052"); }
    static QTreeWidget* List(QWidget* dialog) { return dialog->findChild<QTreeWidget*>("1053"); }
    static QString Selection(QWidget* dialog) { return dialog->findChild<QLineEdit*>("1020")->text(); }
    static QStringList ListNames(QWidget* dialog);
    static QTreeWidgetItem* ListItem(QWidget* dialog, const QString& name);
    static QAbstractButton* ChooseButton(QFileDialog& chooser);

    testsupport::ScriptedUserInterface ui_;
};

QStringList SyncBrowsersTest::ListNames(QWidget* dialog)
{
    QStringList names;
    for (int i = 0; i < List(dialog)->topLevelItemCount(); ++i) names << List(dialog)->topLevelItem(i)->text(0);
    return names;
}

QAbstractButton* SyncBrowsersTest::ChooseButton(QFileDialog& chooser)
{
    const auto* buttons = chooser.findChild<QDialogButtonBox*>();
    for (QAbstractButton* button : buttons->buttons()) {
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) return button;
    }
    return nullptr;
}

QTreeWidgetItem* SyncBrowsersTest::ListItem(QWidget* dialog, const QString& name)
{
    const QList<QTreeWidgetItem*> found = List(dialog)->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.front();
}

void SyncBrowsersTest::helpViewerShowsTheFormattedHelp()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("help.rtf");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi{\\fonttbl{\\f0 Sans;}}{\\b\\fs32 Title}\\par Plain {\\i slanted} caf\\'e9\\par}");
    file.close();

    SyncOptionsHelpViewer viewer(path.toStdString());
    QCOMPARE(viewer.windowTitle(), QString("Kova Sync Options Help"));
    const auto* text = viewer.findChild<QTextBrowser*>("1039");
    QVERIFY(text);
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->toPlainText(), QString("Title\nPlain slanted café"));
    const QTextBlock title = text->document()->firstBlock();
    QCOMPARE(title.begin().fragment().charFormat().fontWeight(), int(QFont::Bold));
    QCOMPARE(title.begin().fragment().charFormat().fontPointSize(), 16.0);
    bool slanted = false;
    for (auto fragment = title.next().begin(); !fragment.atEnd(); ++fragment) {
        if (fragment.fragment().text() == "slanted") slanted = fragment.fragment().charFormat().fontItalic();
    }
    QVERIFY(slanted);
}

void SyncBrowsersTest::helpViewerOfAMissingFileIsEmpty()
{
    for (const std::optional<std::string>& path : {std::optional<std::string>("/nonexistent/help.rtf"),
                                                   std::optional<std::string>()}) {
        SyncOptionsHelpViewer viewer(path);
        QVERIFY(viewer.findChild<QTextBrowser*>("1039")->toPlainText().isEmpty());
    }
}

void SyncBrowsersTest::deviceBrowserOpensAtTheStartFolderOfAGeneratedDevice()
{
    testsupport::TemporaryDevice device('E');
    testsupport::GenerateDevice(device.directory(), 120);
    DeviceFolderBrowser browser(nullptr, "E:\\Artist 0001\\Album 00007", ui_);
    browser.show();

    QCOMPARE(browser.windowTitle(), QString("Dialog"));
    QTreeWidgetItem* current = Tree(&browser)->currentItem();
    QVERIFY(current);
    QCOMPARE(current->text(0), QString("Album 00007"));
    QVERIFY(current->isExpanded());
    QVERIFY(current->parent()->isExpanded());
    QCOMPARE(Tree(&browser)->topLevelItem(0)->text(0), QString("E:\\"));
    QCOMPARE(Selection(&browser), QString("E:\\Artist 0001\\Album 00007"));
    QStringList expected{"cover.jpg"};
    for (int song = 70; song < 80; ++song) {
        expected << QString("%1 Song %2.mp3").arg(song % 10 + 1, 2, 10, QChar('0')).arg(song, 6, 10, QChar('0'));
    }
    expected.sort(Qt::CaseInsensitive);
    QCOMPARE(ListNames(&browser), expected);

    QTest::keyClick(&browser, Qt::Key_Return);
    QCOMPARE(browser.QDialog::result(), int(kIdOk));
    QCOMPARE(browser.chosenPath(), std::string("E:\\Artist 0001\\Album 00007"));
}

void SyncBrowsersTest::deviceBrowserStartingAtAFileSelectsTheRoot()
{
    testsupport::TemporaryDevice device('E');
    device.WriteFile("Music/song.mp3", "x");
    device.MakeFolder("Music/Rock");
    DeviceFolderBrowser browser(nullptr, "E:\\Music\\song.mp3", ui_);
    QCOMPARE(Tree(&browser)->currentItem(), Tree(&browser)->topLevelItem(0));
    QCOMPARE(ListNames(&browser), QStringList{"Music"});
    QCOMPARE(Selection(&browser), QString("E:\\"));
}

void SyncBrowsersTest::deviceBrowserListDoubleClicks()
{
    testsupport::TemporaryDevice device('E');
    device.WriteFile("Music/Rock/a.mp3", "x");
    device.WriteFile("Music/b.mp3", "x");
    DeviceFolderBrowser browser(nullptr, "E:\\Music", ui_);
    browser.show();

    // A single click shows the entry's path; a double click on a folder shows its entries only.
    QTreeWidgetItem* rock = ListItem(&browser, "Rock");
    QVERIFY(rock);
    QTest::mouseClick(List(&browser)->viewport(), Qt::LeftButton, {}, List(&browser)->visualItemRect(rock).center());
    QCOMPARE(Selection(&browser), QString("E:\\Music\\Rock"));
    QTest::mouseDClick(List(&browser)->viewport(), Qt::LeftButton, {}, List(&browser)->visualItemRect(rock).center());
    QCOMPARE(ListNames(&browser), QStringList{"a.mp3"});
    QCOMPARE(Tree(&browser)->currentItem()->text(0), QString("Music"));

    // A double click on a file ends the browser with the file.
    // (The view takes a second double click at the same place for a triple click.)
    QTreeWidgetItem* song = ListItem(&browser, "a.mp3");
    song->setSelected(true);
    emit List(&browser)->itemDoubleClicked(song, 0);
    QVERIFY(!browser.isVisible());
    QCOMPARE(browser.QDialog::result(), int(kIdOk));
    QCOMPARE(browser.chosenPath(), std::string("E:\\Music\\Rock\\a.mp3"));
}

void SyncBrowsersTest::deviceBrowserRefreshSelectsTheRoot()
{
    testsupport::TemporaryDevice device('E');
    device.MakeFolder("Music/Rock");
    DeviceFolderBrowser browser(nullptr, "E:\\Music\\Rock", ui_);
    QCOMPARE(Tree(&browser)->currentItem()->text(0), QString("Rock"));
    device.MakeFolder("Video");
    browser.findChild<QPushButton*>("1022")->click();
    QCOMPARE(Tree(&browser)->currentItem(), Tree(&browser)->topLevelItem(0));
    QCOMPARE(ListNames(&browser), (QStringList{"Music", "Video"}));

    QTest::keyClick(&browser, Qt::Key_Escape);
    QCOMPARE(browser.QDialog::result(), int(kIdCancel));
    QVERIFY(browser.chosenPath().empty());
}

void SyncBrowsersTest::deviceBrowserWithoutDevice()
{
    DeviceFolderBrowser browser(nullptr, "Q:\\Music", ui_);
    QCOMPARE(Tree(&browser)->topLevelItemCount(), 1);
    QCOMPARE(Tree(&browser)->topLevelItem(0)->text(0), QString("(No Device Present)"));
    QVERIFY(!Tree(&browser)->currentItem() || !Tree(&browser)->currentItem()->isSelected());
    QVERIFY(!browser.findChild<QPushButton*>("1021")->isEnabled());
    QVERIFY(Selection(&browser).isEmpty());
    browser.accept();
    QCOMPARE(browser.QDialog::result(), int(kIdOk));
    QVERIFY(browser.chosenPath().empty());
}

void SyncBrowsersTest::newFolderProposesAFreeNameAndAsksAgainForATakenOne()
{
    testsupport::TemporaryDevice device('E');
    device.MakeFolder("Music/Folder 1");
    DeviceFolderBrowser browser(nullptr, "E:\\Music", ui_);
    QStringList proposals;
    const auto name = [&proposals](const QString& typed) {
        return [&proposals, typed](QDialog* dialog) {
            auto* field = dialog->findChild<QLineEdit*>("1051");
            proposals << field->text() + (field->selectedText() == field->text() ? " (selected)" : "");
            field->setText(typed);
            dialog->findChild<QPushButton*>("1")->click();
        };
    };
    ModalScript script({name("Folder 1"), name("Live")});
    browser.findChild<QPushButton*>("1021")->click();
    QTRY_VERIFY_WITH_TIMEOUT(script.finished(), 5000);

    QCOMPARE(proposals, (QStringList{"Folder 2 (selected)", "Folder 2 (selected)"}));
    QCOMPARE(ui_.messageBoxes().back().title, std::string("Error Folder Creation"));
    QCOMPARE(ui_.messageBoxes().back().text,
             std::string("The specified folder 'Folder 1' already exists.  Please specify a new folder."));
    QVERIFY(device.Exists("Music/Live"));
    QCOMPARE(ListNames(&browser).last(), QString("Live"));
    QCOMPARE(Selection(&browser), QString("E:\\Music\\Live"));
}

// A folder opened in the list does not take the new folder: it is made in the folder chosen in the
// tree, and both show it there, in the same order.
void SyncBrowsersTest::newFolderShowsInTheTreeAndTheListWhereItIs()
{
    testsupport::TemporaryDevice device('E');
    device.MakeFolder("Music/Rock/Live");
    device.MakeFolder("Music/Jazz");
    device.WriteFile("Music/song.mp3", "x");
    DeviceFolderBrowser browser(nullptr, "E:\\Music", ui_);
    QTreeWidgetItem* music = Tree(&browser)->currentItem();
    ListItem(&browser, "Rock")->setSelected(true);
    emit List(&browser)->itemDoubleClicked(ListItem(&browser, "Rock"), 0);
    QCOMPARE(ListNames(&browser), QStringList{"Live"});

    ModalScript name({[](QDialog* dialog) {
        dialog->findChild<QLineEdit*>("1051")->setText("Classical");
        dialog->findChild<QPushButton*>("1")->click();
    }});
    browser.findChild<QPushButton*>("1021")->click();
    QVERIFY(name.finished());

    QVERIFY(device.Exists("Music/Classical"));
    QCOMPARE(Tree(&browser)->currentItem(), music);
    QStringList treeNames;
    for (int i = 0; i < music->childCount(); ++i) treeNames << music->child(i)->text(0);
    QCOMPARE(treeNames, (QStringList{"Classical", "Jazz", "Rock"}));
    QCOMPARE(ListNames(&browser), (QStringList{"Classical", "Jazz", "Rock", "song.mp3"}));
    QCOMPARE(List(&browser)->currentItem()->text(0), QString("Classical"));
    QCOMPARE(Selection(&browser), QString("E:\\Music\\Classical"));
}

void SyncBrowsersTest::pathEditorFieldsTakeTheFirstDroppedPath()
{
    testsupport::TemporaryDevice device('E');
    device.WriteFile("a.mp3", "x");
    device.WriteFile("b.mp3", "x");
    PathEditorExchange noDevice{"(No Device Present)", "", "E:\\Old", 0, SyncOption::PcToDevice, -1};
    SyncPathEditor withoutDevice(nullptr, noDevice, ui_);
    QCOMPARE(withoutDevice.findChild<QLabel*>("1028")->text(), QString("(No Device Present)"));
    QVERIFY(withoutDevice.findChild<QLabel*>("1029")->text().isEmpty());
    QVERIFY(!withoutDevice.findChild<QLineEdit*>("1013")->isEnabled());
    QVERIFY(!withoutDevice.findChild<QPushButton*>("1018")->isEnabled());

    PathEditorExchange exchange{"Vantor Kova MP3 Jukebox (E:)", "", "", 'E', SyncOption::PcToDevice, 1};
    SyncPathEditor editor(nullptr, exchange, ui_);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(device.LinuxPath("a.mp3"))),
                  QUrl::fromLocalFile(QString::fromStdString(device.LinuxPath("b.mp3")))});
    for (const char* field : {"1012", "1013"}) {
        auto* target = editor.findChild<QLineEdit*>(field);
        QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
    }
    // The PC field shows the Linux path, the device field the device's own path.
    QCOMPARE(editor.findChild<QLineEdit*>("1012")->text(), QString::fromStdString(device.LinuxPath("a.mp3")));
    QCOMPARE(editor.findChild<QLineEdit*>("1013")->text(), QString("E:\\a.mp3"));
}

void SyncBrowsersTest::pathEditorBrowsesTheDevice()
{
    testsupport::TemporaryDevice device('E');
    device.MakeFolder("Music");
    PathEditorExchange exchange{"Vantor Kova MP3 Jukebox (E:)", "", "f:\\Missing", 'E', SyncOption::PcToDevice, 4};
    SyncPathEditor editor(nullptr, exchange, ui_);
    auto* field = editor.findChild<QLineEdit*>("1013");
    QCOMPARE(field->text(), QString("E:\\Missing"));  // on the device's drive
    QString startedAt;
    ModalScript choose({[&](QDialog* browser) {
        startedAt = Tree(browser)->currentItem()->text(0);
        List(browser)->setCurrentItem(ListItem(browser, "Music"));
        browser->findChild<QPushButton*>("1")->click();
    }});
    editor.findChild<QPushButton*>("1018")->click();
    QVERIFY(choose.finished());
    QCOMPARE(startedAt, QString("E:\\"));
    QCOMPARE(field->text(), QString("E:\\Music"));
}

// An item is two folders or two files: the chooser takes either, starting with its start path
// chosen, and shows every column whole.
void SyncBrowsersTest::pcBrowserChoosesAFolderOrAFile()
{
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath("Music/Rock"));
    // A picture, whose type ("JPEG image") is wider than the column's title.
    for (const char* name : {"Music/a.mp3", "Music/cover.jpg"}) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    for (const char* start : {"Music/Rock", "Music/a.mp3"}) {
        PcPathChooser chooser(nullptr, folder.filePath(start));
        QCOMPARE(chooser.windowTitle(), QString("Please choose the synchronization destination folder."));
        QCOMPARE(chooser.directory().absolutePath(), folder.filePath("Music"));
        chooser.show();
        auto* details = chooser.findChild<QTreeView*>("treeView");
        QTRY_COMPARE_WITH_TIMEOUT(details->model()->rowCount(details->rootIndex()), 3, 5000);
        for (int column = 1; column < details->header()->count(); ++column) {
            QTRY_VERIFY_WITH_TIMEOUT(
                details->columnWidth(column) >= static_cast<QAbstractItemView*>(details)->sizeHintForColumn(column),
                5000);
        }
        QVERIFY(details->header()->length() >= details->viewport()->width());
        QAbstractButton* choose = ChooseButton(chooser);
        QCOMPARE(choose->text(), QString("&Choose"));
        QVERIFY(choose->isEnabled());
        choose->click();
        QCOMPARE(chooser.QDialog::result(), int(QDialog::Accepted));
        QCOMPARE(chooser.chosenPath(), folder.filePath(start));
    }

    // Nothing to choose before something is selected.
    PcPathChooser missingStart(nullptr, folder.filePath("Missing"));
    QCOMPARE(missingStart.directory().absolutePath(), QDir::currentPath());
    QVERIFY(!ChooseButton(missingStart)->isEnabled());
}

}  // namespace trayhost

QTEST_MAIN(trayhost::SyncBrowsersTest)
#include "syncbrowserstest.moc"
