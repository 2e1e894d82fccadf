// Small helpers shared by the widget tests.
#pragma once
#include <QEvent>
#include <QObject>
#include <QWidget>

// Counts the events of one type that reach a widget.
class TEventCounter : public QObject {
public:
  TEventCounter(QWidget* target, QEvent::Type type) : FType(type) { target->installEventFilter(this); }
  int Count = 0;

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == FType) ++Count;
    return false;
  }

private:
  QEvent::Type FType;
};
