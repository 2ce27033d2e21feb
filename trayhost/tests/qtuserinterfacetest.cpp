#include "trayhost/ui/qtuserinterface.h"

#include "platform/sound.h"
#include "trayhost/ui/qtmessagetarget.h"
#include "trayhost/ui/windowcentring.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>
#include <QTimer>

#include <functional>
#include <future>
#include <thread>

namespace trayhost {

// The Qt side of the user interface: message boxes, the Device Conflict dialog, window centring and
// window handles whose messages reach the GUI thread.
class QtUserInterfaceTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void messageBoxHasTheStylesButtonsIconAndTexts();
    void messageBoxAnswersWithTheButtonPressed();
    void messageBoxFromAWorkerThreadIsShownOnTheGuiThread();
    void syncConflictFromAWorkerThreadIsAskedOnTheGuiThreadOverItsOwner();
    void messageBoxKeepsAWebAddressOnOneLine();
    void deviceConflictDialogOffersBothModelsAndBeeps();
    void deviceConflictOkAnswersTheSelectedModel();
    void deviceConflictCancelAndCloseBoxAnswerCancel();
    void fileNotFoundDialogAsksWithItsTextsButtonsAndTheQuestionBeep();
    void fileNotFoundAnswersReadTheCheckBoxExceptCancelAndTheCloseBox();
    void fileNotFoundCheckBoxShowsItsFocus();
    void centringPlacesTheWindowInTheMiddleOfTheScreen();
    void messagesToAWindowHandleAreHandledOnTheGuiThread();
    void progressMessagesWaitOneAtATimeAndKeepTheirPlace();
    void senderIsReleasedWhenTheTargetGoesAway();

private:
    // Runs check on the modal window once it is open.
    void WhenModalOpens(std::function<void(QWidget* modal)> check);

    // The sync conflict dialog's stand-in: where and over what it was asked.
    SyncConflictAnswer AskSyncConflict(QWidget* owner, const SyncConflictQuestion& question);

    QtUserInterface ui_{[this](QWidget* owner, const SyncConflictQuestion& question) {
        return AskSyncConflict(owner, question);
    }};
    int beeps_ = 0;
    int questionBeeps_ = 0;
    QWidget* conflictOwner_ = nullptr;
    bool conflictOnGuiThread_ = false;
};

void QtUserInterfaceTest::init()
{
    beeps_ = 0;
    questionBeeps_ = 0;
    platform::SetBeepPlayer([this](uint32_t type) {
        if (type == platform::kBeepExclamation) ++beeps_;
        if (type == platform::kBeepQuestion) ++questionBeeps_;
    });
}

void QtUserInterfaceTest::cleanup()
{
    platform::SetBeepPlayer(nullptr);
}

void QtUserInterfaceTest::WhenModalOpens(std::function<void(QWidget* modal)> check)
{
    auto* timer = new QTimer(this);
    timer->setInterval(10);
    connect(timer, &QTimer::timeout, this, [timer, check] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->deleteLater();
            timer->stop();
            check(modal);
        }
    });
    timer->start();
}

void QtUserInterfaceTest::messageBoxHasTheStylesButtonsIconAndTexts()
{
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    WhenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        buttons = box->standardButtons();
        icon = box->icon();
        title = box->windowTitle();
        text = box->text();
        defaultButton = box->standardButton(box->defaultButton());
        box->button(QMessageBox::Yes)->click();
    });
    // "\xe9" is e-acute in the system code page (Windows-1252).
    ui_.MessageBox(nullptr, "Delete caf\xe9.m3u?", "Playlist", kMbYesNoCancel | kMbIconExclamation | kMbDefaultButton2);

    QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(title, QString("Playlist"));
    QCOMPARE(text, QString::fromUtf8("Delete caf\u00e9.m3u?"));
    QCOMPARE(defaultButton, QMessageBox::No);
}

