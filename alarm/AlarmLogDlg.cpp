#include "AlarmLogDlg.h"

#include <QDateTime>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <set>
#include <tuple>

#include "AlarmMonitor.h"
#include "DialogUnits.h"
#include "EnterEscapeFilter.h"
#include "LiveReport.h"
#include "ZoneLook.h"

namespace orsan {

namespace {

bool NewerFirst(const AlarmEvent& a, const AlarmEvent& b) {
    return a.timeMs > b.timeMs;
}

const QColor kAcknowledgedText(128, 128, 128);

}  // namespace

QString AlarmLogDlg::StateText(const AlarmEvent& e, bool activeNow) const {
    if (!IsRaisingKind(e.kind)) return e.acknowledged ? tr("已确认") : QString();
    if (e.acknowledged) return activeNow ? tr("报警中 已确认") : tr("已确认");
    return activeNow ? tr("报警中 未确认") : tr("已恢复 未确认");
}

AlarmLogDlg::AlarmLogDlg(AlarmMonitor& monitor, QWidget* parent)
    : QWidget(parent), monitor_(monitor) {
    setFont(DialogFont());
    ConsumeEnterEscape(this);
    resize(DialogUnits(font()).Size(548, 238));

    list_ = new QTableWidget(0, kColumnCount, this);
    list_->setObjectName(QStringLiteral("alarmList"));
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->verticalHeader()->setVisible(false);
    // The machine's name takes the room the others leave, shortened there
    // and whole in its tool tip, so state, who and when always show.
    list_->horizontalHeader()->setStretchLastSection(false);
    list_->horizontalHeader()->setSectionResizeMode(kSensor, QHeaderView::Stretch);
    // "RESTORED 通信恢复" is the longest caption; none may be cut.
    for (int c : {kTime, kAxis, kValue, kZone, kKind, kState, kAckTime})
        list_->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);

    auto* acknowledgeSelected = AddButton(QT_TR_NOOP("确认选中"), "acknowledgeSelected", nullptr);
    auto* acknowledgeAll = AddButton(QT_TR_NOOP("全部确认"), "acknowledgeAll", nullptr);
    auto* mute = AddButton(QT_TR_NOOP("静音"), "mute", QT_TR_NOOP("报警声静音，直到下一个新报警"));
    auto* settings = AddButton(QT_TR_NOOP("报警设置"), "alarmSettings",
                               QT_TR_NOOP("全部传感器的机器类别、分区与报警值"));
    auto* exportCsv =
        AddButton(QT_TR_NOOP("导出CSV"), "exportAlarms", QT_TR_NOOP("导出报警记录为CSV文件"));
    connect(acknowledgeSelected, &QPushButton::clicked, this, &AlarmLogDlg::AcknowledgeSelected);
    connect(acknowledgeAll, &QPushButton::clicked, this, &AlarmLogDlg::AcknowledgeAll);
    connect(mute, &QPushButton::clicked, this, &AlarmLogDlg::muteRequested);
    connect(settings, &QPushButton::clicked, this, &AlarmLogDlg::settingsRequested);
    connect(exportCsv, &QPushButton::clicked, this, &AlarmLogDlg::exportRequested);

    shownDefaultOperator_ = DefaultOperatorName();
    operator_ = new QLineEdit(shownDefaultOperator_, this);
    operator_->setObjectName(QStringLiteral("operatorName"));
    texts_.Add(operator_, QT_TR_NOOP("确认报警时记录的确认人"), FixedTexts::Part::ToolTip);
    operator_->setMaximumWidth(DialogUnits(font()).X(60));

    problem_ = new QLabel(this);
    problem_->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    problem_->setWordWrap(true);
    problem_->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(problem_, 1);
    buttons->addStretch();
    buttons->addWidget(texts_.Text(new QLabel(this), QT_TR_NOOP("确认人:")));
    buttons->addWidget(operator_);
    for (QPushButton* b : {acknowledgeSelected, acknowledgeAll, mute, settings, exportCsv})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    RetranslateTexts();
    if (!monitor_.Store().IsOpen())
        ShowProblem(tr("报警记录无法保存: ") + monitor_.Store().LastError());
    Reload();
}

void AlarmLogDlg::RetranslateTexts() {
    texts_.Retranslate();
    // The fallback name is a word of the language; a name typed stays.
    if (operator_->text() == shownDefaultOperator_) {
        shownDefaultOperator_ = DefaultOperatorName();
        operator_->setText(shownDefaultOperator_);
    }
    list_->setHorizontalHeaderLabels({tr("时间"), tr("传感器"), tr("轴"), tr("数值(mm/s)"),
                                      tr("分区"), tr("类型"), tr("状态"), tr("确认人"),
                                      tr("确认时间")});
    Fill();
}

void AlarmLogDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
    QWidget::changeEvent(event);
}

QPushButton* AlarmLogDlg::AddButton(const char* text, const char* name, const char* tip) {
    auto* button = texts_.Text(new QPushButton(this), text);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    if (tip) texts_.Add(button, tip, FixedTexts::Part::ToolTip);
    return button;
}

