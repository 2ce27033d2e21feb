#include "trayhost/syncui/syncoptionsdialog.h"

#include "platform/messages.h"
#include "trayhost/resources/ids.h"
#include "trayhost/sync/pcpathtext.h"
#include "trayhost/sync/syncprofilestore.h"
#include "trayhost/sync/synctexts.h"
#include "trayhost/syncui/droppedfiles.h"
#include "trayhost/syncui/droppedpaths.h"
#include "trayhost/syncui/pathvalidation.h"
#include "trayhost/syncui/syncoptionsrules.h"
#include "trayhost/syncui/syncpatheditor.h"
#include "trayhost/syncui/syncuiicons.h"
#include "trayhost/syncui/syncuiids.h"
#include "trayhost/syncui/syncuitexts.h"
#include "trayhost/syncui/syncuiwidgets.h"
#include "trayhost/syncui/systemtext.h"
#include "trayhost/ui/appicon.h"
#include "trayhost/ui/windowcentring.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace trayhost {

namespace {

constexpr int kNumberColumn = 0;
constexpr int kPcPathColumn = 1;
constexpr int kDevicePathColumn = 2;
constexpr int kInsidePathRole = Qt::UserRole;
constexpr uint32_t kWarning = kMbOk | kMbIconExclamation;

// The list at the default font: the number column at least 40 pixels, and each path column about
// this many characters. The list opens with room for the whole of both columns and about this many
// rows where the screen has room for it, and may be made as small as the least ones, so that the
// window fits a small screen, or a large scale (1280 by 800 pixels at twice the size).
constexpr int kMinNumberColumnWidth = 40;
constexpr int kPathColumnCharacters = 48;
constexpr int kListRows = 8;
constexpr int kLeastPathColumnCharacters = 16;
constexpr int kLeastListRows = 4;
// The share of the screen's free area the window may open at, leaving room for its frame.
constexpr double kMostOfTheScreen = 0.9;

// Restores the cursor when the work behind the wait cursor ends, however it ends.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QRadioButton* MakeOptionButton(int32_t id, SyncOption option)
{
    auto* button = new QRadioButton(QString::fromUtf8(SyncOptionLabel(option).data(),
                                                      static_cast<qsizetype>(SyncOptionLabel(option).size())));
    button->setObjectName(QString::number(id));
    return button;
}

QCheckBox* MakeCheckBox(int32_t id, const char* text)
{
    auto* box = new QCheckBox(QString::fromUtf8(text));
    box->setObjectName(QString::number(id));
    return box;
}

QLabel* MakePicture(SyncOption option)
{
    auto* picture = new QLabel;
    picture->setPixmap(SyncOptionPicture(option));
    return picture;
}

}  // namespace

SyncOptionsDialog::SyncOptionsDialog(Collaborators collaborators)
    : collaborators_(std::move(collaborators)), help_(collaborators_.helpPath), deviceBox_(new QComboBox),
      items_(new QTreeWidget), insert_(MakeButton(kControlSyncInsert, QString::fromUtf8(kSyncInsertButton))),
      edit_(MakeButton(kControlSyncEdit, QString::fromUtf8(kSyncEditButton))),
      delete_(MakeButton(kControlSyncDelete, QString::fromUtf8(kSyncDeleteButton))),
      syncBoth_(MakeOptionButton(kControlSyncBoth, SyncOption::SyncBoth)),
      pcToDevice_(MakeOptionButton(kControlSyncPcToDevice, SyncOption::PcToDevice)),
      deviceToPc_(MakeOptionButton(kControlSyncDeviceToPc, SyncOption::DeviceToPc)),
      cleanup_(MakeCheckBox(kControlSyncCleanup, kSyncCleanupCaption)),
      profileAfter_(MakeCheckBox(kControlSyncProfileAfter, kSyncProfileAfterCaption)),
      target_(this, [](const platform::WindowMessage&) { return intptr_t{0}; })
{
    setObjectName(QString::number(kDialogSyncOptions));
    setWindowTitle(QString::fromUtf8(kSyncOptionsTitle));
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(MakeDeviceRow());
    layout->addLayout(MakeItemArea(), 1);
    layout->addLayout(MakeOptionArea());
    layout->addLayout(MakeButtonRow());

    LoadSyncSettings(collaborators_.settings);
    FillDeviceList();
    FillItemList();
    UpdateItemButtons();
    // The program's own icon.
    setWindowIcon(AppIcon());

    resize(OpeningSize());
    CenterWindow(this);
}

