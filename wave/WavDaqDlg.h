#pragma once

#include <QDialog>
#include <QTimer>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "FrequencyPage.h"
#include "WaveCapture.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace orsan {

class DxAlarmStatic;
class DxChartRealTime;

// Waveform dialog of one sensor: chooses a length of 1 to 10 s, captures on
// the sensor's waveform port, shows the samples in the chart as they arrive
// (drained every 200 ms), pages through the seconds with the slider and
// exports them as text. A toggle swaps the time view for the spectrum page,
// which analyses the whole capture. Closing it during a capture stops and joins the
// capture thread first.
class WavDaqDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTickMs = 200;

    // Exports go to desktopDir.
    WavDaqDlg(uint32_t sensorAddress, const QString& desktopDir, QWidget* parent = nullptr,
              WaveCaptureOptions options = {});
    ~WavDaqDlg() override;

    bool IsCapturing() const { return timer_.isActive(); }
    int SampleCount() const { return sampleCount_; }
    float DisplayedRate() const { return displayedRate_; }
    const std::vector<float>& Samples(int axis) const { return samples_[axis]; }
    DxChartRealTime* Chart() const { return chart_; }
    FrequencyPage* Spectrum() const { return spectrum_; }
    // The running speed and the sensor's own values, for orders and overall values.
    void SetLiveReadings(LiveReadingSource source) {
        spectrum_->SetLiveReadings(std::move(source));
    }
    // Shows the spectrum page (analysing the capture when it changed) or the time view.
    void ShowSpectrum(bool on);
    WaveCapture& Capture() { return capture_; }
    // The path the export button writes to with the current texts.
    QString ExportPath() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    void RetranslateTexts();
    // The start time on screen; files keep their own spelling of it.
    QString ShownStartTime() const;
    void OnStart();
    void OnTick();
    void OnExport();
    void OnSliderReleased();
    // The chart shows the second of samples from `first` on, at its time.
    void ShowWindowFrom(int first);
    // The slider spans the seconds held and shows the last of them.
    void OfferCapturedSeconds();
    void SetIdleControls(bool idle);
    // A capture that failed or ended early says so, with what it holds.
    void ReportCaptureEnd();

    uint32_t address_;
    QString desktopDir_;
    std::vector<float> samples_[3];
    float displayedRate_ = 26667.0f;
    int sampleCount_ = 0;
    // Start time of the capture; "-" before the first, in the files' spelling.
    std::string startTime_ = "-";
    std::time_t startedAt_ = 0;
    QLabel* durationCaption_ = nullptr;
    QLabel* stateCaption_ = nullptr;
    QLabel* timeCaption_ = nullptr;
    QLabel* countCaption_ = nullptr;
    QLabel* rateCaption_ = nullptr;
    QComboBox* duration_ = nullptr;
    QPushButton* start_ = nullptr;
    DxAlarmStatic* lamp_ = nullptr;
    QLabel* timeText_ = nullptr;
    QLabel* countText_ = nullptr;
    QLabel* rateText_ = nullptr;
    QPushButton* export_ = nullptr;
    DxChartRealTime* chart_ = nullptr;
    QSlider* slider_ = nullptr;
    QPushButton* spectrumToggle_ = nullptr;
    FrequencyPage* spectrum_ = nullptr;
    bool analysed_ = false;  // the spectrum page holds the analysis of this capture
    QTimer timer_;
    WaveCapture capture_;  // last: its thread is joined before the rest goes
};

}  // namespace orsan
