#pragma once
#include <QString>

namespace platform {

// Stand-in for the shell's Windows directory, where the tool's help file lies under "help":
// the folder named by AKVO_WINDOWS_DIR, or else "windows" in the program directory.
QString windowsDirectory();

} // namespace platform