void QtUserInterfaceTest::messageBoxAnswersWithTheButtonPressed()
{
    struct Case {
        uint32_t style;
        QMessageBox::StandardButton press;
        int32_t answer;
    };
    const Case cases[] = {
        {kMbOk | kMbIconInformation, QMessageBox::Ok, kIdOk},
        {kMbOkCancel | kMbIconQuestion, QMessageBox::Cancel, kIdCancel},
        {kMbYesNo | kMbIconStop, QMessageBox::No, kIdNo},
        {kMbRetryCancel, QMessageBox::Retry, kIdRetry},
    };
    for (const Case& c : cases) {
        WhenModalOpens([&](QWidget* modal) { qobject_cast<QMessageBox*>(modal)->button(c.press)->click(); });
        QCOMPARE(ui_.MessageBox(nullptr, "text", "title", c.style), c.answer);
    }
    // Escape on a box with OK and Cancel answers Cancel.
    WhenModalOpens([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    QCOMPARE(ui_.MessageBox(nullptr, "text", "title", kMbOkCancel), int32_t(kIdCancel));
}

void QtUserInterfaceTest::messageBoxFromAWorkerThreadIsShownOnTheGuiThread()
{
    bool onGuiThread = false;
    WhenModalOpens([&](QWidget* modal) {
        onGuiThread = modal->thread() == QApplication::instance()->thread();
        qobject_cast<QMessageBox*>(modal)->button(QMessageBox::No)->click();
    });
    auto answer = std::async(std::launch::async, [this] { return ui_.MessageBox(nullptr, "text", "title", kMbYesNo); });
    QTRY_VERIFY_WITH_TIMEOUT(answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 5000);
    QCOMPARE(answer.get(), int32_t(kIdNo));
    QVERIFY(onGuiThread);
}

SyncConflictAnswer QtUserInterfaceTest::AskSyncConflict(QWidget* owner, const SyncConflictQuestion& question)
{
    conflictOwner_ = owner;
    conflictOnGuiThread_ = QThread::currentThread() == QApplication::instance()->thread();
    return {kIdOk, question.choice, true};
}

void QtUserInterfaceTest::syncConflictFromAWorkerThreadIsAskedOnTheGuiThreadOverItsOwner()
{
    QWidget progress;
    QtMessageTarget target(&progress, [](const platform::WindowMessage&) { return intptr_t(0); });
    auto answer = std::async(std::launch::async, [&] {
        return ui_.AskSyncConflict(target.handle(), {"P:\\a.mp3", "E:\\a.mp3", SyncConflictChoice::DoNothing});
    });
    QTRY_VERIFY_WITH_TIMEOUT(answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 5000);
    const SyncConflictAnswer got = answer.get();
    QCOMPARE(got.choice, SyncConflictChoice::DoNothing);
    QVERIFY(got.applyToAll);
    QCOMPARE(conflictOwner_, &progress);
    QVERIFY(conflictOnGuiThread_);
}

void QtUserInterfaceTest::messageBoxKeepsAWebAddressOnOneLine()
{
    const QString address("https://support.example.com/downloads/kova-jukebox/updates");
    const QString text = "The device is newer.  It is recommended that you visit the Customer Support page on " +
                         address + " to check for <software> updates.\nThank you.";
    QString shown;
    QFont font;
    WhenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        shown = box->text();
        font = box->font();
        box->button(QMessageBox::Ok)->click();
    });
    ui_.MessageBox(nullptr, text.toStdString(), "Kova MP3/Personal Jukebox", kMbOk | kMbIconInformation);

    // What shows is the text, with nothing more than invisible word joiners.
    QCOMPARE(QString(shown).remove(QChar(0x2060)), text);
    // Laid out as a label wraps it, narrower than the address: the text wraps, but not inside the
    // address (joined, it starts where it did and is twice as long, less one).
    QTextDocument document;
    document.setDefaultFont(font);
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WordWrap);
    document.setDefaultTextOption(wrapping);
    document.setPlainText(shown);
    document.setTextWidth(QFontMetrics(font).horizontalAdvance(address) / 2);
    QVERIFY(document.size().height() > 0);  // lays the text out
    const QTextLayout* layout = document.firstBlock().layout();
    QVERIFY(layout->lineCount() > 2);
    const int start = static_cast<int>(text.indexOf(address));
    const int last = start + 2 * static_cast<int>(address.size()) - 2;
    QCOMPARE(layout->lineForTextPosition(start).lineNumber(), layout->lineForTextPosition(last).lineNumber());
}

