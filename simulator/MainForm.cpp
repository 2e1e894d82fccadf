// TMainForm: construction, the layout of its controls and menus, and their texts.
#include "MainForm.h"
#include "AssemblerActions.h"
#include "ToolIcons.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QToolButton>
#include <QToolTip>

#include "DeviceTabs.h"
#include "DumpActions.h"
#include "Fonts.h"
#include "InpCommand.h"
#include "InpValue.h"
#include "MachineController.h"
#include "MemoryModel.h"
#include "MemoryPanel.h"
#include "NumberEd.h"
#include "QtText.h"
#include "ReaderCombo.h"
#include "RegisterPanel.h"
#include "RunControl.h"
#include "TeletypePanel.h"
#include "TimeTravelActions.h"
#include "SelectFromListDlg.h"
#include "ShellDirDlg.h"
#include "StatusLine.h"
#include "SwitchesPanel.h"
#include "Startup.h"
#include "TextUtils.h"
#include "TraceWin.h"
#include "ResumedSession.h"
#include "UndoAction.h"
#include "WatchWin.h"
#include "BpWin.h"

std::string LanguageItemCode(const std::string& language) { return SameText(language, "de") ? "de" : "en"; }

TMainForm::TMainForm(const TMainFormPaths& paths, QWidget* parent) : QMainWindow(parent) { Create(paths); }

TMainForm::TMainForm() : QMainWindow(nullptr) {
  const std::string settings = SettingsFolder();
  FSettingsNotice = QString::fromStdString(SettingsFolderNotice());
  Create(TMainFormPaths{settings, DocumentsFolder()});
}

TMainForm::~TMainForm() {
  Shutdown();
  // The tool windows keep their places in the settings file as they go.
  FTraceWin.reset();
  FWatchWin.reset();
  FBpWin.reset();
  FRun->SetFrontPanel(nullptr);
  FFrontPanel.reset();
  delete FController;
  FController = nullptr;
  FPeripherals = nullptr;
  FMachine = nullptr;
}

void TMainForm::Create(const TMainFormPaths& paths) {
  setObjectName("MainForm");
  FController = new TMachineController(this);
  FMachine = &FController->Machine();
  FPeripherals = &FController->Peripherals();
  FController->FileSelector = [this](TPeriphDevice dev) { return pcDevices->SelectFile(dev); };
  FController->SliceEnded = [this] {
    gbTTY->KeyQueuePump();
    gbTTY->TypingPump();
    FLiveLamps.Sample(*FMachine);
  };
  FAppPath = paths.AppPath;
  WorkPath = paths.Documents.empty() ? std::string("Nova") : paths.Documents + (paths.Documents.back() == '/' ? "" : "/") + "Nova";
  FViewTimer.setObjectName("tmView");
  FViewTimer.setInterval(100);
  connect(&FViewTimer, &QTimer::timeout, this, [this] { tmViewTimer(); });
  BuildUi();
  BuildMenus();
  ConnectController();
  // The start-up language's item is clicked: German for "de" in any case, English for anything
  // else, which a first start in another language thereby stores.
  LanguageClick(LanguageItemCode(StartupValues().CurrentLanguage));
  RetranslateUi();
  ReadSettings();
}

QWidget* TMainForm::BuildLeftSide() {
  auto* left = new QWidget(this);
  auto* v = new QVBoxLayout(left);
  v->setContentsMargins(0, 0, 0, 0);
  gbRegister = new TRegisterPanel(left);
  gbRegister->Attach(*FController, *this);
  v->addWidget(gbRegister);
  gbSwitches = new TSwitchesPanel(*FController, *this, left);
  v->addWidget(gbSwitches);
  return left;
}

QWidget* TMainForm::BuildMemoryGroup() {
  gbMemory = new TMemoryPanel(*FController, *this, this);
  connect(gbMemory, &TMemoryPanel::ErrorReported, this, [this](const QString& t, QPoint at) { ErrorBox(t, at); });
  return gbMemory;
}

