#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>

#include "DesktopShell.h"
#include "DialogUnits.h"
#include "Ipv4AddressEdit.h"
#include "MessageDlg.h"
#include "Resources.h"
#include "XTabCtrl.h"

namespace orsan {
namespace {

// Saves pictures of the widgets for a person to look at, into the folder
// named by ORSAN_GRAB_DIR; every grab must at least produce a real picture.
QString GrabDir() {
    return qEnvironmentVariable("ORSAN_GRAB_DIR");
}

void SaveImage(const QImage& image, const QString& name) {
    ASSERT_FALSE(image.isNull()) << name.toStdString();
    if (GrabDir().isEmpty()) return;
    QDir().mkpath(GrabDir());
    ASSERT_TRUE(image.save(GrabDir() + QLatin1Char('/') + name + QStringLiteral(".png")));
}

void Save(QWidget& widget, const QString& name) {
    widget.show();
    QApplication::processEvents();
    const QImage image = widget.grab().toImage();
    ASSERT_EQ(image.size(), widget.size()) << name.toStdString();
    SaveImage(image, name);
    widget.close();
}

TEST(Grab, MessageDialogs) {
    MessageDlg notice;
    notice.SetText(QStringLiteral("趋势记录只能设置在1-1800s内，请重新设置"));
    Save(notice, QStringLiteral("message_dlg"));
    YesnoMsgDlg question;
    question.SetText(QStringLiteral("请确认是否清空所有已经记录的数据"));
    Save(question, QStringLiteral("yesno_dlg"));
    MessageDlg longNotice;
    longNotice.SetText(QStringLiteral(
        "数据库服务器连接失败,请检查服务器是否已经打开并保持网络连接好....! The station keeps "
        "polling the sensors and retries at the next record interval."));
    Save(longNotice, QStringLiteral("message_dlg_long"));
    MessageDlg exported;
    exported.SetText(ExportedFileNotice(QStringLiteral(
        "/home/operator/Desktop/100%1off/传感器3数据2026年12月07日10时06分47秒.txt")));
    Save(exported, QStringLiteral("message_dlg_exported"));
}

TEST(Grab, TabControlWithSevenPages) {
    XTabCtrl tabs;
    tabs.resize(940, 300);
    tabs.SetTabPosition(QTabWidget::South);
    tabs.SetFixedPagePlacement(true);
    tabs.SetImageList(ResourcePixmap(kBitmapTabImages));
    for (int i = 0; i < 7; ++i) {
        auto* page = new QLabel(i < 6 ? QStringLiteral("传感器 %1 的监测面板").arg(i + 1)
                                      : QStringLiteral("长时数据记录"));
        page->setAlignment(Qt::AlignCenter);
        page->setStyleSheet(QStringLiteral("background:#f4f6f8"));
        page->resize(936, 300 - tabs.TabBar()->sizeHint().height() - 2);
        tabs.AddTab(page,
                    i < 6 ? QStringLiteral("  传感器【%1】 ").arg(i + 1)
                          : QStringLiteral("  长时数据记录  "),
                    i < 6 ? i : 7);
    }
    tabs.EnableTab(4, false);
    Save(tabs, QStringLiteral("tabs_first"));
    tabs.show();
    ASSERT_TRUE(tabs.SelectTab(6));
    Save(tabs, QStringLiteral("tabs_seventh"));
}

TEST(Grab, AddressEdits) {
    const DialogUnits units;
    QWidget form;
    form.setFont(DialogFont());
    form.resize(units.Size(90, 34));
    auto* filled = new Ipv4AddressEdit(&form);
    filled->setGeometry(units.Rect(4, 4, 80, 12));
    filled->SetOctets(192, 168, 1, 10);
    auto* blank = new Ipv4AddressEdit(&form);
    blank->setGeometry(units.Rect(4, 18, 80, 12));
    Save(form, QStringLiteral("address_edits"));
}

// Every picture at its own size, and the small ones enlarged eight times
// (nearest pixel) on a light checkerboard, so their pixels can be judged.
TEST(Grab, Pictures) {
    for (int id : ResourceIds()) {
        const QImage image = ResourceImage(id);
        SaveImage(image, QStringLiteral("res_%1").arg(id));
        const int factor = image.width() <= 32 ? 8 : image.width() <= 150 ? 5 : 3;
        QImage big(image.size() * factor, QImage::Format_ARGB32);
        QPainter painter(&big);
        for (int y = 0; y < big.height(); y += 16) {
            for (int x = 0; x < big.width(); x += 16) {
                painter.fillRect(x, y, 16, 16,
                                 ((x + y) / 16) % 2 ? QColor(235, 235, 235) : Qt::white);
            }
        }
        painter.drawImage(big.rect(), image);
        painter.end();
        SaveImage(big, QStringLiteral("res_%1_big").arg(id));
    }
    SaveImage(DefaultLogoImage(), QStringLiteral("bq_logo"));
    SaveImage(DemoImage(), QStringLiteral("demo"));
}

}  // namespace
}  // namespace orsan
