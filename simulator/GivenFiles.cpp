#include "GivenFiles.h"

#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "AssemblerActions.h"
#include "MachineController.h"
#include "DeviceTabs.h"
#include "MachineError.h"
#include "DumpActions.h"
#include "MainForm.h"
#include "MessageBoxes.h"
#include "PathUtils.h"
#include "RunControl.h"
#include "Peripherals.h"
#include "QtText.h"
#include "TimeTravelActions.h"
#include "TextUtils.h"

namespace {

constexpr std::uint8_t StateMagic[8] = {'N', 'V', 'S', 'T', 'A', 'T', 'E', 0x1a};

std::string Extension(const std::string& name) {
  const std::string file = ExtractFileName(name);
  const std::size_t dot = file.rfind('.');
  return dot == std::string::npos || dot == 0 ? std::string() : LowerAscii(file.substr(dot + 1));
}

void Message(TMainForm& form, const QString& text) { ErrorMsg(text, NoPoint, QString(), &form); }

// The first bytes of a file that can be read; false with the message shown otherwise.
bool ReadHead(TMainForm& form, const std::string& name, std::uint8_t* head, std::size_t& size) {
  std::error_code ec;
  const auto status = std::filesystem::status(name, ec);
  if (!std::filesystem::exists(status)) {
    Message(form, ToQString(ErrorText(TMachineError{ekNotFound, name, ""})));
    return false;
  }
  if (std::filesystem::is_directory(status)) {
    Message(form, ToQString(ErrorText(TMachineError{ekRead, name, std::strerror(EISDIR)})));
    return false;
  }
  errno = 0;
  std::ifstream in(name, std::ios::binary);
  if (!in) {
    Message(form, ToQString(ErrorText(TMachineError{ekRead, name, std::strerror(errno ? errno : EACCES)})));
    return false;
  }
  in.read(reinterpret_cast<char*>(head), std::streamsize(size));
  size = std::size_t(in.gcount());
  return true;
}

void UnknownKind(TMainForm& form, const std::string& name) {
  Message(form, QSafeFormat(QtText("Cannot open %s:\r\nCorvane opens memory dumps (.dmp), machine state files (.nvs), "
                                   "paper tapes (.ab, .bin, .tap), text files (%s) and assembler sources (.sr, .asm)."),
                            ToQString(name), ToQString(form.Peripherals().TextFiles)));
}

}  // namespace

TGivenKind GivenFileKind(const std::string& name, const std::string& textFiles, const std::uint8_t* head,
                         std::size_t size) {
  if (size >= sizeof StateMagic && std::memcmp(head, StateMagic, sizeof StateMagic) == 0) return gkState;
  const std::string ext = Extension(name);
  if (ext == "dmp") return gkDump;
  if (ext == "nvs") return gkState;
  if (ext == "sr" || ext == "asm") return gkSource;
  if (ext == "ab" || ext == "bin" || ext == "tap") return gkTape;
  if (!ext.empty() && IsTextFile(name, textFiles)) return gkText;
  return gkUnknown;
}

std::vector<std::string> AbsoluteFileNames(const std::vector<std::string>& names, const std::string& folder) {
  std::vector<std::string> absolute;
  for (const std::string& name : names)
    absolute.push_back(IsAbsolutePath(name) ? name : (std::filesystem::path(folder) / name).lexically_normal().string());
  return absolute;
}

void OpenGivenFiles(TMainForm& form, const std::vector<std::string>& files) {
  if (files.empty()) return;
  if (form.Machine().Executing()) {
    // A dump, a state or a reset needs the machine at rest: the run is stopped, and the files
    // wait for it to end.
    form.RunControl().Stop();
    QTimer::singleShot(10, &form, [&form, files] { OpenGivenFiles(form, files); });
    return;
  }
  std::vector<std::pair<std::string, TGivenKind>> known;
  // The sources are one program: without one of them it is not assembled.
  bool sourceRefused = false;
  for (const std::string& name : files) {
    std::uint8_t head[sizeof StateMagic];
    std::size_t size = sizeof head;
    if (!ReadHead(form, name, head, size)) {
      sourceRefused = sourceRefused || GivenFileKind(name, "", head, 0) == gkSource;
      continue;
    }
    const TGivenKind kind = GivenFileKind(name, form.Peripherals().TextFiles, head, size);
    if (kind == gkUnknown)
      UnknownKind(form, name);
    else
      known.emplace_back(name, kind);
  }
  bool assembled = false;
  for (const auto& [name, kind] : known) {
    switch (kind) {
      case gkDump: form.Dumps().OpenDump(name); break;
      case gkState: form.TimeTravel().LoadState(name); break;
      case gkTape: form.pcDevices->ReaderFileDropped(pdPtr, ToQString(name)); break;
      case gkText: form.pcDevices->ReaderFileDropped(pdTtr, ToQString(name)); break;
      case gkSource:
        if (!assembled && !sourceRefused) {
          std::vector<std::string> sources;
          for (const auto& [n, k] : known)
            if (k == gkSource) sources.push_back(n);
          form.Assembler().AssembleIntoMemory(sources);
          assembled = true;
        }
        break;
      case gkUnknown: break;
    }
  }
}
