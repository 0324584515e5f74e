#pragma once
// The bindings as the driver reads them: the action's name, a key, a pad button or half-axis,
// and the whole table as the help window lists it. And the other way: the name a key press
// has in the bindings (Qt's portable key text), and whether a key may be bound at all (the
// function keys, Scroll Lock and the modifiers keep their own meaning). UI thread.
#include <QString>
#include <string>

#include "controls/bindings.h"

class QKeyEvent;

namespace velmoria::controls {

QString actionLabel(Action a);
QString keyLabel(const std::string& keyName);
QString buttonLabel(std::optional<PadButton> b);
QString axisLabel(const AxisBinding& a);
// One line per action with its key and pad button, then the two handle axes.
QString bindingsText(const Bindings& b);

// The key's name in the bindings: "H", "3", "Space", "Return" (also the keypad's Enter), ",";
// "" for a key without one.
std::string keyName(const QKeyEvent& event);
bool bindable(const QKeyEvent& event);

}  // namespace velmoria::controls
