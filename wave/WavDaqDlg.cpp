#include "WavDaqDlg.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <algorithm>
#include <ctime>

#include "DesktopShell.h"
#include "DialogControls.h"
#include "DxAlarmStatic.h"
#include "DxChartRealTime.h"
#include "EnterEscapeFilter.h"
#include "MessageDlg.h"
#include "OutputFile.h"
#include "SensorEndpoint.h"
#include "WaveFile.h"
#include "WaveLog.h"
#include "WindowFrame.h"

namespace orsan {

namespace {

constexpr int kWindow = DxChartRealTime::kWindowSamples;

}  // namespace

WavDaqDlg::WavDaqDlg(uint32_t sensorAddress, const QString& desktopDir, QWidget* parent,
                     WaveCaptureOptions options)
    : QDialog(parent),
      address_(sensorAddress),
      desktopDir_(desktopDir),
      capture_(std::move(options)) {
    for (auto& axis : samples_) axis.assign(kWaveMaxSamplesPerAxis, 0.0f);
    ConsumeEnterEscape(this);
    UseDialogFrame(this);
    BuildControls();
    RetranslateTexts();
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &WavDaqDlg::OnTick);
}

WavDaqDlg::~WavDaqDlg() {
    timer_.stop();
    capture_.Stop();
}

void WavDaqDlg::BuildControls() {
    setFont(DialogFont());
    const DialogControls ui(this);
    setFixedSize(ui.Units().Size(440, 296));

    durationCaption_ = ui.Label(QString(), 7, 10, 52, 8);
    // A drop-down list's resource height includes its list; here only the box.
    duration_ = ui.Place(new QComboBox(this), 60, 8, 42, 13, 1117);
    for (int s = 1; s <= kWaveMaxSeconds; ++s)
        duration_->addItem(s < 10 ? QStringLiteral("%1  S").arg(s) : QStringLiteral("10S"));
    duration_->setCurrentIndex(0);

    start_ = ui.Button(1109, QString(), 108, 7, 50, 14);
    stateCaption_ = ui.Label(QString(), 170, 10, 36, 8);
    lamp_ = ui.Place(new DxAlarmStatic(this), 207, 8, 24, 11, 1121);
    export_ = ui.Button(1111, QString(), 383, 7, 50, 14);

    timeCaption_ = ui.Label(QString(), 7, 26, 30, 8);
    timeText_ = ui.Label(QStringLiteral("-"), 38, 26, 74, 8, DialogControls::kLeft, 1118);
    countCaption_ = ui.Label(QString(), 120, 26, 30, 8);
    countText_ = ui.Label(QStringLiteral("-"), 150, 26, 40, 8, DialogControls::kLeft, 1119);
    rateCaption_ = ui.Label(QString(), 192, 26, 42, 8);
    rateText_ = ui.Label(QStringLiteral("-"), 236, 26, 40, 8, DialogControls::kLeft, 1120);
    ui.Label(QStringLiteral("Hz"), 278, 26, 12, 8);

    chart_ = ui.Place(new DxChartRealTime(this), 7, 40, 426, 232, 1122);
    slider_ = ui.Place(new QSlider(Qt::Horizontal, this), 7, 276, 426, 14, 1123);
    // One position per second captured; none captured yet.
    slider_->setRange(0, 0);
    slider_->setPageStep(1);

    spectrumToggle_ = ui.Button(1130, QString(), 328, 7, 50, 14);
    spectrumToggle_->setCheckable(true);
    spectrum_ = ui.Place(new FrequencyPage(this), 7, 40, FrequencyPage::kWidth,
                         FrequencyPage::kHeight, 1138);
    spectrum_->hide();
    connect(spectrumToggle_, &QPushButton::toggled, this, &WavDaqDlg::ShowSpectrum);

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

void WavDaqDlg::RetranslateTexts() {
    setWindowTitle(tr("读取传感器 { %1.%2.%3.%4 } 波形")
                       .arg(AddressOctet(address_, 1))
                       .arg(AddressOctet(address_, 2))
                       .arg(AddressOctet(address_, 3))
                       .arg(AddressOctet(address_, 4)));
    durationCaption_->setText(tr("选择采集时长:"));
    start_->setText(tr("开始采集"));
    stateCaption_->setText(tr("采集状态:"));
    export_->setText(tr("导出数据"));
    timeCaption_->setText(tr("时间戳:"));
    countCaption_->setText(tr("已采集:"));
    rateCaption_->setText(tr("点，采样率"));
    spectrumToggle_->setText(tr("频谱分析"));
    if (startedAt_ != 0) timeText_->setText(ShownStartTime());
}

void WavDaqDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
    QDialog::changeEvent(event);
}

QString WavDaqDlg::ShownStartTime() const {
    std::tm local{};
    localtime_r(&startedAt_, &local);
    const auto twoDigits = [](int n) {
        return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    };
    return tr("%1时%2分%3秒")
        .arg(twoDigits(local.tm_hour), twoDigits(local.tm_min), twoDigits(local.tm_sec));
}

void WavDaqDlg::SetIdleControls(bool idle) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{duration_, start_, export_, slider_, spectrumToggle_})
        w->setEnabled(idle);
}

