#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "AnalysisCsv.h"
#include "WaveAnalyser.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace orsan {

class FrequencyView;

// What the polling knows of the sensor now.
struct SensorLiveReading {
    double runningSpeedHz = 0;            // 0: unknown
    std::array<double, 3> velocityRms{};  // the sensor's own Vel X, Y, Z (mm/s)
    bool fresh = false;                   // the values are a current reading
};
using LiveReadingSource = std::function<SensorLiveReading()>;

// The waveform dialog's spectrum page: analyses a capture's three axes and
// shows one kind of spectrum (acceleration, velocity, envelope) in a
// FrequencyView, with linear or logarithmic amplitude, a harmonic cursor,
// order markers at the sensor's running speed, the overall values, and
// exports of the picture and of the spectrum CSV.
class FrequencyPage : public QWidget {
    Q_OBJECT
public:
    // Size in dialog units of the waveform dialog's font.
    static constexpr int kWidth = 426, kHeight = 232;

    explicit FrequencyPage(QWidget* parent = nullptr);

    void SetLiveReadings(LiveReadingSource source) { live_ = std::move(source); }

    // Analyses the capture; exports are named exportBase + "_频谱_<kind>.png/.csv".
    // False (and an empty view) when it is too short.
    bool Analyse(const std::array<const float*, 3>& axes, size_t count, double sampleRate,
                 const std::string& captureTime, const QString& exportBase, QString* error);
    void ClearAnalysis();

    SpectrumKind Kind() const;
    void SetKind(SpectrumKind kind);
    FrequencyView* View() const { return view_; }
    QString ExportPath(const QString& extension) const;
    bool ExportPicture(QString* path, QString* error);
    bool ExportCsv(QString* path, QString* error);

protected:
    void changeEvent(QEvent* event) override;

private:
    void RetranslateTexts();
    void ShowKind();
    void ShowOverall();
    // A notice with the path written, or why not.
    void ReportExport(bool done, const QString& path, const QString& error);

    LiveReadingSource live_;
    WaveAnalyser analyser_;
    std::array<AxisAnalysis, 3> axes_;
    AnalysisCsvSource source_;
    bool analysed_ = false;
    QString exportBase_;
    QComboBox* kind_ = nullptr;
    QComboBox* scale_ = nullptr;
    QPushButton* harmonics_ = nullptr;
    QPushButton* picture_ = nullptr;
    QPushButton* csv_ = nullptr;
    QLabel* overall_ = nullptr;
    FrequencyView* view_ = nullptr;
};

}  // namespace orsan