QString AlarmLogDlg::OperatorName() const {
    const QString name = operator_->text().trimmed();
    return name.isEmpty() ? DefaultOperatorName() : name;
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
    AlarmStore& store = monitor_.Store();
    std::vector<AlarmEvent> stored;
    if (store.IsOpen() && !store.LoadForList(kListLimit, &stored)) ShowProblem(store.LastError());
    // Events held for a full disk are listed (and acknowledged) as the
    // stored ones until they are.
    std::vector<AlarmEvent> unstored = monitor_.HeldEvents();
    std::reverse(unstored.begin(), unstored.end());
    unstored.insert(unstored.end(), unstored_.begin(), unstored_.end());
    std::stable_sort(unstored.begin(), unstored.end(), NewerFirst);
    events_.clear();
    std::merge(stored.begin(), stored.end(), unstored.begin(), unstored.end(),
               std::back_inserter(events_), NewerFirst);
    // Beyond the newest, only what still waits for acknowledgement.
    int kept = 0;
    std::erase_if(events_, [&kept](const AlarmEvent& e) {
        return ++kept > kListLimit && (e.acknowledged || !IsRaisingKind(e.kind));
    });
    const int count = store.IsOpen() ? store.UnacknowledgedRaisedCount() : 0;
    unacknowledged_ = count < 0 ? 0 : count;
    for (const AlarmEvent& e : unstored)
        if (IsRaisingKind(e.kind) && !e.acknowledged) ++unacknowledged_;
    Fill();
    emit UnacknowledgedChanged(unacknowledged_);
}

QString AlarmLogDlg::ValueText(const AlarmEvent& e) const {
    if (e.axis == kNoAxis) return QString();
    const QString value = QString::fromStdString(FormatJsonFloat(e.value));
    // The column is headed in mm/s: a temperature says its own unit.
    return e.Quantity() == AlarmQuantity::Temperature ? tr("%1 ℃").arg(value) : value;
}

void AlarmLogDlg::Fill() {
    flashingRows_.clear();
    // The newest row of each alarm comes first.
    std::set<std::tuple<int, AlarmKind, AlarmQuantity>> seen;
    list_->setRowCount(int(events_.size()));
    for (int r = 0; r < int(events_.size()); ++r) {
        const AlarmEvent& e = events_[size_t(r)];
        const bool latest = seen.insert({e.sensor, e.kind, e.Quantity()}).second;
        const bool raising = IsRaisingKind(e.kind);
        const bool activeNow = raising && latest && IsActive(monitor_.States().StateOf(e));
        const QString texts[kColumnCount] = {
            QDateTime::fromMSecsSinceEpoch(e.timeMs).toString(
                QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")),
            e.sensor >= 1 && e.sensor <= kSensorCount && !names_[size_t(e.sensor - 1)].isEmpty()
                ? SensorTitle(e.sensor, names_[size_t(e.sensor - 1)])
                : QString::number(e.sensor),
            QLatin1String(AlarmAxisName(e.axis)),
            ValueText(e),
            ZoneText(e.zone),
            AlarmKindCaption(e.kind),
            StateText(e, activeNow),
            e.ackBy,
            e.ackTime > 0 ? QDateTime::fromSecsSinceEpoch(e.ackTime).toString(
                                QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                          : QString(),
        };
        const bool waiting = raising && !e.acknowledged;
        if (waiting) flashingRows_.emplace_back(r, AlarmKindColor(e.kind));
        for (int c = 0; c < kColumnCount; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            if (c == kSensor || c == kAckBy) item->setToolTip(texts[c]);
            if (waiting || activeNow) {
                item->setForeground(AlarmKindColor(e.kind));
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            } else if (e.acknowledged) {
                item->setForeground(kAcknowledgedText);
            }
            if (activeNow && !waiting && c == kState) {
                // Acknowledged but still active: steady in its colour.
                item->setBackground(AlarmKindColor(e.kind));
                item->setForeground(ReadableTextOn(AlarmKindColor(e.kind)));
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
    ShowFlash(monitor_.FlashOn());
}

void AlarmLogDlg::ShowFlash(bool on) {
    for (const auto& [row, color] : flashingRows_) {
        for (int c : {kKind, kState}) {
            QTableWidgetItem* item = list_->item(row, c);
            if (!item) continue;
            item->setBackground(on ? color : QColor(Qt::transparent));
            item->setForeground(on ? ReadableTextOn(color) : color);
        }
    }
}

void AlarmLogDlg::AfterAcknowledgement(bool stored) {
    if (!stored) ShowProblem(monitor_.Store().LastError());
    Reload();
    emit acknowledged();
}

void AlarmLogDlg::AcknowledgeSelected() {
    std::set<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        rows.insert(index.row());
    bool stored = true;
    const QString who = OperatorName();
    const int64_t now = QDateTime::currentSecsSinceEpoch();
    for (int row : rows) {
        if (row < 0 || row >= int(events_.size())) continue;
        const AlarmEvent event = events_[size_t(row)];
        if (event.acknowledged) continue;
        // The page's own rows of the alarm go with it.
        for (AlarmEvent& e : unstored_) {
            const bool sameAlarm =
                IsRaisingKind(event.kind) && e.sensor == event.sensor && e.kind == event.kind;
            if (!e.acknowledged && (e.id == event.id || sameAlarm)) {
                e.acknowledged = true;
                e.ackBy = who;
                e.ackTime = now;
            }
        }
        stored = monitor_.AcknowledgeEvent(event, who) && stored;
    }
    AfterAcknowledgement(stored);
}

void AlarmLogDlg::AcknowledgeAll() {
    const QString who = OperatorName();
    const int64_t now = QDateTime::currentSecsSinceEpoch();
    for (AlarmEvent& e : unstored_) {
        if (e.acknowledged) continue;
        e.acknowledged = true;
        e.ackBy = who;
        e.ackTime = now;
    }
    AfterAcknowledgement(monitor_.AcknowledgeAll(who));
}

}  // namespace orsan
