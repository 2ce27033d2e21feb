#pragma once

#include <QString>

#include <string>

// Texts inside the system are in the system code page; Qt's are Unicode.
namespace trayhost {

QString FromSystemText(const std::string& text);
// A character the code page lacks becomes '?'.
std::string ToSystemText(const QString& text);

}  // namespace trayhost
