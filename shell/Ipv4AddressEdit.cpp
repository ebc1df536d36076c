#include "Ipv4AddressEdit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace orsan {

namespace {

constexpr int kMaxDigits = 3;

int FieldValue(const QLineEdit* field) {
    bool ok = false;
    const int value = field->text().toInt(&ok);
    if (!ok) return 0;
    return value > 255 ? 255 : value;
}

}  // namespace

Ipv4AddressEdit::Ipv4AddressEdit(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setFocusPolicy(Qt::StrongFocus);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(0);
    auto* validator =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this);
    for (int i = 0; i < 4; ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("octet%1").arg(i + 1));
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setMaxLength(kMaxDigits);
        field->setValidator(validator);
        field->setTextMargins(0, 0, 0, 0);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i] { OnEdited(i); });
        fields_[i] = field;
        row->addWidget(field, 1);
        if (i < 3) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setAlignment(Qt::AlignCenter);
            row->addWidget(dot);
        }
    }
    setFocusProxy(fields_[0]);
}

void Ipv4AddressEdit::SetAddress(uint32_t address) {
    for (int i = 0; i < 4; ++i) {
        fields_[i]->setText(QString::number((address >> (8 * i)) & 0xFFu));
    }
    emit AddressChanged();
}

uint32_t Ipv4AddressEdit::Address() const {
    uint32_t address = 0;
    for (int i = 0; i < 4; ++i) address |= uint32_t(FieldValue(fields_[i])) << (8 * i);
    return address;
}

void Ipv4AddressEdit::SetOctets(uint8_t ip1, uint8_t ip2, uint8_t ip3, uint8_t ip4) {
    SetAddress(uint32_t(ip1) | (uint32_t(ip2) << 8) | (uint32_t(ip3) << 16) |
               (uint32_t(ip4) << 24));
}

uint8_t Ipv4AddressEdit::Octet(int k) const {
    return k >= 1 && k <= 4 ? uint8_t(FieldValue(fields_[k - 1])) : 0;
}

bool Ipv4AddressEdit::IsBlank() const {
    for (const QLineEdit* field : fields_) {
        if (!field->text().isEmpty()) return false;
    }
    return true;
}

bool Ipv4AddressEdit::IsOctetBlank(int k) const {
    return k < 1 || k > 4 || fields_[k - 1]->text().isEmpty();
}

void Ipv4AddressEdit::Clear() {
    for (QLineEdit* field : fields_) field->clear();
    emit AddressChanged();
}

QLineEdit* Ipv4AddressEdit::Field(int k) const {
    return k >= 1 && k <= 4 ? fields_[k - 1] : nullptr;
}

QSize Ipv4AddressEdit::sizeHint() const {
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(QStringLiteral("255.255.255.255")) + 24,
                 metrics.height() + 6);
}

QSize Ipv4AddressEdit::minimumSizeHint() const {
    return sizeHint();
}

int Ipv4AddressEdit::IndexOf(QObject* field) const {
    for (int i = 0; i < 4; ++i) {
        if (fields_[i] == field) return i;
    }
    return -1;
}

void Ipv4AddressEdit::FocusField(int index, bool selectAll, bool atEnd) {
    if (index < 0 || index > 3) return;
    QLineEdit* field = fields_[index];
    field->setFocus(Qt::OtherFocusReason);
    if (selectAll) {
        field->selectAll();
    } else {
        field->setCursorPosition(atEnd ? field->text().size() : 0);
    }
}

void Ipv4AddressEdit::ClampField(int index) {
    QLineEdit* field = fields_[index];
    bool ok = false;
    const int value = field->text().toInt(&ok);
    if (ok && value > 255) {
        field->setText(QStringLiteral("255"));
        emit AddressChanged();
    }
}

void Ipv4AddressEdit::OnEdited(int index) {
    emit AddressChanged();
    QLineEdit* field = fields_[index];
    // A full field hands over to the next, as the platform's control does.
    if (index < 3 && field->text().size() == kMaxDigits && field->cursorPosition() == kMaxDigits) {
        ClampField(index);
        FocusField(index + 1, true);
    }
}

bool Ipv4AddressEdit::eventFilter(QObject* watched, QEvent* event) {
    const int index = IndexOf(watched);
    if (index < 0) return QFrame::eventFilter(watched, event);
    QLineEdit* field = fields_[index];
    if (event->type() == QEvent::FocusOut) {
        ClampField(index);
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool noSelection = !field->hasSelectedText();
        switch (key->key()) {
            case Qt::Key_Period:
            case Qt::Key_Comma:
            case Qt::Key_Space:
                if (!field->text().isEmpty() && index < 3) {
                    ClampField(index);
                    FocusField(index + 1, true);
                }
                return true;  // never typed into a field
            case Qt::Key_Backspace:
                if (index > 0 && noSelection && field->cursorPosition() == 0) {
                    FocusField(index - 1, false, true);
                    return true;
                }
                break;
            case Qt::Key_Left:
                if (index > 0 && noSelection && field->cursorPosition() == 0) {
                    FocusField(index - 1, false, true);
                    return true;
                }
                break;
            case Qt::Key_Right:
                if (index < 3 && noSelection && field->cursorPosition() == field->text().size()) {
                    FocusField(index + 1, false, false);
                    return true;
                }
                break;
            case Qt::Key_Home:
                FocusField(0, false, false);
                return true;
            case Qt::Key_End:
                FocusField(3, false, true);
                return true;
            default:
                break;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void Ipv4AddressEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        setBackgroundRole(isEnabled() ? QPalette::Base : QPalette::Window);
    }
    QFrame::changeEvent(event);
}

}  // namespace orsan
