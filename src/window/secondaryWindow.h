#pragma once
// What every window beside the main window has: F1 opens the help, Escape closes the window,
// and a Close button does the same as the window's frame. (A list or box that pops up is a
// window of its own, so Escape there still closes only the popup.)

#include <functional>

class QPushButton;
class QWidget;

namespace zqar {

// A Close button for the window's button row.
QPushButton *makeCloseButton(QWidget &window);

// The window's keys: F1 runs help, Escape closes it.
void addWindowKeys(QWidget &window, std::function<void()> help);

} // namespace zqar
