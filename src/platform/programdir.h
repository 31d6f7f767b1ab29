#pragma once
#include <QString>

namespace platform {

// The directory of the tool's executable, where its language directories and seed files lie.
// AKVO_PROGRAM_DIR, or setProgramDirectory(), puts it elsewhere (tests use a scratch copy).
QString programDirectory();
void setProgramDirectory(const QString &directory);   // empty: back to the executable's directory

} // namespace platform
