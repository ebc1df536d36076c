#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>

#include "MessageDlg.h"

namespace orsan {
namespace {

// Saves pictures of the widgets for a person to look at, into the folder
// named by ORSAN_GRAB_DIR; every grab must at least produce a real picture.
QString GrabDir() {
    return qEnvironmentVariable("ORSAN_GRAB_DIR");
}

void Save(QWidget& widget, const QString& name) {
    widget.show();
    QApplication::processEvents();
    const QImage image = widget.grab().toImage();
    ASSERT_FALSE(image.isNull()) << name.toStdString();
    ASSERT_EQ(image.size(), widget.size());
    if (!GrabDir().isEmpty()) {
        QDir().mkpath(GrabDir());
        ASSERT_TRUE(image.save(GrabDir() + QLatin1Char('/') + name + QStringLiteral(".png")));
    }
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
}

}  // namespace
}  // namespace orsan
