#include "trayhost/ui/qtuserinterface.h"

#include "platform/codepage.h"
#include "platform/sound.h"
#include "trayhost/ui/deviceconflictdialog.h"
#include "trayhost/ui/filenotfounddialog.h"
#include "trayhost/ui/qtmessagetarget.h"

#include <QApplication>
#include <QMessageBox>
#include <QRegularExpression>
#include <QThread>

namespace trayhost {

namespace {

template <typename Call>
auto OnGuiThread(Call call) -> decltype(call())
{
    if (QThread::currentThread() == QCoreApplication::instance()->thread()) return call();
    decltype(call()) result{};
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { result = call(); }, Qt::BlockingQueuedConnection);
    return result;
}

QString FromSystemText(const std::string& text)
{
    return QString::fromStdString(platform::CodePage::System().ToUtf8(text));
}

bool IsWebAddress(const QString& word)
{
    return word.contains(QStringLiteral("://")) || word.startsWith(QStringLiteral("www."));
}

// Lines may break after the slashes, dots and dashes of a web address, and half an address on each
// line is of no use: word joiners between its characters keep each address in a text on one line.
QString WithAddressesUnbroken(const QString& text)
{
    static const QRegularExpression word(QStringLiteral("\\S+"));
    static const QChar kWordJoiner(0x2060);
    QString shown;
    qsizetype end = 0;
    for (const QRegularExpressionMatch& match : word.globalMatch(text)) {
        shown += text.mid(end, match.capturedStart() - end);
        const QString found = match.captured();
        const bool joined = IsWebAddress(found);
        for (qsizetype at = 0; at < found.size(); ++at) {
            if (at > 0 && joined && !found[at].isLowSurrogate()) shown += kWordJoiner;
            shown += found[at];
        }
        end = match.capturedEnd();
    }
    return shown + text.mid(end);
}

QMessageBox::StandardButtons ButtonsOf(uint32_t style)
{
    switch (style & kMbButtonMask) {
    case kMbOkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case kMbYesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case kMbYesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case kMbRetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon IconOf(uint32_t style)
{
    switch (style & kMbIconMask) {
    case kMbIconStop:
        return QMessageBox::Critical;
    case kMbIconQuestion:
        return QMessageBox::Question;
    case kMbIconExclamation:
        return QMessageBox::Warning;
    case kMbIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The button the box starts on: the first, or the second or third with the default-button flags.
QMessageBox::StandardButton DefaultButtonOf(uint32_t style)
{
    QList<QMessageBox::StandardButton> order;
    const QMessageBox::StandardButtons buttons = ButtonsOf(style);
    for (const QMessageBox::StandardButton button : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No,
                                                     QMessageBox::Retry, QMessageBox::Cancel}) {
        if (buttons.testFlag(button)) order.append(button);
    }
    const qsizetype index = (style & kMbDefaultButton3) ? 2 : (style & kMbDefaultButton2) ? 1 : 0;
    return order.value(index, order.front());
}

int32_t ResultOf(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return kIdOk;
    case QMessageBox::Yes:
        return kIdYes;
    case QMessageBox::No:
        return kIdNo;
    case QMessageBox::Retry:
        return kIdRetry;
    default:
        return kIdCancel;
    }
}

}  // namespace

int32_t QtUserInterface::MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                                    uint32_t style)
{
    return OnGuiThread([&] {
        QMessageBox box(IconOf(style), FromSystemText(title), WithAddressesUnbroken(FromSystemText(text)),
                        ButtonsOf(style), QtMessageTarget::WidgetOf(owner));
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(DefaultButtonOf(style));
        box.exec();
        // A box closed without a button (Escape, the close box) answers as its escape button.
        const auto clicked = box.standardButton(box.clickedButton());
        return clicked == QMessageBox::NoButton ? ResultOf(QMessageBox::Cancel) : ResultOf(clicked);
    });
}

void QtUserInterface::MessageBeep(uint32_t type)
{
    platform::MessageBeep(type);
}

DeviceConflictAnswer QtUserInterface::AskDeviceConflict(const DeviceConflictQuestion& question)
{
    return OnGuiThread([&] {
        DeviceConflictDialog dialog(question, nullptr);
        return dialog.Ask();
    });
}

FileNotFoundAnswer QtUserInterface::AskFileNotFound(const FileNotFoundQuestion& question)
{
    return OnGuiThread([&] {
        FileNotFoundDialog dialog;
        return dialog.Ask(question);
    });
}

SyncConflictAnswer QtUserInterface::AskSyncConflict(WindowHandle owner, const SyncConflictQuestion& question)
{
    return OnGuiThread([&] { return askSyncConflict_(QtMessageTarget::WidgetOf(owner), question); });
}

}  // namespace trayhost
