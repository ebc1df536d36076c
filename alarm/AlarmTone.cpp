#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "AlarmSound.h"
#include "Resources.h"

namespace orsan {

namespace {

class AlarmTone : public AlarmSound {
public:
    AlarmTone() {
        effect_.setSource(QUrl(QLatin1String(kAlarmToneUrl)));
        effect_.setLoopCount(QSoundEffect::Infinite);
    }
    void Start() override {
        if (!effect_.isPlaying()) effect_.play();
    }
    void Stop() override { effect_.stop(); }

private:
    QSoundEffect effect_;
};

// Qt Multimedia plays through a PulseAudio (or PipeWire) server on Linux
// and warns on stderr when there is none; a station without one (a service,
// a test run) is silent without a word, so the server is looked for first.
bool SoundServerReachable() {
#if defined(Q_OS_LINUX)
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/pulse/native"));
#else
    return true;
#endif
}

}  // namespace

std::unique_ptr<AlarmSound> MakeAlarmTone() {
    // Asked once; a machine without sound has nothing to say about it.
    if (!SoundServerReachable() || QMediaDevices::audioOutputs().isEmpty()) return nullptr;
    return std::make_unique<AlarmTone>();
}

}  // namespace orsan
