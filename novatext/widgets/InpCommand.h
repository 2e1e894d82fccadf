// TCommandDialog ("Input command"): asks for one instruction as assembler text. OK assembles it
// for the address it is meant for; a text that does not assemble keeps the dialog open with
// "Invalid command!". Created once and reused for every request.
#pragma once
#include <QDialog>
#include <cstdint>

#include "NumberUtils.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TCommandDialog : public QDialog {
  Q_OBJECT
public:
  explicit TCommandDialog(QWidget* parent = nullptr);

  // Shows Desc and the disassembly of ACommand (relative targets in ANumFormat) at Pos (X < 0:
  // centred) and runs modally through the dialog service. On OK, ACommand = the assembled word.
  bool Execute(QPoint Pos, const QString& Desc, std::uint16_t AAddr, TNumMode ANumFormat, std::uint16_t& ACommand);

  std::uint16_t Addr = 0;     // where the command is meant to go
  std::uint16_t Command = 0;  // the word, assembled on OK

  QLabel* DescLabel() const { return lbDesc; }
  QLineEdit* CommandEdit() const { return edCommand; }
  QPushButton* OkButton() const { return OKBtn; }
  QPushButton* CancelButton() const { return CancelBtn; }

  // OK assembles first and closes only when the text assembles.
  void done(int result) override;

protected:
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void RetranslateUi();

  QLabel* lbDesc;
  QLineEdit* edCommand;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
};
