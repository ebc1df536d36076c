#include "PannelDlg.h"

#include <QDateTime>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <cmath>
#include <vector>

#include "ChartSettings.h"
#include "DXPNGCTL.h"
#include "DesktopShell.h"
#include "DialogControls.h"
#include "DxChartTrend.h"
#include "EnterEscapeFilter.h"
#include "LinkNotice.h"
#include "LiveValues.h"
#include "MessageDlg.h"
#include "PrintfText.h"
#include "Resources.h"
#include "SensorDataFile.h"
#include "SetChartDlg.h"
#include "SetShowDlg.h"

namespace orsan {

namespace {

constexpr int kShortestTrendMs = 300;  // the shortest record interval
constexpr int kMinimumTimerMs = 10;
const QString kBlankValue = QString(13, u' ');
const QColor kGreyedValue(150, 150, 150);

// A sunken, centred value field, blank until the first refresh.
QLabel* AddValue(const DialogControls& ui, int id, int x, int y, int w, int h,
                 const QColor& color) {
    QLabel* value = ui.Label(kBlankValue, x, y, w, h, Qt::AlignCenter, id);
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    value->setLineWidth(1);
    if (color.isValid()) {
        QPalette palette = value->palette();
        palette.setColor(QPalette::WindowText, color);
        value->setPalette(palette);
    }
    return value;
}

// Control id, live-value slot and format of every value field.
struct LiveField {
    int id;
    int slot;
    const char* format;
};

const LiveField kLiveFields[] = {
    {1015, kSlotAccX, "%1.2f"},
    {1032, kSlotAccY, "%1.2f"},
    {1040, kSlotAccZ, "%1.2f"},
    {1016, kSlotVelX, "%1.2f"},
    {1034, kSlotVelY, "%1.2f"},
    {1039, kSlotVelZ, "%1.2f"},
    {1018, kSlotDispX, "%1.0f"},
    {1035, kSlotDispY, "%1.0f"},
    {1038, kSlotDispZ, "%1.0f"},
    {1037, kSlotTShell, "%1.1f"},
    {1041, 10, "%1.2f"},
    {1042, 11, "%1.2f"},
    {1043, 12, "%1.2f"},
    {1044, 13, "%1.2f"},
    {1045, 14, "%1.2f"},
    {1046, 15, "%1.2f"},
    {1047, 16, "%1.2f"},
    {1048, 17, "%1.2f"},
    {1050, kSlotTopOrderZ, "%1.1f"},
    {1055, kSlotTopOrderEnergyZ, "%1.2f"},
    {1125, kSlotRunningSpeed, "%1.2f"},
};

// White on dark backgrounds, by perceived brightness.
QColor TextOn(const QColor& back) {
    const double brightness = 0.299 * back.red() + 0.587 * back.green() + 0.114 * back.blue();
    return brightness < 128 ? Qt::white : Qt::black;
}

int PeriodForSeconds(float seconds) {
    if (!(seconds > 0)) return kShortestTrendMs;
    if (seconds >= 1) return static_cast<int>(std::min(seconds, 1.0e6f)) * 1000;
    return std::max(kMinimumTimerMs, static_cast<int>(seconds * 1000));
}

}  // namespace

PannelDlg::PannelDlg(int sensorIndex, const StationPaths& paths, const LiveValues& live,
                     int intervalWholeSeconds, QWidget* parent)
    : QWidget(parent), sensorIndex_(sensorIndex), paths_(paths), live_(live) {
    setFont(DialogFont());
    ConsumeEnterEscape(this);
    BuildControls();

    chartSettings.SetPath(paths_.DataFile(QStringLiteral("Chart.ini")));
    logo_->SetImagePath(paths_.DataFile(QStringLiteral("bq_logo.png")));
    const ChartSettings settings = LoadChartSettings(chartSettings, sensorIndex_ + 1);
    chart_->SetLimits(settings.limits);
    showFlags_ = settings.showFlags;
    chart_->SetCurveVisibility(showFlags_);
    chart_->EnsureImage();

    connect(&liveTimer_, &QTimer::timeout, this, &PannelDlg::RefreshLiveValues);
    connect(&trendTimer_, &QTimer::timeout, this, &PannelDlg::AppendTrendSample);
    // Trend samples keep their spacing; a coarse timer may fire 5 % early.
    trendTimer_.setTimerType(Qt::PreciseTimer);
    liveTimer_.start(kLiveTimerMs);
    SetTrendInterval(float(intervalWholeSeconds));
}

void PannelDlg::BuildControls() {
    const DialogControls ui(this);
    resize(ui.Units().Size(548, 238));

    const QColor blue(0, 0, 255);
    const QColor darkRed(128, 0, 0);
    const QColor orange(255, 128, 0);

    texts_.Set(ui.Label(QString(), 0, 3, 39, 8), QT_TR_NOOP("【稳态结果】"));
    ui.Label(QStringLiteral("X"), 55, 3, 8, 8, Qt::AlignCenter);
    ui.Label(QStringLiteral("Y"), 99, 3, 8, 8, Qt::AlignCenter);
    ui.Label(QStringLiteral("Z"), 143, 3, 8, 8, Qt::AlignCenter);
    const char* rowNames[] = {QT_TR_NOOP("加速度："), QT_TR_NOOP("速   度："),
                              QT_TR_NOOP("位   移："), QT_TR_NOOP("温   度：")};
    const int rowY[] = {15, 27, 39, 52};
    const char* units[] = {"m/ss", "mm/s", "um", "℃"};
    for (int r = 0; r < 4; ++r) {
        texts_.Set(ui.Label(QString(), 3, rowY[r], 28, 8), rowNames[r]);
        ui.Label(QString::fromUtf8(units[r]), 168, rowY[r], 20, 8);
    }
    const int columnX[] = {40, 84, 128};
    const int accIds[] = {1015, 1032, 1040};
    const int velIds[] = {1016, 1034, 1039};
    const int dispIds[] = {1018, 1035, 1038};
    for (int c = 0; c < 3; ++c) {
        AddValue(ui, accIds[c], columnX[c], 14, 36, 10, blue);
        AddValue(ui, velIds[c], columnX[c], 26, 36, 10, blue);
        AddValue(ui, dispIds[c], columnX[c], 38, 36, 10, blue);
    }
    AddValue(ui, 1030, 40, 51, 36, 10, QColor())->setText(QStringLiteral("-"));
    AddValue(ui, 1036, 84, 51, 36, 10, QColor())->setText(QStringLiteral("-"));
    AddValue(ui, 1037, 128, 51, 36, 10, blue);

    texts_.Set(ui.Label(QString(), 189, 3, 49, 8), QT_TR_NOOP("【测点示意图】"));
    auto* housing = ui.Place(new QLabel(this), 192, 13, 108, 48);
    housing->setScaledContents(true);
    housing->setPixmap(ResourcePixmap(135));
    logo_ = ui.Place(new DXPNGCTL(this), 236, 31, 20, 15, kLogoId);

    // The machine this page watches, in the free space above the drawing.
    header_ = ui.Label(QString(), 240, 2, 70, 9);
    header_->setObjectName(QStringLiteral("machineHeader"));
    QFont bold = header_->font();
    bold.setBold(true);
    header_->setFont(bold);
    SetMachineName(QString());

    texts_.Set(ui.Label(QString(), 312, 3, 39, 8), QT_TR_NOOP("【Z轴频谱】"));
    const char* orders[] = {QT_TR_NOOP("0.5X转速处："), QT_TR_NOOP("1.0X转速处："),
                            QT_TR_NOOP("1.5X转速处："), QT_TR_NOOP("2.0X转速处："),
                            QT_TR_NOOP("3.0X转速处："), QT_TR_NOOP("4.0X转速处："),
                            QT_TR_NOOP("5.0X转速处："), QT_TR_NOOP("6.0X转速处：")};
    const int spectrumY[] = {14, 26, 38, 51};
    for (int i = 0; i < 8; ++i) {
        const int column = i / 4;
        const int row = i % 4;
        const int labelX = column == 0 ? 314 : 433;
        const int valueX = column == 0 ? 360 : 477;
        texts_.Set(ui.Label(QString(), labelX, rowY[row], 43, 8), orders[i]);
        AddValue(ui, 1041 + i, valueX, spectrumY[row], 41, 10, darkRed);
        ui.Label(QStringLiteral("mm/s"), column == 0 ? 404 : 522, rowY[row], 24, 8);
    }
    texts_.Set(ui.Label(QString(), 314, 64, 35, 8), QT_TR_NOOP("最高阶次："));
    AddValue(ui, 1050, 360, 63, 41, 10, orange);
    texts_.Set(ui.Label(QString(), 404, 64, 12, 8), QT_TR_NOOP("阶"));
    texts_.Set(ui.Label(QString(), 433, 64, 42, 8), QT_TR_NOOP("最高阶能量："));
    AddValue(ui, 1055, 477, 63, 41, 10, orange);
    ui.Label(QStringLiteral("m/ss"), 522, 64, 24, 8);
    texts_.Set(ui.Label(QString(), 433, 3, 41, 8), QT_TR_NOOP("N当前转速："));
    AddValue(ui, 1125, 477, 1, 41, 11, QColor())->setText(QStringLiteral("0.00"));
    ui.Label(QStringLiteral("Hz"), 523, 3, 20, 8);
    for (const LiveField& field : kLiveFields) {
        auto* value = findChild<QLabel*>(ControlName(field.id), Qt::FindDirectChildrenOnly);
        liveLabels_.emplace_back(value, value->palette());
    }

    // Over the lower edge of the housing drawing, where it hides no value.
    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("linkNotice"));
    notice_->setGeometry(ui.Units().Rect(189, 39, 114, 22));
    notice_->setAlignment(Qt::AlignCenter);
    notice_->setStyleSheet(
        QStringLiteral("color: rgb(200, 0, 0); background: rgb(255, 244, 200); border: 1px solid "
                       "rgb(200, 0, 0);"));
    notice_->hide();

