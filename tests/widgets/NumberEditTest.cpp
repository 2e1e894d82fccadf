// Number edit control: text shown for a value, text read back, typing rules and the events.
#include <QApplication>
#include <QClipboard>
#include <QtTest>

#include "NumberEd.h"
#include "NumberEdText.h"
#include "MessageBoxes.h"

Q_DECLARE_METATYPE(TNumMode)

namespace {

// Counts warning sounds while alive.
struct TBeeps {
  int Count = 0;
  TWarningBeepHandler Previous;
  TBeeps() { Previous = SetWarningBeepHandler([this] { ++Count; }); }
  ~TBeeps() { SetWarningBeepHandler(Previous); }
};

TNumberEditFormat Fmt(TNumMode mode, int bits, bool prefix, int group = 0, bool bytes = false, int digits = 0) {
  return TNumberEditFormat{mode, bits, digits, group, prefix, bytes};
}

// An edit in a shown window, with the focus.
struct TFocusedEdit {
  QWidget Window;
  TNumberEdit* Edit;
  QLineEdit* Other;
  TFocusedEdit() {
    Edit = new TNumberEdit(&Window);
    Other = new QLineEdit(&Window);
    Other->move(0, 40);
    Window.show();
    Window.activateWindow();
    Active = QTest::qWaitForWindowActive(&Window, 60000);
    Edit->setFocus();
  }
  bool Active = false;
};

}  // namespace

