#include "AssemblerActions.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include "AsmErrorsDlg.h"
#include "DialogService.h"
#include "IniFile.h"
#include "MachineController.h"
#include "MemoryAssembly.h"
#include "MessageBoxes.h"
#include "Navigator.h"
#include "NumberUtils.h"
#include "PathUtils.h"
#include "QtText.h"
#include "SymbolFiles.h"

namespace {

constexpr const char* Section = "Assembler";
constexpr int MaxSources = 32;

QString SourceFilter() { return QtText("Assembler sources") + "|*.sr;*.asm|" + QtText("all") + "|*.*"; }

}  // namespace

TAssemblerActions::TAssemblerActions(TMachineController& controller, TNavigator& navigator, QWidget* window)
    : QObject(window), FController(controller), FNavigator(navigator), FWindow(window) {
  itmAssemble = new QAction(this);
  itmReassemble = new QAction(this);
  itmReassemble->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F9));
  itmAssembleTape = new QAction(this);
  itmLoadSymbols = new QAction(this);
  itmShowLabels = new QAction(this);
  itmShowLabels->setCheckable(true);
  itmShowLabels->setChecked(controller.LabelsShown());
  connect(itmAssemble, &QAction::triggered, this, [this] { AssembleSourceClick(); });
  connect(itmReassemble, &QAction::triggered, this, [this] { ReassembleClick(); });
  connect(itmAssembleTape, &QAction::triggered, this, [this] { AssembleToTapeClick(); });
  connect(itmLoadSymbols, &QAction::triggered, this, [this] { LoadSymbolsClick(); });
  connect(itmShowLabels, &QAction::triggered, this, [this](bool on) { ShowLabelsClick(on); });
  connect(&controller, &TMachineController::OnSymbolsChanged, this,
          [this] { itmShowLabels->setChecked(FController.LabelsShown()); });
  ShowReassemble();
  RetranslateUi();
}

void TAssemblerActions::AddToDumpMenu(QMenu* menu) {
  menu->addAction(itmAssemble);
  menu->addAction(itmReassemble);
  menu->addAction(itmAssembleTape);
  menu->addAction(itmLoadSymbols);
}

void TAssemblerActions::AddToViewMenu(QMenu* menu) { menu->addAction(itmShowLabels); }

void TAssemblerActions::RetranslateUi() {
  itmAssemble->setText(QtText("&Assemble source file .."));
  itmReassemble->setText(QtText("R&eassemble"));
  itmAssembleTape->setText(QtText("Assemble to &tape .."));
  itmLoadSymbols->setText(QtText("Load s&ymbols .."));
  itmShowLabels->setText(QtText("Show &labels"));
  ShowReassemble();
}

void TAssemblerActions::ShowReassemble() {
  itmReassemble->setEnabled(!FLastSources.empty());
  QString names;
  for (const std::string& f : FLastSources) names += (names.isEmpty() ? "" : ", ") + ToQString(ExtractFileName(f));
  itmReassemble->setToolTip(names);
  itmReassemble->setStatusTip(names);
}

void TAssemblerActions::WhenStopped(const std::function<void()>& job) {
  if (!FController.Machine().Executing()) {
    job();
    return;
  }
  FController.Machine().RequestStop();
  QTimer::singleShot(10, this, [this, job] { WhenStopped(job); });
}

QString TAssemblerActions::StartFolder() const {
  if (!FLastSources.empty()) return ToQString(ExtractFilePath(FLastSources.back()));
  return DefaultFolder ? ToQString(DefaultFolder()) : QString();
}

bool TAssemblerActions::ChooseSources(const QString& title, std::vector<std::string>& files) {
  TFileDialogArgs args;
  args.Title = title;
  args.Folder = StartFolder();
  args.Filter = SourceFilter();
  args.MultiSelect = true;
  QStringList chosen;
  if (!Dialogs().OpenFiles(args, chosen, FWindow) || chosen.isEmpty()) return false;
  files.clear();
  for (const QString& f : chosen) files.push_back(f.toStdString());
  return true;
}

bool TAssemblerActions::AssembleIntoMemory(const std::vector<std::string>& files) {
  if (files.empty()) return false;
  const TMemoryAssembly result = AssembleFilesIntoMemory(FController.Machine(), files);
  if (!result.Ok()) {
    ShowSourceErrors(
        QSafeFormat(QtText("The program does not assemble. Errors: %d. Nothing in memory has changed."),
                    int(result.Errors.size())),
        result.Errors, FWindow);
    return false;
  }
  FLastSources = files;
  ShowReassemble();
  FController.SetSymbols(result.Symbols);
  if (result.Start >= 0) FNavigator.ShowAddress(result.Start);
  return true;
}

