#include "WavDaqDlg.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <algorithm>
#include <ctime>

#include "DesktopShell.h"
#include "DialogUnits.h"
#include "DxAlarmStatic.h"
#include "DxChartRealTime.h"
#include "EnterEscapeFilter.h"
#include "OutputFile.h"
#include "SensorEndpoint.h"
#include "WaveFile.h"

namespace orsan {

namespace {

constexpr int kWindow = DxChartRealTime::kWindowSamples;

template <class Widget>
Widget* Place(Widget* widget, const DialogUnits& du, int x, int y, int w, int h, int id = 0) {
    widget->setGeometry(du.Rect(x, y, w, h));
    if (id != 0) widget->setObjectName(QStringLiteral("id%1").arg(id));
    return widget;
}

}  // namespace

WavDaqDlg::WavDaqDlg(uint32_t sensorAddress, const QString& desktopDir, QWidget* parent,
                     WaveCaptureOptions options)
    : QDialog(parent),
      address_(sensorAddress),
      desktopDir_(desktopDir),
      capture_(std::move(options)) {
    for (auto& axis : samples_) axis.assign(kWaveMaxSamplesPerAxis, 0.0f);
    ConsumeEnterEscape(this);
    BuildControls();
    setWindowTitle(QStringLiteral("读取传感器 { %1.%2.%3.%4 } 波形")
                       .arg(AddressOctet(address_, 1))
                       .arg(AddressOctet(address_, 2))
                       .arg(AddressOctet(address_, 3))
                       .arg(AddressOctet(address_, 4)));
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &WavDaqDlg::OnTick);
    messageSink_ = [this](QMessageBox::Icon icon, const QString& text) {
        QMessageBox box(icon, ApplicationName(), text, QMessageBox::Ok, this);
        box.exec();
    };
}

WavDaqDlg::~WavDaqDlg() {
    timer_.stop();
    capture_.Stop();
}

