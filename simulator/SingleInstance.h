// One Corvane per user and settings folder: a second start hands its files (none, or those of
// its command line) to the running program over a local socket and ends; the running one opens
// them and comes to the front. The socket lies in the user's runtime folder (XDG_RUNTIME_DIR,
// which only the user may enter) and is made accessible to the user alone; its name is drawn
// from the settings folder, so two programs with settings of their own (tests, /ini:) are two.
//
// The hand-over: "CORVANE-OPEN" and NUL, each absolute file name and NUL, then one more NUL; the
// running program answers "OK\n" once it has taken the names.
#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QLocalServer;

class TSingleInstance : public QObject {
  Q_OBJECT
public:
  explicit TSingleInstance(const std::string& settingsFolder, QObject* parent = nullptr);
  ~TSingleInstance() override;

  // The socket's full name.
  const QString& SocketName() const { return FSocketName; }

  enum THandOver { hoNone, hoDone, hoFailed };
  // Hands the files to a running program: hoDone when it took them, hoNone when none runs,
  // hoFailed (with the reason in Why) when one runs but did not answer.
  THandOver HandOver(const std::vector<std::string>& files, std::string& Why);
  // Listens for later starts; OnFiles gets the names each of them hands over. False with the
  // reason in Why when the socket cannot be made (the program then runs on alone).
  bool Listen(std::string& Why);
  std::function<void(const std::vector<std::string>&)> OnFiles;

  // A hand-over's bytes, and the names read back from them; false for bytes that are not one
  // (yet: more may follow).
  static QByteArray Encode(const std::vector<std::string>& files);
  static bool Decode(const QByteArray& bytes, std::vector<std::string>& files);

private:
  void Accept();
  QString FSocketName;
  QLocalServer* FServer = nullptr;
};