QWidget* TMainForm::BuildActions() {
  auto* bottom = new QWidget(this);
  auto* h = new QHBoxLayout(bottom);
  h->setContentsMargins(0, 0, 0, 0);
  gbActions = new QGroupBox(bottom);
  gbActions->setObjectName("gbActions");
  auto* a = new QHBoxLayout(gbActions);
  a->setContentsMargins(4, 2, 4, 4);
  auto button = [](QWidget* parent, const char* name, TToolIcon icon) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(ToolIcon(icon));
    b->setIconSize(QSize(16, 16));
    b->setMinimumWidth(30);
    return b;
  };
  btReset = button(gbActions, "btReset", TToolIcon::Reset);
  btSetPC = button(gbActions, "btSetPC", TToolIcon::SetPC);
  btRun = button(gbActions, "btRun", TToolIcon::Run);
  btStep = button(gbActions, "btStep", TToolIcon::Step);
  btStepOver = button(gbActions, "btStepOver", TToolIcon::StepOver);
  btStepOut = button(gbActions, "btStepOut", TToolIcon::StepOut);
  QToolButton* btReverseStep = button(gbActions, "btReverseStep", TToolIcon::ReverseStep);
  btReverseStep->setDefaultAction(FTravel->itmReverseStep);
  QToolButton* btReverseRun = button(gbActions, "btReverseRun", TToolIcon::ReverseRun);
  btReverseRun->setDefaultAction(FTravel->itmReverseRun);
  btStop = button(gbActions, "btStop", TToolIcon::Stop);
  btPrgLoad = button(gbActions, "btPrgLoad", TToolIcon::ProgramLoad);
  btShowSteps = button(gbActions, "btShowSteps", TToolIcon::ShowSteps);
  btShowSteps->setCheckable(true);
  for (QToolButton* b : {btReset, btSetPC, btRun, btStep, btStepOver, btStepOut, btReverseStep, btReverseRun, btStop,
                         btPrgLoad, btShowSteps})
    a->addWidget(b);
  btStop->setEnabled(false);
  h->addWidget(gbActions);
  FStatus = new TStatusLine(*FController, bottom);
  h->addWidget(FStatus->lbStatus, 1);
  connect(FTravel, &TTimeTravelActions::StatusText, FStatus, &TStatusLine::ShowText);
  h->addWidget(gbTTY->lbTyping);
  h->addWidget(gbTTY->lbKeys);
  h->addWidget(FStatus->lbSpeed);
  btShowBreakpoints = button(bottom, "btShowBreakpoints", TToolIcon::Breakpoints);
  btShowWatch = button(bottom, "btShowWatch", TToolIcon::Watch);
  btShowTrace = button(bottom, "btShowTrace", TToolIcon::Trace);
  btShowFrontPanel = button(bottom, "btShowFrontPanel", TToolIcon::FrontPanel);
  btInfo = button(bottom, "btInfo", TToolIcon::Info);
  btQuit = button(bottom, "btQuit", TToolIcon::Quit);
  for (QToolButton* b : {btShowBreakpoints, btShowWatch, btShowTrace, btShowFrontPanel, btInfo, btQuit}) h->addWidget(b);
  connect(btReset, &QToolButton::clicked, FRun, &TRunControl::Reset);
  connect(btSetPC, &QToolButton::clicked, gbMemory, &TMemoryPanel::SetPCClick);
  connect(btRun, &QToolButton::clicked, FRun, &TRunControl::Run);
  connect(btStep, &QToolButton::clicked, FRun, &TRunControl::Step);
  connect(btStepOver, &QToolButton::clicked, FRun, &TRunControl::StepOver);
  connect(btStepOut, &QToolButton::clicked, FRun, &TRunControl::StepOut);
  connect(btStop, &QToolButton::clicked, FRun, &TRunControl::Stop);
  connect(btPrgLoad, &QToolButton::clicked, this, [this] { btPrgLoadClick(); });
  connect(btShowSteps, &QToolButton::toggled, FRun, &TRunControl::ShowEachStep);
  connect(btInfo, &QToolButton::clicked, this, [this] { InfoClick(); });
  connect(btQuit, &QToolButton::clicked, this, [this] { close(); });
  // The tool windows and the front panel plug in here once they exist.
  for (QToolButton* b : {btShowBreakpoints, btShowWatch, btShowTrace, btShowFrontPanel}) b->setCheckable(true);
  return bottom;
}

