#pragma once

namespace trayhost {

// The tray program from start to end: prints its help or version for --help or --version and exits
// 0; exits 0 at once when another instance runs, and 1 when there is no display; otherwise runs
// until the main window is destroyed and returns the event loop's exit code.
int RunTrayProgram(int argc, char** argv);

}  // namespace trayhost
