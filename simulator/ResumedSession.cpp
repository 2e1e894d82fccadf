#include "ResumedSession.h"

#include <QAction>
#include <QMenu>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "Console.h"
#include "IniFile.h"
#include "MachineController.h"
#include "PathUtils.h"
#include "QtText.h"
#include "ReplacingFile.h"
#include "StateFile.h"

namespace {
constexpr const char* Config = "Config";
constexpr const char* Key = "ResumeSession";
constexpr const char* RunningKey = "SessionRunning";
// The console keeps no more than this (TConsole::MaxLines lines of a teletype's width); a text
// file beyond it is not ours.
constexpr std::streamsize MaxTextBytes = 16 << 20;

bool ReadText(const std::string& name, QString& text) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  std::string bytes;
  bytes.resize(std::size_t(MaxTextBytes) + 1);
  in.read(bytes.data(), MaxTextBytes + 1);
  if (in.bad() || in.gcount() > MaxTextBytes) return false;
  bytes.resize(std::size_t(in.gcount()));
  text = QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
  return true;
}

bool WriteText(const std::string& name, const QString& text, std::string& error) {
  const QByteArray bytes = text.toLatin1();
  TReplacingFile file;
  if (!file.Open(name, error)) return false;
  if (!file.Write(bytes.constData(), std::size_t(bytes.size()), error)) {
    file.Discard();
    return false;
  }
  return file.Commit(error);
}
}  // namespace

TResumedSession::TResumedSession(TMachineController& controller, TConsole& console, QObject* parent)
    : QObject(parent), itmResume(new QAction(this)), FController(controller), FConsole(console) {
  itmResume->setObjectName("itmResumeSession");
  itmResume->setCheckable(true);
  itmResume->setChecked(true);
}

TResumedSession::~TResumedSession() = default;

void TResumedSession::AddToMenu(QMenu* menu) { menu->addAction(itmResume); }

void TResumedSession::RetranslateUi() { itmResume->setText(QtText("Resume the last session")); }

void TResumedSession::ReadSettings(const TIniFile& ini) {
  itmResume->setChecked(ini.ReadBool(Config, Key, true));
  FWasRunning = ini.ReadBool(Config, RunningKey, false);
}

void TResumedSession::WriteSettings(TIniFile& ini) const {
  ini.WriteBool(Config, Key, On());
  ini.WriteBool(Config, RunningKey, FTaken && FTakenRunning);
}

bool TResumedSession::On() const { return itmResume->isChecked(); }

std::string TResumedSession::StateName(const std::string& image) { return ChangeFileExtension(image, ".nvs"); }

std::string TResumedSession::TextName(const std::string& image) { return ChangeFileExtension(image, ".tty"); }

QString TResumedSession::Resume(const std::string& image, bool& isError) {
  isError = true;
  const std::string stateName = StateName(image);
  RemoveLeftoverTemporaries(stateName);
  RemoveLeftoverTemporaries(TextName(image));
  if (!On()) return QString();
  const QString plain = QtText("The memory is restored and the machine reset.");
  auto state = std::make_unique<TMachineState>();
  TMachineError error;
  if (!ReadStateFile(stateName, *state, error)) {
    if (error.Kind == ekNotFound) {
      isError = false;
      return QSafeFormat(QtText("There is no saved session beside the auto-saved image %s."), ToQString(image)) +
             "\r\n" + plain;
    }
    return QtText("The last session could not be resumed:") + "\r\n" + ToQString(ErrorText(error)) + "\r\n" + plain;
  }
  // The image is the user's file: one put there by hand since the quit wins over the session.
  TNovaMachine& m = FController.Machine();
  for (int a = 0; a < MemoryWords; ++a)
    if (state->Memory[std::size_t(a)] != m.Memory[std::size_t(a)].Data)
      return QSafeFormat(QtText("The saved session %s does not belong to the auto-saved image %s."),
                         ToQString(stateName), ToQString(image)) +
             "\r\n" + plain;
  std::vector<TAttachProblem> problems;
  if (!RestoreState(*state, m, FController.Peripherals(), problems)) return plain;
  FGoesOnRunning = FWasRunning;
  QString text;
  if (ReadText(TextName(image), text)) FConsole.SetPlainText(text);
  if (problems.empty()) return QString();
  QString message = QtText("The last session is resumed, but these files could not be attached again:");
  for (const TAttachProblem& p : problems) message += "\r\n" + ToQString(AttachProblemText(p));
  return message;
}

void TResumedSession::Take(bool Running) {
  FTaken.reset();
  FTakenRunning = Running;
  if (!On()) return;
  FController.FlushConsole();
  // The files hold what the punches and the printer wrote, as the state's positions say.
  FController.Peripherals().FlushOutputs();
  FTaken = std::make_unique<TMachineState>(CaptureState(FController.Machine(), FController.Peripherals()));
  FText = FConsole.toPlainText();
}

QString TResumedSession::Save(const std::string& image) {
  const std::string stateName = StateName(image);
  const std::string textName = TextName(image);
  if (!FTaken) {
    // Switched off: no session of an earlier quit is put back one day by surprise.
    std::remove(stateName.c_str());
    std::remove(textName.c_str());
    return QString();
  }
  TMachineError error;
  std::string why;
  // The text first: a state without it would resume a blank console.
  if (!WriteText(textName, FText, why)) return ToQString(ErrorText(TMachineError{ekWrite, textName, why}));
  if (!WriteStateFile(stateName, *FTaken, error)) return ToQString(ErrorText(error));
  return QString();
}
