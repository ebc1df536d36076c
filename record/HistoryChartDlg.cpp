#include "HistoryChartDlg.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "DesktopShell.h"
#include "DialogUnits.h"
#include "HistoryChartView.h"
#include "MessageDlg.h"
#include "RecordPageText.h"
#include "SensorDataFile.h"
#include "SetShowDlg.h"

namespace orsan {

namespace {

QPushButton* AddButton(QBoxLayout* row, QWidget* parent, const QString& text, int id) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QStringLiteral("id%1").arg(id));
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

QString TimeWithMs(double seconds) {
    const qint64 ms = SecondsToMs(seconds);
    return FormatLocalTime(ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000)) +
           QStringLiteral(".%1").arg(((ms % 1000) + 1000) % 1000, 3, 10, QLatin1Char('0'));
}

}  // namespace

HistoryChartDlg::HistoryChartDlg(RecordDatabase& database, int sensor, const RecordRange& range,
                                 const TrendLimits& limits,
                                 const std::array<int, kCurveCount>& curves,
                                 const QString& desktopDir, QWidget* parent)
    : QDialog(parent), source_(database, sensor), desktopDir_(desktopDir) {
    setFont(DialogFont());
    setWindowTitle(QStringLiteral("历史趋势曲线 - 传感器%1").arg(sensor));
    resize(1100, 620);

    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    rangeText_ = new QLabel(this);
    rangeText_->setObjectName(QStringLiteral("id%1").arg(kRangeTextId));
    row->addWidget(rangeText_, 1);
    zoomOut_ = AddButton(row, this, QStringLiteral("返回上一级"), kZoomOutId);
    zoomOut_->setToolTip(QStringLiteral("回到放大之前的时间范围"));
    QPushButton* curvesButton = AddButton(row, this, QStringLiteral("曲线选择"), kCurvesId);
    QPushButton* pictureButton = AddButton(row, this, QStringLiteral("导出图片"), kPictureId);
    pictureButton->setToolTip(QStringLiteral("导出当前曲线为PNG图片!"));
    layout->addLayout(row);

    view_ = new HistoryChartView(source_, this);
    view_->setObjectName(QStringLiteral("id%1").arg(kChartId));
    view_->setMinimumSize(600, 300);
    view_->setToolTip(QStringLiteral("单击显示最近的记录，拖动选择时间段放大"));
    layout->addWidget(view_, 1);

    view_->Chart().SetLimits(limits);
    view_->Chart().SetCurveVisibility(curves);
    connect(zoomOut_, &QPushButton::clicked, view_, &HistoryChartView::ZoomOut);
    connect(curvesButton, &QPushButton::clicked, this, &HistoryChartDlg::ChooseCurves);
    connect(pictureButton, &QPushButton::clicked, this, [this] {
        const QString path = ExportPicture();
        if (!path.isEmpty()) OpenWithDesktop(path);
    });
    connect(view_, &HistoryChartView::changed, this, &HistoryChartDlg::UpdateRangeText);
    connect(view_, &HistoryChartView::failed, this, [](const QString& message) {
        ShowMessage(QStringLiteral("读取历史数据失败。\n") + message);
    });
    // The view lays itself out at its final size before the first read.
    layout->activate();
    view_->Show(double(range.fromMs) / 1000.0, double(range.toMs) / 1000.0);
}

void HistoryChartDlg::UpdateRangeText() {
    const HistoryChart& chart = view_->Chart();
    rangeText_->setText(QStringLiteral("传感器%1  %2 至 %3  共 %4 条记录")
                            .arg(source_.Sensor())
                            .arg(TimeWithMs(chart.Range().start), TimeWithMs(chart.Range().end))
                            .arg(chart.ShownReadings()));
    zoomOut_->setEnabled(chart.CanZoomOut());
}

void HistoryChartDlg::ChooseCurves() {
    SetShowDlg dialog(this);
    dialog.SetShowFlags(view_->Chart().CurveVisibility());
    if (dialog.exec() != QDialog::Accepted) return;
    view_->Chart().SetCurveVisibility(dialog.ShowFlags());
    view_->Render();
}

QString HistoryChartDlg::ExportPicture() {
    const QString path = QStringLiteral("%1/传感器%2历史趋势%3.png")
                             .arg(desktopDir_)
                             .arg(source_.Sensor())
                             .arg(ExportTimeText(QDateTime::currentDateTime()));
    QString error;
    if (!view_->Chart().SavePicture(path, &error)) {
        ShowMessage(error);
        return QString();
    }
    return path;
}

}  // namespace orsan