void QtUserInterfaceTest::deviceConflictDialogOffersBothModelsAndBeeps()
{
    QString title;
    QString text;
    QStringList entries;
    QList<uint> models;
    int selectedRow = -1;
    int beepsWhenOpen = 0;
    WhenModalOpens([&](QWidget* modal) {
        title = modal->windowTitle();
        text = modal->findChild<QLabel*>("1066")->text();
        auto* list = modal->findChild<QListWidget*>("1065");
        for (int row = 0; row < list->count(); ++row) {
            entries << list->item(row)->text();
            models << list->item(row)->data(Qt::UserRole).toUInt();
        }
        selectedRow = list->currentRow();
        beepsWhenOpen = beeps_;
        QVERIFY(modal->findChild<QLabel*>("1001"));
        modal->findChild<QPushButton*>("1")->click();
    });
    const DeviceConflictAnswer answer = ui_.AskDeviceConflict({'E', "WARNING:  conflict for drive letter 'E:'."});

    QCOMPARE(title, QString("Device Conflict"));
    QCOMPARE(text, QString("WARNING:  conflict for drive letter 'E:'."));
    QCOMPARE(entries, (QStringList{"Vantor Kova MP3 Jukebox", "Corvane Kova Personal Jukebox"}));
    QCOMPARE(models, (QList<uint>{1, 2}));
    QCOMPARE(selectedRow, 0);
    QCOMPARE(beepsWhenOpen, 1);
    QCOMPARE(answer.result, int32_t(kIdOk));
    QCOMPARE(answer.chosenModel, uint8_t(1));
}

void QtUserInterfaceTest::deviceConflictOkAnswersTheSelectedModel()
{
    WhenModalOpens([](QWidget* modal) {
        modal->findChild<QListWidget*>("1065")->setCurrentRow(1);
        modal->findChild<QPushButton*>("1")->click();
    });
    const DeviceConflictAnswer answer = ui_.AskDeviceConflict({'G', "which?"});
    QCOMPARE(answer.result, int32_t(kIdOk));
    QCOMPARE(answer.chosenModel, uint8_t(2));
}

void QtUserInterfaceTest::deviceConflictCancelAndCloseBoxAnswerCancel()
{
    WhenModalOpens([](QWidget* modal) { modal->findChild<QPushButton*>("2")->click(); });
    QCOMPARE(ui_.AskDeviceConflict({'G', "which?"}).result, int32_t(kIdCancel));

    WhenModalOpens([](QWidget* modal) {
        modal->findChild<QListWidget*>("1065")->setCurrentRow(1);
        modal->close();
    });
    const DeviceConflictAnswer closed = ui_.AskDeviceConflict({'G', "which?"});
    QCOMPARE(closed.result, int32_t(kIdCancel));
    QCOMPARE(closed.chosenModel, uint8_t(2));
}

