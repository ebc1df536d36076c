#include "WaveLog.h"

namespace orsan {

Q_LOGGING_CATEGORY(WaveLog, "orsan.wave", QtWarningMsg)

}  // namespace orsan