QSize SyncOptionsDialog::ListSize(int pathColumnCharacters, int rows) const
{
    const QFontMetrics metrics = items_->fontMetrics();
    const int scrollBarRoom = metrics.averageCharWidth() * 4;
    return {items_->columnWidth(kNumberColumn) + 2 * metrics.averageCharWidth() * pathColumnCharacters + scrollBarRoom,
            items_->header()->sizeHint().height() + metrics.lineSpacing() * rows};
}

QSize SyncOptionsDialog::OpeningSize() const
{
    const QSize least = layout()->totalMinimumSize();
    const QSize roomy = least + (ListSize(kPathColumnCharacters, kListRows) - items_->minimumSize());
    return roomy.boundedTo(screen()->availableGeometry().size() * kMostOfTheScreen).expandedTo(least);
}

SyncOptionsDialog::~SyncOptionsDialog()
{
    // The list empties itself as it goes; nothing of this dialog may hear of it.
    items_->disconnect(this);
}

QLayout* SyncOptionsDialog::MakeDeviceRow()
{
    deviceBox_->setObjectName(QString::number(kControlSyncDevice));
    deviceBox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* label = new QLabel(QString::fromUtf8(kSyncDeviceLabel));
    label->setBuddy(deviceBox_);
    QPushButton* refresh = MakeButton(kControlSyncRefresh, QString::fromUtf8(kSyncRefreshButton));
    connect(refresh, &QPushButton::clicked, this, [this] {
        FillDeviceList();
        UpdateItemButtons();
    });

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(deviceBox_, 1);
    row->addWidget(refresh);
    return row;
}

QLayout* SyncOptionsDialog::MakeItemArea()
{
    auto* hint = new QLabel(QString::fromUtf8(kSyncDropHint));
    hint->setWordWrap(true);

    items_->setObjectName(QString::number(kControlSyncItems));
    items_->setHeaderLabels({QString::fromUtf8(kSyncItemColumn), QString::fromUtf8(kSyncPcPathColumn),
                             QString::fromUtf8(kSyncDevicePathColumn)});
    items_->setRootIsDecorated(false);
    items_->setUniformRowHeights(true);
    items_->setSelectionMode(QAbstractItemView::SingleSelection);
    items_->setSelectionBehavior(QAbstractItemView::SelectRows);
    items_->setAllColumnsShowFocus(true);
    const int pathWidth = items_->fontMetrics().averageCharWidth() * kPathColumnCharacters;
    items_->setColumnWidth(kNumberColumn,
                           std::max(kMinNumberColumnWidth, items_->header()->sectionSizeHint(kNumberColumn)));
    items_->setColumnWidth(kPcPathColumn, pathWidth);
    items_->setColumnWidth(kDevicePathColumn, pathWidth);
    items_->setMinimumSize(ListSize(kLeastPathColumnCharacters, kLeastListRows));
    connect(items_, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateItemButtons(); });
    connect(items_, &QTreeWidget::itemDoubleClicked, this, [this] { EditItem(); });
    connect(insert_, &QPushButton::clicked, this, [this] { InsertItem(); });
    connect(edit_, &QPushButton::clicked, this, [this] { EditItem(); });
    connect(delete_, &QPushButton::clicked, this, [this] { DeleteItem(); });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(insert_);
    buttons->addWidget(edit_);
    buttons->addWidget(delete_);
    buttons->addStretch(1);
    auto* area = new QGridLayout;
    area->addWidget(hint, 0, 0, 1, 2);
    area->addWidget(items_, 1, 0);
    area->addLayout(buttons, 1, 1);
    area->setRowStretch(1, 1);
    return area;
}

