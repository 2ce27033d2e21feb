#pragma once

#include <QDialog>

class QLineEdit;

namespace trayhost {

// The new-folder dialog of the device folder browser: the label "New Folder" over the name (1051),
// which opens with the proposal, all selected. OK ends with kIdOk, Cancel, Escape and the close box
// with kIdCancel.
class NewFolderDialog : public QDialog {
public:
    NewFolderDialog(QWidget* owner, const QString& proposal);

    // The name typed (at most 260 characters); empty after Cancel.
    QString name() const { return name_; }

    void accept() override;
    void reject() override;

private:
    QLineEdit* field_;
    QString name_;
};

}  // namespace trayhost
