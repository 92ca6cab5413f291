#pragma once
// Tool-button icons, drawn by the program: layouts show their windows on a cross sign.

#include <QIcon>

namespace vantorel {

// The icon of `command`, or a null icon for commands shown without one.
QIcon CommandIcon(int command);

}  // namespace vantorel