    QPushButton* range = texts_.Set(ui.IconButton(kRangeButtonId, {}, 140, {}, 2, 63, 48, 12),
                                    QT_TR_NOOP("设置范围"), QT_TR_NOOP("调整坐标轴范围!"));
    QPushButton* show = texts_.Set(ui.IconButton(kShowButtonId, {}, 161, {}, 65, 63, 48, 12),
                                   QT_TR_NOOP("显示选择"), QT_TR_NOOP("设置曲线是否显示!"));
    QPushButton* clear = texts_.Set(ui.IconButton(kClearButtonId, {}, 141, {}, 128, 62, 48, 13),
                                    QT_TR_NOOP("清空曲线"), QT_TR_NOOP("清除缓存，重新绘制!"));
    QPushButton* picture = texts_.Set(ui.IconButton(kPictureButtonId, {}, 139, {}, 191, 62, 48, 13),
                                      QT_TR_NOOP("导出曲线"), QT_TR_NOOP("导出当前曲线为PNG图片!"));
    QPushButton* data = texts_.Set(ui.IconButton(kDataButtonId, {}, 137, {}, 254, 63, 48, 13),
                                   QT_TR_NOOP("导出数据"), QT_TR_NOOP("导出数据到文本文件中!"));
    connect(range, &QPushButton::clicked, this, &PannelDlg::SetRange);
    connect(show, &QPushButton::clicked, this, &PannelDlg::SelectCurves);
    connect(clear, &QPushButton::clicked, this, &PannelDlg::ClearCurves);
    connect(picture, &QPushButton::clicked, this, &PannelDlg::ExportPicture);
    connect(data, &QPushButton::clicked, this, &PannelDlg::ExportData);

