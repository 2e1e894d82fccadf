// TMainForm: Corvane's main window. It puts the panels together around TMachineController, which
// owns the machine and its peripherals: the register panel, the switches, the memory grid with
// its history and menu, the teletype panel and the device tabs (each listens to the controller
// and changes the machine and the peripherals through their operations), the run commands
// (TRunControl), the dumps and listings (TDumpActions), the assembler (TAssemblerActions) and the
// status line (TStatusLine); it keeps the menus, the settings, start-up and shutdown. Its parts
// are written in separate files (MainViews, MainRun, MainFrontPanel, MainSpeed, MainBreaks,
// MainTools, MainSettings). To the panels and the tool windows it is only a TNavigator.
//
// Every modal question goes through the dialog service, so tests drive the whole window
// offscreen. Closing (Quit, the title bar, SIGTERM/SIGINT) stops a run first and shuts down once.
#pragma once
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <memory>
#include <string>

#include "LiveLamps.h"
#include "Navigator.h"
#include "NovaFrontpanel.h"
#include "NovaMachine.h"
#include "NumberUtils.h"
#include "Peripherals.h"

class QAction;
class QActionGroup;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class TCommandDialog;
class TConsole;
class TDeviceTabs;
class TDumpActions;
class TIniFile;
class TMachineController;
class TMemoryPanel;
class TNumberEdit;
class TRegisterPanel;
class TRunControl;
class TSwitchesPanel;
class TSelectFromListDialog;
class TStatusLine;
class TShellDirDialog;
class TTraceWin;
class TResumedSession;
class TUndoAction;
class TToolWindow;
class TWatchWin;
class TBpWin;
class TAssemblerActions;
class TTeletypePanel;
class TTimeTravelActions;
class TValueDialog;

// The text file types as the user typed them: entries trimmed, empty ones dropped, a leading
// "*." or "." removed.
std::string NormalizeTextFiles(const QString& text);

// The language item clicked at creation for the start-up language: "de" (compared ignoring
// case) or "en".
std::string LanguageItemCode(const std::string& language);

// Where the window finds its settings and documents (tests give their own folders).
struct TMainFormPaths {
  std::string AppPath;   // settings folder, ending with "/"
  std::string Documents; // the user's documents folder
};

class TMainForm : public QMainWindow, public TNavigator {
  Q_OBJECT
public:
  explicit TMainForm(const TMainFormPaths& paths, QWidget* parent = nullptr);
  // The program's paths (SettingsFolder, DocumentsFolder).
  TMainForm();
  ~TMainForm() override;

  TNovaMachine& Machine() { return *FMachine; }
  TPeripherals& Peripherals() { return *FPeripherals; }
  TMachineController& Controller() { return *FController; }

  // ---- the panels' views: everything shown again (registers, the grid's PC row, the switches,
  // the front panel's lamps); the number base of all panels
  void ShowRegisters();
  void ApplyNumFormat();
  void ShowRunState();
  void ShowAddress(int Addr) override;
  void SetNumFormat(TNumMode mode);
  TNumMode NumFormat() const { return FNumFormat; }

  // "&Preferences" > "Trace length ..".
  void TraceLengthClick();

  // ---- run control: the run commands are TRunControl's; Program load asks for the switches
  TRunControl& RunControl() { return *FRun; }
  void btPrgLoadClick();
  // The view timer tick (blinks the front panel's RUN lamp once the panel exists).
  void tmViewTimer();
  QTimer& ViewTimer() { return FViewTimer; }
  QTimer& ClockTimer();

  // ---- dumps and listings ("&Memory dump"), the status line
  TDumpActions& Dumps() { return *FDumps; }
  TStatusLine& StatusLine() { return *FStatus; }

  // ---- "&Preferences" > "&Memory size .."
  void MemorySizeClick();
  void SetMemSize(int size);

  // ---- "&Preferences" > "&Text file types ..": the peripherals' text file types
  void TextFileTypesClick();

