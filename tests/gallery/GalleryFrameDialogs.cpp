// The frame's shared dialogs: the three message boxes, the list editing dialog, the text inputs,
// the button choice dialog and the directory dialog (on a small temporary folder tree), in English
// and German.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>

#include "DialogService.h"
#include "Gallery.h"
#include "GallerySections.h"
#include "LanguageSwitch.h"
#include "MessageBoxes.h"
#include "QtText.h"
#include "SelectFromListDlg.h"
#include "ShellDirDlg.h"
#include "Translate.h"

namespace {

void MakeTree(const QString& root) {
  for (const char* d : {"tapes/binary", "tapes/source", "listings", "dumps"}) QDir(root).mkpath(d);
  for (const char* f : {"tapes/binary/basic.bin", "tapes/binary/loader.bin", "tapes/readme.txt", "tapes/dump.dmp"}) {
    QFile file(root + "/" + f);
    if (file.open(QIODevice::WriteOnly)) file.write(QByteArray(512, '\0'));
  }
}

// The file system model reads folders in the background: let it finish before the picture.
void SettleFiles(TShellDirDialog& dlg) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 1500) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
    QAbstractItemModel* files = dlg.FileList()->model();
    if (files && files->rowCount(dlg.FileList()->rootIndex()) > 0 && timer.elapsed() > 300) break;
  }
}

void Boxes(TGallery& gallery, const QString& suffix) {
  gallery.CaptureDialogs({"msgbox-confirm" + suffix}, [] { ConfirmMsg(QSafeFormat(QtDialogsText("Remove item: \"%s\"?"), "000012")); });
  gallery.CaptureDialogs({"msgbox-information" + suffix}, [] { InfoMsg(QSafeFormat(QtDialogsText("%u directories with %u files deleted!"), 2u, 5u)); });
  gallery.CaptureDialogs({"msgbox-error" + suffix}, [] { ErrorMsg(QSafeFormat(QtDialogsText("Directory not found:\r\n%s!"), "/home/user/Nova")); });
}

}  // namespace

void GalleryFrameDialogs(TGallery& gallery) {
  QTemporaryDir temp;
  const QString root = QDir(temp.path()).canonicalPath();
  MakeTree(root);

  Boxes(gallery, "");
  gallery.CaptureDialogs({"msgbox-long-caption"}, [] { InfoMsg("Short text.", NoPoint, "Tallis - a caption much wider than its text"); });

  TSelectFromListDialog list;
  QStringList switches{"000012", "177777", "000100", "100000"};
  QString chosen = "000100";
  auto runSwitches = [&] {
    list.Execute(QPoint(-1, -1), "Predefined switches", "", "Octal values only", soEdit | soOrder, 1, tcNone,
                 "000012,177777", switches, chosen, true, {});
  };
  gallery.CaptureDialogs({"list-dialog-switches"}, runSwitches);
  gallery.CaptureDialogs({"list-dialog-remove", "list-dialog-remove-confirm"}, runSwitches,
                         [&](QDialog&) { list.RemoveButton()->click(); });
  QStringList names{"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta", "iota", "kappa", "lambda",
                    "my", "ny", "xi", "omikron", "pi", "rho", "sigma", "tau", "ypsilon"};
  QString none;
  gallery.CaptureDialogs({"list-dialog-columns-prompt"}, [&] {
    list.Execute(QPoint(-1, -1), "Choose", "Entries in three columns:", "", soPrompt | soMulti, 3, tcNone, "", names,
                 none, true, {});
  });

  gallery.CaptureDialogs({"input-string"}, [] {
    QString text = "txt,asm,lst";
    InputString(QPoint(-1, -1), "Text file types", "Comma separated list:", text);
  });
  gallery.CaptureDialogs({"input-string-wide"}, [] {
    QString text = QString("/home/user/Documents/Nova/tapes/").repeated(3);
    InputString(QPoint(-1, -1), "", "Folder:", text);
  });
  gallery.CaptureDialogs({"input-text-history"}, [] {
    QString text = "*.bin";
    QStringList history{"*.bin", "*.txt;*.asm", "basic*.bin"};
    TInputTextArgs args;
    args.Title = "Filenames";
    args.Desc = "Insert filename(s) or wildcards";
    args.ShowCharTable = true;
    InputText(args, text, &history);
  });
  gallery.CaptureDialogs({"select-dialog-delete"}, [&] {
    TSelectArgs args;
    args.Title = QtDialogsText("Delete directory");
    args.Message = QSafeFormat(QtDialogsText("Delete \"%s\""), root + "/dumps");
    args.BoldMessage = true;
    args.Choices = {QtDialogsText("Definitely"), QtDialogsText("To recycle bin")};
    SelectChoice(args);
  });

  TShellDirDialog dirs;
  QString dir = root + "/tapes/binary";
  gallery.CaptureDialogs({"dir-dialog-files"}, [&] { dirs.Execute("Directory holding binary files", false, true, false, root, dir); },
                         [&](QDialog&) { SettleFiles(dirs); });
  gallery.CaptureDialogs({"dir-dialog-folders-only"}, [&] { dirs.Execute("Working directory", false, true, false, "", dir); },
                         [&](QDialog&) {
                           dirs.SetShowFiles(false);
                           SettleFiles(dirs);
                         });
  dirs.SetShowFiles(true);

  // German, with the toolkit's own texts.
  BindTranslationDomain(ToolkitDomain, TranslationFolder());
  ActivateLanguage("de");
  LoadToolkitTranslations("de");
  RetranslateAllWindows();
  Boxes(gallery, "-de");
  gallery.CaptureDialogs({"list-dialog-switches-de"}, runSwitches);
  gallery.CaptureDialogs({"dir-dialog-de"}, [&] { dirs.Execute("Arbeitsverzeichnis", false, true, false, root, dir); },
                         [&](QDialog&) { SettleFiles(dirs); });
  ActivateLanguage("en");
  LoadToolkitTranslations("en");
  RetranslateAllWindows();
}