void QtUserInterfaceTest::fileNotFoundDialogAsksWithItsTextsButtonsAndTheQuestionBeep()
{
    struct Case {
        bool invalid;
        QString text;
    };
    const Case cases[] = {
        {false, QString::fromUtf8("The audio file 'Music\\caf\u00e9.mp3' specified in the 'list.m3u' user playlist "
                                  "cannot be found on the device.  \n\nDo you want the file removed from the "
                                  "playlist?")},
        // Control characters are shown in caret notation, not as what they do.
        {true, QString::fromUtf8("The 'list.m3u' playlist entry 'Music\\caf\u00e9^I.mp3' contains invalid control "
                                 "or filename characters.  \n\nDo you want the entry removed from the playlist?")},
    };
    for (const Case& c : cases) {
        QString title;
        QString text;
        QStringList buttons;
        QString defaultButton;
        QString checkBox;
        int questionBeepsWhenOpen = 0;
        WhenModalOpens([&](QWidget* modal) {
            title = modal->windowTitle();
            text = modal->findChild<QLabel*>("1043")->text();
            for (const char* id : {"1040", "1061", "1042", "1014", "2"}) {
                auto* button = modal->findChild<QPushButton*>(id);
                buttons << button->text();
                if (button->isDefault()) defaultButton = id;
            }
            checkBox = modal->findChild<QCheckBox*>("1046")->text();
            questionBeepsWhenOpen = questionBeeps_;
            modal->findChild<QCheckBox*>("1046")->setChecked(true);
            modal->findChild<QPushButton*>("1061")->click();
        });
        const std::string entry = c.invalid ? "Music\\caf\xe9\t.mp3" : "Music\\caf\xe9.mp3";
        const FileNotFoundAnswer answer = ui_.AskFileNotFound({"list.m3u", entry, c.invalid});

        QCOMPARE(title, QString("list.m3u - File Not Found"));
        QCOMPARE(text, c.text);
        QCOMPARE(buttons, (QStringList{"&Yes", "Yes to &All", "&No", "No to A&ll", "&Cancel"}));
        QCOMPARE(defaultButton, QString("1040"));
        QCOMPARE(checkBox, QString("Apply to all user &playlists."));
        QCOMPARE(questionBeepsWhenOpen, 1);
        questionBeeps_ = 0;
        QCOMPARE(answer.choice, FileNotFoundChoice::YesToAll);
        QCOMPARE(answer.applyToAllPlaylists, std::optional<bool>(true));
    }
}

void QtUserInterfaceTest::fileNotFoundAnswersReadTheCheckBoxExceptCancelAndTheCloseBox()
{
    struct Case {
        std::function<void(QWidget* modal)> act;
        FileNotFoundChoice choice;
        std::optional<bool> applyToAllPlaylists;
    };
    const Case cases[] = {
        {[](QWidget* modal) { modal->findChild<QPushButton*>("1042")->click(); }, FileNotFoundChoice::No, false},
        {[](QWidget* modal) { modal->findChild<QPushButton*>("2")->click(); }, FileNotFoundChoice::Cancel,
         std::nullopt},
        {[](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); }, FileNotFoundChoice::Cancel, std::nullopt},
        {[](QWidget* modal) { modal->close(); }, FileNotFoundChoice::No, std::nullopt},
    };
    for (const Case& c : cases) {
        WhenModalOpens(c.act);
        const FileNotFoundAnswer answer = ui_.AskFileNotFound({"list.m3u", "gone.mp3", false});
        QCOMPARE(answer.choice, c.choice);
        QCOMPARE(answer.applyToAllPlaylists, c.applyToAllPlaylists);
    }
}

// The check box is the first control, where the dialog opens; the person must see that a key
// press goes there.
void QtUserInterfaceTest::fileNotFoundCheckBoxShowsItsFocus()
{
    bool focusedFirst = false;
    QImage focused;
    QImage unfocused;
    WhenModalOpens([&](QWidget* modal) {
        auto* checkBox = modal->findChild<QCheckBox*>("1046");
        focusedFirst = QTest::qWaitForWindowActive(modal) && checkBox->hasFocus();
        focused = checkBox->grab().toImage();
        auto* no = modal->findChild<QPushButton*>("1042");
        no->setFocus();
        unfocused = checkBox->grab().toImage();
        no->click();
    });
    ui_.AskFileNotFound({"list.m3u", "gone.mp3", false});
    QVERIFY(focusedFirst);
    QVERIFY(focused != unfocused);
}

void QtUserInterfaceTest::centringPlacesTheWindowInTheMiddleOfTheScreen()
{
    QCOMPARE(CenterWindow(nullptr), 0);

    QWidget window;
    window.resize(201, 101);
    QCOMPARE(CenterWindow(&window), 1);
    const QRect screen = window.screen()->geometry();
    const QRect frame = window.frameGeometry();
    QCOMPARE(frame.size(), QSize(201, 101));
    QCOMPARE(frame.x(), screen.x() + screen.width() / 2 - 201 / 2);
    QCOMPARE(frame.y(), screen.y() + screen.height() / 2 - 101 / 2);
}

