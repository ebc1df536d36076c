#include "DailyReportPdf.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextOption>
#include <algorithm>
#include <cmath>

#include "HistoryChart.h"
#include "ReportTable.h"
#include "SensorEndpoint.h"
#include "SensorNames.h"

namespace orsan {

namespace {

// Page coordinates in 1/96 inch: the chart's pixels keep their size.
constexpr int kDotsPerInch = 96;
const QColor kWarning(176, 0, 0);

QString Number(double value, int decimals) {
    return std::isnan(value) ? QStringLiteral("--") : QString::number(value, 'f', decimals);
}

// "H:MM:SS", or "H:MM" rounded to the minute.
QString Duration(double seconds, bool withSeconds) {
    const qint64 whole =
        std::llround(withSeconds ? seconds : seconds / 60.0) * (withSeconds ? 1 : 60);
    const QString minutes =
        QStringLiteral("%1:%2").arg(whole / 3600).arg(whole / 60 % 60, 2, 10, QLatin1Char('0'));
    return withSeconds ? minutes + QStringLiteral(":%1").arg(whole % 60, 2, 10, QLatin1Char('0'))
                       : minutes;
}

QString LocalTime(qint64 ms, const QString& format) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(format);
}

double RoundUp(double value) {
    if (!(value > 0)) return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (double step : {1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 8.0, 10.0})
        if (step * power >= value) return step * power;
    return 10.0 * power;
}

QFont Font(double points, bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QTextLength Variable() {
    return QTextLength(QTextLength::VariableLength, 0);
}

QTextLength Percent(double share) {
    return QTextLength(QTextLength::PercentageLength, share);
}

// An event's reading with the unit of its axis: mm/s for the velocities,
// ℃ for a temperature (T_...); none for an event without a reading.
QString EventReading(const AlarmEvent& event) {
    if (event.axis == kNoAxis) return QString();
    const QLatin1String axis(AlarmAxisName(event.axis));
    if (axis.startsWith(QLatin1String("T_"))) return Number(event.value, 1) + QStringLiteral(" ℃");
    if (axis.startsWith(QLatin1String("Vel")))
        return Number(event.value, 2) + QStringLiteral(" mm/s");
    return Number(event.value, 2);
}

class ReportPages {
    Q_DECLARE_TR_FUNCTIONS(DailyReportPdf)

public:
    ReportPages(QPainter& painter, QPdfWriter& writer, const DailyReport& report)
        : painter_(painter), writer_(writer), report_(report) {}

    void Draw() {
        SummaryPage();
        for (const MachineDay& machine : report_.machines) {
            writer_.newPage();
            MachinePage(machine);
        }
    }

private:
    int Width() const { return writer_.width(); }
    int Height() const { return writer_.height(); }

    // Text over the page's width from y, wrapped between words (and inside
    // a word too long for a line); returns the y below it.
    int Paragraph(int y, const QString& text, const QFont& font, QColor color = Qt::black,
                  Qt::Alignment align = Qt::AlignLeft) {
        if (text.isEmpty()) return y;
        painter_.setFont(font);
        painter_.setPen(color);
        QTextOption option(align | Qt::AlignTop);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        const QRectF box = painter_.boundingRect(QRectF(0, y, Width(), Height()), text, option);
        painter_.drawText(QRectF(0, y, Width(), box.height()), text, option);
        painter_.setPen(Qt::black);
        return y + int(std::ceil(box.height()));
    }

    // The title of every page, the station's title beside it where both fit
    // on one line and under it where they do not, then the page's subject;
    // returns the y below them.
    int Header(const QString& subject) {
        const QString title = tr("设备运行日报  %1").arg(report_.day.toString(Qt::ISODate));
        const QFont titleFont = Font(15, true);
        const QFont stationFont = Font(8);
        const int titleWidth = QFontMetrics(titleFont, &writer_).horizontalAdvance(title);
        const int stationWidth =
            QFontMetrics(stationFont, &writer_).horizontalAdvance(report_.stationTitle);
        int y = 0;
        if (titleWidth + 16 + stationWidth <= Width()) {
            painter_.setFont(stationFont);
            painter_.drawText(QRect(0, 0, Width(), 30), Qt::AlignRight | Qt::AlignVCenter,
                              report_.stationTitle);
            painter_.setFont(titleFont);
            painter_.drawText(QRect(0, 0, Width(), 30), Qt::AlignLeft | Qt::AlignVCenter, title);
            y = 30;
        } else {
            y = Paragraph(0, title, titleFont);
            y = Paragraph(y, report_.stationTitle, stationFont, Qt::black, Qt::AlignRight);
        }
        painter_.drawLine(0, y + 2, Width(), y + 2);
        return Paragraph(y + 8, subject, Font(11, true)) + 6;
    }

    QString MachineTitle(const MachineDay& machine) const {
        return SensorTitle(machine.sensor, machine.name) + QStringLiteral("  (") +
               QString::fromStdString(FormatAddress(machine.address)) + QLatin1Char(')');
    }

    // What the record did not see of the day, for the machine's events and statistics.
    QString CoverageText(Coverage coverage) const {
        switch (coverage) {
            case Coverage::Fresh:
                break;
            case Coverage::NoFreshReading:
                return tr("无有效数据");
            case Coverage::Unrecorded:
                return tr("未记录");
        }
        return QString();
    }

    void SummaryPage() {
        int y = Header(tr("全部设备一览"));
        y = Paragraph(y,
                      tr("统计时段 %1 至 %2；只计有效读数。生成时间 %3")
                          .arg(LocalTime(report_.fromMs, QStringLiteral("yyyy-MM-dd HH:mm")),
                               LocalTime(report_.toMs, QStringLiteral("yyyy-MM-dd HH:mm")),
                               QDateTime::currentDateTime().toString(
                                   QStringLiteral("yyyy-MM-dd HH:mm:ss"))),
                      Font(9)) +
            8;
        if (report_.machines.empty()) {
            Paragraph(y, tr("Config.ini 中没有配置传感器。"), Font(9));
            return;
        }
        ReportTable table(&writer_, Font(8), Width());
        table.SetHeader({{{tr("设备"), 1, 2},
                          {tr("速度 mm/s（最大轴）"), 3},
                          {tr("温度 ℃"), 3},
                          {tr("各区时间（时:分）"), 6},
                          {tr("报警"), 1, 2}},
                         {{tr("最小")},
                          {tr("平均")},
                          {tr("最大")},
                          {tr("最小")},
                          {tr("平均")},
                          {tr("最大")},
                          {QStringLiteral("A")},
                          {QStringLiteral("B")},
                          {QStringLiteral("C")},
                          {QStringLiteral("D")},
                          {tr("无有效数据")},
                          {tr("未记录")}}});
        std::vector<QTextLength> widths(14, Variable());
        widths[0] = Percent(22);
        table.SetColumns(widths);
        std::vector<QStringList> rows;
        for (const MachineDay& m : report_.machines) {
            const QuantityStats& v = m.stats.Of(DayQuantity::Overall);
            const QuantityStats& t = m.stats.Of(DayQuantity::Temperature);
            QStringList row = {SensorTitle(m.sensor, m.name) + QLatin1Char('\n') +
                                   QString::fromStdString(FormatAddress(m.address)),
                               Number(v.min, 2),
                               Number(v.Mean(), 2),
                               Number(v.max, 2),
                               Number(t.min, 1),
                               Number(t.Mean(), 1),
                               Number(t.max, 1)};
            for (double seconds : m.stats.zoneSeconds) row << Duration(seconds, false);
            row << Duration(m.stats.NoFreshSeconds(), false)
                << Duration(m.stats.UnrecordedSeconds(report_.DaySeconds()), false);
            const int unrecorded = m.UnrecordedEventCount();
            row << (unrecorded > 0 ? tr("%1\n其中 %2 未记录").arg(m.AlarmCount()).arg(unrecorded)
                                   : QString::number(m.AlarmCount()));
            rows.push_back(row);
        }
        table.SetRows(std::move(rows));
        y += int(std::ceil(table.Draw(painter_, 0, y, 0, table.RowCount()))) + 10;
        for (const MachineDay& m : report_.machines)
            if (const int unrecorded = m.UnrecordedEventCount(); unrecorded > 0)
                y = Paragraph(y, UnrecordedWarning(m, unrecorded), Font(9, true), kWarning) + 4;
        y = Paragraph(
            y + 4,
            tr("各区时间：从一个有效读数到下一个的时间计入前者的区（ISO 20816-3，按三轴中最大的速度"
               "分区）。两行记录相隔超过记录间隔中位数的 3 倍（至少 2 秒）时，其间为“未记录”；"
               "有记录而两个有效读数相隔超过同一界限的时间为“无有效数据”。报警：当天的 ALARM 与 "
               "TRIP 事件数，及其中发生在未记录时段的数目。"),
            Font(8));
    }

    QString UnrecordedWarning(const MachineDay& m, int unrecorded) const {
        return tr("%1：%2 个事件发生在未记录的时段，当天的统计与各区时间中没有这些时段的读数。")
            .arg(SensorTitle(m.sensor, m.name))
            .arg(unrecorded);
    }

    void MachinePage(const MachineDay& m) {
        int y = Header(MachineTitle(m));
        const double day = report_.DaySeconds();
        const auto share = [day](double seconds) {
            return QStringLiteral("%1%").arg(100.0 * seconds / day, 0, 'f', 1);
        };
        y = Paragraph(y,
                      tr("分区界限 A/B %1  B/C %2  C/D %3 mm/s；记录 %4 行，其中有效读数 %5 行")
                          .arg(Number(m.zones.ab, 2), Number(m.zones.bc, 2), Number(m.zones.cd, 2))
                          .arg(m.stats.rows)
                          .arg(m.stats.freshRows),
                      Font(8));
        y = Paragraph(
            y,
            tr("已记录 %1（当天的 %2），未记录 %3，无有效数据 %4")
                .arg(Duration(m.stats.RecordedSeconds(), true), share(m.stats.RecordedSeconds()),
                     Duration(m.stats.UnrecordedSeconds(day), true),
                     Duration(m.stats.NoFreshSeconds(), true)),
            Font(8, true));
        if (const int unrecorded = m.UnrecordedEventCount(); unrecorded > 0)
            y = Paragraph(
                y,
                tr("%1 个事件发生在未记录的时段（见事件表的“记录”列），当天的统计与各区时间中"
                   "没有这些时段的读数。")
                    .arg(unrecorded),
                Font(8, true), kWarning);
        y += 6;

        // The history chart's own drawing, scaled to the page width.
        const TrendLayout layout = ComputeTrendLayout(kReportChartWidth, kReportChartHeight);
        std::array<int, kCurveCount> visible{};
        for (int curve : {0, 4, 5, 6}) visible[size_t(curve)] = 1;
        const double scale = double(Width()) / layout.width;
        painter_.save();
        painter_.translate(0, y);
        painter_.scale(scale, scale);
        painter_.setClipRect(QRect(0, 0, layout.width, layout.height));
        PaintHistory(painter_, layout, DayChartLimits(m), visible, m.chartRows);
        painter_.restore();
        y += int(std::ceil(layout.height * scale)) + 12;

        const QString quantityNames[] = {tr("温度 T_Shell (℃)"), QStringLiteral("Vel_X (mm/s)"),
                                         QStringLiteral("Vel_Y (mm/s)"),
                                         QStringLiteral("Vel_Z (mm/s)"), tr("最大轴速度 (mm/s)")};
        std::vector<QStringList> stats;
        for (int q = 0; q < kDayQuantityCount; ++q) {
            const QuantityStats& s = m.stats.quantities[size_t(q)];
            const int decimals = q == 0 ? 1 : 2;
            stats.push_back({quantityNames[q], Number(s.min, decimals), Number(s.Mean(), decimals),
                             Number(s.max, decimals)});
        }
        // Side by side: the statistics left, the zones right.
        const double half = (Width() - 24) / 2.0;
        ReportTable statsTable(&writer_, Font(8), half);
        statsTable.SetHeader({{{tr("量")}, {tr("最小")}, {tr("平均")}, {tr("最大")}}});
        statsTable.SetColumns({Percent(46), Percent(18), Percent(18), Percent(18)});
        statsTable.SetRows(std::move(stats));

        std::vector<QStringList> zones;
        for (int z = 0; z < kZoneCount; ++z)
            zones.push_back({QString(QChar(u'A' + z)),
                             Duration(m.stats.zoneSeconds[size_t(z)], true),
                             share(m.stats.zoneSeconds[size_t(z)])});
        zones.push_back({tr("无有效数据"), Duration(m.stats.NoFreshSeconds(), true),
                         share(m.stats.NoFreshSeconds())});
        zones.push_back({tr("未记录"), Duration(m.stats.UnrecordedSeconds(day), true),
                         share(m.stats.UnrecordedSeconds(day))});
        ReportTable zoneTable(&writer_, Font(8), half);
        zoneTable.SetHeader({{{tr("区")}, {tr("时间")}, {tr("占比")}}});
        zoneTable.SetColumns({Percent(40), Percent(30), Percent(30)});
        zoneTable.SetRows(std::move(zones));
        const double statsHeight = statsTable.Draw(painter_, 0, y, 0, statsTable.RowCount());
        const double zoneHeight =
            zoneTable.Draw(painter_, Width() - half, y, 0, zoneTable.RowCount());
        y += int(std::ceil(std::max(statsHeight, zoneHeight))) + 14;

        Events(m, y);
    }

    void Events(const MachineDay& m, int y) {
        y = Paragraph(y, tr("当天报警事件（%1 条）").arg(m.events.size()), Font(10, true)) + 4;
        if (m.events.empty()) {
            Paragraph(y, tr("当天没有报警事件。"), Font(9));
            return;
        }
        std::vector<QStringList> rows;
        for (const AlarmEvent& e : m.events) {
            rows.push_back(
                {LocalTime(e.timeMs, QStringLiteral("HH:mm:ss")),
                 QLatin1String(AlarmKindName(e.kind)), QLatin1String(AlarmAxisName(e.axis)),
                 EventReading(e), ZoneText(e.zone), CoverageText(m.EventCoverage(e)),
                 e.acknowledged          ? e.ackBy
                 : IsRaisingKind(e.kind) ? tr("未确认")
                                         : QString(),
                 e.ackTime > 0 ? LocalTime(e.ackTime * 1000, QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                               : QString()});
        }
        ReportTable table(&writer_, Font(8), Width());
        table.SetHeader({{{tr("时间")},
                          {tr("类型")},
                          {tr("轴")},
                          {tr("数值")},
                          {tr("分区")},
                          {tr("记录")},
                          {tr("确认人")},
                          {tr("确认时间")}}});
        table.SetColumns({Variable(), Variable(), Variable(), Variable(), Variable(), Variable(),
                          Percent(20), Variable()});
        table.SetRows(std::move(rows));
        // The rest on further pages of the same machine.
        size_t done = 0;
        bool pageOfItsOwn = false;
        while (done < table.RowCount()) {
            size_t fit = table.Fit(done, Height() - y);
            if (fit == 0 && pageOfItsOwn) fit = 1;  // a row taller than a page is drawn cut
            if (fit > 0) {
                table.Draw(painter_, 0, y, done, fit);
                done += fit;
            }
            if (done < table.RowCount()) {
                writer_.newPage();
                y = Header(MachineTitle(m) + tr("（续）"));
                pageOfItsOwn = true;
            }
        }
    }

    QPainter& painter_;
    QPdfWriter& writer_;
    const DailyReport& report_;
};

}  // namespace

TrendLimits DayChartLimits(const MachineDay& machine) {
    TrendLimits limits;
    const QuantityStats& t = machine.stats.Of(DayQuantity::Temperature);
    if (t.count > 0) {
        limits.TMin = float(std::floor(t.min / 10.0) * 10.0);
        limits.TMax = float(std::max(std::ceil(t.max / 10.0) * 10.0, double(limits.TMin) + 10.0));
    }
    const QuantityStats& v = machine.stats.Of(DayQuantity::Overall);
    limits.VMax = float(RoundUp(std::max(v.count > 0 ? v.max : 0.0, machine.zones.ab)));
    return limits;
}

bool WriteDailyReportPdf(const DailyReport& report, const QString& path, QString* error) {
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = QCoreApplication::translate("DailyReportPdf", "无法写入日报 %1：%2")
                         .arg(path, reason);
        return false;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setResolution(kDotsPerInch);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
        writer.setTitle(QCoreApplication::translate("DailyReportPdf", "设备运行日报 %1")
                            .arg(report.day.toString(Qt::ISODate)));
        writer.setCreator(QStringLiteral("orsan-monitor"));
        QPainter painter;
        if (!painter.begin(&writer))
            return fail(QCoreApplication::translate("DailyReportPdf", "PDF 无法开始绘制"));
        ReportPages(painter, writer, report).Draw();
        if (!painter.end())
            return fail(QCoreApplication::translate("DailyReportPdf", "PDF 无法完成"));
    }
    if (!file.commit()) return fail(file.errorString());
    return true;
}

}  // namespace orsan
