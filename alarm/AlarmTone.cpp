#include <QAudioDevice>
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

}  // namespace

std::unique_ptr<AlarmSound> MakeAlarmTone() {
    // Asked once; a machine without sound has nothing to say about it.
    if (QMediaDevices::audioOutputs().isEmpty()) return nullptr;
    return std::make_unique<AlarmTone>();
}

}  // namespace orsan
