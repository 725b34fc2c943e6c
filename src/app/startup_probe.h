#pragma once
// --measure-startup: the figures behind the start-up benchmark. Once the
// main window is on screen the program prints when the first window (the
// splash) and the main window appeared and how much memory it holds, then
// closes as a user would.
#include <ostream>

#include "app/app_shell.h"

namespace cd::app {

/// Watches shell's windows from now on; the printed line reads
/// "startup first_window_ns=N main_window_ns=N rss_kb=N hwm_kb=N rows=N",
/// the times on the steady (monotonic) clock so a parent process can
/// subtract its own launch time.
void measureStartup(AppShell& shell, std::ostream& out);

}  // namespace cd::app