void WavDaqDlg::ShowSpectrum(bool on) {
    if (spectrumToggle_->isChecked() != on) {
        spectrumToggle_->setChecked(on);  // comes back here through toggled
        return;
    }
    chart_->setVisible(!on);
    slider_->setVisible(!on);
    spectrum_->setVisible(on);
    if (!on || analysed_) return;
    analysed_ = true;
    if (sampleCount_ == 0) {
        spectrum_->ClearAnalysis();
        return;
    }
    QString base = ExportPath();
    base.chop(4);  // ".txt"
    QString error;
    if (!spectrum_->Analyse({samples_[0].data(), samples_[1].data(), samples_[2].data()},
                            size_t(sampleCount_), displayedRate_, startTime_, base, &error)) {
        ShowNotice(this, QMessageBox::Warning, tr("无法分析波形：%1").arg(error));
    }
}

void WavDaqDlg::OnStart() {
    if (!capture_.Start(address_, duration_->currentIndex() + 1)) return;
    ShowSpectrum(false);
    analysed_ = false;
    for (auto& axis : samples_) std::fill(axis.begin(), axis.end(), 0.0f);
    displayedRate_ = 26667.0f;
    sampleCount_ = 0;
    SetIdleControls(false);
    slider_->setRange(0, 0);
    startedAt_ = std::time(nullptr);
    startTime_ = FormatWaveStartTime(startedAt_);
    timeText_->setText(ShownStartTime());
    lamp_->SetState(1);
    timer_.start();
}

void WavDaqDlg::OnTick() {
    const WaveDrain drain = capture_.State().Drain();
    displayedRate_ = drain.sampleRate;
    const int arrived = int(drain.SampleCount());
    if (arrived == 0) {
        if (drain.running) return;
        timer_.stop();
        OfferCapturedSeconds();
        SetIdleControls(true);
        lamp_->SetState(0);
        ReportCaptureEnd();
        return;
    }
    // The arrays hold ten seconds and a little more; the rest is dropped.
    const int room = int(kWaveMaxSamplesPerAxis) - sampleCount_;
    const int taken = std::min(arrived, room);
    for (int k = 0; k < taken; ++k)
        for (int axis = 0; axis < 3; ++axis)
            samples_[axis][size_t(sampleCount_ + k)] = drain.samples[size_t(3 * k + axis)];
    sampleCount_ += taken;
    // The first second fills the window from its left; after it the window
    // holds the newest second.
    if (taken > 0) ShowWindowFrom(std::max(sampleCount_ - kWindow, 0));
    rateText_->setText(QString::asprintf("%1.1f", double(displayedRate_)));
    countText_->setText(QString::number(sampleCount_));
    qCDebug(WaveLog, "get datas %d", sampleCount_);
}

void WavDaqDlg::ReportCaptureEnd() {
    WaveCaptureSummary summary;
    summary.end = capture_.End();
    summary.held = size_t(sampleCount_);
    summary.expected = ExpectedWaveSamples(capture_.RequestedSeconds(), displayedRate_);
    const std::string problem = WaveCaptureProblemText(summary);
    if (!problem.empty()) ShowNotice(this, QMessageBox::Warning, QString::fromStdString(problem));
}

QString WavDaqDlg::ExportPath() const {
    return QString::fromStdString(WaveFileName(desktopDir_.toStdString(), address_, startTime_,
                                               rateText_->text().toStdString()));
}

void WavDaqDlg::OnExport() {
    if (sampleCount_ == 0) return;
    const QString path = ExportPath();
    const std::string text = BuildWaveFileText(samples_[0].data(), samples_[1].data(),
                                               samples_[2].data(), size_t(sampleCount_));
    std::string error;
    if (WriteOutputFile(QFile::encodeName(path).toStdString(), text, error)) {
        ShowNotice(this, QMessageBox::Information, path);
    } else {
        ShowNotice(this, QMessageBox::Warning,
                   tr("波形数据导出失败，无法写入文件:\n%1\n原因: %2")
                       .arg(path, QString::fromStdString(error)));
    }
}

void WavDaqDlg::OnSliderReleased() {
    ShowWindowFrom(std::clamp(slider_->value(), 0, slider_->maximum()) * kWindow);
}

void WavDaqDlg::ShowWindowFrom(int first) {
    const size_t from = size_t(first);
    chart_->SetWaveData(&samples_[0][from], &samples_[1][from], &samples_[2][from], kWindow);
    chart_->SetTimeOrigin(float(first) / float(kWindow));
    chart_->Redraw();
}

void WavDaqDlg::OfferCapturedSeconds() {
    // The slider stays on the last second, the one the capture ended on.
    const int seconds = CapturedSeconds(size_t(sampleCount_));
    slider_->setRange(0, seconds - 1);
    slider_->setValue(seconds - 1);
    OnSliderReleased();
}

void WavDaqDlg::closeEvent(QCloseEvent* event) {
    const bool wasCapturing = timer_.isActive();
    timer_.stop();
    capture_.Stop();
    if (wasCapturing) OfferCapturedSeconds();
    if (lamp_) lamp_->SetState(0);
    SetIdleControls(true);
    QDialog::closeEvent(event);
}

}  // namespace orsan
