#include "trayhost/syncui/synchelpviewer.h"

#include "trayhost/syncui/rtftextdocument.h"
#include "trayhost/syncui/synchelpfile.h"
#include "trayhost/syncui/syncuiids.h"
#include "trayhost/syncui/syncuitexts.h"
#include "trayhost/ui/appicon.h"
#include "trayhost/ui/windowcentring.h"

#include <QTextBrowser>
#include <QVBoxLayout>

namespace trayhost {

namespace {

// A page of help: about 70 characters wide and 36 lines high at the default font.
constexpr int kViewerColumns = 70;
constexpr int kViewerLines = 36;
// Room between the text and the frame.
constexpr int kTextMarginCharacters = 2;

}  // namespace

SyncOptionsHelpViewer::SyncOptionsHelpViewer(const std::optional<std::string>& helpPath)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(kHelpViewerTitle));
    // Icon 166 is the program's own icon.
    setWindowIcon(AppIcon());
    setWindowFlag(Qt::WindowMinMaxButtonsHint, true);

    auto* text = new QTextBrowser;
    text->setObjectName(QString::number(kControlHelpText));
    text->setOpenLinks(false);
    if (helpPath) FillTextDocument(*text->document(), LoadSyncOptionsHelp(*helpPath));
    text->document()->setDocumentMargin(fontMetrics().averageCharWidth() * kTextMarginCharacters);
    text->moveCursor(QTextCursor::Start);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);
    resize(fontMetrics().averageCharWidth() * kViewerColumns, fontMetrics().lineSpacing() * kViewerLines);
}

SyncOptionsHelp::~SyncOptionsHelp()
{
    Close();
}

void SyncOptionsHelp::Close()
{
    delete viewer_;
}

void SyncOptionsHelp::Open()
{
    if (!viewer_) {
        viewer_ = new SyncOptionsHelpViewer(helpPath_);
        CenterWindow(viewer_);
    }
    viewer_->showNormal();
    viewer_->raise();
    viewer_->activateWindow();
}

}  // namespace trayhost
