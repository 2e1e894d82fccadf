// What the tests of Corvane's tool windows and front panel share: a shown main window with its
// own settings and documents folders, the value dialog answered through the dialog seam, and
// short programs assembled into memory.
#pragma once
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>

#include "BreakpointDlg.h"
#include "InpValue.h"
#include "MachineController.h"
#include "MainForm.h"
#include "RunControl.h"
#include "NovaUtils.h"
#include "NumberEd.h"
#include "ScriptedDialogs.h"
#include "TestTempDir.h"
#include "ToolWindow.h"

// A main window with the folder's "settings/" and "docs", shown.
struct TWindow {
  explicit TWindow(const TTempDir& dir) : Form(TMainFormPaths{dir / "settings/", dir / "docs"}) {
    Form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Form));
  }
  TMainForm Form;
  TNovaFrontpanel& Panel() { return Form.FrontPanel(); }
};

// Watches a run from the event pump: each pump calls the step until it returns true (done), then
// the run is stopped unless the test lets it go on (StopWhenDone false). A run that takes far too
// long is stopped too, and Failed tells.
class TPumpScript {
public:
  TPumpScript(TMainForm& form, std::function<bool()> step) : TPumpScript(form, true, std::move(step)) {}
  TPumpScript(TMainForm& form, bool stopWhenDone, std::function<bool()> step)
      : FForm(form), FStep(std::move(step)), FStopWhenDone(stopWhenDone) {
    FStart = std::chrono::steady_clock::now();
    form.Controller().ProcessEvents = [this] {
      QCoreApplication::processEvents();
      if (FDone) return;
      if (FStep()) {
        FDone = true;
        if (FStopWhenDone) FForm.RunControl().Stop();
      } else if (std::chrono::steady_clock::now() - FStart > std::chrono::seconds(120)) {
        Failed = true;
        FDone = true;
        FForm.RunControl().Stop();
      }
    };
  }
  ~TPumpScript() { FForm.Controller().ProcessEvents = nullptr; }
  bool Failed = false;

private:
  TMainForm& FForm;
  std::function<bool()> FStep;
  bool FStopWhenDone;
  bool FDone = false;
  std::chrono::steady_clock::time_point FStart;
};

// What is typed into the breakpoint dialog.
struct TBreakFields {
  TBreakFields(TBreakKind kind, QString first, QString last = QString(), QString condition = QString(), int count = 0)
      : Kind(kind), First(std::move(first)), Last(std::move(last)), Condition(std::move(condition)), Count(count) {}
  TBreakKind Kind;
  QString First, Last, Condition;
  int Count;
};

// Answers the next breakpoint dialog with the fields and OK. When the dialog refuses them and
// stays open, it is cancelled; Refused tells.
inline void AnswerBreakpoint(TScriptedDialogs& dialogs, const TBreakFields& f, bool* refused = nullptr) {
  dialogs.OnModal([f, refused](QDialog& d) {
    auto* b = qobject_cast<TBreakpointDialog*>(&d);
    if (!b) return int(QDialog::Rejected);
    b->cbKind->setCurrentIndex(b->cbKind->findData(int(f.Kind)));
    b->edFirst->setText(f.First);
    b->edLast->setText(f.Last);
    b->edCondition->setText(f.Condition);
    b->edCount->setValue(f.Count);
    b->btOk->click();
    if (refused) *refused = b->isVisible();
    return b->isVisible() ? int(QDialog::Rejected) : int(QDialog::Accepted);
  });
}

// Answers the next value dialog with a text (as if typed) and OK.
inline void AnswerValue(TScriptedDialogs& dialogs, const QString& text) {
  dialogs.OnModal([text](QDialog& d) {
    auto* v = qobject_cast<TValueDialog*>(&d);
    if (!v) return int(QDialog::Rejected);
    v->ValueEdit()->setText(text);
    return int(QDialog::Accepted);
  });
}

// Assembles the lines into memory from the address on.
inline void Store(TNovaMachine& m, TWord at, std::initializer_list<const char*> lines) {
  for (const char* line : lines) {
    std::uint16_t w = 0;
    QVERIFY2(StrToCommand(line, at, w), line);
    m.Memory[at++].Data = w;
  }
}

inline void WriteFile(const std::string& name, const std::string& data) {
  std::filesystem::create_directories(std::filesystem::path(name).parent_path());
  std::ofstream out(name, std::ios::binary);
  out << data;
}

// A counter: AC0 := M[110] + 1 stored back, for ever.
inline void StoreCounter(TNovaMachine& m) {
  Store(m, 0100, {"LDA 0,110", "INC 0,0", "STA 0,110", "JMP 100"});
  m.PC = 0100;
}

inline int Rows(const TToolWindow& w) { return w.Model()->rowCount(); }
inline QString Cell(const TToolWindow& w, int row, int column) { return w.Model()->CellText(row, column); }
