#pragma once

#include <QDate>
#include <QObject>
#include <QProcess>
#include <QString>

namespace orsan {

// The station's own `--report` for one day, in a process of its own: reading
// a day of rows takes seconds, which the thread that records rows (the
// window's or the headless loop) must never wait for. Destroying it while a
// report is written gives that report up; its file never appears.
class ReportProcess : public QObject {
    Q_OBJECT
public:
    // program: the station's executable.
    explicit ReportProcess(const QString& program, QObject* parent = nullptr);

    // Starts the report of `day` into `path`; nothing when one is being written.
    void Start(const QString& dataDir, QDate day, const QString& path);
    bool IsRunning() const { return process_.state() != QProcess::NotRunning; }
    // Waits up to ms for the report in progress; false when it is still running.
    bool WaitForFinished(int ms) { return !IsRunning() || process_.waitForFinished(ms); }

signals:
    // written: the file is there; otherwise reason says why not.
    void finished(bool written, const QString& reason);

private:
    void Finish();

    QProcess process_;
};

}  // namespace orsan
