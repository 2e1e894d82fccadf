#include "ShellDirDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "DialogService.h"
#include "FolderOps.h"
#include "FolderTreeModel.h"
#include "HistoryCombo.h"
#include "IniFile.h"
#include "QtText.h"
#include "Translate.h"

namespace {
constexpr int DesignClientWidth = 801;
constexpr int DesignClientHeight = 406;
constexpr int DesignFilePanelWidth = 360;
}  // namespace

TShellDirDialog::TShellDirDialog(QWidget* parent) : QDialog(parent) {
  BuildUi();
  RetranslateUi();
  resize(DesignClientWidth, DesignClientHeight);
  FSplitter->setSizes({DesignClientWidth - DesignFilePanelWidth, DesignFilePanelWidth});
  ApplyPlace(plComputer);
  PlaceWidget(this, NoPoint, pkDialog);  // centred on the screen
}

TShellDirDialog::~TShellDirDialog() {
  if (!FIniName.isEmpty() && !FIniSection.isEmpty()) {
    TIniFile ini(FromQString(FIniName));
    SaveHistory(ini, FromQString(FIniSection), DirList, true, DirHistoryMax);
    ini.UpdateFile();
  }
}

void TShellDirDialog::SetIniFile(const QString& iniName, const QString& iniSection) {
  FIniName = iniName;
  FIniSection = iniSection;
  if (!FIniName.isEmpty() && !FIniSection.isEmpty())
    LoadHistory(TIniFile(FromQString(FIniName)), FromQString(FIniSection), DirList, DirHistoryMax);
}

