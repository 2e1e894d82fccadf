// Value and command dialogs: what they show, OK and Cancel, "Invalid command!", placement and
// the German texts after a language change. Modal runs go through the scripted dialog service:
// a handler acts on the dialog as the user would, and no modal loop runs.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QtTest>
#include <functional>

#include "ScriptedDialogs.h"
#include "InpCommand.h"
#include "InpValue.h"
#include "NumberEd.h"
#include "Translate.h"

namespace {

QRect ScreenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

}  // namespace

class TDialogsTest : public QObject {
  Q_OBJECT
private slots:
  void ValueDialogShowsTheValueInItsBase() {
    TValueDialog dialog;
    TScriptedDialogs service;
    QString text, selected, desc;
    bool hex = false, bytes = true;
    service.OnModal([&](QDialog&) {
      text = dialog.ValueEdit()->text();
      selected = dialog.ValueEdit()->selectedText();
      desc = dialog.DescLabel()->text();
      hex = dialog.HexButton()->isChecked();
      bytes = dialog.BytesBox()->isChecked();
      return int(QDialog::Rejected);
    });
    std::uint16_t value = 10;
    QVERIFY(!dialog.Execute(QPoint(-1, -1), "New AC0", nmHex, value));
    QCOMPARE(service.Count(dkModal), 1);
    QCOMPARE(text, QString("000A"));
    QCOMPARE(selected, QString("000A"));
    QCOMPARE(desc, QString("New AC0"));
    QVERIFY(hex);
    QVERIFY(!bytes);
    QCOMPARE(value, std::uint16_t(10));  // cancelled: unchanged
  }

  void ValueDialogOkReturnsTheLow16Bits() {
    TValueDialog dialog;
    TScriptedDialogs service;
    service.OnModal([&](QDialog& d) {
      dialog.ValueEdit()->setText("1000001");  // octal, 17 bits
      dialog.OkButton()->click();
      return d.result();
    });
    std::uint16_t value = 5;
    QVERIFY(dialog.Execute(QPoint(-1, 0), "", nmOctal, value));
    QCOMPARE(value, std::uint16_t(1));
  }

  void ValueDialogButtonsSwitchTheField() {
    TValueDialog dialog;
    TScriptedDialogs service;
    QStringList shown;
    bool decimalChecked = false;
    service.OnModal([&](QDialog& d) {
      decimalChecked = dialog.DecimalButton()->isChecked();
      shown << dialog.ValueEdit()->text();  // zero-filled decimal is kept
      dialog.HexButton()->click();
      shown << dialog.ValueEdit()->text();
      dialog.BytesBox()->click();
      shown << dialog.ValueEdit()->text();
      dialog.BinButton()->click();
      shown << dialog.ValueEdit()->text();
      dialog.ValueEdit()->setText("1_0");
      dialog.OkButton()->click();
      return d.result();
    });
    std::uint16_t value = 255;
    QVERIFY(dialog.Execute(QPoint(-1, 0), "", nmZeroDec, value));
    QVERIFY(decimalChecked);
    QCOMPARE(shown, (QStringList{"00255", "00FF", "00_FF", "00000000_11111111"}));
    QCOMPARE(value, std::uint16_t(256));

    // The next request starts without the bytes view.
    bool bytes = true, octal = false;
    QString text;
    service.OnModal([&](QDialog&) {
      bytes = dialog.BytesBox()->isChecked();
      octal = dialog.OctalButton()->isChecked();
      text = dialog.ValueEdit()->text();
      return int(QDialog::Rejected);
    });
    QVERIFY(!dialog.Execute(QPoint(-1, 0), "", nmOctal, value));
    QVERIFY(!bytes);
    QVERIFY(octal);
    QCOMPARE(text, QString("000400"));
  }

