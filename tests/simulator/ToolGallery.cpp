// Gallery of Corvane's trace, watch and breakpoint windows and its front panel, after the hello
// tape ran (loaded by the panel's PROG LOAD), in English and German, into the folder given on the
// command line, listed in gallery.txt there. Runs offscreen with temporary folders.
//   tool_gallery OUTPUT-FOLDER
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QRadioButton>
#include <QTextStream>
#include <cstdio>

#include "BpWin.h"
#include "Fonts.h"
#include "Gallery.h"
#include "WindowGallery.h"
#include "LanguageSwitch.h"
#include "MachineController.h"
#include "MainForm.h"
#include "RunControl.h"
#include "NovaUtils.h"
#include "ScriptedDialogs.h"
#include "Switches.h"
#include "TestTempDir.h"
#include "TraceWin.h"
#include "Translate.h"
#include "WatchWin.h"

namespace {

void SaveAll(TGallery& gallery, TMainForm& form, const QString& suffix) {
  Settle();
  gallery.Save(form.TraceWin(), "trace-window" + suffix);
  gallery.Save(form.WatchWin(), "watch-window" + suffix);
  gallery.Save(form.BpWin(), "breakpoints-window" + suffix);
}
}  // namespace

int main(int argc, char** argv) {
  return RunWindowGallery(argc, argv, "tool_gallery", [&](TGallery& gallery) {
    TTempDir dir;
    {
      TScriptedDialogs dialogs;
      TMainForm form(TMainFormPaths{dir / "settings/", dir / "docs"});
      form.show();
      Settle();
      for (QAction* item : {form.itmTrace, form.itmWatchList, form.itmBreakpoints}) item->setChecked(true);
      TNovaMachine& m = form.Machine();
      TNovaFrontpanel& panel = form.FrontPanel();
      gallery.Save(panel, "front-panel-fresh");

      // The hello tape through PROG LOAD with the switches at 000012.
      form.Peripherals().OpenInput(pdPtr, CORVANE_BINARY_DIR "/samples/hello.bin");
      for (int bit : {12, 14}) {
        panel.DataSwitches[bit]->SetState(ssOn);
      }
      form.SetSwitches(panel.Switches());
      panel.OnChangeCommandSwitch(&panel, ncProgLoad);
      m.AddWatch(0101);
      m.AddWatch(0120);
      m.AddWatch(0121);
      m.Watch[1].Alert = true;
      m.SetBreakpoint(0110);
      m.SetBreakpoint(0114);
      // Data breakpoints: writes to two words (the step below hits it), and an access with a
      // condition that stops at its third hit.
      {
        TBreakpoint b;
        b.Kind = bkWrite;
        b.First = 0120;
        b.Last = 0121;
        m.SetBreakpoint(b);
        b.Kind = bkAccess;
        b.First = b.Last = 0101;
        b.Condition = "AC0 != 0 && [120] > 2";
        b.Count = 3;
        m.SetBreakpoint(b);
      }
      // One step that changes a watched location: its dot turns red.
      {
        const TWord pc = m.PC;
        std::uint16_t isz = 0;
        StrToCommand("ISZ 120", 0210, isz);
        m.Memory[0210].Data = isz;
        m.PC = 0210;
        form.RunControl().Step();
        m.Memory[0210].Data = 0;
        m.PC = pc;
      }
      form.ShowRegisters();
      SaveAll(gallery, form, "");

      // The panel while the machine runs: RUN lit, the loop's word and address shown.
      {
        const TWord pc = m.PC;
        m.Memory[0200].Data = 0000400;  // JMP .
        m.PC = 0200;
        m.AC[0] = 0125252;
        int pumps = 0;
        form.Controller().ProcessEvents = [&] {
          QApplication::processEvents();
          if (++pumps == 20) {
            form.ShowRegisters();
            Settle();
            gallery.Save(panel, "front-panel-running");
            form.RunControl().Stop();
          }
        };
        form.RunControl().Run();
        form.Controller().ProcessEvents = nullptr;
        m.Memory[0200].Data = 0;
        m.PC = pc;
      }
      // Stopped with an examined word: address, data and carry lamps lit.
      m.Carry = 1;
      form.ShowRegisters();
      panel.OnChangeCommandSwitch(&panel, ncExAc0);
      Settle();
      gallery.Save(panel, "front-panel");
      gallery.SaveZoomed(panel, "front-panel", 2);

      for (TToolWindow* w : std::initializer_list<TToolWindow*>{&form.TraceWin(), &form.WatchWin(), &form.BpWin()})
        w->rbHex->click();
      SaveAll(gallery, form, "-hex");
      for (TToolWindow* w : std::initializer_list<TToolWindow*>{&form.TraceWin(), &form.WatchWin(), &form.BpWin()})
        w->rbOctal->click();

      SwitchLanguage("de");
      SaveAll(gallery, form, "-de");
      gallery.Save(panel, "front-panel-de");
      SwitchLanguage("en");
      form.close();
    }
  });
}
