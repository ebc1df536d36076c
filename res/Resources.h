#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <vector>

namespace orsan {

// Resource numbers of the pictures drawn for the station.
enum ResourceId : int {
    kIconStation = 128,          // window icon
    kBitmapWiring = 130,         // wiring picture of the main window
    kBitmapTabImages = 133,      // nine 18 x 18 tab images, green = transparent
    kBitmapSensorHousing = 135,  // housing with the X, Y, Z axes and the T point
    kIconSetInterval = 136,      // "调整"
    kIconExportText = 137,       // data to a text file
    kIconExportPicture = 139,    // chart to a picture
    kIconAxisRange = 140,        // axis ranges
    kIconClear = 141,            // clear
    kIconSetAddresses = 143,     // "修改"
    kIconCurveVisibility = 161,  // curve visibility
    kIconConfigureSensor = 163,  // parameter dialog
    kIconReadWaveform = 164,     // waveform dialog
};

// The alarm tone, a short WAV for a sound effect to loop.
inline constexpr const char* kAlarmToneUrl = "qrc:/orsan/res/alarm-tone.wav";

// Every resource number above.
const std::vector<int>& ResourceIds();

// The picture's own pixel size (16 x 16 for button icons, 164 x 18 for the
// tab strip, ...); an invalid size for an unknown number.
QSize ResourceSize(int id);

// The picture rendered at `size` (its own size when empty), ARGB32. The tab
// strip comes opaque with pure green (0, 255, 0) where it is transparent, as
// an image list with a transparent colour expects. Null for an unknown
// number. Needs a QGuiApplication except for the path-only pictures (the
// icons, the tab strip, the housing, the logo and the demo picture).
QImage ResourceImage(int id, QSize size = {});
QPixmap ResourcePixmap(int id, QSize size = {});

// Button icons (16 x 16, with a 32 x 32 form for dense screens) and the
// window icon (16 to 64). Null for an unknown number.
QIcon ResourceIcon(int id);

// Default logo (bq_logo.png) and sample picture (demo.png).
QImage DefaultLogoImage();
QImage DemoImage();

// Write them as real PNG files, replacing `path` atomically; false when the
// file cannot be written. Work under a plain QCoreApplication too.
bool WriteDefaultLogo(const QString& path);
bool WriteDemoPicture(const QString& path);

}  // namespace orsan
