#pragma once

#include "trayhost/syncui/patheditorexchange.h"
#include "trayhost/syncui/pathvalidation.h"
#include "trayhost/ui/qtmessagetarget.h"
#include "trayhost/ui/userinterface.h"

#include <QDialog>

class QPushButton;

namespace trayhost {

class PathDropField;

// "Edit KovaSync Paths": one item's PC path (1012) and device path (1013), each with a browse button
// ("..." 1017 and 1018) and taking a file or folder dropped on it, under the item's device (1028),
// number (1029) and a hint (1044). The PC path is shown and typed as a Linux path. Modal; OK ends
// with kIdOk once the pair is accepted (AcceptPathEditorEntry), with the accepted paths in the
// exchange; Cancel, Escape and the close box end with kIdCancel. Without a device the device path
// and its button are disabled.
class SyncPathEditor : public QDialog {
public:
    SyncPathEditor(QWidget* owner, PathEditorExchange& exchange, UserInterface& userInterface);

    void accept() override;
    void reject() override;

private:
    void BrowsePc();
    void BrowseDevice();
    // Selects the field's text and gives it the keyboard focus.
    void FocusField(PathField field);

    PathEditorExchange& exchange_;
    UserInterface& userInterface_;
    PathDropField* pcField_;
    PathDropField* deviceField_;
    QtMessageTarget target_;
};

}  // namespace trayhost
