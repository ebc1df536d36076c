#pragma once

#include <QString>
#include <optional>

#include "IniFile.h"

namespace orsan {

// The station's languages: Chinese, the source of every text, and English.
enum class UiLanguage { Chinese, English };

// "zh_CN" and "en", as Config.ini [UI] LANG and --lang spell them.
QString LanguageCode(UiLanguage language);
std::optional<UiLanguage> LanguageFromCode(const QString& code);

// [UI] LANG: Chinese when missing or empty. Any other spelling is refused:
// empty, with the reason in *error, and the caller stays in Chinese.
std::optional<UiLanguage> LoadLanguage(const INIFILE& config, QString* error);
bool SaveLanguage(INIFILE& config, UiLanguage language);

// Installs the English translator or removes it, so every widget gets a
// QEvent::LanguageChange; needs the application object. False with a reason
// when the translation cannot be loaded (the texts then stay Chinese).
bool UseLanguage(UiLanguage language, QString* error);
UiLanguage ShownLanguage();

// The language of a run: the command line's code when given (already
// checked), else Config.ini's [UI] LANG; installs it and returns why it could
// not (the run then stays in Chinese), empty when all went well.
QString StartLanguage(const QString& commandLineCode, const INIFILE& config);
// For controls that must grow to hold their English text, the Chinese
// layout staying as it is.
inline bool IsEnglishShown() {
    return ShownLanguage() == UiLanguage::English;
}

}  // namespace orsan
