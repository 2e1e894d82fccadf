// TResumedSession: the session that goes on where it was left. At quit the whole machine state
// (taken before the shutdown's reset) goes beside the auto-saved image as "autodump.nvs", and
// the teletype's text as "autodump.tty" (both written whole); at the next start, once the image
// is loaded, the state is put back and the text shown again, so a program waiting at its prompt
// waits there again. "&Preferences" > "Resume the last session" (on by default, kept in the
// settings) switches it off. A run that the quit stopped goes on at the start. Switched off,
// the start is the plain one (memory from the image, the
// machine reset), and the quit leaves no session files.
//
// A state that is missing, refused, or not of the image loaded (its memory differs: the image
// was replaced by hand) is not put back: the start is the plain one, and the window says why.
#pragma once
#include <QObject>
#include <QString>
#include <memory>
#include <string>

class QAction;
class QMenu;
class TConsole;
class TIniFile;
class TMachineController;
struct TMachineState;

class TResumedSession : public QObject {
  Q_OBJECT
public:
  TResumedSession(TMachineController& controller, TConsole& console, QObject* parent);
  ~TResumedSession() override;

  void AddToMenu(QMenu* menu);
  void RetranslateUi();
  void ReadSettings(const TIniFile& ini);   // [Config] ResumeSession, SessionRunning
  void WriteSettings(TIniFile& ini) const;
  bool On() const;

  // The files beside an image.
  static std::string StateName(const std::string& image);
  static std::string TextName(const std::string& image);

  // At the start, the image just loaded and the machine reset: the session put back. Returns
  // what the user is to be told (empty: resumed, or switched off); IsError: as an error (a
  // session that is there but not put back), not as a notice.
  QString Resume(const std::string& image, bool& IsError);
  // At quit, before anything is reset: the state and the text to be saved. Running: the quit
  // stopped a run, which the next start goes on with.
  void Take(bool Running);
  // After Resume: the session put back was running at quit (ResumeRun goes on with it).
  bool GoesOnRunning() const { return FGoesOnRunning; }
  // Once the image is written as Image: the session beside it (switched off: the files of an
  // earlier one removed). Returns the error to report, empty when all went well.
  QString Save(const std::string& image);

  QAction* itmResume;

private:
  TMachineController& FController;
  TConsole& FConsole;
  std::unique_ptr<TMachineState> FTaken;
  QString FText;
  bool FTakenRunning = false;
  bool FWasRunning = false;  // read from the settings
  bool FGoesOnRunning = false;
};
