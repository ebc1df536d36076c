#include "DailyReportPdf.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

#include "HistoryChart.h"
#include "SensorEndpoint.h"
#include "SensorNames.h"

namespace orsan {

namespace {

// Page coordinates in 1/96 inch: the chart's pixels keep their size.
constexpr int kDotsPerInch = 96;
constexpr int kRowHeight = 18;

struct Column {
    QString title;
    int width;
};

QString Number(double value, int decimals) {
    return std::isnan(value) ? QStringLiteral("--") : QString::number(value, 'f', decimals);
}

// "H:MM:SS", or "H:MM" rounded to the minute.
QString Duration(double seconds, bool withSeconds) {
    const qint64 whole = std::llround(withSeconds ? seconds : seconds / 60.0) * (withSeconds ? 1 : 60);
    const QString minutes = QStringLiteral("%1:%2").arg(whole / 3600).arg(whole / 60 % 60, 2, 10,
                                                                          QLatin1Char('0'));
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

    // The title line of every page; returns the y below it.
    int Header(const QString& subject) {
        painter_.setPen(Qt::black);
        painter_.setFont(Font(15, true));
        painter_.drawText(QRect(0, 0, Width(), 30), Qt::AlignLeft | Qt::AlignVCenter,
                          tr("设备运行日报  %1").arg(report_.day.toString(Qt::ISODate)));
        painter_.setFont(Font(8));
        painter_.drawText(QRect(0, 0, Width(), 30), Qt::AlignRight | Qt::AlignVCenter,
                          report_.stationTitle);
        painter_.drawLine(0, 32, Width(), 32);
        painter_.setFont(Font(11, true));
        painter_.drawText(QRect(0, 38, Width(), 22), Qt::AlignLeft | Qt::AlignVCenter, subject);
        return 66;
    }

    // A table with a header row; rows that do not fit above `bottom` are
    // left out. Returns how many rows were drawn; *y moves below the table.
    int Table(int* y, const std::vector<Column>& columns, const std::vector<QStringList>& rows,
              int bottom, size_t first = 0) {
        painter_.setFont(Font(8));
        const auto line = [&](const QStringList& cells, bool head) {
            int x = 0;
            if (head) painter_.fillRect(QRect(0, *y, TableWidth(columns), kRowHeight), QColor(230, 230, 230));
            for (size_t c = 0; c < columns.size(); ++c) {
                const QRect cell(x, *y, columns[c].width, kRowHeight);
                painter_.drawRect(cell);
                painter_.drawText(cell.adjusted(3, 0, -3, 0), Qt::AlignCenter,
                                  c < size_t(cells.size()) ? cells[int(c)] : QString());
                x += columns[c].width;
            }
            *y += kRowHeight;
        };
        QStringList titles;
        for (const Column& column : columns) titles << column.title;
        line(titles, true);
        size_t drawn = 0;
        for (size_t r = first; r < rows.size() && *y + kRowHeight <= bottom; ++r, ++drawn)
            line(rows[r], false);
        return int(drawn);
    }

    static int TableWidth(const std::vector<Column>& columns) {
        int width = 0;
        for (const Column& column : columns) width += column.width;
        return width;
    }

    QString MachineTitle(const MachineDay& machine) const {
        return SensorTitle(machine.sensor, machine.name) + QStringLiteral("  (") +
               QString::fromStdString(FormatAddress(machine.address)) + QLatin1Char(')');
    }

    void SummaryPage() {
        int y = Header(tr("全部设备一览"));
        painter_.setFont(Font(9));
        painter_.drawText(QRect(0, y, Width(), 20), Qt::AlignLeft | Qt::AlignVCenter,
                          tr("统计时段 %1 至 %2；只计有效读数。生成时间 %3")
                              .arg(LocalTime(report_.fromMs, QStringLiteral("yyyy-MM-dd HH:mm")),
                                   LocalTime(report_.toMs, QStringLiteral("yyyy-MM-dd HH:mm")),
                                   QDateTime::currentDateTime().toString(
                                       QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
        y += 28;
        if (report_.machines.empty()) {
            painter_.drawText(QRect(0, y, Width(), 20), Qt::AlignLeft | Qt::AlignVCenter,
                              tr("Config.ini 中没有配置传感器。"));
            return;
        }
        // Group titles above the columns they span.
        const int groups[] = {0, 186, 312, 432, 666};
        const QString groupTitles[] = {QString(), tr("速度 mm/s（最大轴）"), tr("温度 ℃"),
                                       tr("各区时间（时:分）")};
        painter_.setFont(Font(8));
        for (int g = 1; g < 4; ++g) {
            const QRect cell(groups[g], y, groups[g + 1] - groups[g], kRowHeight);
            painter_.fillRect(cell, QColor(230, 230, 230));
            painter_.drawRect(cell);
            painter_.drawText(cell, Qt::AlignCenter, groupTitles[g]);
        }
        y += kRowHeight;
        const std::vector<Column> columns = {
            {tr("设备"), 100},  {tr("地址"), 86},   {tr("最小"), 42},   {tr("平均"), 42},
            {tr("最大"), 42},   {tr("最小"), 40},   {tr("平均"), 40},   {tr("最大"), 40},
            {QStringLiteral("A"), 46}, {QStringLiteral("B"), 46}, {QStringLiteral("C"), 46},
            {QStringLiteral("D"), 46}, {tr("无数据"), 48},  {tr("报警"), 36}};
        std::vector<QStringList> rows;
        for (const MachineDay& m : report_.machines) {
            const QuantityStats& v = m.stats.Of(DayQuantity::Overall);
            const QuantityStats& t = m.stats.Of(DayQuantity::Temperature);
            QStringList row = {SensorTitle(m.sensor, m.name),
                               QString::fromStdString(FormatAddress(m.address)),
                               Number(v.min, 2), Number(v.Mean(), 2), Number(v.max, 2),
                               Number(t.min, 1), Number(t.Mean(), 1), Number(t.max, 1)};
            for (double seconds : m.stats.zoneSeconds) row << Duration(seconds, false);
            row << Duration(std::max(0.0, report_.DaySeconds() - m.stats.ZonedSeconds()), false)
                << QString::number(m.AlarmCount());
            rows.push_back(row);
        }
        Table(&y, columns, rows, Height());
        y += 10;
        painter_.setFont(Font(8));
        painter_.drawText(QRect(0, y, Width(), 60), Qt::AlignLeft | Qt::TextWordWrap,
                          tr("各区时间：从一个有效读数到下一个的时间计入前者的区（ISO 20816-3，按三轴中最大的速度"
                             "分区）。两个有效读数相隔超过记录间隔中位数的 3 倍（至少 2 秒）时视为中断，"
                             "不计入任何区，与无效读数一起记为“无数据”。报警：当天的 ALARM 与 TRIP 事件数。"));
    }

    void MachinePage(const MachineDay& m) {
        int y = Header(MachineTitle(m));
        painter_.setFont(Font(8));
        painter_.drawText(QRect(0, y - 4, Width(), 16), Qt::AlignLeft | Qt::AlignVCenter,
                          tr("分区界限 A/B %1  B/C %2  C/D %3 mm/s；记录 %4 行，其中有效读数 %5 行")
                              .arg(Number(m.zones.ab, 2), Number(m.zones.bc, 2),
                                   Number(m.zones.cd, 2))
                              .arg(m.stats.rows)
                              .arg(m.stats.freshRows));
        y += 16;

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

        const int top = y;
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
        Table(&y, {{tr("量"), 150}, {tr("最小"), 60}, {tr("平均"), 60}, {tr("最大"), 60}}, stats,
              Height());
        const int statsBottom = y;

        std::vector<QStringList> zones;
        const double day = report_.DaySeconds();
        const auto share = [day](double seconds) {
            return QStringLiteral("%1%").arg(100.0 * seconds / day, 0, 'f', 1);
        };
        for (int z = 0; z < kZoneCount; ++z)
            zones.push_back({QString(QChar(u'A' + z)), Duration(m.stats.zoneSeconds[size_t(z)], true),
                             share(m.stats.zoneSeconds[size_t(z)])});
        const double none = std::max(0.0, day - m.stats.ZonedSeconds());
        zones.push_back({tr("无数据"), Duration(none, true), share(none)});
        y = top;
        painter_.save();
        painter_.translate(370, 0);
        Table(&y, {{tr("区"), 70}, {tr("时间"), 100}, {tr("占比"), 70}}, zones, Height());
        painter_.restore();
        y = std::max(y, statsBottom) + 14;

        Events(m, y);
    }

    void Events(const MachineDay& m, int y) {
        painter_.setFont(Font(10, true));
        painter_.drawText(QRect(0, y, Width(), 20), Qt::AlignLeft | Qt::AlignVCenter,
                          tr("当天报警事件（%1 条）").arg(m.events.size()));
        y += 22;
        std::vector<QStringList> rows;
        for (const AlarmEvent& e : m.events) {
            const bool reading = e.axis != kNoAxis;
            // A temperature event's value is no velocity: it says its unit.
            const QString value = !reading ? QString()
                                  : e.Quantity() == AlarmQuantity::Temperature
                                      ? tr("%1 ℃").arg(Number(e.value, 1))
                                      : Number(e.value, 2);
            rows.push_back({LocalTime(e.timeMs, QStringLiteral("HH:mm:ss")),
                            QLatin1String(AlarmKindName(e.kind)),
                            QLatin1String(AlarmAxisName(e.axis)), value, ZoneText(e.zone),
                            e.acknowledged        ? e.ackBy
                            : IsRaisingKind(e.kind) ? tr("未确认")
                                                    : QString(),
                            e.ackTime > 0 ? LocalTime(e.ackTime * 1000,
                                                      QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                          : QString()});
        }
        const std::vector<Column> columns = {{tr("时间"), 80},         {tr("类型"), 80},
                                             {tr("轴"), 60},           {tr("数值 mm/s"), 80},
                                             {tr("分区"), 50},         {tr("确认人"), 120},
                                             {tr("确认时间"), 140}};
        if (rows.empty()) {
            painter_.setFont(Font(9));
            painter_.drawText(QRect(0, y, Width(), 20), Qt::AlignLeft | Qt::AlignVCenter,
                              tr("当天没有报警事件。"));
            return;
        }
        size_t done = size_t(Table(&y, columns, rows, Height()));
        // The rest on further pages of the same machine.
        while (done < rows.size()) {
            writer_.newPage();
            y = Header(MachineTitle(m) + tr("（续）"));
            done += size_t(Table(&y, columns, rows, Height(), done));
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
