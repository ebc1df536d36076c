#pragma once

#include <QFrame>
#include <array>
#include <cstdint>

class QLineEdit;

namespace orsan {

// IPv4 address entry: four octet fields 0 to 255 separated by dots. An empty
// field counts as 0. Typing '.' or a third digit moves on to the next field;
// a value above 255 becomes 255 when the field is left. The address is held
// with octet 1 in the least significant byte, as SensorEndpoint carries it.
// Octet fields are named "octet1" to "octet4".
class Ipv4AddressEdit : public QFrame {
    Q_OBJECT
public:
    explicit Ipv4AddressEdit(QWidget* parent = nullptr);

    void SetAddress(uint32_t address);
    uint32_t Address() const;
    void SetOctets(uint8_t ip1, uint8_t ip2, uint8_t ip3, uint8_t ip4);
    // Octet k (1 to 4) as shown, empty = 0, above 255 = 255.
    uint8_t Octet(int k) const;
    bool IsBlank() const;            // all four fields empty
    bool IsOctetBlank(int k) const;  // field k (1 to 4) empty
    void Clear();

    QLineEdit* Field(int k) const;  // k = 1 to 4

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user or SetAddress changed a field.
    void AddressChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int IndexOf(QObject* field) const;
    void FocusField(int index, bool selectAll, bool atEnd = false);
    void ClampField(int index);
    void OnEdited(int index);

    std::array<QLineEdit*, 4> fields_{};
};

}  // namespace orsan
