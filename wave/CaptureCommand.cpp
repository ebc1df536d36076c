#include "CaptureCommand.h"

#include "DxGlobal.h"
#include "WaveCaptureCommand.h"

namespace orsan {

int RunCaptureCommand(uint32_t address, int seconds, const std::string& outPath, uint16_t port,
                      std::ostream& out, std::ostream& err) {
    return RunCaptureCommandIn(address, seconds, outPath, DesktopDir().toStdString(), port, out,
                               err);
}

}  // namespace orsan
