#pragma once
// The tool's own user-interface texts: "custom-text.ini" in the current language directory
// beside the program. The file is read at every lookup, so a change of language takes effect
// at the next one.
#include <QString>

namespace texts {

// programDirectory + "/" + current language directory + "/custom-text.ini".
QString uiTextFilePath();

// The value of key in section, read with a buffer of 2048 characters; empty when the file,
// section or key is missing or the value is empty.
QString lookupText(const QString &section, const QString &key);

// A menu caption as plain text, for a place that is no menu: without its accelerator, whether
// marked in the text ("&Help") or after it ("ヘルプ(&H)"); "&&" stands for "&".
QString withoutMnemonic(const QString &caption);

} // namespace texts