void TShellDirDialog::BuildUi() {
  // Places.
  FPlaces = new QButtonGroup(this);
  FPlaces->setExclusive(true);
  auto* places = new QVBoxLayout;
  const QStyle::StandardPixmap icons[] = {QStyle::SP_DesktopIcon, QStyle::SP_DirHomeIcon, QStyle::SP_ComputerIcon,
                                          QStyle::SP_DriveNetIcon};
  for (int p = plDesktop; p <= plNetwork; ++p) {
    auto* b = new QToolButton(this);
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setIcon(style()->standardIcon(icons[p], nullptr, this));
    b->setIconSize(QSize(32, 32));
    b->setMinimumWidth(80);
    FPlaces->addButton(b, p);
    places->addWidget(b);
  }
  places->addStretch(1);
  connect(FPlaces, &QButtonGroup::idClicked, this, [this](int id) { SetPlace(static_cast<TPlace>(id)); });

  // Folder tree and file list.
  FTreeModel = new TFolderTreeModel(this);
  tvFolders = new QTreeView(this);
  tvFolders->setModel(FTreeModel);
  tvFolders->setHeaderHidden(true);
  for (int c = 1; c < FTreeModel->columnCount(); ++c) tvFolders->hideColumn(c);
  tvFolders->setSelectionMode(QAbstractItemView::SingleSelection);
  tvFolders->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tvFolders->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(tvFolders->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &TShellDirDialog::TreeSelectionChanged);
  connect(tvFolders, &QWidget::customContextMenuRequested, this, &TShellDirDialog::ShowTreeMenu);
  connect(FTreeModel, &QAbstractItemModel::modelReset, this, [this] {
    for (int c = 1; c < FTreeModel->columnCount(); ++c) tvFolders->hideColumn(c);
  });
  // Folders arrive in the background: while the ones leading to the selection come in, keep the
  // selected folder in view.
  connect(FTreeModel, &TFolderTreeModel::FolderLoaded, this, [this](const QString& loaded) {
    const QString current = SelectedFolder();
    const QString folder = CleanFolder(loaded);
    if (!current.isEmpty() &&
        (current == folder || current.startsWith(folder == QLatin1String("/") ? folder : folder + QLatin1Char('/'))))
      tvFolders->scrollTo(tvFolders->currentIndex());
  });

  FFileModel = nullptr;
  FFilePanel = new QWidget(this);
  lvFiles = new QTreeView(FFilePanel);
  lvFiles->setRootIsDecorated(false);
  lvFiles->setItemsExpandable(false);
  lvFiles->setSortingEnabled(true);
  lvFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvFiles->installEventFilter(this);
  auto* fileColumn = new QVBoxLayout(FFilePanel);
  fileColumn->setContentsMargins(0, 0, 0, 0);
  fileColumn->addWidget(lvFiles);
  ReloadFileModel();

  FSplitter = new QSplitter(Qt::Horizontal, this);
  FSplitter->addWidget(tvFolders);
  FSplitter->addWidget(FFilePanel);
  FSplitter->setChildrenCollapsible(false);

  auto* top = new QHBoxLayout;
  top->addLayout(places);
  top->addWidget(FSplitter, 1);

  // Commands, directory field, free space, closing buttons.
  cbShowFiles = new QCheckBox(this);
  cbShowFiles->setChecked(true);
  connect(cbShowFiles, &QCheckBox::toggled, this, &TShellDirDialog::ShowFilesToggled);
  btHome = new QToolButton(this);
  btHome->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon, nullptr, this));
  btUp = new QToolButton(this);
  btUp->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent, nullptr, this));
  btNewFolder = new QToolButton(this);
  btNewFolder->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder, nullptr, this));
  connect(btHome, &QToolButton::clicked, this, &TShellDirDialog::GoHome);
  connect(btUp, &QToolButton::clicked, this, &TShellDirDialog::GoUp);
  connect(btNewFolder, &QToolButton::clicked, this, &TShellDirDialog::CreateNewFolder);
  auto* commands = new QHBoxLayout;
  commands->addWidget(cbShowFiles);
  commands->addStretch(1);
  commands->addWidget(btHome);
  commands->addWidget(btUp);
  commands->addWidget(btNewFolder);

  lbDirectory = new QLabel(this);
  cbxSelectedDir = new QComboBox(this);
  cbxSelectedDir->setEditable(true);
  cbxSelectedDir->setInsertPolicy(QComboBox::NoInsert);
  cbxSelectedDir->setMaxVisibleItems(DirHistoryMax);
  cbxSelectedDir->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  lbDirectory->setBuddy(cbxSelectedDir);
  connect(cbxSelectedDir->lineEdit(), &QLineEdit::textEdited, this, &TShellDirDialog::FieldEdited);
  connect(cbxSelectedDir, &QComboBox::activated, this, &TShellDirDialog::HistoryChosen);
  auto* dirRow = new QHBoxLayout;
  dirRow->addWidget(lbDirectory);
  dirRow->addWidget(cbxSelectedDir, 1);

  lbFreeSpace = new QLabel(this);
  btOk = new QPushButton(this);
  btOk->setDefault(true);
  btCancel = new QPushButton(this);
  btCancel->setAutoDefault(false);
  connect(btOk, &QPushButton::clicked, this, &TShellDirDialog::AcceptDialog);
  connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(lbFreeSpace, 1);
  bottom->addWidget(btOk);
  bottom->addWidget(btCancel);

  auto* column = new QVBoxLayout(this);
  column->addLayout(top, 1);
  column->addLayout(commands);
  column->addLayout(dirRow);
  column->addLayout(bottom);

  FTreeMenu = new QMenu(this);
  itmCreate = FTreeMenu->addAction(QString(), this, &TShellDirDialog::CreateNewFolder);
  itmDelete = FTreeMenu->addAction(QString(), this, &TShellDirDialog::DeleteFolder);
  itmUpdate = FTreeMenu->addAction(QString(), this, &TShellDirDialog::RefreshTree);
  FTreeMenu->addSeparator();
  itmCancel = FTreeMenu->addAction(QString());
}