    zoneBadge_ = ui.Place(new QPushButton(this), 189, 25, 26, 12);
    zoneBadge_->setObjectName(QLatin1String(kZoneBadgeName));
    texts_.Set(zoneBadge_, nullptr, QT_TR_NOOP("振动烈度分区与机器类别，点击设置报警!"));
    zoneBadge_->setAutoDefault(false);
    zoneBadge_->hide();
    connect(zoneBadge_, &QPushButton::clicked, this,
            [this] { emit alarmSettingsRequested(sensorIndex_); });

    chart_ = ui.Place(new DxChartTrend(this), 2, 78, 544, 159, kChartId);
    // The press shows the cursor of the previous release, as the chart
    // takes a new cursor only when the button goes up.
    connect(chart_, &DxChartTrend::clicked, chart_, qOverload<>(&QWidget::update));
}

void PannelDlg::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
}

void PannelDlg::RetranslateTexts() {
    texts_.Retranslate();
    SetMachineName(machineName_);
    notice_->setText(LinkNoticeText(link_));
    chart_->Render();
}

void PannelDlg::SetMachineName(const QString& name) {
    machineName_ = name;
    const QString title = SensorTitle(sensorIndex_ + 1, name);
    // A long name is shortened here only; the tool tip holds it whole.
    header_->setText(header_->fontMetrics().elidedText(title, Qt::ElideRight, header_->width()));
    header_->setToolTip(title);
}

void PannelDlg::SetZone(const QString& text, const QColor& color) {
    const QColor textColor = TextOn(color);
    const QString style = QStringLiteral(
                              "QPushButton { background-color: %1; color: %2; border: 1px solid "
                              "rgb(96, 96, 96); padding: 0px; }")
                              .arg(color.name(), textColor.name());
    zoneBadge_->setText(text);
    zoneBadge_->setStyleSheet(style);
    zoneBadge_->show();
}

void PannelDlg::SetVelocityAlarm(const QColor& color, bool outlined) {
    if (color == velocityAlarm_ && outlined == velocityOutlined_) return;
    velocityAlarm_ = color;
    velocityOutlined_ = outlined;
    PaintValueFields();
}