void TMainForm::BuildUi() {
  setFont(PixelFont("Tahoma", 11));
  auto* central = new QWidget(this);
  auto* grid = new QGridLayout(central);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->addWidget(BuildLeftSide(), 0, 0);

  auto* middle = new QWidget(central);
  auto* mv = new QVBoxLayout(middle);
  mv->setContentsMargins(0, 0, 0, 0);
  mv->addWidget(BuildMemoryGroup(), 1);
  auto* belowGrid = new QHBoxLayout;
  gbNumFormat = new QGroupBox(middle);
  gbNumFormat->setObjectName("gbNumFormat");
  rbBin = new QRadioButton(gbNumFormat);
  rbOctal = new QRadioButton(gbNumFormat);
  rbDecimal = new QRadioButton(gbNumFormat);
  rbHex = new QRadioButton(gbNumFormat);
  rbBin->setObjectName("rbBin");
  rbOctal->setObjectName("rbOctal");
  rbDecimal->setObjectName("rbDecimal");
  rbHex->setObjectName("rbHex");
  auto* nf = new QGridLayout(gbNumFormat);
  nf->setContentsMargins(4, 0, 4, 2);
  nf->addWidget(rbBin, 0, 0);
  nf->addWidget(rbOctal, 0, 1);
  nf->addWidget(rbDecimal, 1, 0);
  nf->addWidget(rbHex, 1, 1);
  FNumGroup = new QButtonGroup(this);
  FNumGroup->addButton(rbBin, nmBin);
  FNumGroup->addButton(rbOctal, nmOctal);
  FNumGroup->addButton(rbDecimal, nmZeroDec);
  FNumGroup->addButton(rbHex, nmHex);
  rbOctal->setChecked(true);
  connect(FNumGroup, &QButtonGroup::idClicked, this, [this](int id) { SetNumFormat(TNumMode(id)); });
  belowGrid->addWidget(gbNumFormat);
  gbMemStep = new QGroupBox(middle);
  gbMemStep->setObjectName("gbMemStep");
  edMemStep = MakeRegisterEdit(gbMemStep, "edMemStep");
  edMemStep->setReadOnly(false);
  edMemStep->setFont(font());
  edMemStep->SetValue(256);
  btmemUp = new QToolButton(gbMemStep);
  btmemUp->setObjectName("btmemUp");
  btmemUp->setArrowType(Qt::UpArrow);
  btmemDown = new QToolButton(gbMemStep);
  btmemDown->setObjectName("btmemDown");
  btmemDown->setArrowType(Qt::DownArrow);
  auto* ms = new QHBoxLayout(gbMemStep);
  ms->setContentsMargins(4, 0, 4, 2);
  ms->addWidget(edMemStep);
  ms->addWidget(btmemUp);
  ms->addWidget(btmemDown);
  connect(btmemUp, &QToolButton::clicked, this, [this] { gbMemory->MoveSelection(-int(edMemStep->Value() & 0xFFFF)); });
  connect(btmemDown, &QToolButton::clicked, this, [this] { gbMemory->MoveSelection(int(edMemStep->Value() & 0xFFFF)); });
  belowGrid->addWidget(gbMemStep);
  mv->addLayout(belowGrid);
  grid->addWidget(middle, 0, 1);

  auto* right = new QWidget(central);
  auto* rv = new QVBoxLayout(right);
  rv->setContentsMargins(0, 0, 0, 0);
  gbTTY = new TTeletypePanel(right);
  gbTTY->Attach(*FController, WorkPath);
  FRun = new TRunControl(*FController, *gbTTY, this);
  connect(gbMemory, &TMemoryPanel::RunToWanted, FRun, &TRunControl::RunTo);
  ConnectRunControl();
  FTravel = new TTimeTravelActions(*FController, *FRun, this);
  FTravel->NumFormat = [this] { return FNumFormat; };
  FTravel->MayWrite = [this](const std::string& name) { return !pcDevices->ClashesWithReader(name); };
  FTravel->DefaultFolder = [this] { return WorkPath; };
  FTravel->GridAddress = [this] { return gbMemory->sgMemory->SelectedRow(); };
  // "Who wrote this word?" follows "Run to here" in the grid's menu.
  const QList<QAction*> gridItems = gbMemory->pmMemory->actions();
  gbMemory->pmMemory->insertAction(gridItems.value(gridItems.indexOf(gbMemory->itmRunToHere) + 1), FTravel->itmWhoWrote);
  rv->addWidget(gbTTY, 3);
  pcDevices = new TDeviceTabs(right);
  pcDevices->Attach(*FController, WorkPath);
  rv->addWidget(pcDevices, 2);
  grid->addWidget(right, 0, 2);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);
  grid->addWidget(BuildActions(), 1, 0, 1, 3);
  setCentralWidget(central);
  resize(1046, 406 + 24);

  connect(gbTTY, &TTeletypePanel::DeviceShown, pcDevices, [this](int dev) {
    pcDevices->setCurrentWidget(dev == pdTtr ? pcDevices->Ttr.Page : pcDevices->Ttp.Page);
  });
  connect(gbTTY, &TTeletypePanel::ErrorReported, this, [this](const QString& t) { ErrorBox(t); });
  connect(pcDevices, &TDeviceTabs::ErrorReported, this, [this](const QString& t) { ErrorBox(t); });
  connect(gbSwitches, &TSwitchesPanel::ErrorReported, this, [this](const QString& t) { ErrorBox(t); });
}

