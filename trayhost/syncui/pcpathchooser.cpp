#include "trayhost/syncui/pcpathchooser.h"

#include "trayhost/syncui/syncuitexts.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>

#include <algorithm>

namespace trayhost {

namespace {

// The chooser's first size at the default font, in characters and lines, and the width of its
// list of places.
constexpr int kChooserColumns = 130;
constexpr int kChooserLines = 26;
constexpr int kPlacesColumns = 18;
constexpr int kNameColumn = 0;

}  // namespace

PcPathChooser::PcPathChooser(QWidget* owner, const QString& startPath) : QFileDialog(owner)
{
    setWindowTitle(QString::fromUtf8(kPcBrowserTitle));
    // The desktop's own dialog could not be told to take a folder or a file alike.
    setOption(QFileDialog::DontUseNativeDialog);
    // Existing files, and the folders the button of its own (below) takes as well; a mode for
    // folders would show "Directories" as the files' type.
    setFileMode(QFileDialog::ExistingFile);
    setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    resize(fontMetrics().averageCharWidth() * kChooserColumns, fontMetrics().lineSpacing() * kChooserLines);
    // Room for the names of the places beside the folder.
    if (auto* splitter = findChild<QSplitter*>()) {
        splitter->setSizes({fontMetrics().averageCharWidth() * kPlacesColumns, width()});
    }
    // The folder's entries arrive after the dialog opens, and with each folder gone into.
    if (auto* model = findChild<QFileSystemModel*>()) {
        connect(model, &QFileSystemModel::directoryLoaded, this, [this] { FitColumns(); });
    }
    MakeChooseButton();

    const QFileInfo start(QDir::cleanPath(startPath));
    if (!startPath.isEmpty() && start.exists()) {
        setDirectory(start.absolutePath());
        selectFile(start.fileName());
    } else {
        setDirectory(QDir::currentPath());
    }
}

// The dialog's own button would read "Open" on a folder, for going into it, and a mode for folders
// would grey it out on a file: "Choose" takes whichever is selected or typed.
void PcPathChooser::MakeChooseButton()
{
    // The file dialog's parts, by the names it gives them.
    auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    delete buttons->button(QDialogButtonBox::Open);
    choose_ = buttons->addButton(QString::fromUtf8(kPcBrowserChooseButton), QDialogButtonBox::AcceptRole);
    choose_->setDefault(true);
    connect(this, &QFileDialog::currentChanged, this, [this] { UpdateChooseButton(); });
    connect(this, &QFileDialog::directoryEntered, this, [this] { UpdateChooseButton(); });
    if (auto* typed = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        connect(typed, &QLineEdit::textChanged, this, [this] { UpdateChooseButton(); });
    }
    UpdateChooseButton();
}

void PcPathChooser::UpdateChooseButton()
{
    const QStringList selected = selectedFiles();
    choose_->setEnabled(!selected.isEmpty() && QFileInfo::exists(selected.front()));
}

void PcPathChooser::accept()
{
    const QStringList selected = selectedFiles();
    if (selected.isEmpty()) return;
    const QFileInfo chosen(selected.front());
    if (!chosen.exists()) return;
    chosenPath_ = chosen.absoluteFilePath();
    QDialog::accept();
}

void PcPathChooser::FitColumns()
{
    auto* details = findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!details) return;
    // The size its entries want, which a tree view keeps to itself and any item view tells.
    const QAbstractItemView* view = details;
    int others = 0;
    for (int column = kNameColumn + 1; column < details->header()->count(); ++column) {
        details->resizeColumnToContents(column);
        others += details->columnWidth(column);
    }
    details->setColumnWidth(kNameColumn,
                            std::max(view->sizeHintForColumn(kNameColumn), details->viewport()->width() - others));
}

std::optional<QString> BrowseForPcPath(QWidget* owner, const QString& startPath)
{
    PcPathChooser chooser(owner, startPath);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    return chooser.chosenPath();
}

}  // namespace trayhost
