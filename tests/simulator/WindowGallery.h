// What Corvane's window galleries share: the program around the pictures (offscreen unless a
// platform is given, the Fusion style, English texts, the font substitutes; the list gallery.txt
// in the output folder at the end) and letting shown windows settle.
#pragma once
#include <QApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <functional>

#include "Fonts.h"
#include "Gallery.h"
#include "LanguageSwitch.h"
#include "Translate.h"

inline void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// NAME OUTPUT-FOLDER: Body saves the pictures; returns the program's exit code.
inline int RunWindowGallery(int argc, char** argv, const char* name, const std::function<void(TGallery&)>& Body) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", name);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  InitTranslation(CORVANE_BINARY_DIR "/locale", {ToolkitDomain});
  ActivateLanguage("en");
  InstallFontSubstitutes();

  TGallery gallery(QString::fromLocal8Bit(argv[1]));
  Body(gallery);

  QFile list(QString::fromLocal8Bit(argv[1]) + "/gallery.txt");
  if (!list.open(QIODevice::WriteOnly | QIODevice::Text)) return 1;
  QTextStream out(&list);
  for (const QString& file : gallery.Saved()) out << file << '\n';
  std::printf("%s: %lld pictures\n", name, static_cast<long long>(gallery.Saved().size()));
  return gallery.Failures() == 0 ? 0 : 1;
}
