#pragma once
// Qt's own texts (the standard buttons, the file dialogs, the colour chooser) in the language of
// the tool's texts, so that a dialog never mixes two languages.
#include <QString>
#include <QTranslator>

namespace app {

// Loads the catalog of Qt's texts for a language directory into translator, from the folder
// Qt's translations are installed in. A language Qt ships none for takes a close one (Portuguese
// of Portugal that of Brazil, Norwegian Bokmål Nynorsk); Swedish has only Qt's dialogs, not its
// standard buttons, which is why the tool's message boxes name their buttons from its own texts.
// False when there is none, as for English.
bool loadQtTranslation(QTranslator &translator, const QString &languageDir);

// The standard buttons Qt names itself (OK, Cancel, Yes, No) named from the tool's own texts
// (section TEXT), in every language of the tool; other texts are left to Qt's catalog.
class StandardButtonTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
};

} // namespace app
