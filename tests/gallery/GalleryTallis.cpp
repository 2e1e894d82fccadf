// Tallis's window before and after a check run with "Show contents" (a loader tape and a damaged
// one, made in a temporary folder), in English and German. The settings file goes to the
// temporary folder as well.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>

#include "CheckerTestUtils.h"
#include "Gallery.h"
#include "GallerySections.h"
#include "LanguageSwitch.h"
#include "ScriptedDialogs.h"
#include "Startup.h"
#include "TallisMain.h"
#include "Translate.h"

namespace {

void MakeTapes(const QString& folder) {
  const std::string dir = folder.toStdString();
  TTape loader;
  loader.Nul(16).Data(01000, {060110, 000401, 0125112, 020420, 063077}).Nul(6).Start(01000).Nul(16);
  WriteFile(dir + "/loader.ab", loader.Str());
  TTape damaged;
  damaged.Nul(16).Data(0400, {054020, 000776}).Words({0177777, 0402, 0175777, 0125113}).Start(0400);
  WriteFile(dir + "/damaged.ab", damaged.Str());
}

void Pictures(TGallery& gallery, const QString& suffix) {
  TTallisForm form;
  form.show();
  form.SourceDirEdit->setEditText("tapes");
  form.FileEdit->setEditText("*.ab");
  form.cbShow->setChecked(true);
  gallery.Save(form, "tallis-window" + suffix);
  form.btStart->click();
  gallery.Save(form, "tallis-window-run" + suffix);
}

}  // namespace

void GalleryTallis(TGallery& gallery) {
  QTemporaryDir temp;
  const QString root = QDir(temp.path()).canonicalPath();
  MakeTapes(root + "/tapes");
  TStartupEnv env;
  env.ExePath = CORVANE_BINARY_DIR "/tallis";
  env.LocaleFolder = CORVANE_BINARY_DIR "/locale";
  env.Folders.AppData = (root + "/config").toStdString();
  env.Folders.Documents = (root + "/docs").toStdString();
  StartUp("Holmvale", "Tallis.cfg", {ToolkitDomain}, env);
  StartUpQt();

  // The lines name the files relative to the current folder: "File: tapes/loader.ab".
  const QString before = QDir::currentPath();
  QDir::setCurrent(root);
  TScriptedDialogs dialogs;  // no dialog is expected; none would wait
  Pictures(gallery, "");
  ActivateLanguage("de");
  LoadToolkitTranslations("de");
  Pictures(gallery, "-de");
  ActivateLanguage("en");
  LoadToolkitTranslations("en");
  QDir::setCurrent(before);
}
