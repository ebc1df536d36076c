#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QTabBar>
#include <QTest>

#include "QtPrinters.h"
#include "XTabCtrl.h"

namespace orsan {
namespace {

QString SensorCaption(int n) {
    return QStringLiteral("  传感器【%1】 ").arg(n);
}

// The main window's set-up: fixed placement, six sensor pages and the record page.
class SevenTabs : public ::testing::Test {
protected:
    void SetUp() override {
        tabs.resize(700, 400);
        tabs.SetTabPosition(QTabWidget::South);
        tabs.SetFixedPagePlacement(true);
        for (int i = 0; i < 7; ++i) {
            auto* page = new QLabel(QStringLiteral("page %1").arg(i + 1));
            page->resize(600 + i, 300);
            pages.append(page);
            tabs.AddTab(page, i < 6 ? SensorCaption(i + 1) : QStringLiteral("  长时数据记录  "),
                        i < 6 ? i : 7);
        }
        tabs.show();
        QApplication::processEvents();
    }

    void ClickTab(int index) {
        QTabBar* bar = tabs.TabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        QApplication::processEvents();
    }

    // Exactly the page of `index` is visible.
    void ExpectOnlyPageShown(int index) {
        for (int i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(pages[i]->isVisible(), i == index) << "page " << i;
        }
        EXPECT_EQ(tabs.CurrentIndex(), index);
    }

