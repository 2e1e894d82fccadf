// Widget gallery: saves a PNG picture of every widget and dialog in its typical states into the
// folder given on the command line, and lists them in gallery.txt there. Runs offscreen.
//   widget_gallery OUTPUT-FOLDER
#include <QApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

#include "Fonts.h"
#include "Gallery.h"
#include "GallerySections.h"
#include "Translate.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: widget_gallery OUTPUT-FOLDER\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  InitTranslation(CORVANE_BINARY_DIR "/locale");
  InstallFontSubstitutes();

  TGallery gallery(QString::fromLocal8Bit(argv[1]));
  for (int i = 0; i < GallerySectionCount; ++i) GallerySections[i].Run(gallery);

  QFile list(QString::fromLocal8Bit(argv[1]) + "/gallery.txt");
  if (!list.open(QIODevice::WriteOnly | QIODevice::Text)) {
    std::fprintf(stderr, "gallery: cannot write gallery.txt\n");
    return 1;
  }
  QTextStream out(&list);
  for (const QString& file : gallery.Saved()) out << file << '\n';
  std::printf("gallery: %lld pictures\n", static_cast<long long>(gallery.Saved().size()));
  return gallery.Failures() == 0 ? 0 : 1;
}