  // ---- speed (MainSpeed.cpp): "&Preferences" > "Speed"
  void SpeedClick(std::uint32_t speed);  // speed::Maximum, speed::Nova800 or a rate
  void SpeedRateClick();                 // asks for the instructions per second
  void ShowSpeedMode();                  // checks the item of the machine's speed
  QMenu* mnSpeed;
  QAction* itmSpeedMaximum;
  QAction* itmSpeedNova800;
  QAction* itmSpeedRate;
  QAction* itmRealSpeedDevices;
  // Live lamps (MainSpeed.cpp): the front panel's context menu item, kept in "FrontPanel".
  QAction* itmLiveLamps = nullptr;
  TLiveLamps& LiveLamps() { return FLiveLamps; }
  void ShowLiveLamps();  // the view timer's tick while running

  // ---- settings, start-up, shutdown
  void WorkingDirectoryClick();
  void InfoClick();
  void LanguageClick(const std::string& code);
  // The one shutdown: reset, settings, auto-saved image, files. Runs once and never waits for the
  // user: what went wrong is shown in one box at the end when AskUser is set (the user quit),
  // else written to standard error (a termination signal, the window destroyed).
  void Shutdown(bool AskUser = false);
  bool ShutDownDone() const { return FShutDownDone; }
  const std::string& IniName() const { return FIniName; }
  const std::string& AutoDump() const { return FAutoDump; }
  std::string WorkPath;
  QString ProgVersName, ProgVers, ProgVersDate;

  // ---- controls
  TRegisterPanel* gbRegister;
  TSwitchesPanel* gbSwitches;
  TMemoryPanel* gbMemory;
  QGroupBox* gbNumFormat;
  QRadioButton* rbBin;
  QRadioButton* rbOctal;
  QRadioButton* rbDecimal;
  QRadioButton* rbHex;

  QToolButton* btReset;
  QToolButton* btStepOut;
  QToolButton* btStop;
  QToolButton* btPrgLoad;
  QToolButton* btShowSteps;
  QToolButton* btShowTrace;
  QToolButton* btShowFrontPanel;
  TDeviceTabs* pcDevices;
  TTeletypePanel* gbTTY;

  // Menus.
  QMenu* mnDump;
  QAction* itmReset;
  QAction* itmStepOut;
  QAction* itmMemorySize;
  QAction* itmTrace;
  QAction* itmWatchList;
  QAction* itmBreakpoints;
  QAction* itmFrontPanel;
  QAction* itmTraceLength;
  QAction* itmGerman;
  QAction* itmEnglish;

  // The dialogs, made once (the program's start-up order) and reused.
  TValueDialog& ValueDialog() override;
  TCommandDialog& CommandDialog() override;
  bool AskAddress(QPoint at, const QString& desc, TNumMode mode, int initial, int& addr) override;
  TShellDirDialog& DirDialog();
  TSelectFromListDialog& ListDialog() override;
  // The tool windows, made once (at start-up, after the directory dialog) and hidden; shown and
  // hidden by their "&View" items.
  TTraceWin& TraceWin();
  TWatchWin& WatchWin();
  TBpWin& BpWin();
  // The front panel (made at start-up after the listing dialog), its switch-word and command
  // handlers, and the values it shows pushed after each stop, step and change.
  TNovaFrontpanel& FrontPanel();
  // The assembler's menu items and what they do.
  TAssemblerActions& Assembler() { return *FAssembler; }
  // Going back in time and machine states: their menu items and what they do.
  TTimeTravelActions& TimeTravel() { return *FTravel; }
  void SetSwitches(std::uint16_t value);
  void FrontPanelCommand(QObject* Sender, TNovaCommands Command);
  void PushFrontPanel();

