#include "AlarmLogDlg.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <set>

#include "AlarmStore.h"
#include "DialogUnits.h"
#include "EnterEscapeFilter.h"
#include "LiveReport.h"
#include "ZoneLook.h"

namespace orsan {

namespace {

enum Column { kTime, kSensor, kAxis, kValue, kZone, kKind, kAck, kColumnCount };

QString KindCaption(AlarmKind kind) {
    switch (kind) {
        case AlarmKind::Alarm:
            return QStringLiteral("ALARM 报警");
        case AlarmKind::Trip:
            return QStringLiteral("TRIP 停机");
        case AlarmKind::Clear:
            return QStringLiteral("CLEAR 恢复");
        case AlarmKind::Lost:
            return QStringLiteral("LOST 通讯中断");
        case AlarmKind::Restored:
            return QStringLiteral("RESTORED 通讯恢复");
    }
    return QString();
}

bool NewerFirst(const AlarmEvent& a, const AlarmEvent& b) {
    return a.timeMs > b.timeMs;
}

QColor RaisedColor(AlarmKind kind) {
    switch (kind) {
        case AlarmKind::Trip:
            return QColor(200, 0, 0);
        case AlarmKind::Lost:
            return QColor(150, 0, 150);
        default:
            return QColor(220, 110, 0);
    }
}

}  // namespace

AlarmLogDlg::AlarmLogDlg(AlarmStore& store, QWidget* parent) : QWidget(parent), store_(store) {
    setFont(DialogFont());
    ConsumeEnterEscape(this);
    resize(DialogUnits(font()).Size(548, 238));

    list_ = new QTableWidget(0, kColumnCount, this);
    list_->setObjectName(QStringLiteral("alarmList"));
    list_->setHorizontalHeaderLabels({QStringLiteral("时间"), QStringLiteral("传感器"),
                                      QStringLiteral("轴"), QStringLiteral("数值(mm/s)"),
                                      QStringLiteral("分区"), QStringLiteral("类型"),
                                      QStringLiteral("确认")});
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->verticalHeader()->setVisible(false);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->horizontalHeader()->setSectionResizeMode(kTime, QHeaderView::ResizeToContents);
    list_->horizontalHeader()->setSectionResizeMode(kSensor, QHeaderView::ResizeToContents);
    // "RESTORED 通讯恢复" is the longest caption; none may be cut.
    list_->horizontalHeader()->setSectionResizeMode(kKind, QHeaderView::ResizeToContents);

    acknowledgeSelected_ = new QPushButton(QStringLiteral("确认选中"), this);
    acknowledgeAll_ = new QPushButton(QStringLiteral("全部确认"), this);
    acknowledgeSelected_->setObjectName(QStringLiteral("acknowledgeSelected"));
    acknowledgeAll_->setObjectName(QStringLiteral("acknowledgeAll"));
    for (QPushButton* b : {acknowledgeSelected_, acknowledgeAll_}) b->setAutoDefault(false);
    connect(acknowledgeSelected_, &QPushButton::clicked, this, &AlarmLogDlg::AcknowledgeSelected);
    connect(acknowledgeAll_, &QPushButton::clicked, this, &AlarmLogDlg::AcknowledgeAll);

    problem_ = new QLabel(this);
    problem_->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    problem_->setWordWrap(true);
    problem_->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(problem_, 1);
    buttons->addStretch();
    buttons->addWidget(acknowledgeSelected_);
    buttons->addWidget(acknowledgeAll_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    if (!store_.IsOpen()) ShowProblem(QStringLiteral("报警记录无法保存: ") + store_.LastError());
    Reload();
}

void AlarmLogDlg::SetSensorNames(const SensorNames& names) {
    names_ = names;
    Fill();
}

void AlarmLogDlg::ShowProblem(const QString& text) {
    problem_->setText(text);
    problem_->setVisible(!text.isEmpty());
}

void AlarmLogDlg::KeepUnstored(const std::vector<AlarmEvent>& events) {
    for (AlarmEvent event : events) {
        event.id = nextUnstoredId_--;
        unstored_.insert(unstored_.begin(), event);
    }
    std::stable_sort(unstored_.begin(), unstored_.end(), NewerFirst);
    if (unstored_.size() > size_t(kListLimit)) unstored_.resize(size_t(kListLimit));
}

void AlarmLogDlg::Reload() {
    std::vector<AlarmEvent> stored;
    if (store_.IsOpen() && !store_.LoadNewest(kListLimit, &stored))
        ShowProblem(store_.LastError());
    events_.clear();
    std::merge(stored.begin(), stored.end(), unstored_.begin(), unstored_.end(),
               std::back_inserter(events_), NewerFirst);
    if (events_.size() > size_t(kListLimit)) events_.resize(size_t(kListLimit));
    const int count = store_.IsOpen() ? store_.UnacknowledgedRaisedCount() : 0;
    unacknowledged_ = count < 0 ? 0 : count;
    for (const AlarmEvent& e : unstored_)
        if (IsRaisingKind(e.kind) && !e.acknowledged) ++unacknowledged_;
    Fill();
    emit UnacknowledgedChanged(unacknowledged_);
}

void AlarmLogDlg::Fill() {
    list_->setRowCount(int(events_.size()));
    for (int r = 0; r < int(events_.size()); ++r) {
        const AlarmEvent& e = events_[size_t(r)];
        const QString texts[kColumnCount] = {
            QDateTime::fromMSecsSinceEpoch(e.timeMs).toString(
                QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")),
            e.sensor >= 1 && e.sensor <= kSensorCount && !names_[size_t(e.sensor - 1)].isEmpty()
                ? SensorTitle(e.sensor, names_[size_t(e.sensor - 1)])
                : QString::number(e.sensor),
            QLatin1String(AlarmAxisName(e.axis)),
            e.axis == kNoAxis ? QString() : QString::fromStdString(FormatJsonFloat(e.value)),
            ZoneText(e.zone),
            KindCaption(e.kind),
            e.acknowledged ? QStringLiteral("已确认") : QString(),
        };
        const bool raised = IsRaisingKind(e.kind) && !e.acknowledged;
        for (int c = 0; c < kColumnCount; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            if (e.acknowledged) item->setForeground(QColor(128, 128, 128));
            if (raised) {
                item->setForeground(RaisedColor(e.kind));
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            if (c == kZone) {
                // Readable on the zone's colour whatever the row's state.
                item->setBackground(ZoneColor(e.zone));
                item->setForeground(ZoneTextColor(e.zone));
                item->setTextAlignment(Qt::AlignCenter);
            }
            list_->setItem(r, c, item);
        }
    }
}

void AlarmLogDlg::AcknowledgeSelected() {
    std::set<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        rows.insert(index.row());
    for (int row : rows) {
        if (row < 0 || row >= int(events_.size()) || events_[size_t(row)].acknowledged) continue;
        const int64_t id = events_[size_t(row)].id;
        if (id < 0) {
            for (AlarmEvent& e : unstored_)
                if (e.id == id) e.acknowledged = true;
        } else if (!store_.Acknowledge(id)) {
            ShowProblem(store_.LastError());
        }
    }
    Reload();
}

void AlarmLogDlg::AcknowledgeAll() {
    for (AlarmEvent& e : unstored_) e.acknowledged = true;
    if (store_.IsOpen() && !store_.AcknowledgeAll()) ShowProblem(store_.LastError());
    Reload();
}

}  // namespace orsan
