#pragma once

#include <QObject>

class QSocketNotifier;

namespace orsan {

// Turns SIGINT and SIGTERM into a clean quit of the Qt event loop: the
// handler only writes a byte to a pipe, the loop reads it and quits.
class SignalQuit : public QObject {
    Q_OBJECT
public:
    explicit SignalQuit(QObject* parent = nullptr);
    ~SignalQuit() override;

    int ReceivedSignal() const { return receivedSignal_; }

private:
    void OnSignal();

    QSocketNotifier* notifier_ = nullptr;
    int receivedSignal_ = 0;
};

}  // namespace orsan