void TShellDirDialog::RetranslateUi() {
  setWindowTitle(FTitle.isEmpty() ? QtDialogsText("Select directory") : FTitle);
  const char* placeNames[] = {N_("Desktop"), N_("Documents"), N_("Computer"), N_("Network")};
  for (int p = plDesktop; p <= plNetwork; ++p) FPlaces->button(p)->setText(QtDialogsText(placeNames[p]));
  cbShowFiles->setText(QtDialogsText("Show files"));
  btHome->setToolTip(FDefaultDir.isEmpty() ? QtDialogsText("Go to default folder")
                                           : QtDialogsText("Default: ") + FDefaultDir);
  btUp->setToolTip(QtDialogsText("One folder up"));
  btNewFolder->setToolTip(QtDialogsText("Create new folder"));
  lbDirectory->setText(QtDialogsText("Directory:"));
  cbxSelectedDir->setToolTip(QtDialogsText("Directory"));
  btOk->setText(QtDialogsText("OK"));
  btCancel->setText(QtDialogsText("Cancel"));
  itmCreate->setText(QtDialogsText("Create folder"));
  itmDelete->setText(QtDialogsText("Delete folder"));
  itmUpdate->setText(QtDialogsText("Update"));
  itmCancel->setText(QtDialogsText("Cancel"));
}

void TShellDirDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) RetranslateUi();
  QDialog::changeEvent(event);
}

void TShellDirDialog::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
    AcceptDialog();  // also while OK is disabled
    return;
  }
  if (event->key() == Qt::Key_F5 && mods == Qt::NoModifier) {
    RefreshTree();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TShellDirDialog::Execute(const QString& ATitle, bool Hidden, bool FileView, bool ZipAsFiles,
                              const QString& HomeDir, QString& Dir) {
  return Dialogs().SelectDirectory(*this, ATitle, Hidden, FileView, ZipAsFiles, HomeDir, Dir);
}

bool TShellDirDialog::Run(const QString& ATitle, bool Hidden, bool FileView, bool ZipAsFiles, const QString& HomeDir,
                          QString& Dir) {
  FTitle = ATitle;
  FDefaultDir = HomeDir;
  FHidden = Hidden;
  FZipAsFiles = ZipAsFiles;  // archives cannot be opened as folders here: they stay in the file list
  FTreeModel->SetShowHidden(Hidden);
  ReloadFileModel();
  FNetworkMounts = NetworkMounts();
  PlaceButton(plNetwork)->setEnabled(!FNetworkMounts.isEmpty());

  OpenFolder(Dir.isEmpty() ? HomeDir : Dir);

  FFileView = FileView;
  cbShowFiles->setVisible(FileView);
  UpdateFilePanel();

  PlaceWidget(this, pos(), pkDialog);
  btHome->setVisible(!FDefaultDir.isEmpty());
  RetranslateUi();
  FillDirField();
  const QString field = cbxSelectedDir->currentText();
  if (!field.isEmpty() && QFileInfo(field).isDir()) SelectFolder(field);
  tvFolders->setFocus();
  tvFolders->scrollTo(tvFolders->currentIndex());

  FResultDir.clear();
  if (Dialogs().ExecDialog(*this) != QDialog::Accepted) return false;
  Dir = FResultDir.isEmpty() || FResultDir.endsWith(QLatin1Char('/')) ? FResultDir : FResultDir + QLatin1Char('/');
  return true;
}

void TShellDirDialog::AcceptDialog() {
  FResultDir = cbxSelectedDir->currentText();
  AddToHistory(DirList, FResultDir, DirHistoryMax);
  accept();
}

void TShellDirDialog::FillDirField() {
  const QString text = cbxSelectedDir->currentText();
  SetComboItems(cbxSelectedDir, DirList);
  ShowDropDownButton(cbxSelectedDir, !DirList.isEmpty());
  cbxSelectedDir->setCurrentIndex(-1);
  cbxSelectedDir->setEditText(text);
}

QAbstractButton* TShellDirDialog::PlaceButton(TPlace place) const { return FPlaces->button(place); }

QString TShellDirDialog::SelectedFolder() const { return FTreeModel->PathOf(tvFolders->currentIndex()); }

QString TShellDirDialog::TreeTop() const { return FTreeModel->Top(); }

void TShellDirDialog::TreeSelectionChanged() {
  const QString folder = SelectedFolder();
  QString shown = folder;
  const QFileInfo info(folder);
  if (info.isSymLink()) shown = CleanFolder(info.symLinkTarget());  // a link shows where it leads
  btOk->setEnabled(!folder.isEmpty() && info.isDir());
  cbxSelectedDir->setEditText(shown);
  FolderShown(folder);
}

void TShellDirDialog::FolderShown(const QString& folder) {
  lbFreeSpace->setText(FreeSpaceText(folder));
  if (FFilePanel->isVisibleTo(this)) UpdateFileList(folder);
}

void TShellDirDialog::FieldEdited(const QString& text) { btOk->setEnabled(!text.isEmpty() && QFileInfo(text).isDir()); }

void TShellDirDialog::HistoryChosen(int index) {
  if (index < 0 || index >= cbxSelectedDir->count()) return;
  OpenFolder(cbxSelectedDir->itemText(index));
}

void TShellDirDialog::ReloadFileModel() {
  QFileSystemModel* old = FFileModel;
  FFileModel = new QFileSystemModel(this);
  FFileModel->setReadOnly(true);
  QDir::Filters filter = QDir::Files | QDir::NoDotAndDotDot;
  if (FHidden) filter |= QDir::Hidden | QDir::System;
  FFileModel->setFilter(filter);
  lvFiles->setModel(FFileModel);
  lvFiles->sortByColumn(0, Qt::AscendingOrder);
  lvFiles->header()->setStretchLastSection(false);
  lvFiles->hideColumn(2);  // the file type says little here
  delete old;
  FitFileColumns();
  if (const QString folder = SelectedFolder(); !folder.isEmpty() && FFilePanel->isVisibleTo(this))
    UpdateFileList(folder);
}

void TShellDirDialog::UpdateFileList(const QString& folder) {
  if (folder.isEmpty()) {
    lvFiles->setRootIndex(FFileModel->index(QString()));
    return;
  }
  FFileModel->setRootPath(folder);
  lvFiles->setRootIndex(FFileModel->index(folder));
}

bool TShellDirDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lvFiles && event->type() == QEvent::Resize) FitFileColumns();
  return QDialog::eventFilter(watched, event);
}

