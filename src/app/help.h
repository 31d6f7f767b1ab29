#pragma once
#include <QString>

namespace app {

// The tool's help file: <Windows directory>/help/ZELTCust.chm.
QString helpFilePath();

// The user's guide shipped beside the program (guide/<language>/index.html) in the language of
// the tool's texts, or in English when there is none in that language; empty when there is none.
QString userGuidePath();

// Opens the help file with the desktop's viewer, or the user's guide when there is no help
// file. A missing viewer is not reported.
void showHelp();

} // namespace app
