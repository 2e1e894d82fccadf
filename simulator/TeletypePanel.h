// TTeletypePanel: the teletype of the main window ("gbTTY"): the console mmTTO, the "Reader:" and
// "Punch:" switches, "Convert TTI to upper case", and the keyboard. Keys typed anywhere in the
// window reach TTI through a key queue at the program's pace; a text file or the clipboard is
// typed one key each time the program waits for one. Their progress shows in two labels that the
// window puts in its status line. Attached to the controller, the panel changes the peripherals
// only through their operations and follows what they tell.
#pragma once
#include <QGroupBox>
#include <memory>
#include <string>
#include <string_view>

class QCheckBox;
class QKeyEvent;
class QLabel;
class TConsole;
class TKeyQueue;
class TMachineController;
class TTextTyping;

class TTeletypePanel : public QGroupBox {
  Q_OBJECT
public:
  explicit TTeletypePanel(QWidget* parent = nullptr);
  ~TTeletypePanel() override;
  // The typed text file's dialog starts in WorkPath (the window's working directory).
  void Attach(TMachineController& controller, const std::string& workPath);
  void RetranslateUi();

  TConsole* mmTTO;
  QCheckBox* tswTTReader;
  QCheckBox* tswTTPunch;
  QCheckBox* cbUpcase;
  QLabel* lbTyping;  // how much of a typed text is typed
  QLabel* lbKeys;    // typed keys waiting for the program

  // ---- typing a text on the teletype keyboard, at the pace the program takes it
  void TypeTextFileClick();
  void ConsolePaste();
  void StartTyping(std::string_view text);
  void EndTyping();
  void TypingPump();
  TTextTyping& Typing() { return *FTyping; }
  // The keys typed on the teletype, handed to it at the program's pace; the status line shows
  // how many wait.
  TKeyQueue& KeyQueue() { return *FKeyQueue; }
  void TypeKey(int code);
  void KeyQueuePump();
  void ShowKeysWaiting();
  // A typed key for the teletype keyboard; -1 when the key is not one.
  static int KeyToTeletype(int key, Qt::KeyboardModifiers mods, const QString& text);

  // ---- the switches
  void TtyReaderSwitch(bool on);
  void TtyPunchSwitch(bool on);
  // The "Reader:" switch as the machine has it (a reset turns the reader off).
  void UpdateReaderSwitches();

signals:
  // A message for the user ("Error opening file:").
  void ErrorReported(const QString& text);
  // A switch turned on: the device's page is to be shown.
  void DeviceShown(int dev);

protected:
  // Key preview: keys typed anywhere in this panel's window (not in a dialog over it) reach TTI.
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool KeyPressed(QWidget* w, QKeyEvent* k);
  void ShowTeletypeSwitches();  // the "Reader:" and "Punch:" texts from their check boxes
  TMachineController* FController = nullptr;
  const std::string* FWorkPath = nullptr;
  std::unique_ptr<TTextTyping> FTyping;
  std::unique_ptr<TKeyQueue> FKeyQueue;
  std::size_t FKeysShown = 0;
};