  void DialogsArePlacedByTheRule() {
    const QRect area = ScreenArea();
    TValueDialog dialog;
    TScriptedDialogs service;
    std::uint16_t value = 0;
    dialog.Execute(QPoint(area.left() + 30, area.top() + 40), "", nmOctal, value);
    QCOMPARE(service.Last(dkModal)->At, QPoint(area.left() + 30, area.top() + 40));
    dialog.Execute(QPoint(area.right() - 10, area.top() + 40), "", nmOctal, value);
    QCOMPARE(service.Last(dkModal)->At.x(), area.left() + area.width() - dialog.frameGeometry().width() - 20);
    dialog.Execute(QPoint(area.left() + 30, -50), "", nmOctal, value);  // only X decides centring
    QCOMPARE(service.Last(dkModal)->At, QPoint(area.left() + 30, area.top() + 20));
    dialog.Execute(QPoint(-1, 300), "", nmOctal, value);  // X below 0: centred
    QCOMPARE(service.Last(dkModal)->At.x(), area.left() + (area.width() - dialog.frameGeometry().width()) / 2);
    QCOMPARE(service.Last(dkModal)->Caption, QString("Input value"));
  }

  void CommandDialogPrefillsAndReturnsTheSameWord() {
    TCommandDialog dialog;
    TScriptedDialogs service;
    QString text, desc;
    service.OnModal([&](QDialog& d) {
      text = dialog.CommandEdit()->text();
      desc = dialog.DescLabel()->text();
      dialog.OkButton()->click();
      return d.result();
    });
    std::uint16_t word = 060477;
    QVERIFY(dialog.Execute(QPoint(-1, -1), "Command at 001000", 01000, nmOctal, word));
    QCOMPARE(text, QString("READS 0"));
    QCOMPARE(desc, QString("Command at 001000"));
    QCOMPARE(word, std::uint16_t(060477));
    QCOMPARE(service.Count(dkError), 0);
  }

  void CommandDialogAssemblesForItsAddress() {
    TCommandDialog dialog;
    TScriptedDialogs service;
    QString text;
    service.OnModal([&](QDialog& d) {
      text = dialog.CommandEdit()->text();
      dialog.CommandEdit()->setText("JMP 1003");
      dialog.OkButton()->click();
      return d.result();
    });
    std::uint16_t word = 020405;
    QVERIFY(dialog.Execute(QPoint(-1, -1), "", 01000, nmOctal, word));
    QCOMPARE(text, QString("LDA 0,.+5"));  // relative targets without an address
    QCOMPARE(word, std::uint16_t(000403));  // JMP .+3
    QCOMPARE(dialog.Command, std::uint16_t(000403));
  }

  void InvalidCommandKeepsTheDialogOpen() {
    TCommandDialog dialog;
    TScriptedDialogs service;
    int resultAfterError = -1;
    QPoint okCorner;
    service.OnModal([&](QDialog& d) {
      dialog.CommandEdit()->setText("JMP .+200");
      dialog.OkButton()->click();
      resultAfterError = d.result();
      okCorner = dialog.OkButton()->mapToGlobal(QPoint(0, dialog.OkButton()->height()));
      dialog.CommandEdit()->setText("JMP .+1");
      dialog.OkButton()->click();
      return d.result();
    });
    std::uint16_t word = 0;
    QVERIFY(dialog.Execute(QPoint(-1, -1), "", 0100, nmOctal, word));
    QCOMPARE(resultAfterError, int(QDialog::Rejected));  // not closed by the failed OK
    QCOMPARE(service.Count(dkError), 1);
    QCOMPARE(service.Last(dkError)->Text, QString("Invalid command!"));
    QCOMPARE(service.Last(dkError)->At, okCorner);
    QCOMPARE(word, std::uint16_t(000401));
  }

  void CancelDoesNotAssemble() {
    TCommandDialog dialog;
    TScriptedDialogs service;
    service.OnModal([&](QDialog& d) {
      dialog.CommandEdit()->setText("not a command");
      dialog.CancelButton()->click();
      return d.result();
    });
    std::uint16_t word = 063077;
    QVERIFY(!dialog.Execute(QPoint(-1, -1), "", 0, nmOctal, word));
    QCOMPARE(word, std::uint16_t(063077));
    QCOMPARE(service.Count(dkError), 0);
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
