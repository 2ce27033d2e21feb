#pragma once

#include <QString>

#include <cstdint>

class QDialog;
class QDialogButtonBox;
class QLabel;
class QPushButton;

// Small pieces the KovaSync dialogs share. Every control carries its numeric id as its object name.
namespace trayhost {

QPushButton* MakeButton(int32_t id, const QString& text);

// The sunken box of a read-only value, such as a path or a device name.
QLabel* MakeSunkenText(int32_t id);

// The dialog's accept button (id 1, the default for Enter) and Cancel (id 2, also Escape), wired to
// the dialog's accept() and reject().
QDialogButtonBox* MakeDialogButtons(QDialog* dialog, const QString& acceptText);

}  // namespace trayhost
