#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <memory>

namespace {

const QByteArray Greeting("CORVANE-OPEN", 13);  // with its NUL
const QByteArray Answer("OK\n");
// What a hand-over may be at most; a peer that sends more is not one of ours.
constexpr qsizetype MaxHandOver = 1 << 20;
// How long a second start waits for the running program (which may be busy with a box).
constexpr int ConnectMs = 2000;
constexpr int AnswerMs = 10000;

}  // namespace

TSingleInstance::TSingleInstance(const std::string& settingsFolder, QObject* parent) : QObject(parent) {
  const QByteArray key = QCryptographicHash::hash(QByteArray::fromStdString(settingsFolder), QCryptographicHash::Sha256)
                             .toHex()
                             .left(16);
  // The runtime folder is made by QStandardPaths when missing, with access for the user only.
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  FSocketName = folder + "/corvane-" + QString::fromLatin1(key) + ".socket";
}

TSingleInstance::~TSingleInstance() = default;

QByteArray TSingleInstance::Encode(const std::vector<std::string>& files) {
  QByteArray bytes = Greeting;
  for (const std::string& f : files) {
    bytes += QByteArray::fromStdString(f);
    bytes += '\0';
  }
  bytes += '\0';
  return bytes;
}

bool TSingleInstance::Decode(const QByteArray& bytes, std::vector<std::string>& files) {
  files.clear();
  if (!bytes.startsWith(Greeting)) return false;
  qsizetype at = Greeting.size();
  for (;;) {
    const qsizetype end = bytes.indexOf('\0', at);
    if (end < 0) return false;
    if (end == at) return end + 1 == bytes.size();  // the closing NUL ends it, and nothing follows
    files.push_back(bytes.mid(at, end - at).toStdString());
    at = end + 1;
  }
}

TSingleInstance::THandOver TSingleInstance::HandOver(const std::vector<std::string>& files, std::string& Why) {
  QLocalSocket socket;
  socket.connectToServer(FSocketName);
  if (!socket.waitForConnected(ConnectMs)) return hoNone;  // none runs (or a socket left by a crash)
  socket.write(Encode(files));
  while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(AnswerMs)) {
  }
  QByteArray answer = socket.readAll();
  while (!answer.endsWith('\n') && answer.size() <= Answer.size() && socket.waitForReadyRead(AnswerMs))
    answer += socket.readAll();
  if (answer == Answer) return hoDone;
  Why = socket.errorString().toStdString();
  return hoFailed;
}

bool TSingleInstance::Listen(std::string& Why) {
  FServer = new QLocalServer(this);
  FServer->setSocketOptions(QLocalServer::UserAccessOption);
  if (!FServer->listen(FSocketName)) {
    // A socket left behind by a program that ended without removing it, where nobody answers,
    // is taken over; one where a program started at the same moment listens is left to it.
    QLocalSocket probe;
    probe.connectToServer(FSocketName);
    if (probe.waitForConnected(ConnectMs)) {
      Why = FServer->errorString().toStdString();
      return false;
    }
    QLocalServer::removeServer(FSocketName);
    if (!FServer->listen(FSocketName)) {
      Why = FServer->errorString().toStdString();
      return false;
    }
  }
  connect(FServer, &QLocalServer::newConnection, this, &TSingleInstance::Accept);
  return true;
}

void TSingleInstance::Accept() {
  while (QLocalSocket* socket = FServer->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto bytes = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, bytes] {
      *bytes += socket->readAll();
      std::vector<std::string> files;
      if (!Decode(*bytes, files)) {
        // Not one of ours, or too long to be: the connection is dropped. Otherwise more follows.
        const bool foreign = !Greeting.startsWith(bytes->left(Greeting.size())) || bytes->size() > MaxHandOver;
        if (foreign) socket->abort();
        return;
      }
      socket->write(Answer);
      socket->flush();
      socket->disconnectFromServer();
      if (OnFiles) OnFiles(files);
    });
  }
}
