#pragma once
#include <QString>

namespace app {

// The tool's help file: <Windows directory>/help/ZELTCust.chm.
QString helpFilePath();

// Opens the help file with the desktop's viewer. A missing file or viewer is not reported.
void showHelp();

} // namespace app
