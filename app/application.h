#pragma once
// Program start-up and the message loop.

namespace zarn {

// Creates the application window, then every form in order (the category forms scan when
// the wizard first asks them to), shows the main window. False when a window cannot be
// created.
bool StartApplication();
// Runs the message loop until the application is told to end; returns the exit code.
int RunMessageLoop();
void EndApplication();

}  // namespace zarn