void PannelDlg::PaintValueFields() {
    const bool fresh = link_.state == LinkState::Ok;
    for (size_t i = 0; i < liveLabels_.size(); ++i) {
        const int slot = kLiveFields[i].slot;
        auto& [value, normal] = liveLabels_[i];
        QPalette palette = normal;
        if (!fresh) palette.setColor(QPalette::WindowText, kGreyedValue);
        const bool velocity = slot == kSlotVelX || slot == kSlotVelY || slot == kSlotVelZ;
        const bool alarmed = velocity && velocityAlarm_.isValid();
        const bool filled = alarmed && !velocityOutlined_;
        if (filled) {
            palette.setColor(QPalette::Window, velocityAlarm_);
            palette.setColor(QPalette::WindowText, TextOn(velocityAlarm_));
        } else if (alarmed) {
            // The sunken frame's shades become the alarm's edge.
            for (QPalette::ColorRole role : {QPalette::Light, QPalette::Dark, QPalette::Mid})
                palette.setColor(role, velocityAlarm_);
        }
        if (velocity) value->setLineWidth(alarmed && !filled ? 2 : 1);
        value->setAutoFillBackground(filled);
        value->setPalette(palette);
    }
}

void PannelDlg::SetTrendInterval(float seconds) {
    const int period = PeriodForSeconds(seconds);
    trendTimer_.start(period);
    // Room for a late timer and a slow refresh, never for a stop.
    chart_->Core().SetGapSeconds(2.0 * period / 1000.0 + 2.0);
}

void PannelDlg::PrefillTrend(const std::vector<TrendPoint>& points) {
    chart_->Prefill(points);
}

void PannelDlg::SetFastInterval(int flag) {
    chart_->SetRedrawThrottle(flag);
}

void PannelDlg::RefreshLiveValues() {
    if (sensorIndex_ < 0 || sensorIndex_ >= kSensorCount) return;
    const LiveRow& row = live_[sensorIndex_];
    const bool fresh = link_.state == LinkState::Ok;
    const bool hasValues = link_.HasValues();
    for (size_t i = 0; i < liveLabels_.size(); ++i) {
        const LiveField& field = kLiveFields[i];
        liveLabels_[i].first->setText(
            hasValues ? PrintfText(field.format, static_cast<double>(row[field.slot]))
                      : QString::fromLatin1(kNoValueText));
    }
    PaintValueFields();
    notice_->setText(LinkNoticeText(link_));
    notice_->setVisible(!fresh);
}

void PannelDlg::AppendTrendSample() {
    if (sensorIndex_ < 0 || sensorIndex_ >= kSensorCount) return;
    const qint64 nowMs = QDateTime::currentMSecsSinceEpoch();
    const SensorSample sample =
        SampleFromLiveRow(live_[sensorIndex_], static_cast<int32_t>(nowMs / 1000),
                          static_cast<uint16_t>(nowMs % 1000));
    chart_->AppendSample(sample, link_.state == LinkState::Ok);
}

void PannelDlg::SetRange() {
    SetChartDlg dialog(this);
    dialog.SetLimits(chart_->Limits());
    if (dialog.exec() != QDialog::Accepted) return;
    chart_->SetLimits(dialog.Limits());
    SaveChartLimits(chartSettings, sensorIndex_ + 1, dialog.Limits());
    chart_->Render();
}

void PannelDlg::SelectCurves() {
    SetShowDlg dialog(this);
    dialog.SetShowFlags(showFlags_);
    if (dialog.exec() != QDialog::Accepted) return;
    showFlags_ = dialog.ShowFlags();
    chart_->SetCurveVisibility(showFlags_);
    SaveShowFlags(chartSettings, sensorIndex_ + 1, showFlags_);
    chart_->Render();
}

void PannelDlg::ClearCurves() {
    chart_->ClearSamples();
    chart_->Render();
}

void PannelDlg::ExportPicture() {
    const QString path =
        SensorExportFileName(paths_.desktopDir, sensorIndex_ + 1, QStringLiteral("趋势"),
                             QDateTime::currentDateTime(), QStringLiteral(".png"), machineName_);
    QString error;
    if (!chart_->SavePicture(path, &error)) {
        ShowMessage(error);
        return;
    }
    OpenExportedFile(path);
}

void PannelDlg::ExportData() {
    std::vector<SensorSample> samples(TrendHistory::kCapacity);
    const int count = chart_->CopySamples(samples.data());
    if (count == 0) {
        ShowMessage(NothingToExportText());
        return;
    }
    const QString path = SensorDataFileName(paths_.desktopDir, sensorIndex_ + 1,
                                            QDateTime::currentDateTime(), machineName_);
    QString error;
    if (!WriteSensorDataFile(path, samples.data(), count, &error)) {
        ShowMessage(error);
        return;
    }
    OpenExportedFile(path);
}

}  // namespace orsan
