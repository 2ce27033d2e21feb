#include "trayhost/syncui/systemtext.h"

#include "platform/codepage.h"

namespace trayhost {

QString FromSystemText(const std::string& text)
{
    return QString::fromStdString(platform::CodePage::System().ToUtf8(text));
}

std::string ToSystemText(const QString& text)
{
    return platform::CodePage::System().FromUtf8(text.toStdString());
}

}  // namespace trayhost
