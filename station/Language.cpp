#include "Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace orsan {

namespace {

const QString kUiSection = QStringLiteral("UI");
const QString kLanguageKey = QStringLiteral("LANG");
const QString kEnglishFile = QStringLiteral(":/i18n/orsan_en.qm");

const QString kStationTranslator = QStringLiteral("orsanTranslator");
const QString kQtTranslator = QStringLiteral("qtTranslator");

// Owned by the application object, so it goes with it.
QTranslator* InstalledTranslator(const QString& name = kStationTranslator) {
    QCoreApplication* app = QCoreApplication::instance();
    return app ? app->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly) : nullptr;
}

// Qt's own texts (file dialog, context menus, standard buttons) are English
// by themselves; in Chinese they come from Qt's Chinese translation where
// the system has it, else they stay English, which is no reason to refuse.
void UseQtChinese(QCoreApplication* app, bool chinese) {
    QTranslator* installed = InstalledTranslator(kQtTranslator);
    if (!chinese) {
        delete installed;
        return;
    }
    if (installed) return;
    auto* translator = new QTranslator(app);
    translator->setObjectName(kQtTranslator);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator))
        delete translator;
}

}  // namespace

QString LanguageCode(UiLanguage language) {
    return language == UiLanguage::English ? QStringLiteral("en") : QStringLiteral("zh_CN");
}

std::optional<UiLanguage> LanguageFromCode(const QString& code) {
    for (const UiLanguage language : {UiLanguage::Chinese, UiLanguage::English})
        if (code == LanguageCode(language)) return language;
    return std::nullopt;
}

std::optional<UiLanguage> LoadLanguage(const INIFILE& config, QString* error) {
    const QString text = config.GetString(kUiSection, kLanguageKey, QString()).trimmed();
    if (text.isEmpty()) return UiLanguage::Chinese;
    if (const auto language = LanguageFromCode(text)) return language;
    if (error)
        *error = QCoreApplication::translate(
                     "Language", "Config.ini [UI] LANG=%1 无效：应为 zh_CN 或 en，本次使用中文。")
                     .arg(text);
    return std::nullopt;
}

bool SaveLanguage(INIFILE& config, UiLanguage language) {
    return config.WriteString(kUiSection, kLanguageKey, LanguageCode(language));
}

bool UseLanguage(UiLanguage language, QString* error) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        if (error) *error = QStringLiteral("no application object for the translation");
        return false;
    }
    UseQtChinese(app, language == UiLanguage::Chinese);
    QTranslator* installed = InstalledTranslator();
    if (language == UiLanguage::Chinese) {
        delete installed;  // its destructor removes it from the application
        return true;
    }
    if (installed) return true;
    auto* translator = new QTranslator(app);
    translator->setObjectName(kStationTranslator);
    if (!translator->load(kEnglishFile) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        if (error)
            *error = QCoreApplication::translate("Language", "无法加载英文翻译 %1，本次使用中文。")
                         .arg(kEnglishFile);
        return false;
    }
    return true;
}

QString StartLanguage(const QString& commandLineCode, const INIFILE& config) {
    QString problem;
    const std::optional<UiLanguage> language = commandLineCode.isEmpty()
                                                   ? LoadLanguage(config, &problem)
                                                   : LanguageFromCode(commandLineCode);
    // A refused setting leaves the run in Chinese whatever it showed before.
    UseLanguage(language.value_or(UiLanguage::Chinese), problem.isEmpty() ? &problem : nullptr);
    return problem;
}

UiLanguage ShownLanguage() {
    return InstalledTranslator() ? UiLanguage::English : UiLanguage::Chinese;
}

}  // namespace orsan
