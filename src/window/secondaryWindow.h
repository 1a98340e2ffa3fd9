#pragma once
// What every window beside the main window has: F1 opens the help, Escape closes the window
// when nothing inside it took the key (an open cell editor still cancels its edit first), and
// a Close button that does the same as the window's frame.

#include <functional>

class QPushButton;
class QWidget;

namespace zqar {

// A Close button for the window's button row.
QPushButton *makeCloseButton(QWidget &window);

// The window's keys: F1 runs help, Escape closes it.
void addWindowKeys(QWidget &window, std::function<void()> help);

} // namespace zqar