void TMainForm::BuildMenus() {
  QMenuBar* bar = menuBar();
  mnDump = bar->addMenu(QString());
  FDumps = new TDumpActions(*FController, *gbMemory, *pcDevices, this);
  FDumps->DefaultFolder = [this] { return WorkPath; };
  FDumps->ListingAnchor = gbRegister->edPC;
  connect(FDumps, &TDumpActions::ErrorReported, this, [this](const QString& t, QPoint at) { ErrorBox(t, at); });
  connect(FDumps, &TDumpActions::CaptionChanged, this, [this] { SetCaption(); });
  for (QAction* a : {FDumps->itmLoadDump, FDumps->itmReload, FDumps->itmSaveDump, FDumps->itmClearMemory})
    mnDump->addAction(a);
  mnDump->addSeparator();
  mnDump->addAction(FTravel->itmSaveState);
  mnDump->addAction(FTravel->itmLoadState);
  mnDump->addSeparator();
  FAssembler = new TAssemblerActions(*FController, *this, this);
  FAssembler->DefaultFolder = [this] { return WorkPath; };
  FAssembler->AddToDumpMenu(mnDump);
  mnDump->addSeparator();
  mnDump->addAction(FDumps->itmSaveProgram);

  FUndo = new TUndoAction(*FController, this);
  FUndo->AddToMenuBar(bar);
  connect(FController, &TMachineController::OnUndoChanged, this, [this] { ShowSpeedMode(); });

  mnActions = bar->addMenu(QString());
  itmReset = mnActions->addAction(QString(), FRun, &TRunControl::Reset);
  itmReset->setShortcut(Qt::Key_F3);
  itmRun = mnActions->addAction(QString(), FRun, &TRunControl::Run);
  itmRun->setShortcut(Qt::Key_F9);
  mnActions->addAction(FTravel->itmReverseRun);
  itmStep = mnActions->addAction(QString(), FRun, &TRunControl::Step);
  itmStep->setShortcut(Qt::Key_F7);
  mnActions->addAction(FTravel->itmReverseStep);
  itmStepOver = mnActions->addAction(QString(), FRun, &TRunControl::StepOver);
  itmStepOver->setShortcut(Qt::Key_F8);
  itmStepOut = mnActions->addAction(QString(), FRun, &TRunControl::StepOut);
  itmStepOut->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8));
  itmStop = mnActions->addAction(QString(), FRun, &TRunControl::Stop);
  itmStop->setShortcut(Qt::Key_F4);
  mnActions->addSeparator();
  itmWatchLocation = mnActions->addAction(QString(), gbMemory, &TMemoryPanel::WatchLocationClick);
  itmWatchLocation->setShortcut(Qt::Key_F5);

  mnIO = bar->addMenu(QString());
  mnPtr = mnIO->addMenu(QString());
  itmPtrOn = mnPtr->addAction(QString(), pcDevices, [this] { pcDevices->ReaderOpenClick(pdPtr); });
  itmPtrOff = mnPtr->addAction(QString(), pcDevices, [this] { pcDevices->ReaderCloseClick(pdPtr); });
  itmPtrReset = mnPtr->addAction(QString(), pcDevices, [this] { pcDevices->ReaderResetClick(pdPtr); });
  mnPtp = mnIO->addMenu(QString());
  itmPtpOn = mnPtp->addAction(QString(), pcDevices, [this] { pcDevices->OutputOpenClick(pdPtp); });
  itmPtpOff = mnPtp->addAction(QString(), pcDevices, [this] { pcDevices->OutputCloseClick(pdPtp); });
  mnIO->addSeparator();
  itmDeviceOrder = mnIO->addAction(QString());
  mnIO->addSeparator();
  itmTypeTextFile = mnIO->addAction(QString(), gbTTY, [this] { gbTTY->TypeTextFileClick(); });

  mnView = bar->addMenu(QString());
  itmTrace = mnView->addAction(QString());
  itmWatchList = mnView->addAction(QString());
  itmBreakpoints = mnView->addAction(QString());
  mnView->addSeparator();
  itmFrontPanel = mnView->addAction(QString());
  mnView->addSeparator();
  FAssembler->AddToViewMenu(mnView);
  for (QAction* a : {itmTrace, itmWatchList, itmBreakpoints, itmFrontPanel}) a->setCheckable(true);
  itmFrontPanel->setChecked(true);
  // The buttons and the items show the same state.
  auto pair = [](QAction* a, QToolButton* b) {
    QObject::connect(a, &QAction::toggled, b, &QToolButton::setChecked);
    QObject::connect(b, &QToolButton::toggled, a, &QAction::setChecked);
  };
  pair(itmTrace, btShowTrace);
  pair(itmWatchList, btShowWatch);
  pair(itmBreakpoints, btShowBreakpoints);
  pair(itmFrontPanel, btShowFrontPanel);
  for (QAction* a : {itmTrace, itmWatchList, itmBreakpoints, itmFrontPanel})
    connect(a, &QAction::toggled, this, [this, a](bool on) { ViewItemToggled(a, on); });
  btShowFrontPanel->setChecked(true);

  mnPreferences = bar->addMenu(QString());
  itmMemorySize = mnPreferences->addAction(QString(), this, [this] { MemorySizeClick(); });
  itmWorkingDirectory = mnPreferences->addAction(QString(), this, [this] { WorkingDirectoryClick(); });
  mnPreferences->addSeparator();
  itmTextFileTypes = mnPreferences->addAction(QString(), this, [this] { TextFileTypesClick(); });
  itmPredefinedSwitches = mnPreferences->addAction(QString(), gbSwitches, &TSwitchesPanel::PredefinedSwitchesClick);
  itmTraceLength = mnPreferences->addAction(QString(), this, [this] { TraceLengthClick(); });
  mnPreferences->addAction(FTravel->itmHistorySize);
  FSession = new TResumedSession(*FController, *gbTTY->mmTTO, this);
  FSession->AddToMenu(mnPreferences);
  mnPreferences->addSeparator();
  BuildSpeedMenu();
  mnLanguage = mnPreferences->addMenu(QString());
  itmGerman = mnLanguage->addAction(QString(), this, [this] { LanguageClick("de"); });
  itmEnglish = mnLanguage->addAction(QString(), this, [this] { LanguageClick("en"); });
  FLanguageGroup = new QActionGroup(this);
  for (QAction* a : {itmGerman, itmEnglish}) {
    a->setCheckable(true);
    FLanguageGroup->addAction(a);
  }

  itmQuit = bar->addAction(QString(), this, [this] { close(); });
  itmInfo = bar->addAction(QString(), this, [this] { InfoClick(); });
}

