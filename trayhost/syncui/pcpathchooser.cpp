#include "trayhost/syncui/pcpathchooser.h"

#include "trayhost/syncui/syncuitexts.h"

#include <QDir>
#include <QFileInfo>
#include <QSplitter>

namespace trayhost {

namespace {

// The chooser's first size at the default font, in characters and lines, and the width of its
// list of places.
constexpr int kChooserColumns = 130;
constexpr int kChooserLines = 26;
constexpr int kPlacesColumns = 18;

}  // namespace

PcPathChooser::PcPathChooser(QWidget* owner, const QString& startPath) : QFileDialog(owner)
{
    setWindowTitle(QString::fromUtf8(kPcBrowserTitle));
    // The desktop's own dialog could not be told to take a folder or a file alike.
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::Directory);
    setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    resize(fontMetrics().averageCharWidth() * kChooserColumns, fontMetrics().lineSpacing() * kChooserLines);
    // Room for the names of the places beside the folder.
    if (auto* splitter = findChild<QSplitter*>()) {
        splitter->setSizes({fontMetrics().averageCharWidth() * kPlacesColumns, width()});
    }

    const QFileInfo start(startPath);
    if (!startPath.isEmpty() && start.isDir()) {
        setDirectory(start.absoluteFilePath());
    } else if (!startPath.isEmpty() && start.exists()) {
        setDirectory(start.absolutePath());
        selectFile(start.fileName());
    } else {
        setDirectory(QDir::currentPath());
    }
}

void PcPathChooser::accept()
{
    const QStringList selected = selectedFiles();
    const QString path = selected.isEmpty() ? directory().absolutePath() : selected.front();
    const QFileInfo chosen(path);
    if (!chosen.exists()) return;
    chosenPath_ = chosen.absoluteFilePath();
    QDialog::accept();
}

std::optional<QString> BrowseForPcPath(QWidget* owner, const QString& startPath)
{
    PcPathChooser chooser(owner, startPath);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    return chooser.chosenPath();
}

}  // namespace trayhost
