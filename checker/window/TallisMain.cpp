#include "TallisMain.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "CheckRun.h"
#include "DialogService.h"
#include "FileIdentity.h"
#include "Fonts.h"
#include "HistoryCombo.h"
#include "IniFile.h"
#include "MessageBoxes.h"
#include "PathUtils.h"
#include "QtText.h"
#include "ReplacingFile.h"
#include "ResultListModel.h"
#include "ShellDirDlg.h"
#include "Startup.h"
#include "VersionInfo.h"

namespace {

constexpr const char* ProgramTitle = "Tallis";
constexpr const char* ConfigSection = "Config";
constexpr const char* ModeKey = "Mode";
constexpr const char* SubDirKey = "Subdirectories";
constexpr const char* DirectoriesSection = "Directories";
constexpr const char* FilesSection = "Files";
constexpr int HistoryEntries = 15;  // drop-down count of both fields, and so their history length

constexpr int ClientWidth = 393;
constexpr int ClientHeight = 427;
constexpr int PanelHeight = 201;

QComboBox* NewHistoryCombo(QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);  // the history changes only through its rules
  combo->setMaxVisibleItems(HistoryEntries);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  combo->setMinimumContentsLength(8);
  return combo;
}

QToolButton* NewIconButton(QWidget* parent, QStyle::StandardPixmap icon) {
  auto* button = new QToolButton(parent);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setAutoRaise(false);
  return button;
}

}  // namespace

TTallisForm::TTallisForm(QWidget* parent) : QWidget(parent) {
  FResults = new TResultListModel(this);
  FRun = std::make_unique<TCheckRun>(*FResults);
  FRun->OnCatchUp = [this] {
    ShowSelection();
    QCoreApplication::processEvents();
  };
  BuildUi();

  // FormCreate
  RetranslateUi();
  AppPath = SettingsFolder();
  if (const std::string notice = SettingsFolderNotice(); !notice.empty()) FNotices << ToQString(notice);
  UserPath = DocumentsFolder();
  const TProgramVersion version = ProgramVersion(ProgramTitle, TALLIS_VERSION, "");
  ProgVersName = ToQString(version.Name + version.BracketedVersion);
  ProgVersDate = ToQString(version.FileDate);
  IniName = MakeFileName(AppPath, ProgramTitle, "ini");
  ReadSettings();
}

TTallisForm::~TTallisForm() {
  // FormDestroy. The window is never destroyed during a run: closing waits for its end.
  WriteSettings();
}

void TTallisForm::BuildUi() {
  setObjectName("TallisForm");
  resize(ClientWidth, ClientHeight);

  auto* panel = new QWidget(this);
  panel->setObjectName("TopPanel");

  rgMode = new QGroupBox(panel);
  rbBinary = new QRadioButton(rgMode);
  rbText = new QRadioButton(rgMode);
  FModeGroup = new QButtonGroup(this);
  FModeGroup->addButton(rbBinary, 0);
  FModeGroup->addButton(rbText, 1);
  rbBinary->setChecked(true);
  auto* modeLayout = new QGridLayout(rgMode);
  modeLayout->setContentsMargins(8, 2, 8, 4);
  modeLayout->addWidget(rbBinary, 0, 0);
  modeLayout->addWidget(rbText, 0, 1);
  connect(FModeGroup, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) rgModeClick();
  });

  Label1 = new QLabel(panel);
  SourceDirEdit = NewHistoryCombo(panel);
  Label1->setBuddy(SourceDirEdit);
  SourceSelectBtn = NewIconButton(panel, QStyle::SP_DirOpenIcon);
  connect(SourceSelectBtn, &QToolButton::clicked, this, &TTallisForm::SourceSelectBtnClick);

  Label2 = new QLabel(panel);
  FileEdit = NewHistoryCombo(panel);
  Label2->setBuddy(FileEdit);
  FileBtn = NewIconButton(panel, QStyle::SP_FileIcon);
  connect(FileBtn, &QToolButton::clicked, this, &TTallisForm::FileBtnClick);

  chbSubDir = new QCheckBox(panel);
  cbShow = new QCheckBox(panel);

  // Return on a focused button presses that button; anywhere else it starts a run.
  btStart = new QPushButton(panel);
  btStart->setAutoDefault(true);
  connect(btStart, &QPushButton::clicked, this, &TTallisForm::btStartClick);
  InfoBtn = new QPushButton(panel);
  InfoBtn->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
  InfoBtn->setAutoDefault(true);
  connect(InfoBtn, &QPushButton::clicked, this, &TTallisForm::InfoBtnClick);
  btExit = new QPushButton(panel);
  btExit->setAutoDefault(true);
  connect(btExit, &QPushButton::clicked, this, &TTallisForm::btExitClick);

  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(8, 6, 8, 6);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);
  grid->addWidget(rgMode, 0, 0, 1, 2);
  grid->addWidget(Label1, 1, 0, 1, 2);
  grid->addWidget(SourceDirEdit, 2, 0);
  grid->addWidget(SourceSelectBtn, 2, 1);
  grid->addWidget(Label2, 3, 0, 1, 2);
  grid->addWidget(FileEdit, 4, 0);
  grid->addWidget(FileBtn, 4, 1);
  grid->setRowMinimumHeight(5, 4);
  auto* bottom = new QGridLayout;
  bottom->setContentsMargins(0, 0, 0, 0);
  bottom->setVerticalSpacing(0);
  bottom->addWidget(chbSubDir, 0, 0);
  bottom->addWidget(cbShow, 1, 0);
  bottom->setColumnStretch(1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(4);
  buttons->addWidget(btStart);
  buttons->addWidget(InfoBtn);
  buttons->addWidget(btExit);
  bottom->addLayout(buttons, 1, 2, Qt::AlignRight | Qt::AlignBottom);
  grid->addLayout(bottom, 6, 0, 1, 2);
  grid->setRowStretch(5, 1);
  grid->setColumnStretch(0, 1);
  panel->setFixedHeight(std::max(PanelHeight, panel->sizeHint().height()));

  FResults->setObjectName("ResultList");
  lbResult = new QListView(this);
  lbResult->setModel(FResults);
  lbResult->setUniformItemSizes(true);  // rows of one height: the view lays out nothing per row
  lbResult->setFont(PixelFont("Courier New", 13));
  lbResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lbResult->setSelectionMode(QAbstractItemView::SingleSelection);
  lbResult->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(panel);
  layout->addWidget(lbResult, 1);
}