QLayout* SyncOptionsDialog::MakeOptionArea()
{
    auto* options = new QGroupBox(QString::fromUtf8(kSyncOptionsCaption));
    auto* optionGrid = new QGridLayout(options);
    const std::pair<QRadioButton*, SyncOption> buttons[] = {
        {syncBoth_, SyncOption::SyncBoth},
        {pcToDevice_, SyncOption::PcToDevice},
        {deviceToPc_, SyncOption::DeviceToPc},
    };
    int row = 0;
    for (const auto& [button, option] : buttons) {
        optionGrid->addWidget(MakePicture(option), row, 0);
        optionGrid->addWidget(button, row++, 1);
        connect(button, &QRadioButton::toggled, this, [this, option](bool checked) {
            if (checked) ShowCleanupBox(option);
        });
    }
    // Hidden both ways, the box keeps its place, so that nothing jumps when the option changes.
    QSizePolicy keepPlace = cleanup_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    cleanup_->setSizePolicy(keepPlace);
    // Wide enough for every caption it takes, so that changing the option never clips one.
    int captionWidth = cleanup_->sizeHint().width();
    for (const SyncOption option : {SyncOption::PcToDevice, SyncOption::DeviceToPc}) {
        const QCheckBox probe(QString::fromUtf8(FileCleanupLabel(option).data()));
        captionWidth = std::max(captionWidth, probe.sizeHint().width());
    }
    cleanup_->setMinimumWidth(captionWidth);
    // Under the pictures as well as the buttons, which keeps the window narrow enough for a small screen.
    optionGrid->addWidget(cleanup_, row, 0, 1, 2);
    optionGrid->setColumnStretch(1, 1);

    auto* additional = new QGroupBox(QString::fromUtf8(kSyncAdditionalOptions));
    auto* additionalLayout = new QVBoxLayout(additional);
    additionalLayout->addWidget(profileAfter_);
    additionalLayout->addStretch(1);

    auto* area = new QHBoxLayout;
    area->addWidget(options, 1);
    area->addWidget(additional);
    return area;
}

QLayout* SyncOptionsDialog::MakeButtonRow()
{
    QPushButton* help = MakeButton(kControlSyncHelp, QString::fromUtf8(kSyncHelpButton));
    // In the dialog before its own buttons, so that Tab reaches it first, as it stands left of them.
    help->setParent(this);
    connect(help, &QPushButton::clicked, this, [this] { help_.Open(); });
    auto* row = new QHBoxLayout;
    row->addWidget(help);
    row->addStretch(1);
    row->addWidget(MakeDialogButtons(this, QString::fromUtf8(kSyncSynchronizeButton)));
    return row;
}

int32_t SyncOptionsDialog::FillDeviceList()
{
    const WaitCursor wait;
    DeviceTable& devices = collaborators_.devices;
    devices.Rebuild(collaborators_.programPath);
    deviceBox_->clear();
    const std::vector<DeviceBoxEntry> entries = DeviceBoxEntries(devices);
    for (const DeviceBoxEntry& entry : entries) deviceBox_->addItem(FromSystemText(entry.text), entry.tableIndex);
    const std::optional<std::size_t> chosen = ChosenDeviceEntry(entries, devices, collaborators_.settings.deviceLetter);
    deviceBox_->setCurrentIndex(chosen ? static_cast<int>(*chosen) : -1);
    return devices.count();
}

void SyncOptionsDialog::FillItemList()
{
    SyncSettings& settings = collaborators_.settings;
    const DeviceTable::Entry* device = SelectedDevice();
    items_->clear();
    for (SyncItem& item : settings.items) {
        // The stored paths follow the device chosen now.
        if (device && !item.devicePath.empty()) SetDeviceDriveLetter(device->driveLetter, item.devicePath);
        AppendRow({item.pcPath, item.devicePath});
    }
    cleanup_->setChecked(settings.fileCleanup);
    CheckOptionButton(settings.option);
    ShowCleanupBox(settings.option);
    profileAfter_->setChecked(settings.profileAfterSync);
}

void SyncOptionsDialog::UpdateItemButtons()
{
    const ItemButtons enabled = ItemButtonsFor(collaborators_.devices.count(), items_->topLevelItemCount(),
                                               !items_->selectedItems().isEmpty());
    insert_->setEnabled(enabled.insert);
    edit_->setEnabled(enabled.edit);
    delete_->setEnabled(enabled.remove);
}

SyncOption SyncOptionsDialog::ReadOptionButtons() const
{
    return OptionOfButtons(syncBoth_->isChecked(), pcToDevice_->isChecked(), deviceToPc_->isChecked());
}

