#pragma once
// The user-interface language, as the 16-bit Windows language identifier the front-end's
// language directories are named after, and the choice of the current language directory.
#include <QLocale>
#include <QString>
#include <optional>

namespace platform {

// The identifier for a locale: primary language in the low 10 bits, sub-language above
// (de_CH gives 0x0807, zh_TW 0x0404, pt_BR 0x0416). Languages the table lacks give their
// primary language with sub-language 1, or 0x0409 when the language is unknown.
quint16 languageIdForLocale(const QLocale &locale);

// The user's identifier: the override when one is set, otherwise from QLocale::system()
// (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
quint16 userInterfaceLanguage();
void setUserInterfaceLanguage(std::optional<quint16> languageId);   // tests, and --preview --language

// The four lower-case hex digits of the language directory for an identifier: every
// sub-language shares its language's directory, except Chinese and Portuguese, where
// sub-language 1 picks one directory and the others the second. Unknown languages give "0409".
QString languageDirForId(quint16 languageId);

// The directory of the user's language, asked afresh on every call.
QString currentLanguageDir();

// The language and country a language directory stands for ("0407" German, "0804" Chinese in
// simplified script, "0816" Portuguese of Portugal); English for a directory it does not know.
QLocale localeForLanguageDir(const QString &languageDir);

} // namespace platform