void TTallisForm::RetranslateUi() {
  setWindowTitle(QtText("Tallis") + " - " +
                 ToQString(VersionText(ReadFileVersionInfo(ProgramTitle, TALLIS_VERSION, "").Version)));
  rgMode->setTitle(QtText("Mode"));
  rbBinary->setText(QtText("Check binaries"));
  rbText->setText(QtText("Check source files"));
  Label1->setText(QtText("Source directory:"));
  Label2->setText(QtText("Filenames:"));
  FileEdit->setToolTip(QtText("Insert filename(s) or wildcards"));
  chbSubDir->setText(QtText("Scan subdirectories"));
  cbShow->setText(QtText("Show contents"));
  btStart->setText(QtText("Check"));
  btStart->setToolTip(QtText("Start checking files"));
  InfoBtn->setToolTip(QtText("Info"));
  btExit->setText(QtText("Exit"));
  btExit->setToolTip(QtText("Quit program"));
}

void TTallisForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) RetranslateUi();
  QWidget::changeEvent(event);
}

void TTallisForm::ReadSettings() {
  RemoveLeftoverTemporaries(IniName);  // of a shutdown that was cut short
  const TIniFile ini(IniName);
  if (ini.Unreadable()) {
    // Its settings would be lost to the defaults: it stays, and this session's go beside it.
    const std::string kept = IniName;
    IniName = FreeNameBeside(IniName);
    FNotices << QSafeFormat(QtText("The settings file %s could not be read at the start and is kept as it is; "
                                   "the settings are saved in %s."),
                            ToQString(kept), ToQString(IniName));
  }
  // Anything but text mode (1) is binary mode.
  SetModeIndex(ini.ReadInteger(ConfigSection, ModeKey, 0) == 1 ? 1 : 0);
  chbSubDir->setChecked(ini.ReadBool(ConfigSection, SubDirKey, false));
  LoadHistory(SourceDirEdit, ini, DirectoriesSection);
  LoadHistory(FileEdit, ini, FilesSection);
  if (FileEdit->count() == 0) AddToHistory(FileEdit, DefaultPattern(0));
  ShowHistoryButtons();
}

void TTallisForm::ShowHistoryButtons() {
  for (QComboBox* combo : {SourceDirEdit, FileEdit}) UpdateDropDownButton(combo, 1);
}

void TTallisForm::WriteSettings() {
  TIniFile ini(IniName);
  ini.WriteInteger(ConfigSection, ModeKey, ModeIndex());
  ini.WriteBool(ConfigSection, SubDirKey, chbSubDir->isChecked());
  SaveHistory(SourceDirEdit, ini, DirectoriesSection, true);
  SaveHistory(FileEdit, ini, FilesSection, true);
  ini.UpdateFile();
}

int TTallisForm::ModeIndex() const { return rbText->isChecked() ? 1 : 0; }

void TTallisForm::SetModeIndex(int index) { (index == 1 ? rbText : rbBinary)->setChecked(true); }

QString TTallisForm::DefaultPattern(int mode) { return mode == 1 ? QStringLiteral("*.txt;*.asm") : QStringLiteral("*.bin"); }

bool TTallisForm::Running() const { return FRun->Running(); }

void TTallisForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  if (!FNotices.isEmpty()) {
    // From the event loop, once: a box opened inside show() would run before the program's loop.
    QTimer::singleShot(0, this, [this, text = FNotices.join("\r\n\r\n")] {
      InfoMsg(text, NoPoint, QtText(ProgramTitle), this);
    });
    FNotices.clear();
  }
  rgModeClick();  // FormShow
  SourceDirEdit->setFocus();
}

void TTallisForm::rgModeClick() { FileEdit->setEditText(DefaultPattern(ModeIndex())); }

TShellDirDialog& TTallisForm::DirDialog() {
  if (!FDirDialog) {
    FOwnDirDialog = std::make_unique<TShellDirDialog>();
    FDirDialog = FOwnDirDialog.get();
  }
  return *FDirDialog;
}

void TTallisForm::SourceSelectBtnClick() {
  QString dir = SourceDirEdit->currentText();
  if (dir.isEmpty()) dir = ToQString(UserPath);
  const QString title =
      ModeIndex() == 1 ? QtText("Directory holding text files") : QtText("Directory holding binary files");
  if (!DirDialog().Execute(title, false, true, false, ToQString(UserPath), dir)) return;
  AddToHistory(SourceDirEdit, dir);
  ShowHistoryButtons();
  rgModeClick();
}

void TTallisForm::FileBtnClick() {
  TFileDialogArgs args;
  if (ModeIndex() == 1) {
    args.Filter = QSafeFormat(QtText("Text files|*.%s|Assembler sources|*.%s|all|*.*"), "txt", "asm");
    args.Title = QtText("Select text files");
  } else {
    args.Filter = QSafeFormat(QtText("Binary files|*.%s|all|*.*"), "bin");
    args.Title = QtText("Select binary files");
  }
  args.Folder = ToQString(IncludeTrailingDelimiter(FromQString(SourceDirEdit->currentText())));
  QStringList files;
  if (!Dialogs().OpenFiles(args, files, this) || files.isEmpty()) return;
  chbSubDir->setChecked(false);
  AddToHistory(SourceDirEdit, ToQString(ExtractFilePath(FromQString(files.constFirst()))));
  QStringList names;
  for (const QString& file : files) names << ToQString(ExtractFileName(FromQString(file)));
  AddToHistory(FileEdit, names.join(';'));
  ShowHistoryButtons();
}

void TTallisForm::btStartClick() {
  if (Running()) return;  // one run at a time
  TCheckParams params;
  params.Mode = ModeIndex() == 1 ? cmText : cmBinary;
  params.SourceDir = FromQString(SourceDirEdit->currentText());
  params.FileNames = FromQString(FileEdit->currentText());
  params.SubDirs = chbSubDir->isChecked();
  params.ShowContents = cbShow->isChecked();
  // What was typed and checked is offered again, at the next start too.
  AddToHistory(SourceDirEdit, SourceDirEdit->currentText());
  AddToHistory(FileEdit, FileEdit->currentText());
  ShowHistoryButtons();

  // Disabling the inputs moves the focus away (onto "Exit"); it comes back after the run.
  const QPointer<QWidget> focus = QApplication::focusWidget();
  SetRunning(true);
  const TCheckResult result = FRun->Run(params);
  ShowSelection();
  SetRunning(false);
  if (focus && isAncestorOf(focus)) focus->setFocus();
  if (FCloseRequested) {
    close();
    return;
  }
  if (result == crError || result == crRefused) ErrorMsg(ToQString(FRun->ErrorMessage()), NoPoint, QString(), this);
}

void TTallisForm::SetRunning(bool running) {
  for (QWidget* w : std::initializer_list<QWidget*>{rgMode, SourceDirEdit, SourceSelectBtn, FileEdit, FileBtn, chbSubDir,
                                                    cbShow, btStart, InfoBtn})
    w->setEnabled(!running);
  if (running)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void TTallisForm::ShowSelection() {
  const int row = FResults->TakeSelection();
  if (row >= 0) lbResult->setCurrentIndex(FResults->index(row));
}

void TTallisForm::InfoBtnClick() {
  const QString text = windowTitle() + " - " + ProgVersDate + "\n\n" +
                       QtText("Checks absolute binary paper-tape files block by block and repairs text tapes.") +
                       "\n" + QSafeFormat(QtText("Settings: %s"), IniName);
  InfoMsg(text, NoPoint, QtText(ProgramTitle), this);
}

void TTallisForm::btExitClick() { close(); }

void TTallisForm::closeEvent(QCloseEvent* event) {
  if (Running()) {
    // The run still uses the window: it ends at its next catch-up, and the window closes then.
    FCloseRequested = true;
    FRun->Stop();
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

void TTallisForm::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain) {
    if (!Running()) btStartClick();
    return;
  }
  QWidget::keyPressEvent(event);
}
