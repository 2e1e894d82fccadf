#include "LanguageSwitch.h"

#include <QApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>
#include <QWidget>
#include <algorithm>

#include "Fonts.h"
#include "Startup.h"
#include "TextUtils.h"
#include "Translate.h"

namespace {

QPointer<QTranslator>& ToolkitTranslator() {
  static QPointer<QTranslator> translator;
  return translator;
}

bool ToolkitDomainRegistered() {
  const auto& domains = TranslationDomains();
  return std::find(domains.begin(), domains.end(), ToolkitDomain) != domains.end();
}

}  // namespace

QString ToolkitTranslationsFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

bool LoadToolkitTranslations(const std::string& code) {
  QPointer<QTranslator>& current = ToolkitTranslator();
  if (current) {
    QCoreApplication::removeTranslator(current);
    delete current;
  }
  if (!ToolkitDomainRegistered() || code.empty() || SameText(code, "en") || QCoreApplication::instance() == nullptr)
    return false;
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_") + QString::fromStdString(LowerAscii(code)),
                        ToolkitTranslationsFolder())) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  current = translator;
  return true;
}

void StartUpQt() {
  ReactivateLanguage();
  LoadToolkitTranslations(ActiveLanguage());
  InstallFontSubstitutes();
}

void RetranslateAllWindows() {
  const QWidgetList windows = QApplication::topLevelWidgets();
  for (QWidget* w : windows) {
    if (w->windowType() == Qt::Desktop) continue;
    QEvent event(QEvent::LanguageChange);
    QCoreApplication::sendEvent(w, &event);
  }
}

bool SwitchLanguage(const std::string& code) {
  const bool saved = ChangeLanguage(code);
  LoadToolkitTranslations(ActiveLanguage());
  RetranslateAllWindows();
  return saved;
}
