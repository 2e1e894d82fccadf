// What the tests of Corvane's tool windows and front panel share: a shown main window with its
// own settings and documents folders, the value dialog answered through the dialog seam, and
// short programs assembled into memory.
#pragma once
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "InpValue.h"
#include "MainForm.h"
#include "NovaUtils.h"
#include "NumberEd.h"
#include "ScriptedDialogs.h"
#include "TestTempDir.h"

// A main window with the folder's "settings/" and "docs", shown.
struct TWindow {
  explicit TWindow(const TTempDir& dir) : Form(TMainFormPaths{dir / "settings/", dir / "docs"}) {
    Form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Form));
  }
  TMainForm Form;
  TNovaFrontpanel& Panel() { return Form.FrontPanel(); }
};

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
