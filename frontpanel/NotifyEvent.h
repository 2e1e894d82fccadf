// Event type of the front panel widgets: a plain callback that gets the widget as sender.
#pragma once
#include <functional>

class QObject;

using TNotifyEvent = std::function<void(QObject* Sender)>;
