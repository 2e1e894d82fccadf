// Number edit control: a one-line edit field holding a 64-bit integer, shown in one of the number
// modes with optional base prefix, digit count from a bit width, digit grouping and a bytes view.
// Only characters of the current base can be typed.
#pragma once
#include <QLineEdit>
#include <cstdint>

#include "NumberEdText.h"
#include "NumberUtils.h"

enum TAlignment : int { taLeftJustify, taRightJustify, taCenter };

class TCustomNumEdit : public QLineEdit {
  Q_OBJECT
public:
  explicit TCustomNumEdit(QWidget* parent = nullptr);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  // Selects the whole text when the field gets the focus other than by a click.
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool value) { FAutoSelect = value; }

  // Whether a typed character may enter the field; the base accepts every one.
  virtual bool IsValidChar(QChar key);
  virtual void IncrementValue(int delta);

public slots:
  // Ignored while the field is read-only (the toolkit's own versions would change the text).
  void paste();
  void cut();

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

private:
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSelect = true;
};

class TNumberEdit : public TCustomNumEdit {
  Q_OBJECT
public:
  explicit TNumberEdit(QWidget* parent = nullptr);

  bool IsValidChar(QChar key) override;
  void IncrementValue(int delta) override;
  // Stores and shows a value; the field counts as modified when the value changed.
  virtual void SetValue(std::int64_t value);

  // Converts the current text (does not change the stored value); a bad part counts as 0, plays
  // the warning sound and sets CheckError.
  std::int64_t Value();
  bool CheckError() const { return FConvertError; }

  int Bits() const { return FBits; }
  void SetBits(std::uint16_t value);  // 0 means 32
  int Digits() const { return FDigits; }
  void SetDigits(std::uint16_t value);
  int GroupDigits() const { return FGroupDigits; }
  void SetGroupDigits(std::uint16_t value);
  bool Prefix() const { return FPrefix; }
  void SetPrefix(bool value);
  bool Bytes() const { return FBytes; }
  void SetBytes(bool value);
  TNumMode NumMode() const { return FNumMode; }
  void SetNumMode(TNumMode value);
  // The base typed text is read in (follows the typed prefix when Prefix is on).
  TNumMode InpNumMode() const { return FInpNumMd; }

protected:
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

private:
  TNumberEditFormat Format() const;

  std::int64_t FValue = 0;
  std::uint16_t FBits = 32;
  std::uint16_t FDigits = 0;
  std::uint16_t FGroupDigits = 0;
  bool FConvertError = false;
  bool FPrefix = true;
  bool FBytes = false;
  TNumMode FInpNumMd = nmDecimal;
  TNumMode FNumMode = nmDecimal;
};
