#include "trayhost/syncui/devicefolderbrowser.h"

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "trayhost/syncui/newfolderdialog.h"
#include "trayhost/syncui/syncuiicons.h"
#include "trayhost/syncui/syncuiids.h"
#include "trayhost/syncui/syncuitexts.h"
#include "trayhost/syncui/syncuiwidgets.h"
#include "trayhost/syncui/systemtext.h"
#include "trayhost/ui/windowcentring.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace trayhost {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFolderRole = Qt::UserRole + 1;

// The browser's first size at the default font, in characters and lines.
constexpr int kBrowserColumns = 96;
constexpr int kBrowserLines = 24;

QIcon DriveIcon()
{
    return SyncUiIcon(kIconBrowserDrive);
}

// A folder of the tree shows itself open while it is selected.
QIcon TreeFolderIcon()
{
    const QIcon closed = SyncUiIcon(kIconBrowserFolder);
    const QIcon open = SyncUiIcon(kIconBrowserOpenFolder);
    QIcon icon;
    for (const QSize& size : {QSize(16, 16), QSize(22, 22), QSize(32, 32)}) {
        icon.addPixmap(closed.pixmap(size), QIcon::Normal);
        icon.addPixmap(open.pixmap(size), QIcon::Selected);
    }
    return icon;
}

std::string PathOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kPathRole).toByteArray().toStdString() : std::string();
}

void SetPath(QTreeWidgetItem* item, const std::string& path)
{
    item->setData(0, kPathRole, QByteArray::fromStdString(path));
}

std::string NameOf(const QTreeWidgetItem* item)
{
    const std::string path = PathOf(item);
    return path.substr(path.rfind('\\') + 1);
}

// Where a folder of this name goes among the item's folders, in their order.
int SortedPosition(const QTreeWidgetItem* parent, const std::string& name)
{
    int position = 0;
    while (position < parent->childCount() && FolderNameLess(NameOf(parent->child(position)), name)) ++position;
    return position;
}

void ExpandToShow(QTreeWidgetItem* item)
{
    for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent()) parent->setExpanded(true);
}

}  // namespace

DeviceFolderBrowser::DeviceFolderBrowser(QWidget* owner, const std::string& startPath, UserInterface& userInterface)
    : QDialog(owner), startPath_(startPath), userInterface_(userInterface), tree_(new QTreeWidget),
      list_(new QTreeWidget), newFolder_(MakeButton(kControlBrowserNewFolder, QString())),
      selectionText_(new QLineEdit), target_(this, [](const platform::WindowMessage&) { return intptr_t{0}; })
{
    setWindowTitle(QString::fromUtf8(kDeviceBrowserTitle));

    tree_->setObjectName(QString::number(kControlBrowserTree));
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);

    list_->setObjectName(QString::number(kControlBrowserList));
    list_->setHeaderLabels({QString::fromUtf8(kDeviceBrowserNameColumn)});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(true);

    newFolder_->setIcon(SyncUiIcon(kIconBrowserNewFolder));
    newFolder_->setToolTip(QString::fromUtf8(kNewFolderLabel));
    newFolder_->setAccessibleName(QString::fromUtf8(kNewFolderLabel));
    QPushButton* refresh = MakeButton(kControlBrowserRefresh, QString::fromUtf8(kDeviceBrowserRefreshButton));

    selectionText_->setObjectName(QString::number(kControlBrowserSelection));
    selectionText_->setReadOnly(true);
    selectionText_->setFocusPolicy(Qt::ClickFocus);
    auto* selectionLabel = new QLabel(QString::fromUtf8(kDeviceBrowserSelectionLabel));
    selectionLabel->setBuddy(selectionText_);

    auto* topRow = new QHBoxLayout;
    topRow->addWidget(new QLabel(QString::fromUtf8(kDeviceBrowserCaption)), 1);
    topRow->addWidget(newFolder_);
    topRow->addWidget(refresh);
    auto* selectionRow = new QHBoxLayout;
    selectionRow->addWidget(selectionLabel);
    selectionRow->addWidget(selectionText_, 1);
    auto* layout = new QGridLayout(this);
    layout->addLayout(topRow, 0, 0, 1, 2);
    layout->addWidget(tree_, 1, 0);
    layout->addWidget(list_, 1, 1);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(1, 3);
    layout->addLayout(selectionRow, 2, 0, 1, 2);
    layout->addWidget(MakeDialogButtons(this, QStringLiteral("OK")), 3, 0, 1, 2);
    setTabOrder(tree_, list_);
    setTabOrder(list_, newFolder_);
    setTabOrder(newFolder_, refresh);

    connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { TreeSelectionChanged(); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { ListClicked(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { ListActivated(); });
    connect(refresh, &QPushButton::clicked, this, [this] { Populate(false); });
    connect(newFolder_, &QPushButton::clicked, this, [this] { NewFolder(); });

    resize(fontMetrics().averageCharWidth() * kBrowserColumns, fontMetrics().lineSpacing() * kBrowserLines);
    CenterWindow(this);
    Populate(true);
    tree_->setFocus();
}

DeviceFolderBrowser::~DeviceFolderBrowser()
{
    // The views empty themselves as they go; nothing of this browser may hear of it.
    tree_->disconnect(this);
    list_->disconnect(this);
}

void DeviceFolderBrowser::accept()
{
    result_ = selection_.substr(0, platform::kMaxPath);
    done(kIdOk);
}

void DeviceFolderBrowser::reject()
{
    result_.clear();
    done(kIdCancel);
}

void DeviceFolderBrowser::Populate(bool firstFill)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    filling_ = true;
    const DeviceFolderTree folders = ReadDeviceFolderTree(startPath_, firstFill);
    QTreeWidgetItem* root = nullptr;
    QTreeWidgetItem* start = nullptr;
    if (folders.state != DeviceFolderTree::State::Empty) {
        tree_->clear();
        list_->clear();
    }
    if (folders.state == DeviceFolderTree::State::NoDevice) {
        auto* item = new QTreeWidgetItem(tree_, {QString::fromUtf8(kNoDevicePresent)});
        item->setIcon(0, SyncUiIcon(kIconBrowserNoDevice));
        newFolder_->setEnabled(false);
        ShowSelection({});
    } else if (folders.state == DeviceFolderTree::State::Filled) {
        newFolder_->setEnabled(true);
        tree_->setUpdatesEnabled(false);
        root = new QTreeWidgetItem(tree_, {FromSystemText(folders.root.name)});
        root->setIcon(0, DriveIcon());
        SetPath(root, folders.root.path);
        start = AddFolders(root, folders.root);
        tree_->setUpdatesEnabled(true);
    }
    filling_ = false;
    QTreeWidgetItem* chosen = firstFill && start ? start : root;
    if (chosen) {
        ExpandToShow(chosen);
        chosen->setExpanded(true);
        tree_->setCurrentItem(chosen);
        tree_->scrollToItem(chosen);
    }
    QApplication::restoreOverrideCursor();
}

