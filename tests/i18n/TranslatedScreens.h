#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "RecordDatabase.h"
#include "SensorPoller.h"

namespace orsan::test {

// What the screens are built over: a private data folder, an idle poller
// and the folder's record database.
struct ScreenContext {
    QTemporaryDir dataDir;
    SensorPoller poller;
    RecordDatabase database;
    ScreenContext();
};

// One screen of the station: the main window (its pages are its tabs) or a dialog.
struct Screen {
    QString name;
    std::function<std::unique_ptr<QWidget>(ScreenContext&)> make;
};

// Every screen of the station, in one place: a new dialog is added here.
std::vector<Screen> TranslatedScreens();

}  // namespace orsan::test
