#pragma once

#include <QDialog>
#include <QPointer>

#include <optional>
#include <string>

namespace trayhost {

// "Kova Sync Options Help": the help file of the KovaSync options in a read-only text view (1039),
// modeless and without owner. The close box and Escape close it; it deletes itself when closed. A
// missing or unreadable help file leaves the view empty, without a message.
class SyncOptionsHelpViewer : public QDialog {
public:
    explicit SyncOptionsHelpViewer(const std::optional<std::string>& helpPath);
};

// The one help viewer of the options dialog: Open shows it, or brings the open one to the front;
// the viewer closes when this is destroyed, with the options dialog.
class SyncOptionsHelp {
public:
    explicit SyncOptionsHelp(std::optional<std::string> helpPath) : helpPath_(std::move(helpPath)) {}
    ~SyncOptionsHelp();
    SyncOptionsHelp(const SyncOptionsHelp&) = delete;
    SyncOptionsHelp& operator=(const SyncOptionsHelp&) = delete;

    void Open();
    void Close();
    SyncOptionsHelpViewer* viewer() const { return viewer_; }

private:
    std::optional<std::string> helpPath_;
    QPointer<SyncOptionsHelpViewer> viewer_;
};

}  // namespace trayhost
