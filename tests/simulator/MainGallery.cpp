// Gallery of Corvane's main window: pictures of its main states (fresh start, after the hello
// tape ran, a value dialog over it, German) in the folder given on the command line, listed in
// gallery.txt there. Runs offscreen with temporary settings and documents folders.
//   main_gallery OUTPUT-FOLDER
#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QTextStream>
#include <QToolButton>
#include <cstdio>
#include <filesystem>

#include "DeviceTabs.h"
#include "Fonts.h"
#include "Gallery.h"
#include "InpValue.h"
#include "LanguageSwitch.h"
#include "MachineController.h"
#include "MainForm.h"
#include "MemoryModel.h"
#include "MemoryPanel.h"
#include "NumberEd.h"
#include "RegisterPanel.h"
#include "RunControl.h"
#include "ScriptedDialogs.h"
#include "TestTempDir.h"
#include "AssemblerActions.h"
#include "TimeTravelActions.h"
#include "Translate.h"
#include "WindowGallery.h"

namespace {


// The main window with the dialog drawn over it where it stands.
QImage WindowWithDialog(QWidget& window, QWidget& dialog) {
  QImage image = window.grab().toImage();
  QPainter p(&image);
  const QPoint at = window.mapFromGlobal(dialog.pos()) ;
  p.drawImage(at.x() < 0 ? 40 : at.x(), at.y() < 0 ? 40 : at.y(), dialog.grab().toImage());
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  return RunWindowGallery(argc, argv, "main_gallery", [&](TGallery& gallery) {
    TTempDir dir;
    // The tape lies in a home folder of the gallery's own, so the pictures show "~/tapes/hello.bin"
    // and never the folder the project was built in.
    const std::string home = dir / "home";
    std::filesystem::create_directories(home + "/tapes");
    std::filesystem::copy_file(CORVANE_BINARY_DIR "/samples/hello.bin", home + "/tapes/hello.bin");
    qputenv("HOME", QByteArray::fromStdString(home));
    {
      TScriptedDialogs dialogs;
      TMainForm form(TMainFormPaths{dir / "settings/", dir / "docs"});
      form.show();
      Settle();
      gallery.Save(form, "main-window");

      dialogs.AnswerOpen({QString::fromStdString(home + "/tapes/hello.bin")});
      form.pcDevices->Ptr.btOpen->click();
      dialogs.OnModal([](QDialog& d) {
        if (auto* v = qobject_cast<TValueDialog*>(&d)) v->ValueEdit()->setText("000012");
        return int(QDialog::Accepted);
      });
      form.btPrgLoad->click();
      form.Machine().SetBreakpoint(0110);
      form.ShowAddress(0100);
      form.gbMemory->sgMemory->viewport()->update();
      Settle();
      gallery.Save(form, "main-window-hello");

      // Running: the registers and the grid grey out, the run lamps are on.
      {
        TNovaMachine& m = form.Machine();
        const TWord pc = m.PC;
        m.Memory[0200].Data = 0000400;  // JMP .
        m.PC = 0200;
        int pumps = 0;
        form.Controller().ProcessEvents = [&] {
          QApplication::processEvents();
          if (++pumps == 20) {
            gallery.Save(form, "main-window-running");
            form.RunControl().Stop();
          }
        };
        form.RunControl().Run();
        form.Controller().ProcessEvents = nullptr;
        m.Memory[0200].Data = 0;
        m.PC = pc;
        form.ShowRegisters();
      }

      gallery.CaptureDialogs({"main-value-dialog"}, [&] { form.gbRegister->EditField(form.gbRegister->edAC[0]); },
                             [&](QDialog& d) { gallery.SaveImage(WindowWithDialog(form, d), "main-window-value-dialog"); });

      SwitchLanguage("de");
      Settle();
      gallery.Save(form, "main-window-de");
      SwitchLanguage("en");

      // Going back in time: a counting program with labels, a breakpoint on its ISZ, forty steps
      // and a reverse run to the last arrival there; then who wrote the count.
      {
        const std::string source = home + "/count.sr";
        std::FILE* f = std::fopen(source.c_str(), "w");
        std::fputs("        .LOC    100\n"
                   "START:  LDA     0,CHAR\n"
                   "        DOAS    0,TTO\n"
                   "WAIT:   SKPDN   TTO\n"
                   "        JMP     WAIT\n"
                   "        ISZ     COUNT\n"
                   "        LDA     1,COUNT\n"
                   "        JMP     START\n"
                   "CHAR:   101\n"
                   "COUNT:  0\n"
                   "        .END    START\n",
                   f);
        std::fclose(f);
        form.RunControl().Reset();
        form.Machine().ClearBreakpoints();
        form.Assembler().AssembleIntoMemory({source});
        form.Machine().SetBreakpoint(0104);
        for (int i = 0; i < 40; ++i) form.RunControl().Step();
        form.TimeTravel().ReverseRunClick();
        form.gbMemory->sgMemory->viewport()->update();
        Settle();
        gallery.Save(form, "main-window-going-back");
        form.ShowAddress(0110);
        gallery.CaptureDialogs({"who-wrote-dialog"}, [&] { form.TimeTravel().WhoWrote(0110); },
                               [&](QDialog& d) { gallery.SaveImage(WindowWithDialog(form, d), "main-window-who-wrote"); });
      }
      form.close();
    }
  });
}