void TShellDirDialog::FitFileColumns() {
  // Size and date as wide as their longest texts; the name takes the rest (the window or the
  // splitter resized).
  const QFontMetrics fm = lvFiles->fontMetrics();
  const int size = fm.horizontalAdvance(QStringLiteral("000.00 KiB")) + 24;
  const QString sampleDate =
      QLocale().toString(QDateTime(QDate(2000, 12, 28), QTime(23, 59)), QLocale::ShortFormat);
  const int date = fm.horizontalAdvance(sampleDate) + 24;
  lvFiles->setColumnWidth(1, size);
  lvFiles->setColumnWidth(3, date);
  lvFiles->setColumnWidth(0, std::max(lvFiles->viewport()->width() - size - date, 80));
}

void TShellDirDialog::ShowFilesToggled(bool) { UpdateFilePanel(); }

void TShellDirDialog::SetShowFiles(bool show) { cbShowFiles->setChecked(show); }

void TShellDirDialog::UpdateFilePanel() {
  const bool show = FFileView && cbShowFiles->isChecked();
  if (show != FFilePanel->isVisibleTo(this)) {
    // The window grows or shrinks by the panel: left part alone, or left part plus files.
    if (show) {
      FFilePanel->setVisible(true);
      const int panel = FFilePanelWidth > 0 ? FFilePanelWidth : DesignFilePanelWidth;
      resize(width() + panel, height());
      const QList<int> sizes = FSplitter->sizes();
      if (sizes.size() == 2) FSplitter->setSizes({sizes[0], panel});
    } else {
      FFilePanelWidth = FFilePanel->width() + FSplitter->handleWidth();
      FFilePanel->setVisible(false);
      resize(std::max(width() - FFilePanelWidth, minimumSizeHint().width()), height());
    }
  }
  const QString folder = SelectedFolder();
  cbxSelectedDir->setEditText(folder);
  FolderShown(folder);
  btOk->setEnabled(!folder.isEmpty() && QFileInfo(folder).isDir());
}
