// Tallis's window against tallis-cli: binary mode without contents over one generated tape
// folder, measured in one run. tallis-cli is timed as a whole process (start-up included); the
// window (offscreen, made once) from the press of "Check" to the end of the run. Reports the
// medians and the window's speed as a share of tallis-cli's against the target.
//
//   tallis_bench            the comparison
//   tallis_bench --hostile  also "Show contents" on a 32 KB tape of repeat blocks (268 million
//                           lines): time, lines kept and left out, peak memory
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CheckRun.h"
#include "GeneratedTapes.h"
#include "LanguageSwitch.h"
#include "ResultListModel.h"
#include "Startup.h"
#include "TallisMain.h"
#include "TimedProcess.h"

namespace {

constexpr double TargetShare = 0.80;
constexpr int TapeCount = 4;
constexpr std::size_t TapeSize = 32u << 20;  // 4 tapes of 32 MiB
constexpr int Runs = 7;

const std::string Cli = CORVANE_BINARY_DIR "/tallis-cli";

// Seconds for one tallis-cli run; -1 when it failed.
double CliRun(const std::string& folder) { return TimedProcess(Cli, {folder, "*.ab"}); }

// Seconds for one run of the window; -1 when it did not end with the count line.
double WindowRun(TTallisForm& form, const std::string& folder, bool contents) {
  form.SourceDirEdit->setEditText(QString::fromStdString(folder));
  form.FileEdit->setEditText("*.ab");
  form.cbShow->setChecked(contents);
  QElapsedTimer timer;
  timer.start();
  form.btStart->click();
  const double took = double(timer.nsecsElapsed()) / 1e9;
  const int rows = form.Results()->rowCount();
  return rows > 0 && (form.Results()->Line(rows - 1).endsWith("Files checked") || contents) ? took : -1;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Hostile(TTallisForm& form, const std::string& root) {
  const std::string folder = root + "/hostile";
  std::filesystem::create_directories(folder);
  std::string tape;
  while (tape.size() < (32u << 10)) {  // repeat blocks of 65534 words: 65533 lines each
    for (std::uint16_t w : {std::uint16_t(2), std::uint16_t(0), std::uint16_t(0177776), std::uint16_t(0)})
      PutTapeWord(tape, w);
  }
  std::ofstream(folder + "/hostile.ab", std::ios::binary) << tape;
  const double s = WindowRun(form, folder, true);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("hostile 32 KB tape with \"Show contents\": %.1f s, %zu lines kept, %zu left out, peak memory %.0f MB\n",
              s, form.Results()->StoredLines(), form.Results()->LeftOut(), double(usage.ru_maxrss) / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
  const bool hostile = argc > 1 && std::strcmp(argv[1], "--hostile") == 0;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  char root[] = "/tmp/tallis-bench-XXXXXX";
  if (!mkdtemp(root)) {
    std::perror("tallis bench");
    return 1;
  }
  // The window's settings go to the temporary folder.
  TStartupEnv env;
  env.ExePath = CORVANE_BINARY_DIR "/tallis";
  env.LocaleFolder = CORVANE_BINARY_DIR "/locale";
  env.Folders.AppData = std::string(root) + "/config";
  env.Folders.Documents = root;
  StartUp("Holmvale", "Tallis.cfg", {ToolkitDomain}, env);
  QApplication app(argc, argv);
  StartUpQt();

  int status = 0;
  {
    TTapeFolder tapes(TapeCount, TapeSize);
    TTallisForm form;
    form.show();
    std::vector<double> cli, window;
    CliRun(tapes.Path);  // the files into the page cache
    for (int i = 0; i < Runs && status == 0; ++i) {
      const double c = CliRun(tapes.Path);
      const double w = WindowRun(form, tapes.Path, false);
      if (c <= 0 || w <= 0) {
        std::fprintf(stderr, "tallis bench: a run failed\n");
        status = 1;
        break;
      }
      cli.push_back(c);
      window.push_back(w);
    }
    if (status == 0) {
      const double mb = double(tapes.Bytes) / 1e6;
      const double c = Median(cli), w = Median(window);
      const double share = c / w;
      std::printf("binary mode, no contents, %.0f MB in %d tapes: tallis-cli %.1f ms (%.0f MB/s), window %.1f ms "
                  "(%.0f MB/s, %d catch-ups)\n",
                  mb, TapeCount, c * 1e3, mb / c, w * 1e3, mb / w, form.CheckRun().CatchUps());
      std::printf("window speed = %.0f %% of tallis-cli's (target %.0f %%): %s\n", share * 100, TargetShare * 100,
                  share >= TargetShare ? "met" : "NOT MET");
    }
    if (hostile && status == 0) Hostile(form, root);
  }
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
  return status;
}