    XTabCtrl tabs;
    QList<QPointer<QWidget>> pages;
};

TEST_F(SevenTabs, FirstPageOnlyAndPagesPlacedAtTheFixedPlaceWithTheirSize) {
    ASSERT_EQ(tabs.Count(), 7);
    ExpectOnlyPageShown(0);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(pages[i]->parentWidget(), &tabs);
        EXPECT_EQ(pages[i]->pos(), QPoint(2, 1));
        EXPECT_EQ(pages[i]->size(), QSize(600 + i, 300));
        EXPECT_TRUE(tabs.IsTabEnabled(i));
    }
    EXPECT_EQ(tabs.Caption(6), QStringLiteral("  长时数据记录  "));
    EXPECT_EQ(tabs.ImageIndex(6), 7);
    EXPECT_EQ(tabs.ImageIndex(2), 2);
}

TEST_F(SevenTabs, ClickingTheSeventhTabSwapsPages) {
    ClickTab(3);
    ExpectOnlyPageShown(3);
    ClickTab(6);
    ExpectOnlyPageShown(6);
    EXPECT_EQ(tabs.PreviousIndex(), 3);
}

TEST_F(SevenTabs, DisabledTabSnapsBackToThePreviousOne) {
    ASSERT_TRUE(tabs.SelectTab(2));
    tabs.EnableTab(4, false);
    EXPECT_FALSE(tabs.IsTabEnabled(4));
    ClickTab(4);
    ExpectOnlyPageShown(2);
    // The strip's own keyboard and programmatic changes meet the same rule.
    tabs.TabBar()->setCurrentIndex(4);
    QApplication::processEvents();
    ExpectOnlyPageShown(2);
    EXPECT_FALSE(tabs.SelectTab(4));
    EXPECT_FALSE(tabs.SelectTabByName(SensorCaption(5)));
    ExpectOnlyPageShown(2);

    tabs.EnableTab(4, true);
    ClickTab(4);
    ExpectOnlyPageShown(4);
    EXPECT_EQ(tabs.PreviousIndex(), 2);
}

TEST_F(SevenTabs, NextAndPreviousSkipDisabledTabsAndStopAtTheEnds) {
    tabs.EnableTab(2, false);
    tabs.EnableTab(5, false);
    struct Step {
        bool forward;
        bool moved;
        int current;
    };
    const std::vector<Step> steps = {
        {false, false, 0}, {true, true, 1},  {true, true, 3},   {true, true, 4},
        {true, true, 6},   {true, false, 6}, {false, true, 4},  {false, true, 3},
        {false, true, 1},  {false, true, 0}, {false, false, 0},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        const bool moved = steps[i].forward ? tabs.SelectNextTab() : tabs.SelectPrevTab();
        EXPECT_EQ(moved, steps[i].moved) << "step " << i;
        ExpectOnlyPageShown(steps[i].current);
    }
}

TEST_F(SevenTabs, SelectByIndexAndByCaption) {
    EXPECT_FALSE(tabs.SelectTab(0)) << "already current";
    EXPECT_FALSE(tabs.SelectTab(7));
    EXPECT_FALSE(tabs.SelectTab(-1));
    ExpectOnlyPageShown(0);

    EXPECT_TRUE(tabs.SelectTabByName(SensorCaption(3)));
    ExpectOnlyPageShown(2);
    EXPECT_TRUE(tabs.SelectTabByName(QStringLiteral("  长时数据记录  ")));
    ExpectOnlyPageShown(6);
    // Blanks are part of the caption.
    EXPECT_FALSE(tabs.SelectTabByName(QStringLiteral("传感器【3】")));
    EXPECT_FALSE(tabs.SelectTabByName(QStringLiteral("nothing")));
    ExpectOnlyPageShown(6);
}

TEST_F(SevenTabs, CaptionsAreComparedOnTheirFirst63Characters) {
    const QString stem(63, QLatin1Char('a'));
    tabs.ChangeTab(1, nullptr, stem + QStringLiteral("-one"), 1);
    tabs.ChangeTab(4, nullptr, stem + QStringLiteral("-two"), 4);
    EXPECT_TRUE(tabs.SelectTabByName(stem + QStringLiteral("-anything")));
    ExpectOnlyPageShown(1);
    EXPECT_FALSE(tabs.SelectTabByName(stem.left(62)));
}

TEST_F(SevenTabs, DeleteTabTakesPageAndFlagAlong) {
    tabs.EnableTab(3, false);
    ASSERT_TRUE(tabs.SelectTab(4));
    QPointer<QWidget> removed = pages[1];
    tabs.DeleteTab(1);
    EXPECT_TRUE(removed.isNull());
    ASSERT_EQ(tabs.Count(), 6);
    // Flags moved with their tabs: old tab 3 is now tab 2.
    EXPECT_FALSE(tabs.IsTabEnabled(2));
    EXPECT_TRUE(tabs.IsTabEnabled(3));
    EXPECT_EQ(tabs.CurrentIndex(), 3);
    EXPECT_EQ(tabs.Page(3), pages[4].data());
    EXPECT_TRUE(pages[4]->isVisible());

    // Deleting the current tab shows an enabled neighbour, never a disabled one.
    tabs.SelectTab(1);
    tabs.DeleteTab(1);
    ASSERT_EQ(tabs.Count(), 5);
    const int current = tabs.CurrentIndex();
    ASSERT_GE(current, 0);
    EXPECT_TRUE(tabs.IsTabEnabled(current));
    int visible = 0;
    for (int i = 0; i < tabs.Count(); ++i) visible += tabs.Page(i)->isVisible() ? 1 : 0;
    EXPECT_EQ(visible, 1);
    EXPECT_TRUE(tabs.Page(current)->isVisible());

    tabs.DeleteAllTabs();
    EXPECT_EQ(tabs.Count(), 0);
    for (const QPointer<QWidget>& page : pages) EXPECT_TRUE(page.isNull());
    EXPECT_EQ(tabs.CurrentIndex(), -1);
}

TEST_F(SevenTabs, ChangeTabReplacesThePageInPlace) {
    ASSERT_TRUE(tabs.SelectTab(5));
    QPointer<QWidget> old = pages[5];
    auto* fresh = new QLabel(QStringLiteral("fresh"));
    fresh->resize(100, 50);
    tabs.ChangeTab(5, fresh, QStringLiteral("新"), 3);
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(tabs.Page(5), fresh);
    EXPECT_EQ(fresh->pos(), QPoint(2, 1));
    EXPECT_EQ(fresh->size(), QSize(100, 50));
    EXPECT_TRUE(fresh->isVisible());
    EXPECT_EQ(tabs.Caption(5), QStringLiteral("新"));
    EXPECT_EQ(tabs.ImageIndex(5), 3);
    // A page changed on a tab that is not shown stays hidden.
    auto* hidden = new QLabel(QStringLiteral("hidden"));
    tabs.ChangeTab(0, hidden, SensorCaption(1), 0);
    EXPECT_FALSE(hidden->isVisible());
}

TEST(XTabCtrlPlacement, PageOriginUsedWithoutFixedPlacement) {
    XTabCtrl tabs;
    auto* first = new QLabel(QStringLiteral("1"));
    tabs.AddTab(first, QStringLiteral("a"), -1);
    EXPECT_EQ(first->pos(), QPoint(4, 27));
    tabs.SetPageOrigin(10, 40);
    auto* second = new QLabel(QStringLiteral("2"));
    tabs.AddTab(second, QStringLiteral("b"), -1);
    EXPECT_EQ(second->pos(), QPoint(10, 42));
    tabs.SetFixedPagePlacement(true);
    auto* third = new QLabel(QStringLiteral("3"));
    tabs.AddTab(third, QStringLiteral("c"), -1);
    EXPECT_EQ(third->pos(), QPoint(2, 1));
}

TEST_F(SevenTabs, TextColoursFollowStateAndSetters) {
    const QPalette& pal = tabs.palette();
    tabs.EnableTab(3, false);
    EXPECT_EQ(tabs.TextColor(0), pal.color(QPalette::Active, QPalette::ButtonText));
    EXPECT_EQ(tabs.TextColor(1), pal.color(QPalette::Active, QPalette::ButtonText));
    EXPECT_EQ(tabs.TextColor(3), pal.color(QPalette::Disabled, QPalette::ButtonText));

    tabs.SetSelectedColor(Qt::red);
    tabs.SetNormalColor(Qt::blue);
    tabs.SetDisabledColor(Qt::gray);
    EXPECT_EQ(tabs.TextColor(0), QColor(Qt::red));
    EXPECT_EQ(tabs.TextColor(1), QColor(Qt::blue));
    EXPECT_EQ(tabs.TextColor(3), QColor(Qt::gray));

    // No hover colour yet: moving over a tab changes nothing.
    QTabBar* bar = tabs.TabBar();
    QTest::mouseMove(bar, bar->tabRect(1).center());
    QApplication::processEvents();
    EXPECT_EQ(tabs.HoverIndex(), -1);
    EXPECT_EQ(tabs.TextColor(1), QColor(Qt::blue));

    tabs.SetHoverColor(Qt::magenta);
    QTest::mouseMove(bar, bar->tabRect(2).center());
    QApplication::processEvents();
    EXPECT_EQ(tabs.HoverIndex(), 2);
    EXPECT_EQ(tabs.TextColor(2), QColor(Qt::magenta));
    EXPECT_EQ(tabs.TextColor(1), QColor(Qt::blue));
    // A disabled tab never takes the hover colour.
    QTest::mouseMove(bar, bar->tabRect(3).center());
    QApplication::processEvents();
    EXPECT_EQ(tabs.TextColor(3), QColor(Qt::gray));
    // Leaving the strip clears the hover tab.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(bar, &leave);
    EXPECT_EQ(tabs.HoverIndex(), -1);
    EXPECT_EQ(tabs.TextColor(2), QColor(Qt::blue));
}

TEST(XTabCtrlDrawing, YellowTabsWithMaskedImages) {
    // Strip of two 18 x 18 images: a red square on the transparent green.
    QPixmap strip(36, 18);
    strip.fill(QColor(0, 255, 0));
    {
        QPainter painter(&strip);
        painter.fillRect(QRect(5, 5, 8, 8), Qt::red);
        painter.fillRect(QRect(18 + 5, 5, 8, 8), Qt::blue);
    }
    XTabCtrl tabs;
    tabs.resize(400, 200);
    tabs.SetImageList(strip);
    ASSERT_EQ(tabs.ImageCount(), 2);
    tabs.AddTab(new QWidget, QStringLiteral("  one  "), 0);
    tabs.AddTab(new QWidget, QStringLiteral("  two  "), 1);
    tabs.show();
    QApplication::processEvents();

    QTabBar* bar = tabs.TabBar();
    const QImage image = bar->grab().toImage();
    int red = 0, blue = 0, green = 0, yellow = 0;
    for (int i = 0; i < 2; ++i) {
        const QRect r = bar->tabRect(i).adjusted(3, 5, -3, -3);
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c == QColor(255, 0, 0)) ++red;
                if (c == QColor(0, 0, 255)) ++blue;
                if (c == QColor(0, 255, 0)) ++green;
                if (c == QColor(255, 255, 0)) ++yellow;
            }
        }
    }
    EXPECT_EQ(red, 64) << "image 0 drawn once, whole";
    EXPECT_EQ(blue, 64) << "image 1 drawn once, whole";
    EXPECT_EQ(green, 0) << "the transparent colour never shows";
    EXPECT_GT(yellow, 200) << "tabs are filled yellow";
}

TEST(XTabCtrlDrawing, AnAlertOutlineEdgesItsOwnTabOnly) {
    XTabCtrl tabs;
    tabs.resize(400, 200);
    for (const char* caption : {"  one  ", "  two  "}) tabs.AddTab(new QWidget, caption, -1);
    tabs.show();
    const QColor purple(150, 0, 150);
    tabs.SetTabAlertOutline(1, purple);
    QApplication::processEvents();
    const QImage image = tabs.TabBar()->grab().toImage();
    int edge[2] = {0, 0};
    for (int i : {0, 1})
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                edge[i] +=
                    tabs.TabBar()->tabRect(i).contains(x, y) && image.pixelColor(x, y) == purple;
    EXPECT_EQ(edge[0], 0);
    EXPECT_GT(edge[1], 2 * tabs.TabBar()->tabRect(1).height());
}

}  // namespace
}  // namespace orsan
