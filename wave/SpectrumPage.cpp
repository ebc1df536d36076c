#include "SpectrumPage.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "DialogControls.h"
#include "MessageDlg.h"
#include "OutputFile.h"
#include "SpectrumView.h"
#include "TrendPainting.h"

namespace orsan {

namespace {

struct KindText {
    const char* title;
    const char* unit;
};

KindText TextOf(SpectrumKind kind) {
    switch (kind) {
        case SpectrumKind::Velocity:
            return {"速度频谱", "mm/s"};
        case SpectrumKind::Envelope:
            return {"包络频谱", "g"};
        case SpectrumKind::Acceleration:
            break;
    }
    return {"加速度频谱", "g"};
}

bool NothingToExport(QString* error) {
    if (error) *error = QStringLiteral("没有可导出的频谱");
    return false;
}

}  // namespace

SpectrumPage::SpectrumPage(QWidget* parent) : QWidget(parent) {
    const DialogControls ui(this);
    kind_ = ui.Place(new QComboBox(this), 0, 0, 62, 13, 1131);
    kind_->addItems(
        {QStringLiteral("加速度频谱"), QStringLiteral("速度频谱"), QStringLiteral("包络频谱")});
    scale_ = ui.Place(new QComboBox(this), 66, 0, 50, 13, 1132);
    scale_->addItems({QStringLiteral("线性幅值"), QStringLiteral("对数幅值")});
    harmonics_ = ui.Button(1133, QStringLiteral("谐波光标"), 120, 0, 46, 13);
    harmonics_->setCheckable(true);
    harmonics_->setToolTip(QStringLiteral("在光标所在谱线的1至10倍处标记"));
    picture_ = ui.Button(1134, QStringLiteral("导出图片"), 326, 0, 48, 13);
    csv_ = ui.Button(1135, QStringLiteral("导出CSV"), 378, 0, 48, 13);
    view_ = ui.Place(new SpectrumView(this), 0, 16, kWidth, 196, 1137);
    overall_ = ui.Label(QString(), 0, 214, kWidth, 18, DialogControls::kLeft, 1136);
    overall_->setWordWrap(true);

    connect(kind_, &QComboBox::currentIndexChanged, this, [this] { ShowKind(); });
    connect(scale_, &QComboBox::currentIndexChanged, this, [this](int index) {
        view_->SetScale(index == 1 ? AmplitudeScale::Logarithmic : AmplitudeScale::Linear);
    });
    connect(harmonics_, &QPushButton::toggled, view_, &SpectrumView::SetHarmonics);
    connect(picture_, &QPushButton::clicked, this, [this] {
        QString path, error;
        const bool done = ExportPicture(&path, &error);
        ReportExport(done, path, error);
    });
    connect(csv_, &QPushButton::clicked, this, [this] {
        QString path, error;
        const bool done = ExportCsv(&path, &error);
        ReportExport(done, path, error);
    });
    ClearAnalysis();
}

SpectrumKind SpectrumPage::Kind() const {
    return SpectrumKind(kind_->currentIndex());
}

void SpectrumPage::SetKind(SpectrumKind kind) {
    kind_->setCurrentIndex(int(kind));
}

bool SpectrumPage::Analyse(const std::array<const float*, 3>& axes, size_t count, double sampleRate,
                           const std::string& captureTime, const QString& exportBase,
                           QString* error) {
    const SensorLiveReading live = live_ ? live_() : SensorLiveReading{};
    AnalysisSettings settings;
    settings.runningSpeedHz = live.runningSpeedHz;
    // A rate too low for the band leaves the envelope out, not the whole analysis.
    settings.envelope = 0.4 * sampleRate > settings.envelopeLowHz;
    source_ = AnalysisCsvSource{};
    source_.sampleRate = sampleRate;
    source_.captureTime = captureTime;
    source_.envelopeLowHz = settings.envelopeLowHz;
    source_.envelopeHighHz = 0.4 * sampleRate;
    for (size_t a = 0; a < 3; ++a) {
        std::string why;
        auto analysis = analyser_.Analyse(axes[a], count, sampleRate, settings, &why);
        if (!analysis) {
            ClearAnalysis();
            if (error) *error = QString::fromStdString(why);
            return false;
        }
        axes_[a] = std::move(*analysis);
    }
    analysed_ = true;
    exportBase_ = exportBase;
    view_->SetRunningSpeed(live.runningSpeedHz);
    ShowKind();
    ShowOverall();
    return true;
}

void SpectrumPage::ClearAnalysis() {
    analysed_ = false;
    view_->Clear(QStringLiteral("采集波形后显示频谱"));
    overall_->clear();
    for (QPushButton* b : {picture_, csv_}) b->setEnabled(false);
}

void SpectrumPage::ShowKind() {
    if (!analysed_) return;
    const SpectrumKind kind = Kind();
    const bool shown = !SpectrumOf(axes_[0], kind).amplitude.empty();
    for (QPushButton* b : {picture_, csv_}) b->setEnabled(shown);
    if (!shown) {
        view_->Clear(QStringLiteral("采样率 %1 Hz 过低，无法计算 %2 Hz 以上的包络谱")
                         .arg(source_.sampleRate)
                         .arg(source_.envelopeLowHz));
        return;
    }
    const KindText text = TextOf(kind);
    QString title = QString::fromUtf8(text.title);
    if (kind == SpectrumKind::Envelope) {
        title += QStringLiteral("  带通 %1–%2 Hz")
                     .arg(source_.envelopeLowHz)
                     .arg(source_.envelopeHighHz, 0, 'f', 0);
    }
    view_->SetSpectra(
        {SpectrumOf(axes_[0], kind), SpectrumOf(axes_[1], kind), SpectrumOf(axes_[2], kind)}, title,
        QString::fromUtf8(text.unit));
}

void SpectrumPage::ShowOverall() {
    const auto triple = [&](double OverallValues::*member, const char* format) {
        return QString::asprintf(format, axes_[0].overall.*member, axes_[1].overall.*member,
                                 axes_[2].overall.*member);
    };
    QString text = QStringLiteral("速度有效值 10–1000 Hz：") +
                   triple(&OverallValues::velocityRms, "X %.2f  Y %.2f  Z %.2f mm/s");
    const SensorLiveReading live = live_ ? live_() : SensorLiveReading{};
    if (live.fresh) {
        text += QString::asprintf("（传感器 X %.2f  Y %.2f  Z %.2f）", live.velocityRms[0],
                                  live.velocityRms[1], live.velocityRms[2]);
    }
    text += QStringLiteral("\n加速度有效值 ") +
            triple(&OverallValues::rms, "%.3g / %.3g / %.3g g") + QStringLiteral("  峰值 ") +
            triple(&OverallValues::peak, "%.3g / %.3g / %.3g g") + QStringLiteral("  峰值因数 ") +
            triple(&OverallValues::crestFactor, "%.2f / %.2f / %.2f") + QStringLiteral("  峭度 ") +
            triple(&OverallValues::kurtosis, "%.2f / %.2f / %.2f");
    overall_->setText(text);
}

QString SpectrumPage::ExportPath(const QString& extension) const {
    return exportBase_ +
           QStringLiteral("_频谱_%1.%2").arg(QLatin1String(SpectrumKindName(Kind())), extension);
}

bool SpectrumPage::ExportPicture(QString* path, QString* error) {
    *path = ExportPath(QStringLiteral("png"));
    if (!picture_->isEnabled()) return NothingToExport(error);
    return SaveChartImage(view_->Picture(), *path, error);
}

bool SpectrumPage::ExportCsv(QString* path, QString* error) {
    *path = ExportPath(QStringLiteral("csv"));
    if (!csv_->isEnabled()) return NothingToExport(error);
    std::string why;
    if (WriteOutputFile(QFile::encodeName(*path).toStdString(),
                        BuildSpectrumCsv(axes_, Kind(), source_), why))
        return true;
    if (error)
        *error = QStringLiteral("无法写入文件 %1：%2").arg(*path, QString::fromStdString(why));
    return false;
}

void SpectrumPage::ReportExport(bool done, const QString& path, const QString& error) {
    if (done) {
        ShowNotice(this, QMessageBox::Information, path);
    } else {
        ShowNotice(this, QMessageBox::Warning, QStringLiteral("频谱导出失败\n%1").arg(error));
    }
}

}  // namespace orsan