void QtUserInterfaceTest::messagesToAWindowHandleAreHandledOnTheGuiThread()
{
    QWidget widget;
    QList<uint32_t> handled;
    bool allOnGuiThread = true;
    QtMessageTarget target(&widget, [&](const platform::WindowMessage& message) {
        handled << message.message;
        allOnGuiThread = allOnGuiThread && QThread::currentThread() == QApplication::instance()->thread();
        return static_cast<intptr_t>(message.wParam * 2);
    });
    QCOMPARE(QtMessageTarget::WidgetOf(target.handle()), &widget);

    auto worker = std::async(std::launch::async, [&] {
        platform::PostMessage(target.handle(), 1026, 1, 0);
        return platform::SendMessage(target.handle(), 1027, 21, 0);
    });
    QTRY_VERIFY_WITH_TIMEOUT(worker.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 5000);
    QCOMPARE(worker.get(), intptr_t(42));
    QCOMPARE(handled, (QList<uint32_t>{1026, 1027}));
    QVERIFY(allOnGuiThread);
    // On the GUI thread itself a send is handled at once.
    QCOMPARE(platform::SendMessage(target.handle(), 1028, 5, 0), intptr_t(10));
}

void QtUserInterfaceTest::progressMessagesWaitOneAtATimeAndKeepTheirPlace()
{
    constexpr uint32_t kProgress = 1026;
    constexpr uint32_t kOther = 1027;
    QWidget widget;
    QStringList handled;
    QtMessageTarget target(
        &widget,
        [&](const platform::WindowMessage& message) {
            handled << QString("%1:%2").arg(message.message).arg(message.lParam);
            return intptr_t(0);
        },
        [](const platform::WindowMessage& message) { return message.message == kProgress; });
    const auto post = [&](uint32_t message, intptr_t value) { platform::PostMessage(target.handle(), message, 0, value); };

    // A thousand counts queue as one, the newest, and it comes before what was posted after it.
    for (intptr_t count = 1; count <= 1000; ++count) post(kProgress, count);
    post(kOther, 1);
    QTRY_COMPARE_WITH_TIMEOUT(handled, (QStringList{"1026:1000", "1027:1"}), 5000);

    // Counts posted while the last one is fresh wait for their turn, and again only the newest shows.
    for (intptr_t count = 1001; count <= 1005; ++count) post(kProgress, count);
    QTRY_COMPARE_WITH_TIMEOUT(handled.size(), qsizetype(3), 5000);
    QCOMPARE(handled.last(), QString("1026:1005"));

    // A message sent from another thread also comes after the count posted before it.
    post(kProgress, 2000);
    auto worker = std::async(std::launch::async, [&] { return platform::SendMessage(target.handle(), kOther, 0, 2); });
    QTRY_VERIFY_WITH_TIMEOUT(worker.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 5000);
    QCOMPARE(handled.mid(3), (QStringList{"1026:2000", "1027:2"}));
}

void QtUserInterfaceTest::senderIsReleasedWhenTheTargetGoesAway()
{
    QWidget widget;
    auto target = std::make_unique<QtMessageTarget>(&widget, [](const platform::WindowMessage&) { return intptr_t(1); });
    const platform::WindowHandle handle = target->handle();
    std::promise<void> sending;
    auto worker = std::async(std::launch::async, [&] {
        sending.set_value();
        return platform::SendMessage(handle, 1026, 0, 0);
    });
    sending.get_future().wait();
    // Without running the event loop the send cannot have been handled; the target goes first.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    target.reset();
    QCOMPARE(worker.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    QCOMPARE(worker.get(), intptr_t(0));
    QVERIFY(!platform::IsWindow(handle));
    QCOMPARE(QtMessageTarget::WidgetOf(handle), nullptr);
}

}  // namespace trayhost

QTEST_MAIN(trayhost::QtUserInterfaceTest)
#include "qtuserinterfacetest.moc"
