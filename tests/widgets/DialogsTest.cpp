// Value and command dialogs: what they show, OK and Cancel, "Invalid command!", placement and
// the German texts after a language change. Modal runs go through a test dialog service that
// acts on the dialog as the user would and never enters a modal loop.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QtTest>
#include <functional>

#include "DialogService.h"
#include "InpCommand.h"
#include "InpValue.h"
#include "NumberEd.h"
#include "Translate.h"

namespace {

class TTestDialogs : public TDialogService {
public:
  std::function<void(QDialog&)> OnExec;  // the user's part
  QStringList Errors;
  QList<QPoint> ErrorPoints;
  int Runs = 0;

  TTestDialogs() { FPrevious = SetDialogService(this); }
  ~TTestDialogs() override { SetDialogService(FPrevious); }

  int ExecDialog(QDialog& dialog) override {
    ++Runs;
    dialog.setResult(QDialog::Rejected);
    if (OnExec) OnExec(dialog);
    dialog.hide();
    return dialog.result();
  }
  void Error(const QString& text, QPoint at, const QString&, QWidget*) override {
    Errors << text;
    ErrorPoints << at;
  }

private:
  TDialogService* FPrevious;
};

QRect ScreenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

}  // namespace

class TDialogsTest : public QObject {
  Q_OBJECT
private slots:
  void ValueDialogShowsTheValueInItsBase() {
    TValueDialog dialog;
    TTestDialogs service;
    std::uint16_t value = 10;
    service.OnExec = [](QDialog& d) {
      auto& v = static_cast<TValueDialog&>(d);
      QCOMPARE(v.ValueEdit()->text(), QString("000A"));
      QVERIFY(v.HexButton()->isChecked());
      QVERIFY(!v.BytesBox()->isChecked());
      QCOMPARE(v.DescLabel()->text(), QString("New AC0"));
      QCOMPARE(v.ValueEdit()->selectedText(), QString("000A"));
    };
    QVERIFY(!dialog.Execute(QPoint(-1, -1), "New AC0", nmHex, value));
    QCOMPARE(service.Runs, 1);
    QCOMPARE(value, std::uint16_t(10));  // cancelled: unchanged
  }

  void ValueDialogOkReturnsTheLow16Bits() {
    TValueDialog dialog;
    TTestDialogs service;
    service.OnExec = [](QDialog& d) {
      auto& v = static_cast<TValueDialog&>(d);
      v.ValueEdit()->setText("1000001");  // octal, 17 bits
      v.OkButton()->click();
    };
    std::uint16_t value = 5;
    QVERIFY(dialog.Execute(QPoint(-1, 0), "", nmOctal, value));
    QCOMPARE(value, std::uint16_t(1));
  }

  void ValueDialogButtonsSwitchTheField() {
    TValueDialog dialog;
    TTestDialogs service;
    service.OnExec = [](QDialog& d) {
      auto& v = static_cast<TValueDialog&>(d);
      QVERIFY(v.DecimalButton()->isChecked());
      QCOMPARE(v.ValueEdit()->text(), QString("00255"));  // zero-filled decimal is kept
      v.HexButton()->click();
      QCOMPARE(v.ValueEdit()->text(), QString("00FF"));
      v.BytesBox()->click();
      QCOMPARE(v.ValueEdit()->text(), QString("00_FF"));
      v.BinButton()->click();
      QCOMPARE(v.ValueEdit()->text(), QString("00000000_11111111"));
      v.ValueEdit()->setText("1_0");
      v.OkButton()->click();
    };
    std::uint16_t value = 255;
    QVERIFY(dialog.Execute(QPoint(-1, 0), "", nmZeroDec, value));
    QCOMPARE(value, std::uint16_t(256));

    // The next request starts without the bytes view.
    service.OnExec = [](QDialog& d) {
      auto& v = static_cast<TValueDialog&>(d);
      QVERIFY(!v.BytesBox()->isChecked());
      QCOMPARE(v.ValueEdit()->text(), QString("000400"));
      QVERIFY(v.OctalButton()->isChecked());
    };
    QVERIFY(!dialog.Execute(QPoint(-1, 0), "", nmOctal, value));
  }

  void DialogsArePlacedByTheRule() {
    const QRect area = ScreenArea();
    TValueDialog dialog;
    TTestDialogs service;
    QPoint at;
    service.OnExec = [&](QDialog& d) { at = d.pos(); };
    std::uint16_t value = 0;
    dialog.Execute(QPoint(area.left() + 30, area.top() + 40), "", nmOctal, value);
    QCOMPARE(at, QPoint(area.left() + 30, area.top() + 40));
    dialog.Execute(QPoint(area.right() - 10, area.top() + 40), "", nmOctal, value);
    QCOMPARE(at.x(), area.left() + area.width() - dialog.frameGeometry().width() - 20);
    dialog.Execute(QPoint(-1, 300), "", nmOctal, value);  // X below 0: centred
    QCOMPARE(at.x(), area.left() + (area.width() - dialog.frameGeometry().width()) / 2);
  }

