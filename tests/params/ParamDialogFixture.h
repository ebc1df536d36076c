#pragma once

#include <QString>
#include <QWidget>
#include <ostream>
#include <vector>

#include "ParamNotifier.h"

QT_BEGIN_NAMESPACE
// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace orsan::test {

struct RecordedNotice {
    QWidget* owner;
    QString caption;
    QString text;
    ParamNoticeKind kind;
};

// Replaces the parameter dialog's message boxes with a record while alive.
class NoticeRecorder {
public:
    NoticeRecorder() {
        previous_ = ReplaceParamNotifier([this](QWidget* owner, const QString& caption,
                                                const QString& text, ParamNoticeKind kind) {
            notices_.push_back({owner, caption, text, kind});
        });
    }
    ~NoticeRecorder() { ReplaceParamNotifier(std::move(previous_)); }
    NoticeRecorder(const NoticeRecorder&) = delete;
    NoticeRecorder& operator=(const NoticeRecorder&) = delete;

    const std::vector<RecordedNotice>& Notices() const { return notices_; }
    QString LastText() const { return notices_.empty() ? QString() : notices_.back().text; }
    void Clear() { notices_.clear(); }

private:
    ParamNotifier previous_;
    std::vector<RecordedNotice> notices_;
};

}  // namespace orsan::test