class TNumberEditTest : public QObject {
  Q_OBJECT
private slots:
  void Texts_data() {
    QTest::addColumn<qint64>("value");
    QTest::addColumn<TNumMode>("mode");
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("prefix");
    QTest::addColumn<int>("group");
    QTest::addColumn<bool>("bytes");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("text");
    QTest::newRow("new field") << 0ll << nmDecimal << 32 << true << 0 << false << 0 << "0";
    QTest::newRow("octal 16 bits") << 0ll << nmOctal << 16 << false << 0 << false << 0 << "000000";
    QTest::newRow("hex prefix") << 255ll << nmHex << 16 << true << 0 << false << 0 << "$00FF";
    QTest::newRow("octal prefix") << 255ll << nmOctal << 16 << true << 0 << false << 0 << "%000377";
    QTest::newRow("binary prefix") << 255ll << nmBin << 16 << true << 0 << false << 0 << "!0000000011111111";
    QTest::newRow("decimal no prefix char") << 255ll << nmDecimal << 16 << true << 0 << false << 0 << "255";
    QTest::newRow("zero decimal") << 255ll << nmZeroDec << 16 << true << 0 << false << 0 << "00255";
    QTest::newRow("decimal fixed digits") << 42ll << nmDecimal << 16 << false << 0 << false << 5 << "   42";
    QTest::newRow("decimal negative") << -42ll << nmDecimal << 16 << false << 0 << false << 0 << "-42";
    QTest::newRow("hex wider than 32 bits") << 0x123456789all << nmHex << 64 << false << 0 << false << 0
                                            << "000000003456789A";
    QTest::newRow("binary grouped") << 5ll << nmBin << 16 << false << 4 << false << 0 << "0000 0000 0000 0101";
    QTest::newRow("bytes octal") << 65535ll << nmOctal << 16 << false << 0 << true << 0 << "377_377";
    QTest::newRow("bytes hex prefix") << 65535ll << nmHex << 16 << true << 0 << true << 0 << "$FF_$FF";
    QTest::newRow("bytes 12 bits") << 4095ll << nmOctal << 12 << false << 0 << true << 0 << "017_377";
    QTest::newRow("bytes 8 bits") << 300ll << nmHex << 8 << false << 0 << true << 0 << "2C";
    QTest::newRow("bytes decimal") << 258ll << nmDecimal << 16 << false << 0 << true << 0 << "  1_  2";
    QTest::newRow("bytes negative") << -1ll << nmHex << 16 << false << 0 << true << 0 << "00_FF";
  }
  void Texts() {
    QFETCH(qint64, value);
    QFETCH(TNumMode, mode);
    QFETCH(int, bits);
    QFETCH(bool, prefix);
    QFETCH(int, group);
    QFETCH(bool, bytes);
    QFETCH(int, digits);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(NumberEditText(value, Fmt(mode, bits, prefix, group, bytes, digits))), text);
  }

  void DigitsFromBits() {
    const struct { int Bits; int Hex, Octal, Bin, ZeroDec; } table[] = {
        {16, 4, 6, 16, 5}, {8, 2, 3, 8, 3}, {32, 8, 11, 32, 10}};
    for (const auto& row : table) {
      QCOMPARE(NumberEditDigits(Fmt(nmHex, row.Bits, false)), row.Hex);
      QCOMPARE(NumberEditDigits(Fmt(nmOctal, row.Bits, false)), row.Octal);
      QCOMPARE(NumberEditDigits(Fmt(nmBin, row.Bits, false)), row.Bin);
      QCOMPARE(NumberEditDigits(Fmt(nmZeroDec, row.Bits, false)), row.ZeroDec);
      QCOMPARE(NumberEditDigits(Fmt(nmDecimal, row.Bits, false)), 0);
    }
  }

  void Reading_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("prefix");
    QTest::addColumn<TNumMode>("inputMode");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<int>("outcome");  // 0 converted, 1 error, 2 empty
    QTest::newRow("no prefix char reads decimal") << "777" << true << nmOctal << 777ll << 0;
    QTest::newRow("octal prefix") << "%777" << true << nmDecimal << 511ll << 0;
    QTest::newRow("input base without prefix") << "777" << false << nmOctal << 511ll << 0;
    QTest::newRow("bytes octal") << "377_377" << false << nmOctal << 65535ll << 0;
    QTest::newRow("bytes hex prefix") << "$12_$34" << true << nmDecimal << 4660ll << 0;
    QTest::newRow("bytes decimal spaces") << "  1_  2" << false << nmDecimal << 258ll << 0;
    QTest::newRow("grouped binary") << "!0000 0101" << true << nmDecimal << 5ll << 0;
    QTest::newRow("trimmed") << "  42 " << true << nmDecimal << 42ll << 0;
    QTest::newRow("negative") << "-5" << true << nmDecimal << -5ll << 0;
    QTest::newRow("plus sign") << "+5" << false << nmDecimal << 5ll << 0;
    QTest::newRow("bad decimal") << "12x" << true << nmDecimal << 0ll << 1;
    QTest::newRow("decimal beyond 32 bits") << "3000000000" << false << nmDecimal << 0ll << 1;
    QTest::newRow("bad part counts as 0") << "1_x_2" << false << nmDecimal << 65538ll << 1;
    QTest::newRow("empty last part") << "12_" << false << nmDecimal << 3072ll << 1;
    QTest::newRow("hex with sign inside") << "$-10" << true << nmDecimal << 0ll << 1;
    QTest::newRow("empty") << "   " << true << nmDecimal << 0ll << 2;
    QTest::newRow("sign only") << "-" << true << nmDecimal << 0ll << 2;
    QTest::newRow("prefix only") << "$" << true << nmDecimal << 0ll << 2;
  }
  void Reading() {
    QFETCH(QString, text);
    QFETCH(bool, prefix);
    QFETCH(TNumMode, inputMode);
    QFETCH(qint64, value);
    QFETCH(int, outcome);
    const TNumberEditReading r = ReadNumberEditText(text.toStdString(), prefix, inputMode);
    QCOMPARE(qint64(r.Value), value);
    QCOMPARE(r.Error, outcome == 1);
    QCOMPARE(r.Empty, outcome == 2);
  }

  void NewFieldAndProperties() {
    TNumberEdit edit;
    QCOMPARE(edit.text(), QString("0"));
    QCOMPARE(edit.NumMode(), nmDecimal);
    QCOMPARE(edit.Bits(), 32);
    QVERIFY(edit.Prefix());
    edit.SetBits(16);
    edit.SetPrefix(false);
    edit.SetNumMode(nmOctal);
    QCOMPARE(edit.text(), QString("000000"));
    edit.SetValue(65535);
    edit.SetBytes(true);
    QCOMPARE(edit.text(), QString("377_377"));
    edit.SetBits(0);  // stands for 32
    QCOMPARE(edit.Bits(), 32);
    QCOMPARE(edit.text(), QString("000_000_377_377"));
  }

  void SetValueMarksChangesOnly() {
    TNumberEdit edit;
    edit.SetValue(5);
    QVERIFY(edit.isModified());
    QCOMPARE(edit.cursorPosition(), 1);
    QVERIFY(!edit.hasSelectedText());
    edit.SetValue(5);
    QVERIFY(!edit.isModified());
    edit.IncrementValue(-7);
    QCOMPARE(edit.text(), QString("-2"));
  }

  void ReadingErrorsBeepAndStick() {
    TBeeps beeps;
    TNumberEdit edit;
    edit.setText("12x");
    QCOMPARE(qint64(edit.Value()), qint64(0));
    QVERIFY(edit.CheckError());
    QCOMPARE(beeps.Count, 1);
    edit.setText("");
    QCOMPARE(qint64(edit.Value()), qint64(0));
    QVERIFY(edit.CheckError());  // an empty text leaves the flag alone
    edit.setText("7");
    QCOMPARE(qint64(edit.Value()), qint64(7));
    QVERIFY(!edit.CheckError());
    QCOMPARE(beeps.Count, 1);
  }

  void TypingFollowsTheBase() {
    TBeeps beeps;
    TFocusedEdit f;
    QVERIFY(f.Active);
    TNumberEdit& edit = *f.Edit;
    edit.SetPrefix(false);
    edit.SetBits(16);
    edit.SetNumMode(nmHex);
    edit.deselect();
    edit.end(false);
    QTest::keyClick(&edit, 'G');
    QCOMPARE(edit.text(), QString("0000"));
    QCOMPARE(beeps.Count, 1);
    QTest::keyClick(&edit, 'f');
    QCOMPARE(edit.text(), QString("0000f"));
    QTest::keyClick(&edit, '_');  // the bytes separator cannot be typed
    QTest::keyClick(&edit, '-');  // nor a sign outside the decimal bases
    QCOMPARE(edit.text(), QString("0000f"));
    QCOMPARE(beeps.Count, 3);
    QTest::keyClick(&edit, Qt::Key_Backspace);  // control keys always pass
    QCOMPARE(edit.text(), QString("0000"));

    edit.SetNumMode(nmOctal);
    edit.end(false);
    QTest::keyClicks(&edit, "78");
    QCOMPARE(edit.text(), QString("0000007"));
    edit.SetNumMode(nmDecimal);
    edit.end(false);
    QTest::keyClicks(&edit, " -+9a");
    QCOMPARE(edit.text(), QString("7 -+9"));
  }

  void TypedPrefixSwitchesTheBase() {
    TBeeps beeps;
    TFocusedEdit f;
    QVERIFY(f.Active);
    TNumberEdit& edit = *f.Edit;  // decimal, prefix on, text "0"
    edit.end(false);
    QTest::keyClick(&edit, '$');  // the text starts with "0": decimal, no "$"
    QCOMPARE(edit.text(), QString("0"));
    QCOMPARE(beeps.Count, 1);
    edit.selectAll();
    QTest::keyClick(&edit, '$');  // replaces the whole text, so "$" decides
    QCOMPARE(edit.InpNumMode(), nmHex);
    QTest::keyClicks(&edit, "1F");
    QCOMPARE(edit.text(), QString("$1F"));
    QCOMPARE(beeps.Count, 1);  // the lone "$" read on key release did not beep
    edit.selectAll();
    QTest::keyClicks(&edit, "%18");
    QCOMPARE(edit.text(), QString("%1"));
    QCOMPARE(edit.InpNumMode(), nmOctal);
    edit.SetNumMode(nmDecimal);  // unchanged, but typing goes back to the shown base
    QCOMPARE(edit.InpNumMode(), nmDecimal);
  }

  void KeyReleaseStoresAndFocusOutReformats() {
    TFocusedEdit f;
    QVERIFY(f.Active);
    TNumberEdit& edit = *f.Edit;
    edit.SetPrefix(false);
    edit.SetBits(16);
    edit.SetNumMode(nmOctal);
    edit.selectAll();
    QTest::keyClicks(&edit, "17");
    QCOMPARE(edit.text(), QString("17"));  // not reformatted while typing
    edit.IncrementValue(1);                // counts from the value read on key release
    QCOMPARE(edit.text(), QString("000020"));
    edit.selectAll();
    QTest::keyClicks(&edit, "5");
    f.Other->setFocus();
    QCOMPARE(edit.text(), QString("000005"));
  }

  void ReadOnlyFieldIgnoresPasteAndCut() {
    TNumberEdit edit;
    edit.SetValue(42);
    QApplication::clipboard()->setText("777");
    edit.setReadOnly(true);
    edit.selectAll();
    edit.paste();
    edit.cut();
    QCOMPARE(edit.text(), QString("42"));
    edit.setReadOnly(false);
    edit.selectAll();
    edit.paste();  // not filtered
    QCOMPARE(edit.text(), QString("777"));
  }

  void FocusSelectsTheWholeText() {
    TFocusedEdit f;
    QVERIFY(f.Active);
    TNumberEdit& edit = *f.Edit;
    edit.SetValue(12345);
    f.Other->setFocus();
    edit.setFocus(Qt::OtherFocusReason);
    QCOMPARE(edit.selectedText(), QString("12345"));
    f.Other->setFocus();
    edit.SetAutoSelect(false);
    edit.setFocus(Qt::OtherFocusReason);
    QVERIFY(!edit.hasSelectedText());
  }
};

QTEST_MAIN(TNumberEditTest)
#include "NumberEditTest.moc"