void TMainForm::RetranslateMenus() {
  mnDump->setTitle(QtText("&Memory dump"));
  FDumps->RetranslateUi();
  FAssembler->RetranslateUi();
  FUndo->RetranslateUi();
  FTravel->RetranslateUi();
  FSession->RetranslateUi();
  mnActions->setTitle(QtText("&Actions"));
  itmReset->setText(QtText("R&eset"));
  itmRun->setText(QtText("&Run"));
  itmStep->setText(QtText("Ste&p"));
  itmStepOver->setText(QtText("Step &over"));
  itmStepOut->setText(QtText("Step o&ut"));
  itmStop->setText(QtText("S&top"));
  itmWatchLocation->setText(QtText("&Watch location"));
  mnIO->setTitle(QtText("&Input/Output"));
  mnPtr->setTitle(QtText("PT&R"));
  itmPtrOn->setText(QtText("switch &on"));
  itmPtrOff->setText(QtText("switch o&ff"));
  itmPtrReset->setText(QtText("&reset"));
  mnPtp->setTitle(QtText("&PTP"));
  itmPtpOn->setText(QtText("switch &on"));
  itmPtpOff->setText(QtText("switch o&ff"));
  itmDeviceOrder->setText(QtText("Device&order"));
  itmTypeTextFile->setText(QtText("Type text file .."));
  mnView->setTitle(QtText("&View"));
  itmTrace->setText(QtText("Program &trace"));
  itmWatchList->setText(QtText("Memory &watch list"));
  itmBreakpoints->setText(QtText("&Breakpoints"));
  itmFrontPanel->setText(QtText("&Frontpanel"));
  mnPreferences->setTitle(QtText("&Preferences"));
  itmMemorySize->setText(QtText("&Memory size .."));
  itmWorkingDirectory->setText(QtText("&Working directory .."));
  itmTextFileTypes->setText(QtText("&Text file types .."));
  itmPredefinedSwitches->setText(QtText("Predefined &switches .."));
  itmTraceLength->setText(QtText("T&race length .."));
  RetranslateSpeed();
  mnLanguage->setTitle(QtText("&Language"));
  itmGerman->setText(QtText("&German"));
  itmEnglish->setText(QtText("&English"));
  itmQuit->setText(QtText("&Quit"));
  itmInfo->setText(QtText("&?"));
}