QTreeWidgetItem* DeviceFolderBrowser::AddFolders(QTreeWidgetItem* item, const DeviceFolderNode& node)
{
    static const QIcon folderIcon = TreeFolderIcon();
    QTreeWidgetItem* start = nullptr;
    for (const DeviceFolderNode& folder : node.children) {
        auto* child = new QTreeWidgetItem(item, {FromSystemText(folder.name)});
        child->setIcon(0, folderIcon);
        SetPath(child, folder.path);
        if (folder.isStart) start = child;
        if (QTreeWidgetItem* below = AddFolders(child, folder)) start = below;
    }
    return start;
}

void DeviceFolderBrowser::ShowFolderContents(const std::string& folderPath)
{
    ShowSelection(folderPath);
    list_->clear();
    const QIcon folderIcon = SyncUiIcon(kIconBrowserFolder);
    const QIcon fileIcon = SyncUiIcon(kIconBrowserFile);
    for (const DeviceFolderEntry& entry : ListDeviceFolder(folderPath)) {
        auto* item = new QTreeWidgetItem(list_, {FromSystemText(entry.name)});
        item->setIcon(0, entry.isFolder ? folderIcon : fileIcon);
        SetPath(item, entry.path);
        item->setData(0, kFolderRole, entry.isFolder);
    }
}

void DeviceFolderBrowser::ShowSelection(const std::string& path)
{
    selection_ = path;
    selectionText_->setText(FromSystemText(path));
    selectionText_->setCursorPosition(0);
}

void DeviceFolderBrowser::TreeSelectionChanged()
{
    if (filling_) return;
    const QTreeWidgetItem* item = tree_->currentItem();
    if (item && item->data(0, kPathRole).isValid()) ShowFolderContents(PathOf(item));
}

void DeviceFolderBrowser::ListClicked()
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.size() == 1) ShowSelection(PathOf(selected.front()));
}

void DeviceFolderBrowser::ListActivated()
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.size() != 1) return;
    const QTreeWidgetItem* item = selected.front();
    if (item->data(0, kFolderRole).toBool()) {
        ShowFolderContents(PathOf(item));
        return;
    }
    ShowSelection(PathOf(item));
    accept();
}

void DeviceFolderBrowser::NewFolder()
{
    QTreeWidgetItem* item = tree_->currentItem();
    if (!item || !item->data(0, kPathRole).isValid()) return;
    const std::string parent = NewFolderParent(PathOf(item));
    NewFolderDialog dialog(this, FromSystemText(ProposeNewFolderName(parent)));
    if (dialog.exec() != kIdOk) return;
    const std::string name = ToSystemText(dialog.name()).substr(0, platform::kMaxPath);
    const std::string path = parent + name;
    if (platform::CreateDirectory(path)) {
        ShowNewFolder(item, name, path);
    } else if (platform::GetLastError() == platform::kErrorAlreadyExists) {
        userInterface_.MessageBox(target_.handle(), FolderExistsText(name), kFolderCreationTitle,
                                  kMbOk | kMbIconExclamation);
        // Once this one has returned: a fresh proposal, in a fresh dialog.
        QMetaObject::invokeMethod(this, [this] { NewFolder(); }, Qt::QueuedConnection);
    }
}

// The list may show another folder than the tree (a folder opened in the list): it comes back to
// the folder the new one is in, so that both show it where it is.
void DeviceFolderBrowser::ShowNewFolder(QTreeWidgetItem* parent, const std::string& name, const std::string& path)
{
    auto* folder = new QTreeWidgetItem({FromSystemText(name)});
    folder->setIcon(0, TreeFolderIcon());
    SetPath(folder, path);
    parent->insertChild(SortedPosition(parent, name), folder);
    parent->setExpanded(true);

    ShowFolderContents(PathOf(parent));
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        QTreeWidgetItem* entry = list_->topLevelItem(row);
        if (PathOf(entry) != path) continue;
        list_->setFocus();
        list_->setCurrentItem(entry);
        list_->scrollToItem(entry);
        break;
    }
    ShowSelection(path);
}

}  // namespace trayhost