// Checks the option's button and unchecks the others; no button for an invalid option.
void SyncOptionsDialog::CheckOptionButton(SyncOption option)
{
    for (const auto& [button, buttonOption] : {std::pair{syncBoth_, SyncOption::SyncBoth},
                                               std::pair{pcToDevice_, SyncOption::PcToDevice},
                                               std::pair{deviceToPc_, SyncOption::DeviceToPc}}) {
        button->setAutoExclusive(false);
        button->setChecked(buttonOption == option);
        button->setAutoExclusive(true);
    }
}

void SyncOptionsDialog::ShowCleanupBox(SyncOption option)
{
    const CleanupBox box = CleanupBoxFor(option);
    cleanup_->setEnabled(box.enabled);
    if (box.shown) cleanup_->setText(QString::fromUtf8(box.caption.data(), static_cast<qsizetype>(box.caption.size())));
    cleanup_->setVisible(box.shown);
}

const DeviceTable::Entry* SyncOptionsDialog::SelectedDevice() const
{
    bool valid = false;
    const int index = deviceBox_->currentData().toInt(&valid);
    if (!valid || index < 0 || index >= collaborators_.devices.count()) return nullptr;
    return &collaborators_.devices.entry(index);
}

QTreeWidgetItem* SyncOptionsDialog::AppendRow(const SyncPathPair& paths)
{
    auto* row = new QTreeWidgetItem(items_);
    row->setText(kNumberColumn, QString::number(items_->topLevelItemCount()));
    SetRowPaths(row, paths);
    return row;
}

void SyncOptionsDialog::SetRowPaths(QTreeWidgetItem* row, const SyncPathPair& paths)
{
    row->setText(kPcPathColumn, QString::fromStdString(PcPathForDisplay(paths.pcPath)));
    row->setData(kPcPathColumn, kInsidePathRole, QByteArray::fromStdString(paths.pcPath));
    row->setText(kDevicePathColumn, FromSystemText(paths.devicePath));
    row->setData(kDevicePathColumn, kInsidePathRole, QByteArray::fromStdString(paths.devicePath));
}

SyncPathPair SyncOptionsDialog::PathsOf(const QTreeWidgetItem* row)
{
    return {row->data(kPcPathColumn, kInsidePathRole).toByteArray().toStdString(),
            row->data(kDevicePathColumn, kInsidePathRole).toByteArray().toStdString()};
}

std::vector<SyncPathPair> SyncOptionsDialog::Rows() const
{
    std::vector<SyncPathPair> rows;
    for (int row = 0; row < items_->topLevelItemCount(); ++row) rows.push_back(PathsOf(items_->topLevelItem(row)));
    return rows;
}

void SyncOptionsDialog::SelectRow(int row)
{
    QTreeWidgetItem* item = items_->topLevelItem(row);
    if (!item) return;
    items_->setFocus();
    items_->setCurrentItem(item);
    items_->scrollToItem(item);
}

void SyncOptionsDialog::RenumberItems()
{
    const WaitCursor wait;
    for (int row = 0; row < items_->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = items_->topLevelItem(row);
        if (item->text(kNumberColumn).toInt() != row + 1) item->setText(kNumberColumn, QString::number(row + 1));
    }
}

void SyncOptionsDialog::InsertItem()
{
    const int row = items_->topLevelItemCount();
    QTreeWidgetItem* item = AppendRow({kPcPathPlaceholder, kDevicePathPlaceholder});
    PathEditorExchange exchange =
        MakePathEditorExchange(EditKind::Insert, SelectedDevice(), ReadOptionButtons(), row + 1, {});
    if (!RunPathEditor(exchange)) {
        delete item;
        return;
    }
    SetRowPaths(item, {exchange.pcPath, exchange.devicePath});
    SelectRow(row);
}

void SyncOptionsDialog::EditItem()
{
    QTreeWidgetItem* item = items_->currentItem();
    if (!item || !item->isSelected()) return;
    PathEditorExchange exchange = MakePathEditorExchange(EditKind::Edit, SelectedDevice(), ReadOptionButtons(),
                                                         items_->indexOfTopLevelItem(item) + 1, PathsOf(item));
    if (RunPathEditor(exchange)) SetRowPaths(item, {exchange.pcPath, exchange.devicePath});
}

