#pragma once

#include <QFontMetrics>
#include <QString>
#include <QStringList>

#include "SensorNames.h"

namespace orsan {

// `text` within `room` pixels, cut so that none of `others` could be what
// it shows: left whole when it fits, else cut at its end, middle or
// beginning, whichever tells it apart, else shown as the first stretch of
// it no other has ("…101…"), as much of it as fits. Cut at its end when
// nothing tells it apart. A reader takes the text before the first "…" as
// its beginning, the text after the last as its end.
QString ElideDistinct(const QString& text, const QStringList& others, const QFontMetrics& metrics,
                      int room);
// Sensor n's (1..6) machine name so cut, apart from the other machines' names.
QString ElideMachineName(int sensor, const SensorNames& names, const QFontMetrics& metrics,
                         int room);

}  // namespace orsan
