#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "SettingParsDlg.h"

namespace orsan {
namespace {

std::string Describe(const QWidget* w) {
    if (const auto* l = qobject_cast<const QLabel*>(w)) return l->text().toStdString();
    return w->objectName().toStdString();
}

// Catches texts cut off and controls that overlap or leave the window, which
// a dialog laid out in fixed units gets wrong silently.
TEST(SettingParsDlgLook, EveryTextFitsAndNoControlsOverlap) {
    SettingParsDlg d;
    d.SetSensorAddress(MakeAddress(192, 168, 1, 10));
    const QRect window = d.rect();

    for (QLabel* l : d.findChildren<QLabel*>()) {
        EXPECT_TRUE(window.contains(l->geometry())) << l->text().toStdString();
        if (l->wordWrap()) {
            EXPECT_LE(l->heightForWidth(l->width()), l->height()) << l->text().toStdString();
        } else {
            EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width())
                << l->text().toStdString();
        }
    }
    for (QGroupBox* g : d.findChildren<QGroupBox*>()) {
        EXPECT_TRUE(window.contains(g->geometry())) << g->title().toStdString();
        EXPECT_LE(g->fontMetrics().horizontalAdvance(g->title()) + 16, g->width())
            << g->title().toStdString();
    }
    for (QPushButton* b : d.findChildren<QPushButton*>()) {
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()) + 8, b->width());
    }
    for (QComboBox* c : d.findChildren<QComboBox*>()) {
        for (int i = 0; i < c->count(); ++i) {
            EXPECT_LE(c->fontMetrics().horizontalAdvance(c->itemText(i)) + 24, c->width());
        }
    }

    // Controls with an id and all labels: no two may share pixels.
    std::vector<QWidget*> placed;
    for (QWidget* w : d.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QGroupBox*>(w) == nullptr) placed.push_back(w);
    }
    for (size_t i = 0; i < placed.size(); ++i) {
        for (size_t j = i + 1; j < placed.size(); ++j) {
            EXPECT_FALSE(placed[i]->geometry().intersects(placed[j]->geometry()))
                << Describe(placed[i]) << " / " << Describe(placed[j]);
        }
    }

    // Set ORSAN_GRAB_DIR to look at the dialog.
    const QString folder = qEnvironmentVariable("ORSAN_GRAB_DIR");
    if (!folder.isEmpty()) {
        d.show();
        EXPECT_TRUE(d.grab().save(folder + QStringLiteral("/SettingParsDlg.png")));
    }
}

}  // namespace
}  // namespace orsan