  void CommandDialogPrefillsAndReturnsTheSameWord() {
    TCommandDialog dialog;
    TTestDialogs service;
    service.OnExec = [](QDialog& d) {
      auto& c = static_cast<TCommandDialog&>(d);
      QCOMPARE(c.CommandEdit()->text(), QString("READS 0"));
      QCOMPARE(c.DescLabel()->text(), QString("Command at 001000"));
      c.OkButton()->click();
    };
    std::uint16_t word = 060477;
    QVERIFY(dialog.Execute(QPoint(-1, -1), "Command at 001000", 01000, nmOctal, word));
    QCOMPARE(word, std::uint16_t(060477));
    QVERIFY(service.Errors.isEmpty());
  }

  void CommandDialogAssemblesForItsAddress() {
    TCommandDialog dialog;
    TTestDialogs service;
    service.OnExec = [](QDialog& d) {
      auto& c = static_cast<TCommandDialog&>(d);
      QCOMPARE(c.CommandEdit()->text(), QString("LDA 0,.+5"));  // relative targets without address
      c.CommandEdit()->setText("JMP 1003");
      c.OkButton()->click();
    };
    std::uint16_t word = 020405;
    QVERIFY(dialog.Execute(QPoint(-1, -1), "", 01000, nmOctal, word));
    QCOMPARE(word, std::uint16_t(000403));  // JMP .+3
    QCOMPARE(dialog.Command, std::uint16_t(000403));
  }

  void InvalidCommandKeepsTheDialogOpen() {
    TCommandDialog dialog;
    TTestDialogs service;
    service.OnExec = [&](QDialog& d) {
      auto& c = static_cast<TCommandDialog&>(d);
      c.CommandEdit()->setText("JMP .+200");
      c.OkButton()->click();
      QCOMPARE(service.Errors, QStringList{"Invalid command!"});
      QCOMPARE(service.ErrorPoints.value(0), c.OkButton()->mapToGlobal(QPoint(0, c.OkButton()->height())));
      QCOMPARE(d.result(), int(QDialog::Rejected));  // not closed
      c.CommandEdit()->setText("JMP .+1");
      c.OkButton()->click();
    };
    std::uint16_t word = 0;
    QVERIFY(dialog.Execute(QPoint(-1, -1), "", 0100, nmOctal, word));
    QCOMPARE(word, std::uint16_t(000401));
    QCOMPARE(service.Errors.size(), 1);
  }

  void CancelDoesNotAssemble() {
    TCommandDialog dialog;
    TTestDialogs service;
    service.OnExec = [](QDialog& d) {
      auto& c = static_cast<TCommandDialog&>(d);
      c.CommandEdit()->setText("not a command");
      c.CancelButton()->click();
    };
    std::uint16_t word = 063077;
    QVERIFY(!dialog.Execute(QPoint(-1, -1), "", 0, nmOctal, word));
    QCOMPARE(word, std::uint16_t(063077));
    QVERIFY(service.Errors.isEmpty());
  }

  void DialogsRetranslateOnLanguageChange() {
    InitTranslation(CORVANE_BINARY_DIR "/locale");
    TValueDialog value;
    TCommandDialog command;
    QCOMPARE(value.windowTitle(), QString("Input value"));
    ActivateLanguage("de");
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&value, &change);
    QCoreApplication::sendEvent(&command, &change);
    const QStringList texts{value.windowTitle(), value.findChild<QGroupBox*>()->title(),
                            value.BinButton()->text(), value.OctalButton()->text(),
                            value.DecimalButton()->text(), value.HexButton()->text(),
                            value.BytesBox()->text(), value.OkButton()->text(),
                            value.CancelButton()->text(), command.windowTitle(),
                            command.CancelButton()->text()};
    ActivateLanguage("en");
    QCoreApplication::sendEvent(&value, &change);
    QCOMPARE(value.windowTitle(), QString("Input value"));
    QCOMPARE(texts, (QStringList{"Wert eingeben", "Zahlenformat", "binär", "oktal", "dezimal", "hex", "Bytes",
                                 "OK", "Abbrechen", "Befehl eingeben", "Abbrechen"}));
  }
};

QTEST_MAIN(TDialogsTest)
#include "DialogsTest.moc"
