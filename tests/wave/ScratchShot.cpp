#include <gtest/gtest.h>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <numbers>
#include <random>
#include "SpectrumPage.h"
#include "SpectrumView.h"
namespace orsan {
TEST(Scratch, Shot) {
    const double rate = 26667; const size_t n = 2 * 26680;
    std::vector<float> x(n), y(n), z(n);
    std::mt19937 rng(1); std::normal_distribution<double> nd(0, 0.01);
    for (size_t k = 0; k < n; ++k) {
        const double t = double(k) / rate, w = 2 * std::numbers::pi * 24.5 * t;
        x[k] = float(0.08 * std::sin(w) + 0.04 * std::sin(2 * w + 1) + 0.015 * std::sin(3 * w) + nd(rng));
        y[k] = float(0.05 * std::sin(w + 2) + 0.02 * std::sin(2 * w) + nd(rng));
        const double age = std::fmod(t, 1 / 87.3);
        z[k] = float(0.03 * std::sin(w) + nd(rng) + 0.5 * std::exp(-0.05 * 2 * std::numbers::pi * 3000 * age) * std::sin(2 * std::numbers::pi * 3000 * age));
    }
    SpectrumPage page; page.resize(852, 464);
    page.SetLiveReadings([] { return SensorLiveReading{24.5, {2.1, 1.3, 0.9}, true}; });
    page.show();
    QString e; ASSERT_TRUE(page.Analyse({x.data(), y.data(), z.data()}, n, rate, "t", "/tmp/w23/x", &e));
    auto* view = page.View();
    auto drag = [&](double a, double b) {
        const int ca = ColumnOfHz(view->Plot(), view->State().x, a), cb = ColumnOfHz(view->Plot(), view->State().x, b);
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(ca, 100));
        QTest::mouseMove(view, QPoint(cb, 100));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(cb, 100));
    };
    drag(0, 300);
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(ColumnOfHz(view->Plot(), view->State().x, 24.5), 100));
    page.findChild<QPushButton*>("id1133")->click();
    page.grab().save("/tmp/w23/page_acc.png");
    view->Picture().save("/tmp/w23/view_acc.png");
    page.findChild<QComboBox*>("id1132")->setCurrentIndex(1);
    view->Picture().save("/tmp/w23/view_acc_log.png");
    page.findChild<QComboBox*>("id1131")->setCurrentIndex(2);
    page.findChild<QComboBox*>("id1132")->setCurrentIndex(0);
    drag(0, 500);
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(ColumnOfHz(view->Plot(), view->State().x, 87.3), 100));
    page.grab().save("/tmp/w23/page_env.png");
}
}