void TAssemblerActions::AssembleSourceClick() {
  std::vector<std::string> files;
  if (!ChooseSources(QtText("Assemble source file"), files)) return;
  WhenStopped([this, files] { AssembleIntoMemory(files); });
}

void TAssemblerActions::ReassembleClick() {
  if (FLastSources.empty()) return;
  WhenStopped([this] { AssembleIntoMemory(FLastSources); });
}

void TAssemblerActions::AssembleToTapeClick() {
  std::vector<std::string> files;
  if (!ChooseSources(QtText("Assemble to tape"), files)) return;
  TSelectArgs choice;
  choice.Title = QtText("Assemble to tape");
  choice.Message = QtText("Which tape shall be written?");
  choice.Choices = {QtText("Absolute binary tape"), QtText("Program-load tape")};
  choice.Preselect = 0;
  choice.Parent = FWindow;
  const int kind = SelectChoice(choice);
  if (kind < 0) return;
  TFileDialogArgs args;
  args.Title = QtText("Save tape");
  args.Folder = ToQString(ExtractFilePath(files.back()));
  args.FileName = ToQString(RemoveFileExtension(ExtractFileName(files.back())));
  args.DefaultExt = "bin";
  args.Filter = QtText("Paper tapes") + "|*.bin;*.ab;*.tap|" + QtText("all") + "|*.*";
  QString tape;
  if (!Dialogs().SaveFile(args, tape, FWindow) || tape.isEmpty()) return;
  const TTapeAssembly result = AssembleFilesToTape(files, tape.toStdString(), kind == 1);
  if (!result.Errors.empty()) {
    ShowSourceErrors(QSafeFormat(QtText("The program does not assemble. Errors: %d. No tape has been written."),
                                 int(result.Errors.size())),
                     result.Errors, FWindow);
    return;
  }
  if (!result.Failure.empty()) {
    ErrorMsg(QtText("No tape has been written:") + "\r\n" + ToQString(result.Failure), NoPoint, QString(), FWindow);
    return;
  }
  InfoMsg(QSafeFormat(QtText("%s written: %d words."), tape, int(result.Words)), NoPoint, QString(), FWindow);
}

void TAssemblerActions::LoadSymbolsClick() {
  TFileDialogArgs args;
  args.Title = QtText("Load symbols");
  args.Folder = StartFolder();
  args.Filter = QtText("Symbol files and listings") + "|*.sym;*.lst|" + QtText("all") + "|*.*";
  QStringList chosen;
  if (!Dialogs().OpenFiles(args, chosen, FWindow) || chosen.isEmpty()) return;
  TSymbolRead read = ReadSymbolFile(chosen.front().toStdString());
  if (!read.Ok()) {
    ShowSourceErrors(QSafeFormat(QtText("The symbols cannot be read. Errors: %d. The symbols stay as they were."),
                                 int(read.Errors.size())),
                     read.Errors, FWindow);
    return;
  }
  FController.SetSymbols(std::move(read.Symbols));
}

void TAssemblerActions::ShowLabelsClick(bool on) { FController.SetLabelsShown(on); }

void TAssemblerActions::ReadSettings(const TIniFile& ini) {
  FController.SetLabelsShown(ini.ReadBool(Section, "ShowLabels", true));
  FLastSources.clear();
  const int count = std::clamp(ini.ReadInteger(Section, "Sources", 0), 0, MaxSources);
  for (int i = 0; i < count; ++i) {
    const std::string f = ini.ReadString(Section, "Source" + std::to_string(i), "");
    if (!f.empty()) FLastSources.push_back(f);
  }
  ShowReassemble();
}

void TAssemblerActions::WriteSettings(TIniFile& ini) const {
  ini.WriteBool(Section, "ShowLabels", FController.LabelsShown());
  ini.DeleteKeysStartingWith(Section, "Source");
  ini.WriteInteger(Section, "Sources", int(FLastSources.size()));
  for (std::size_t i = 0; i < FLastSources.size(); ++i) ini.WriteString(Section, "Source" + std::to_string(i), FLastSources[i]);
}
