// TWhoWroteDialog ("Who wrote this word?"): the instruction that last wrote a word within the
// machine's history: its address and label, its step number, the old and the new value; or that
// the history holds no write of the word. "Go there" (the dialog's Accepted) travels to just after
// that write; "Close" leaves the machine as it is.
#pragma once
#include <QDialog>

#include "NumberUtils.h"
#include "TimeTravel.h"

class QLabel;
class QPushButton;
class TMachineController;

class TWhoWroteDialog : public QDialog {
  Q_OBJECT
public:
  explicit TWhoWroteDialog(QWidget* parent = nullptr);

  // Fills the texts for the word's last write (Found false: none in the history), numbers in Mode.
  void Show(const TMachineController& controller, TWord Addr, const TLastWrite& write, TNumMode Mode);

  QLabel* lbWord;
  QLabel* lbWriter;
  QLabel* lbStep;
  QLabel* lbValues;
  QPushButton* btGoThere;
  QPushButton* btClose;
};