  std::string TextFiles() const { return FPeripherals->TextFiles; }

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  // The controls and menus that only the window's own files reach.
  QGroupBox* gbMemStep;
  TNumberEdit* edMemStep;
  QToolButton* btmemUp;
  QToolButton* btmemDown;
  QGroupBox* gbActions;
  QToolButton* btSetPC;
  QToolButton* btRun;
  QToolButton* btStep;
  QToolButton* btStepOver;
  QToolButton* btShowBreakpoints;
  QToolButton* btShowWatch;
  QToolButton* btInfo;
  QToolButton* btQuit;
  QMenu* mnActions;
  QAction* itmRun;
  QAction* itmStep;
  QAction* itmStepOver;
  QAction* itmStop;
  QAction* itmWatchLocation;
  QMenu* mnIO;
  QMenu* mnPtr;
  QAction* itmPtrOn;
  QAction* itmPtrOff;
  QAction* itmPtrReset;
  QMenu* mnPtp;
  QAction* itmPtpOn;
  QAction* itmPtpOff;
  QAction* itmDeviceOrder;
  QAction* itmTypeTextFile;
  QMenu* mnView;
  QMenu* mnPreferences;
  QAction* itmWorkingDirectory;
  QAction* itmTextFileTypes;
  QAction* itmPredefinedSwitches;
  QMenu* mnLanguage;
  QAction* itmQuit;
  QAction* itmInfo;

  void Create(const TMainFormPaths& paths);
  void BuildUi();
  QWidget* BuildLeftSide();
  QWidget* BuildMemoryGroup();
  QWidget* BuildActions();
  void BuildMenus();
  void ConnectController();
  void RetranslateUi();
  void RetranslateMenus();
  void BuildSpeedMenu();
  void RetranslateSpeed();
  void ReadSpeedSettings(const TIniFile& ini);
  void WriteSpeedSettings(TIniFile& ini) const;
  void SetUpLiveLamps(TNovaFrontpanel& panel);
  // The breakpoints of every kind in "Breakpoints", the trace length in "Config" (MainBreaks.cpp).
  void ReadDebugSettings(const TIniFile& ini);
  void WriteDebugSettings(TIniFile& ini) const;
  void ReadSettings();
  void WriteSettings();
  void FirstShow();
  void SetCaption();
  void ConnectRunControl();
  // A run or step returned: the stop reason, the run state, a close asked for meanwhile.
  void AfterRun(TStopReason reason);
  void ErrorBox(const QString& text, QPoint at = QPoint(-1, -1));
  QPoint Below(QWidget* w) const;

  TMachineController* FController = nullptr;  // owns the machine and the peripherals
  TUndoAction* FUndo = nullptr;  // "&Edit" > "&Undo"
  TResumedSession* FSession = nullptr;  // "Resume the last session"
  TAssemblerActions* FAssembler = nullptr;     // a child of the window
  TRunControl* FRun = nullptr;                // the run commands (a child of the window)
  TDumpActions* FDumps = nullptr;             // a child of the window
  TStatusLine* FStatus = nullptr;             // a child of the window
  TTimeTravelActions* FTravel = nullptr;       // a child of the window
  TNovaMachine* FMachine = nullptr;
  TPeripherals* FPeripherals = nullptr;
  TNumMode FNumFormat = nmOctal;
  QButtonGroup* FNumGroup = nullptr;
  QActionGroup* FLanguageGroup = nullptr;
  QActionGroup* FSpeedGroup = nullptr;
  TLiveLamps FLiveLamps;
  QTimer FViewTimer;
  std::string FAppPath;
  std::string FIniName;
  std::string FAutoDump;
  std::string FIniKept;          // the settings file that could not be read at the start (kept as it is)
  bool FAutoDumpKept = false;    // the auto-saved image was there but could not be read: not replaced
  QStringList* FShutdownErrors = nullptr;  // while shutting down, error boxes are collected here
  QString FSettingsNotice;       // the settings folder could not be used (shown at the first showing)
  bool FShown = false;
  bool FShutDownDone = false;
  std::unique_ptr<TValueDialog> FValueDialog;
  std::unique_ptr<TCommandDialog> FCommandDialog;
  std::unique_ptr<TShellDirDialog> FDirDialog;
  std::unique_ptr<TSelectFromListDialog> FListDialog;
  std::unique_ptr<TTraceWin> FTraceWin;
  std::unique_ptr<TWatchWin> FWatchWin;
  std::unique_ptr<TBpWin> FBpWin;
  std::unique_ptr<TNovaFrontpanel> FFrontPanel;
  // A "&View" item changed: its window follows (once the window has been shown).
  void ViewItemToggled(QAction* item, bool on);
  TToolWindow* ToolWindowOf(QAction* item);
  void ShowToolWindows();
};
