// The value dialog in its bases and with the bytes view; the command dialog prefilled, and with
// a text that does not assemble together with its "Invalid command!" box.
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

#include "Gallery.h"
#include "GallerySections.h"
#include "InpCommand.h"
#include "InpValue.h"
#include "Translate.h"

namespace {

void Retranslate(QWidget& window) {
  QEvent change(QEvent::LanguageChange);
  QCoreApplication::sendEvent(&window, &change);
}

}  // namespace

void GalleryNumberDialogs(TGallery& gallery) {
  TValueDialog value;
  std::uint16_t word = 0123456;
  gallery.CaptureDialogs({"value-dialog-octal"}, [&] { value.Execute(QPoint(-1, -1), "New value of AC0:", nmOctal, word); });
  gallery.CaptureDialogs({"value-dialog-hex"}, [&] { value.Execute(QPoint(-1, -1), "New value of AC1:", nmHex, word); });
  gallery.CaptureDialogs({"value-dialog-binary-bytes"},
                         [&] { value.Execute(QPoint(-1, -1), "Switches:", nmBin, word); },
                         [&](QDialog&) { value.BytesBox()->click(); });
  gallery.CaptureDialogs({"value-dialog-decimal"}, [&] { value.Execute(QPoint(-1, -1), "Memory step:", nmZeroDec, word); });

  TCommandDialog command;
  std::uint16_t instruction = 060477;
  gallery.CaptureDialogs({"command-dialog"},
                         [&] { command.Execute(QPoint(-1, -1), "Command at 001000:", 01000, nmOctal, instruction); });
  instruction = 020405;
  gallery.CaptureDialogs({"command-dialog-invalid", "msgbox-invalid-command"},
                         [&] { command.Execute(QPoint(-1, -1), "Command at 000100:", 0100, nmOctal, instruction); },
                         [&](QDialog&) {
                           command.CommandEdit()->setText("JMP .+200");
                           command.OkButton()->click();
                         });

  // German.
  ActivateLanguage("de");
  Retranslate(value);
  Retranslate(command);
  gallery.CaptureDialogs({"value-dialog-de"}, [&] { value.Execute(QPoint(-1, -1), "Neuer Wert von AC0:", nmOctal, word); });
  gallery.CaptureDialogs({"command-dialog-invalid-de", "msgbox-invalid-command-de"},
                         [&] { command.Execute(QPoint(-1, -1), "Befehl bei 000100:", 0100, nmOctal, instruction); },
                         [&](QDialog&) {
                           command.CommandEdit()->setText("LDA 4,0");
                           command.OkButton()->click();
                         });
  ActivateLanguage("en");
  Retranslate(value);
  Retranslate(command);
}
