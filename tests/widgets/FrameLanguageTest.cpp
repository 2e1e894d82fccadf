// The language switch of the Qt programs under the C locale: gettext texts of the shared dialogs,
// the toolkit's own texts, and every window retranslating itself at once.
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFontInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <cstdlib>

#include "Fonts.h"
#include "LanguageSwitch.h"
#include "MessageBoxes.h"
#include "QtText.h"
#include "SelectFromListDlg.h"
#include "ShellDirDlg.h"
#include "Translate.h"

namespace {

class TCountingWindow : public QWidget {
public:
  int Changes = 0;

protected:
  void changeEvent(QEvent* event) override {
    if (event->type() == QEvent::LanguageChange) ++Changes;
    QWidget::changeEvent(event);
  }
};

const std::string LocaleFolder = CORVANE_BINARY_DIR "/locale";

}  // namespace

class TFrameLanguageTest : public QObject {
  Q_OBJECT
private slots:
  void toolkitCatalogOnlyForItsDomain() {
    InitTranslation(LocaleFolder);
    QVERIFY(!LoadToolkitTranslations("de"));
    InitTranslation(LocaleFolder, {ToolkitDomain});
    QVERIFY(LoadToolkitTranslations("de"));
    QVERIFY(!LoadToolkitTranslations("en"));
    QVERIFY(!LoadToolkitTranslations(""));
  }

  void switchRetranslatesEveryWindow() {
    InitTranslation(LocaleFolder, {ToolkitDomain, UnitsDomain});
    SwitchLanguage("en");
    TSelectFromListDialog list;
    TShellDirDialog dirs;
    TCountingWindow plain;
    QCOMPARE(list.AddButton()->text(), QString("Add"));
    QCOMPARE(dirs.ShowFilesBox()->text(), QString("Show files"));
    const int before = plain.Changes;

    SwitchLanguage("de");
    // Synchronously: no event loop has run.
    QVERIFY(plain.Changes > before);
    QCOMPARE(list.AddButton()->text(), QString::fromUtf8("Hinzufügen"));
    QCOMPARE(list.windowTitle(), QString::fromUtf8("Eintrag aus Liste wählen"));
    QCOMPARE(dirs.ShowFilesBox()->text(), QString("Dateien anzeigen"));
    QCOMPARE(dirs.windowTitle(), QString::fromUtf8("Verzeichnis auswählen"));
    QCOMPARE(QtDialogsText("Cancel"), QString("Abbrechen"));
    QCOMPARE(QtText("Format error: "), QString("Formatfehler: "));
    {
      TMessageBox box(mkConfirm, "?", NoPoint, QString());
      QCOMPARE(box.windowTitle(), QString::fromUtf8("Bestätigen"));
      QCOMPARE(box.button(QMessageBox::Yes)->text(), QString("&Ja"));  // the toolkit's own catalog
    }

    SwitchLanguage("en");
    QCOMPARE(list.AddButton()->text(), QString("Add"));
    QCOMPARE(dirs.ShowFilesBox()->text(), QString("Show files"));
    TMessageBox box(mkConfirm, "?", NoPoint, QString());
    QCOMPARE(box.button(QMessageBox::Yes)->text(), QString("&Yes"));
    QCOMPARE(box.windowTitle(), QString("Confirm"));
  }

  void fontsFallBackToMetricCompatibleOnes() {
    InstallFontSubstitutes();
    QCOMPARE(QFontInfo(PixelFont("Courier New", 13, true)).family(), QString("Liberation Mono"));
    QCOMPARE(QFontInfo(PixelFont("Tahoma", 11)).family(), QString("Liberation Sans"));
    QCOMPARE(PixelFont("Courier New", 13).pixelSize(), 13);
  }
};

int main(int argc, char** argv) {
  // The C locale, as on a machine without any German locale installed.
  unsetenv("LANGUAGE");
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  setenv("LANG", "C", 1);
  QApplication app(argc, argv);
  TFrameLanguageTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "FrameLanguageTest.moc"
