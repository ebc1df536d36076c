#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "FixedTexts.h"
#include "ParamActions.h"
#include "ParamExchange.h"
#include "ParamFields.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace orsan {

class Ipv4AddressEdit;

// Reads and writes one sensor's configuration registers. The first time it
// is shown it reads the sensor; each button writes its group (or saves) on a
// connection of its own. Enter never closes it, Escape does.
class SettingParsDlg : public QDialog {
    Q_OBJECT
public:
    explicit SettingParsDlg(QWidget* parent = nullptr);

    // Octet 1 in the low byte. Also sets the window caption.
    void SetSensorAddress(uint32_t address);
    // The machine the caption names beside the address ("2# P-101",
    // "传感器2" without a name).
    void SetMachine(int sensor, const QString& name);
    void SetSensorPort(uint16_t port);
    // Address (and caption), port, unit id and answer limit at once.
    void SetSensorEndpoint(const SensorEndpoint& endpoint);
    // The manual speed field (register 67 is never read back).
    void SetManualSpeed(float hz);

    uint32_t SensorAddress() const { return endpoint_.address; }
    uint16_t SensorPort() const { return endpoint_.port; }
    const SensorParameters& Values() const { return values_; }

    // The read at opening; silent when the sensor cannot be reached.
    ReadOutcome ReadFromSensor();
    // What button `action` does: take the fields (write buttons), check,
    // exchange, report. True when the sensor confirmed every request.
    bool RunAction(ParamAction action);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    // Fixed texts, drop-down items and the caption in the language installed.
    void RetranslateTexts();
    void ShowGroup(ReadGroup group);
    void ShowAll();
    ParamFormInput ControlContents() const;

    SensorEndpoint endpoint_;
    bool addressKnown_ = false;
    int sensor_ = 0;  // 0 until SetMachine
    QString machineName_;
    SensorParameters values_;
    bool readDone_ = false;

    std::array<QLineEdit*, kParamFieldCount> edits_{};
    std::array<Ipv4AddressEdit*, kParamAddressCount> addressEdits_{};
    QComboBox* speedSource_ = nullptr;
    QComboBox* speedMode_ = nullptr;
    std::vector<std::pair<QComboBox*, std::array<const char*, 2>>> comboItems_;
    FixedTexts texts_{this};
};

}  // namespace orsan