void WavDaqDlg::BuildControls() {
    setFont(DialogFont());
    const DialogUnits du(font());
    setFixedSize(du.Size(440, 296));

    Place(new QLabel(QStringLiteral("选择采集时长:"), this), du, 7, 10, 52, 8);
    // A drop-down list's resource height includes its list; here only the box.
    duration_ = Place(new QComboBox(this), du, 60, 8, 42, 13, 1117);
    for (int s = 1; s <= kWaveMaxSeconds; ++s)
        duration_->addItem(s < 10 ? QStringLiteral("%1  S").arg(s) : QStringLiteral("10S"));
    duration_->setCurrentIndex(0);

    start_ = Place(new QPushButton(QStringLiteral("开始采集"), this), du, 108, 7, 50, 14, 1109);
    Place(new QLabel(QStringLiteral("采集状态:"), this), du, 170, 10, 36, 8);
    lamp_ = Place(new DxAlarmStatic(this), du, 207, 8, 24, 11, 1121);
    export_ = Place(new QPushButton(QStringLiteral("导出数据"), this), du, 383, 7, 50, 14, 1111);

    Place(new QLabel(QStringLiteral("时间戳:"), this), du, 7, 26, 30, 8);
    timeText_ = Place(new QLabel(QStringLiteral("-"), this), du, 38, 26, 74, 8, 1118);
    Place(new QLabel(QStringLiteral("已采集:"), this), du, 120, 26, 30, 8);
    countText_ = Place(new QLabel(QStringLiteral("-"), this), du, 150, 26, 40, 8, 1119);
    Place(new QLabel(QStringLiteral("点，采样率"), this), du, 192, 26, 42, 8);
    rateText_ = Place(new QLabel(QStringLiteral("-"), this), du, 236, 26, 40, 8, 1120);
    Place(new QLabel(QStringLiteral("Hz"), this), du, 278, 26, 12, 8);

    chart_ = Place(new DxChartRealTime(this), du, 7, 40, 426, 232, 1122);
    slider_ = Place(new QSlider(Qt::Horizontal, this), du, 7, 276, 426, 14, 1123);
    slider_->setRange(0, 9);
    slider_->setPageStep(1);

    for (QPushButton* button : {start_, export_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(start_, &QPushButton::clicked, this, &WavDaqDlg::OnStart);
    connect(export_, &QPushButton::clicked, this, &WavDaqDlg::OnExport);
    connect(slider_, &QSlider::sliderReleased, this, &WavDaqDlg::OnSliderReleased);
    // A click beside the handle or an arrow key moves the slider without any
    // release of the handle; the chart must follow those too. Moves made by
    // the dialog itself (back to 0 at a start) happen while it is disabled.
    connect(slider_, &QSlider::valueChanged, this, [this] {
        if (slider_->isEnabled() && !slider_->isSliderDown()) OnSliderReleased();
    });
    SetIdleControls(true);
    lamp_->SetState(0);
}

void WavDaqDlg::SetIdleControls(bool idle) {
    for (QWidget* w : std::initializer_list<QWidget*>{duration_, start_, export_, slider_})
        w->setEnabled(idle);
}

void WavDaqDlg::OnStart() {
    if (!capture_.Start(address_, duration_->currentIndex() + 1)) return;
    for (auto& axis : samples_) std::fill(axis.begin(), axis.end(), 0.0f);
    displayedRate_ = 26667.0f;
    sampleCount_ = 0;
    SetIdleControls(false);
    slider_->setValue(0);
    timeText_->setText(QString::fromStdString(FormatWaveStartTime(std::time(nullptr))));
    lamp_->SetState(1);
    timer_.start();
}

void WavDaqDlg::OnTick() {
    const WaveDrain drain = capture_.State().Drain();
    displayedRate_ = drain.sampleRate;
    const int arrived = int(drain.SampleCount());
    if (arrived == 0) {
        if (drain.running) return;
        SetIdleControls(true);
        lamp_->SetState(0);
        timer_.stop();
        ReportCaptureEnd();
        return;
    }
    // The arrays hold ten seconds and a little more; the rest is dropped.
    const int room = int(kWaveMaxSamplesPerAxis) - sampleCount_;
    const int taken = std::min(arrived, room);
    for (int k = 0; k < taken; ++k)
        for (int axis = 0; axis < 3; ++axis)
            samples_[axis][size_t(sampleCount_ + k)] = drain.samples[size_t(3 * k + axis)];
    if (taken > 0) {
        // After a long stall of the user interface more than a window may
        // have arrived; the chart then shows the newest full window.
        const int shown = std::min(taken, kWindow);
        const size_t from = size_t(sampleCount_ + taken - shown);
        chart_->SetWaveData(&samples_[0][from], &samples_[1][from], &samples_[2][from], shown);
        chart_->Redraw();
    }
    sampleCount_ += taken;
    rateText_->setText(QString::asprintf("%1.1f", double(displayedRate_)));
    countText_->setText(QString::number(sampleCount_));
    if (capture_.Options().trace) capture_.Options().trace(Printf("get datas %d\n", sampleCount_));
}

void WavDaqDlg::ReportCaptureEnd() {
    WaveCaptureSummary summary;
    summary.end = capture_.End();
    summary.held = size_t(sampleCount_);
    summary.expected = ExpectedWaveSamples(capture_.RequestedSeconds(), displayedRate_);
    const std::string problem = WaveCaptureProblemText(summary);
    if (!problem.empty()) ShowMessage(QMessageBox::Warning, QString::fromStdString(problem));
}

QString WavDaqDlg::ExportPath() const {
    return QString::fromStdString(WaveFileName(desktopDir_.toStdString(), address_,
                                               timeText_->text().toStdString(),
                                               rateText_->text().toStdString()));
}

void WavDaqDlg::OnExport() {
    if (sampleCount_ == 0) return;
    const QString path = ExportPath();
    const std::string text = BuildWaveFileText(samples_[0].data(), samples_[1].data(),
                                               samples_[2].data(), size_t(sampleCount_));
    std::string error;
    if (WriteOutputFile(QFile::encodeName(path).toStdString(), text, error)) {
        ShowMessage(QMessageBox::Information, path);
    } else {
        ShowMessage(QMessageBox::Warning,
                    QStringLiteral("波形数据导出失败，无法写入文件:\n%1\n原因: %2")
                        .arg(path, QString::fromStdString(error)));
    }
}

void WavDaqDlg::OnSliderReleased() {
    const int p = std::clamp(slider_->value(), 0, 9);
    const size_t from = size_t(p) * kWindow;
    chart_->SetWaveData(&samples_[0][from], &samples_[1][from], &samples_[2][from], kWindow);
    chart_->Redraw();
}

void WavDaqDlg::ShowMessage(QMessageBox::Icon icon, const QString& text) {
    if (messageSink_) messageSink_(icon, text);
}

void WavDaqDlg::closeEvent(QCloseEvent* event) {
    timer_.stop();
    capture_.Stop();
    if (lamp_) lamp_->SetState(0);
    SetIdleControls(true);
    QDialog::closeEvent(event);
}

}  // namespace orsan
