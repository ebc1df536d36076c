#include "HistoryChartDlg.h"

#include <QComboBox>
#include <QDateTime>
#include <QEvent>
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

QPushButton* AddButton(QBoxLayout* row, QWidget* parent, int id) {
    auto* button = new QPushButton(parent);
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
                                 const SensorNames& names, const QString& desktopDir,
                                 QWidget* parent)
    : QDialog(parent), source_(database), sensor_(sensor), names_(names), desktopDir_(desktopDir) {
    setFont(DialogFont());
    resize(1100, 620);

    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    rangeText_ = new QLabel(this);
    rangeText_->setObjectName(QStringLiteral("id%1").arg(kRangeTextId));
    row->addWidget(rangeText_, 1);
    showLabel_ = new QLabel(this);
    row->addWidget(showLabel_);
    show_ = new QComboBox(this);
    show_->setObjectName(QStringLiteral("id%1").arg(kShowId));
    show_->addItems({QString(), QString()});
    row->addWidget(show_);
    quantity_ = new QComboBox(this);
    quantity_->setObjectName(QStringLiteral("id%1").arg(kQuantityId));
    for (const QString& name : CurveNames()) quantity_->addItem(name);
    quantity_->setCurrentIndex(HistorySelection().quantity);
    row->addWidget(quantity_);
    zoomOut_ = texts_.Set(AddButton(row, this, kZoomOutId), QT_TR_NOOP("返回上一级"),
                          QT_TR_NOOP("回到放大之前的时间范围"));
    curvesButton_ = texts_.Set(AddButton(row, this, kCurvesId), QT_TR_NOOP("曲线选择"));
    QPushButton* curvesButton = curvesButton_;
    QPushButton* pictureButton =
        texts_.Set(AddButton(row, this, kPictureId), QT_TR_NOOP("导出图片"),
                   QT_TR_NOOP("导出当前曲线为PNG图片!"));
    layout->addLayout(row);

    view_ = new HistoryChartView(source_, this);
    view_->setObjectName(QStringLiteral("id%1").arg(kChartId));
    view_->setMinimumSize(600, 300);
    texts_.Set(view_, nullptr, QT_TR_NOOP("单击显示最近的记录，拖动选择时间段放大"));
    layout->addWidget(view_, 1);

    view_->Chart().SetLimits(limits);
    view_->Chart().SetCurveVisibility(curves);
    view_->Chart().SetSensorNames(names_);
    view_->Chart().SetSelection(HistorySelection::Machine(sensor_));
    connect(show_, &QComboBox::activated, this, &HistoryChartDlg::ApplyChoice);
    connect(quantity_, &QComboBox::activated, this, &HistoryChartDlg::ApplyChoice);
    connect(zoomOut_, &QPushButton::clicked, view_, &HistoryChartView::ZoomOut);
    connect(curvesButton, &QPushButton::clicked, this, &HistoryChartDlg::ChooseCurves);
    connect(pictureButton, &QPushButton::clicked, this, [this] {
        const QString path = ExportPicture();
        if (!path.isEmpty()) OpenWithDesktop(path);
    });
    connect(view_, &HistoryChartView::changed, this, &HistoryChartDlg::UpdateRangeText);
    connect(view_, &HistoryChartView::failed, this,
            [this](const QString& message) { ShowMessage(tr("读取历史数据失败。\n") + message); });
    RetranslateTexts();
    // The view lays itself out at its final size before the first read.
    layout->activate();
    view_->Show(double(range.fromMs) / 1000.0, double(range.toMs) / 1000.0);
}

void HistoryChartDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
}

void HistoryChartDlg::RetranslateTexts() {
    texts_.Retranslate();
    showLabel_->setText(tr("显示"));
    show_->setItemText(0, SensorTabCaption(sensor_, names_[size_t(sensor_ - 1)]));
    show_->setItemText(1, tr("全部机器"));
    show_->setToolTip(tr("一台机器的全部曲线，或全部机器的同一参数"));
    quantity_->setToolTip(tr("全部机器时绘制的参数"));
    quantity_->setEnabled(AllMachines());
    curvesButton_->setEnabled(!AllMachines());
    if (AllMachines())
        setWindowTitle(tr("历史趋势曲线 - 全部机器 %1").arg(quantity_->currentText()));
    else
        setWindowTitle(tr("历史趋势曲线 - 传感器%1").arg(sensor_));
    UpdateRangeText();
}

bool HistoryChartDlg::AllMachines() const {
    return show_->currentIndex() == 1;
}

void HistoryChartDlg::ApplyChoice() {
    const HistorySelection selection = AllMachines()
                                           ? HistorySelection::Quantity(quantity_->currentIndex())
                                           : HistorySelection::Machine(sensor_);
    if (selection != view_->Chart().Selection()) {
        view_->Chart().SetSelection(selection);
        view_->Reload();
    }
    RetranslateTexts();
}

void HistoryChartDlg::UpdateRangeText() {
    const HistoryChart& chart = view_->Chart();
    const QString from = TimeWithMs(chart.Range().start);
    const QString to = TimeWithMs(chart.Range().end);
    const qint64 rows = chart.ShownReadings();
    if (chart.Selection().kind == HistorySelection::Kind::Quantity)
        rangeText_->setText(tr("全部机器 %1  %2 至 %3  共 %4 条记录")
                                .arg(CurveNames()[size_t(chart.Selection().quantity)], from, to)
                                .arg(rows));
    else
        rangeText_->setText(tr("传感器%1  %2 至 %3  共 %4 条记录")
                                .arg(sensor_)
                                .arg(from, to)
                                .arg(rows));
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
    const HistorySelection& shown = view_->Chart().Selection();
    const QString what = shown.kind == HistorySelection::Kind::Quantity
                             ? QStringLiteral("全部机器") + CurveNames()[size_t(shown.quantity)]
                             : QStringLiteral("传感器%1").arg(sensor_);
    const QString path = QStringLiteral("%1/%2历史趋势%3.png")
                             .arg(desktopDir_, what, ExportTimeText(QDateTime::currentDateTime()));
    QString error;
    if (!view_->Chart().SavePicture(path, &error)) {
        ShowMessage(error);
        return QString();
    }
    return path;
}

}  // namespace orsan
