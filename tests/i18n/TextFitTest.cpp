#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>

#include "Language.h"
#include "TextFit.h"
#include "TranslatedScreens.h"
#include "XTabCtrl.h"

namespace orsan {
namespace {

// Every screen in both languages, every page of every tab control shown in
// turn: no text may be wider than its control. Set ORSAN_GRAB_DIR to get a
// picture of each.
class TextFitTest : public ::testing::TestWithParam<UiLanguage> {
protected:
    void TearDown() override { UseLanguage(UiLanguage::Chinese, nullptr); }
};

TEST_P(TextFitTest, EveryScreenAndPageHoldsItsTexts) {
    QString error;
    ASSERT_TRUE(UseLanguage(GetParam(), &error)) << error.toStdString();
    const QString grabs = qEnvironmentVariable("ORSAN_GRAB_DIR");
    const QString language = LanguageCode(GetParam());
    for (const test::Screen& screen : test::TranslatedScreens()) {
        test::ScreenContext context;
        const std::unique_ptr<QWidget> widget = screen.make(context);
        widget->show();
        QApplication::processEvents();
        const QList<XTabCtrl*> tabControls = widget->findChildren<XTabCtrl*>();
        const int pages = tabControls.isEmpty() ? 1 : tabControls.front()->Count();
        for (int page = 0; page < pages; ++page) {
            if (!tabControls.isEmpty()) tabControls.front()->SelectTab(page);
            QApplication::processEvents();
            const QString where =
                QStringLiteral("%1 page %2 (%3)").arg(screen.name).arg(page).arg(language);
            for (const test::Misfit& m : test::FindMisfits(widget.get()))
                ADD_FAILURE() << where.toStdString() << ": " << m.control.toStdString() << " \""
                              << m.text.toStdString() << "\" needs " << m.needed << " px, has "
                              << m.room;
            if (!grabs.isEmpty())
                widget->grab().save(QDir(grabs).filePath(
                    QStringLiteral("%1-%2-%3.png").arg(screen.name, language).arg(page)));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, TextFitTest,
                         ::testing::Values(UiLanguage::Chinese, UiLanguage::English),
                         [](const auto& info) {
                             return LanguageCode(info.param).remove('_').toStdString();
                         });

}  // namespace
}  // namespace orsan