bool SyncOptionsDialog::RunPathEditor(PathEditorExchange& exchange)
{
    const bool accepted = SyncPathEditor(this, exchange, collaborators_.userInterface).exec() == kIdOk;
    // The editor may close right after a question of its own (a folder to create), which takes the
    // window manager's focus away with it: this window takes the focus back, as after Cancel.
    activateWindow();
    return accepted;
}

void SyncOptionsDialog::DeleteItem()
{
    QTreeWidgetItem* item = items_->currentItem();
    if (!item || !item->isSelected()) return;
    const int row = items_->indexOfTopLevelItem(item);
    delete item;
    const int rows = items_->topLevelItemCount();
    if (rows == 0) return;
    RenumberItems();
    SelectRow(std::min(row, rows - 1));
}

void SyncOptionsDialog::AddDroppedPaths(const std::vector<std::string>& insidePaths)
{
    const DeviceTable::Entry* device = SelectedDevice();
    if (collaborators_.devices.count() == 0 || !device) return;
    const DroppedRows dropped =
        PlanDroppedRows(Rows(), insidePaths, device->driveLetter, collaborators_.userInterface, handle());
    for (const SyncPathPair& paths : dropped.added) AppendRow(paths);
    if (dropped.rowToSelect) SelectRow(static_cast<int>(*dropped.rowToSelect));
}

bool SyncOptionsDialog::CheckItemConflicts()
{
    std::optional<ItemConflict> conflict;
    {
        const WaitCursor wait;
        conflict = FindItemConflict(Rows(), ReadOptionButtons(), cleanup_->isChecked(), ListedEntryNames());
    }
    if (!conflict) return true;
    const auto itemNumber = static_cast<int32_t>(conflict->row + 1);
    const std::string text =
        conflict->side == ItemSide::Pc ? PcPathConflictText(itemNumber) : DevicePathConflictText(itemNumber);
    collaborators_.userInterface.MessageBox(handle(), text, ItemConflictTitle(itemNumber), kWarning);
    SelectRow(static_cast<int>(conflict->row));
    return false;
}

void SyncOptionsDialog::CollectSettings()
{
    const DeviceTable::Entry* device = SelectedDevice();
    CollectSyncSettings({device ? device->driveLetter : '\0', ReadOptionButtons(), cleanup_->isChecked(),
                         profileAfter_->isChecked(), Rows()},
                        collaborators_.settings);
}

void SyncOptionsDialog::accept()
{
    SaveAndClose(SyncOptionsResult::Synchronized);
}

void SyncOptionsDialog::reject()
{
    SaveAndClose(SyncOptionsResult::Cancelled);
}

void SyncOptionsDialog::SaveAndClose(SyncOptionsResult result)
{
    if (!CheckItemConflicts()) return;
    CollectSettings();
    if (collaborators_.settings.option == SyncOption::Invalid) {
        collaborators_.userInterface.MessageBox(handle(), kInvalidOptionText, kInvalidOptionTitle, kWarning);
        syncBoth_->setFocus();
        return;
    }
    SaveSyncSettings(collaborators_.settings);
    const platform::WindowHandle mainWindow = collaborators_.mainWindow;
    Finish(result);
    if (result == SyncOptionsResult::Synchronized) {
        platform::PostMessage(mainWindow, platform::kWmCommand, static_cast<uintptr_t>(Command::StartSync), 0);
    }
}

void SyncOptionsDialog::Finish(SyncOptionsResult result)
{
    collaborators_.onClosed();
    help_.Close();
    done(static_cast<int>(result));
}

void SyncOptionsDialog::closeEvent(QCloseEvent* event)
{
    Finish(SyncOptionsResult::Discarded);
    event->accept();
}

void SyncOptionsDialog::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedLinuxPaths(event->mimeData()).empty()) event->acceptProposedAction();
}

void SyncOptionsDialog::dragMoveEvent(QDragMoveEvent* event)
{
    if (!DroppedLinuxPaths(event->mimeData()).empty()) event->acceptProposedAction();
}

void SyncOptionsDialog::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    AddDroppedPaths(DroppedInsidePaths(event->mimeData()));
}

}  // namespace trayhost
