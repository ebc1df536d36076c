#include "FrequencyPage.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "DialogControls.h"
#include "FrequencyView.h"
#include "MessageDlg.h"
#include "OutputFile.h"
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
            return {QT_TRANSLATE_NOOP("orsan::FrequencyPage", "速度频谱"), "mm/s"};
        case SpectrumKind::Envelope:
            return {QT_TRANSLATE_NOOP("orsan::FrequencyPage", "包络频谱"), "g"};
        case SpectrumKind::Acceleration:
            break;
    }
    return {QT_TRANSLATE_NOOP("orsan::FrequencyPage", "加速度频谱"), "g"};
}

bool NothingToExport(QString* error) {
    if (error) *error = QCoreApplication::translate("orsan::FrequencyPage", "没有可导出的频谱");
    return false;
}

}  // namespace

FrequencyPage::FrequencyPage(QWidget* parent) : QWidget(parent) {
    const DialogControls ui(this);
    kind_ = ui.Place(new QComboBox(this), 0, 0, 62, 13, 1131);
    for (SpectrumKind kind :
         {SpectrumKind::Acceleration, SpectrumKind::Velocity, SpectrumKind::Envelope})
        kind_->addItem(tr(TextOf(kind).title));
    scale_ = ui.Place(new QComboBox(this), 66, 0, 50, 13, 1132);
    scale_->addItems({QString(), QString()});
    harmonics_ = ui.Button(1133, QString(), 120, 0, 46, 13);
    harmonics_->setCheckable(true);
    picture_ = ui.Button(1134, QString(), 326, 0, 48, 13);
    csv_ = ui.Button(1135, QString(), 378, 0, 48, 13);
    view_ = ui.Place(new FrequencyView(this), 0, 16, kWidth, 196, 1137);
    overall_ = ui.Label(QString(), 0, 214, kWidth, 18, DialogControls::kLeft, 1136);
    overall_->setWordWrap(true);

    connect(kind_, &QComboBox::currentIndexChanged, this, [this] { ShowKind(); });
    connect(scale_, &QComboBox::currentIndexChanged, this, [this](int index) {
        view_->SetScale(index == 1 ? AmplitudeScale::Logarithmic : AmplitudeScale::Linear);
    });
    connect(harmonics_, &QPushButton::toggled, view_, &FrequencyView::SetHarmonics);
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
    RetranslateTexts();
    ClearAnalysis();
}

void FrequencyPage::RetranslateTexts() {
    for (int k = 0; k < kind_->count(); ++k)
        kind_->setItemText(k, tr(TextOf(SpectrumKind(k)).title));
    scale_->setItemText(0, tr("线性幅值"));
    scale_->setItemText(1, tr("对数幅值"));
    harmonics_->setText(tr("谐波光标"));
    harmonics_->setToolTip(tr("在光标所在谱线的1至10倍处标记"));
    picture_->setText(tr("导出图片"));
    csv_->setText(tr("导出CSV"));
    if (analysed_) {
        ShowKind();
        ShowOverall();
    } else {
        view_->Clear(tr("采集波形后显示频谱"));
    }
}

void FrequencyPage::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
    QWidget::changeEvent(event);
}

SpectrumKind FrequencyPage::Kind() const {
    return SpectrumKind(kind_->currentIndex());
}

void FrequencyPage::SetKind(SpectrumKind kind) {
    kind_->setCurrentIndex(int(kind));
}

bool FrequencyPage::Analyse(const std::array<const float*, 3>& axes, size_t count,
                            double sampleRate, const std::string& captureTime,
                            const QString& exportBase, QString* error) {
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

void FrequencyPage::ClearAnalysis() {
    analysed_ = false;
    view_->Clear(tr("采集波形后显示频谱"));
    overall_->clear();
    for (QPushButton* b : {picture_, csv_}) b->setEnabled(false);
}

void FrequencyPage::ShowKind() {
    if (!analysed_) return;
    const SpectrumKind kind = Kind();
    const bool shown = !SpectrumOf(axes_[0], kind).amplitude.empty();
    for (QPushButton* b : {picture_, csv_}) b->setEnabled(shown);
    if (!shown) {
        view_->Clear(tr("采样率 %1 Hz 过低，无法计算 %2 Hz 以上的包络谱")
                         .arg(source_.sampleRate)
                         .arg(source_.envelopeLowHz));
        return;
    }
    const KindText text = TextOf(kind);
    QString title = tr(text.title);
    if (kind == SpectrumKind::Envelope) {
        title +=
            tr("  带通 %1–%2 Hz").arg(source_.envelopeLowHz).arg(source_.envelopeHighHz, 0, 'f', 0);
    }
    view_->SetSpectra(
        {SpectrumOf(axes_[0], kind), SpectrumOf(axes_[1], kind), SpectrumOf(axes_[2], kind)}, title,
        QString::fromUtf8(text.unit));
}

void FrequencyPage::ShowOverall() {
    const auto triple = [&](double OverallValues::*member, const char* format) {
        return QString::asprintf(format, axes_[0].overall.*member, axes_[1].overall.*member,
                                 axes_[2].overall.*member);
    };
    const SensorLiveReading live = live_ ? live_() : SensorLiveReading{};
    QString sensor;
    if (live.fresh) {
        sensor = tr("（传感器 %1）")
                     .arg(QString::asprintf("X %.2f  Y %.2f  Z %.2f", live.velocityRms[0],
                                            live.velocityRms[1], live.velocityRms[2]));
    }
    overall_->setText(
        tr("速度有效值 10–1000 Hz：%1%2\n加速度有效值 %3  峰值 %4  峰值因数 %5  峭度 %6")
            .arg(triple(&OverallValues::velocityRms, "X %.2f  Y %.2f  Z %.2f mm/s"), sensor,
                 triple(&OverallValues::rms, "%.3g / %.3g / %.3g g"),
                 triple(&OverallValues::peak, "%.3g / %.3g / %.3g g"),
                 triple(&OverallValues::crestFactor, "%.2f / %.2f / %.2f"),
                 triple(&OverallValues::kurtosis, "%.2f / %.2f / %.2f")));
}

QString FrequencyPage::ExportPath(const QString& extension) const {
    return exportBase_ +
           QStringLiteral("_频谱_%1.%2").arg(QLatin1String(SpectrumKindName(Kind())), extension);
}

bool FrequencyPage::ExportPicture(QString* path, QString* error) {
    *path = ExportPath(QStringLiteral("png"));
    if (!picture_->isEnabled()) return NothingToExport(error);
    return SaveChartImage(view_->Picture(), *path, error);
}

bool FrequencyPage::ExportCsv(QString* path, QString* error) {
    *path = ExportPath(QStringLiteral("csv"));
    if (!csv_->isEnabled()) return NothingToExport(error);
    std::string why;
    if (WriteOutputFile(QFile::encodeName(*path).toStdString(),
                        BuildSpectrumCsv(axes_, Kind(), source_), why))
        return true;
    if (error) *error = tr("无法写入文件 %1：%2").arg(*path, QString::fromStdString(why));
    return false;
}

void FrequencyPage::ReportExport(bool done, const QString& path, const QString& error) {
    if (done) {
        ShowNotice(this, QMessageBox::Information, path);
    } else {
        ShowNotice(this, QMessageBox::Warning, tr("频谱导出失败\n%1").arg(error));
    }
}

}  // namespace orsan
