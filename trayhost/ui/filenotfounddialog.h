#pragma once

#include "trayhost/ui/userinterface.h"

#include <QDialog>

class QCheckBox;
class QLabel;

namespace trayhost {

// Dialog 131, "User Playlist - File Not Found": asks whether a bad entry of a user playlist is
// removed. The question icon (122), the question (1043), the check box "Apply to all user
// &playlists." (1046) and five buttons: "&Yes" (1040, the default), "Yes to &All" (1061), "&No" (1042),
// "No to A&ll" (1014) and "&Cancel" (2).
class FileNotFoundDialog : public QDialog {
public:
    FileNotFoundDialog();

    // Shows the question modally, centred on the screen, with the question beep. Each button answers
    // with its id and the check box's state, except Cancel (also Escape), which leaves the check box
    // unread; so does the close box, which answers No.
    FileNotFoundAnswer Ask(const FileNotFoundQuestion& question);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void Answer(FileNotFoundChoice choice, bool readCheckBox);

    QLabel* text_;
    QCheckBox* applyToAllPlaylists_;
    FileNotFoundAnswer answer_;
};

}  // namespace trayhost
