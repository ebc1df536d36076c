#pragma once

#include <QLoggingCategory>

namespace orsan {

// Diagnostics of the waveform dialog, off by default; switch on with
// QT_LOGGING_RULES="orsan.wave.debug=true".
Q_DECLARE_LOGGING_CATEGORY(WaveLog)

}  // namespace orsan