void TMainForm::RetranslateUi() {
  RetranslateMenus();
  gbRegister->RetranslateUi();
  pcDevices->RetranslateUi();
  gbSwitches->RetranslateUi();
  gbMemory->RetranslateUi();
  gbNumFormat->setTitle(QtText("Numeric format"));
  rbBin->setText(QtText("binary"));
  rbOctal->setText(QtText("octal"));
  rbDecimal->setText(QtText("decimal"));
  rbHex->setText(QtText("hex"));
  gbMemStep->setTitle(QtText("Memory step"));
  gbActions->setTitle(QtText("Actions"));
  btReset->setToolTip(QtText("Reset"));
  btSetPC->setToolTip(QtText("Set PC"));
  btRun->setToolTip(QtText("Run"));
  btStep->setToolTip(QtText("Step"));
  btStepOver->setToolTip(QtText("Step over subroutine"));
  btStepOut->setToolTip(QtText("Step out of subroutine"));
  btStop->setToolTip(QtText("Stop"));
  btPrgLoad->setToolTip(QtText("Program load"));
  btShowSteps->setToolTip(QtText("Show each program step"));
  btShowBreakpoints->setToolTip(QtText("Show/Hide breakpoints"));
  btShowWatch->setToolTip(QtText("Show/Hide watch list window"));
  btShowTrace->setToolTip(QtText("Show/Hide trace window"));
  btShowFrontPanel->setToolTip(QtText("Show/hide front panel"));
  btInfo->setToolTip(QtText("Show info"));
  btQuit->setToolTip(QtText("Exit from program"));
  gbTTY->RetranslateUi();
  // Texts that show state are set again from the state.
  SetCaption();
  FStatus->RetranslateUi();
}

void TMainForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) RetranslateUi();
  if (event->type() == QEvent::ActivationChange) {
    gbRegister->WindowActivation(isActiveWindow());
  }
  QMainWindow::changeEvent(event);
}

TValueDialog& TMainForm::ValueDialog() {
  if (!FValueDialog) FValueDialog = std::make_unique<TValueDialog>(this);
  return *FValueDialog;
}

TCommandDialog& TMainForm::CommandDialog() {
  if (!FCommandDialog) FCommandDialog = std::make_unique<TCommandDialog>(this);
  return *FCommandDialog;
}

TShellDirDialog& TMainForm::DirDialog() {
  if (!FDirDialog) FDirDialog = std::make_unique<TShellDirDialog>(this);
  return *FDirDialog;
}

TSelectFromListDialog& TMainForm::ListDialog() {
  if (!FListDialog) FListDialog = std::make_unique<TSelectFromListDialog>(this);
  return *FListDialog;
}
