#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "FixedTexts.h"
#include "LiveValues.h"
#include "MachineTile.h"
#include "SensorNames.h"

class QLabel;

namespace orsan {

// The "总览" page: one tile per machine with an address, in sensor order,
// three to a row. A click on a tile asks for that machine's page.
class OverviewPage : public QWidget {
    Q_OBJECT
public:
    explicit OverviewPage(QWidget* parent = nullptr);

    // Which machines have tiles (address not 0.0.0.0), their names and addresses.
    void SetMachines(const SensorNames& names, const std::array<uint32_t, kSensorCount>& addresses);
    // The reading of sensor 1..6 from its live row, its link and its zone.
    void ShowReading(int sensor, const LiveRow& row, LinkState link, Zone zone);

    MachineTile* Tile(int sensor) const { return tiles_[size_t(sensor - 1)]; }
    QLabel* EmptyNotice() const { return empty_; }

signals:
    void machineChosen(int sensor);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void LayOut();

    std::array<MachineTile*, kSensorCount> tiles_{};
    std::array<bool, kSensorCount> configured_{};
    FixedTexts texts_{this};
    QLabel* empty_;
};

}  // namespace orsan
