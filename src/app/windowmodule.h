#pragma once
// The window module's one entry, which the program finds by name once it has loaded the module:
// it makes the QApplication, runs the window and returns the exit status.
extern "C" int kavo_window_main(int argc, char **argv);

namespace app {
using WindowEntry = decltype(&kavo_window_main);
inline constexpr char windowEntryName[] = "kavo_window_main";
} // namespace app
