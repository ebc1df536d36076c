#include "SettingParsDlg.h"

#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "DialogControls.h"
#include "EnterEscapeFilter.h"
#include "Ipv4AddressEdit.h"
#include "ParamNotifier.h"
#include "SensorNames.h"
#include "WindowFrame.h"

namespace orsan {

namespace {

constexpr int kDialogWidth = 524;
constexpr int kDialogHeight = 284;

// The pointer stays a wait cursor while an exchange blocks the window.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QString FormatField(float value) {
    return QString::number(double(value), 'g', 6);
}

QString Translated(const char* source) {
    return QCoreApplication::translate(kParamTextContext, source);
}

// A refusal of the core in the language installed.
QString ErrorText(const ParamInputError& error) {
    QString text = Translated(error.text);
    for (const ParamTextArg& arg : error.args)
        text =
            text.arg(arg.isName ? Translated(arg.text.c_str()) : QString::fromStdString(arg.text));
    return text;
}

}  // namespace

SettingParsDlg::SettingParsDlg(QWidget* parent) : QDialog(parent) {
    setFont(DialogFont());
    // Escape closes it as any window of its own; Enter would press a button.
    ConsumeEnter(this);
    UseDialogFrame(this);
    BuildControls();
    RetranslateTexts();
    ShowAll();
    // Addresses start empty, not 0.0.0.0, until the sensor has been read.
    for (Ipv4AddressEdit* edit : addressEdits_) edit->Clear();
}

void SettingParsDlg::BuildControls() {
    const DialogControls ui(this);
    // Most labels here are one edit line high.
    auto label = [&](const char* text, int x, int y, int width, int height = 10,
                     Qt::Alignment align = DialogControls::kLeft) {
        return texts_.Set(ui.Label(QString(), x, y, width, height, align), text);
    };
    auto edit = [&](ParamField field, int x, int y, int width) {
        edits_[size_t(field)] =
            ui.Place(new QLineEdit(this), x, y, width, 12, FieldInfo(field).controlId);
    };
    auto addressEdit = [&](ParamAddress a, int x, int y) {
        addressEdits_[size_t(a)] =
            ui.Place(new Ipv4AddressEdit(this), x, y, 76, 12, AddressInfo(a).controlId);
    };
    auto combo = [&](int id, const char* first, const char* second, int x, int y) {
        auto* c = new QComboBox(this);
        c->addItem(QString());
        c->addItem(QString());
        comboItems_.push_back({c, {first, second}});
        return ui.Place(c, x, y, 60, 13, id);
    };
    // A group frame with its write button in the bottom right corner and the
    // address note beside the button.
    auto group = [&](const char* caption, const char* note, ParamAction action, int x, int y,
                     int width, int height) {
        texts_.Set(ui.Group(QString(), x, y, width, height), caption);
        label(note, x + width - 124, y + height - 17, 70, 10, Qt::AlignRight | Qt::AlignVCenter);
        QPushButton* b =
            texts_.Set(ui.Button(int(action), {}, x + width - 50, y + height - 19, 44, 14),
                       QT_TR_NOOP("写入"));
        connect(b, &QPushButton::clicked, this, [this, action] { RunAction(action); });
    };

    // Left column: filters, component coefficients, network.
    const int lx = 7;
    const int lw = 256;
    group(QT_TR_NOOP("设置滤波器参数（写入完毕后立即生效）"), QT_TR_NOOP("地址：77....82"),
          ParamAction::Filters, lx, 4, lw, 84);
    const char* const bands[3] = {QT_TR_NOOP("振动速度带通滤波器带通频带范围："),
                                  QT_TR_NOOP("加速度带通滤波器带通频带范围："),
                                  QT_TR_NOOP("振动位移带通滤波器带通频带范围：")};
    for (int row = 0; row < 3; ++row) {
        const int y = 24 + 16 * row;
        label(bands[row], lx + 8, y + 1, 126);
        edit(ParamField(2 * row), lx + 136, y, 40);
        ui.Label(QStringLiteral("—"), lx + 178, y + 1, 8, 10, Qt::AlignCenter);
        edit(ParamField(2 * row + 1), lx + 188, y, 40);
        ui.Label(QStringLiteral("Hz"), lx + 231, y + 1, 14, 10, DialogControls::kLeft);
    }

    group(QT_TR_NOOP("设置部件特征参数（写入完毕后立即生效）"), QT_TR_NOOP("地址：103....107"),
          ParamAction::Components, lx, 92, lw, 106);
    const char* const components[5] = {
        QT_TR_NOOP("内圈特征系数："), QT_TR_NOOP("外圈特征系数："), QT_TR_NOOP("滚动体特征系数："),
        QT_TR_NOOP("保持架特征系数："), QT_TR_NOOP("叶片类特征系数：")};
    for (int row = 0; row < 5; ++row) {
        const int y = 106 + 16 * row;
        label(components[row], lx + 8, y + 1, 66);
        edit(ParamField(kFieldInnerRing + row), lx + 76, y, 50);
        label(QT_TR_NOOP("倍转频"), lx + 129, y + 1, 30);
    }

    group(QT_TR_NOOP("设置网络地址参数（写入完毕后需保存参数才能生效）"),
          QT_TR_NOOP("地址：111....118"), ParamAction::Network, lx, 202, lw, 76);
    const struct {
        ParamAddress address;
        const char* text;
        int x;
        int y;
    } addresses[4] = {
        {kAddressGateway, QT_TR_NOOP("网关："), lx + 8, 216},
        {kAddressSubnetMask, QT_TR_NOOP("子网掩码："), lx + 128, 216},
        {kAddressDns, QT_TR_NOOP("DNS："), lx + 8, 234},
        {kAddressSensor, QT_TR_NOOP("传感器IP："), lx + 128, 234},
    };
    for (const auto& a : addresses) {
        label(a.text, a.x, a.y + 1, 42);
        addressEdit(a.address, a.x + 42, a.y);
    }

    // Right column: ratio, speed source, manual speed, automatic speed.
    const int rx = 269;
    const int rw = 248;
    int y = 4;
    group(QT_TR_NOOP("设置传动比（写入完毕后需保存参数才能生效）"), QT_TR_NOOP("地址：120"),
          ParamAction::Ratio, rx, y, rw, 50);
    label(QT_TR_NOOP("传感器当前传动比系数："), rx + 8, y + 17, 90);
    edit(kFieldTransmissionRatio, rx + 100, y + 16, 50);

    y += 54;
    group(QT_TR_NOOP("设置传感器内部转速的来源（写入完毕后需保存参数才能生效）"),
          QT_TR_NOOP("地址：130"), ParamAction::SpeedSource, rx, y, rw, 50);
    label(QT_TR_NOOP("传感器内部转速信号源："), rx + 8, y + 17, 90);
    speedSource_ = combo(kControlSpeedSource, QT_TR_NOOP("自动识别"), QT_TR_NOOP("人工输入"),
                         rx + 100, y + 16);

    y += 54;
    group(QT_TR_NOOP("速度源1：设置人工输入转速（写入完毕后立即生效）"), QT_TR_NOOP("地址：67"),
          ParamAction::ManualSpeed, rx, y, rw, 50);
    label(QT_TR_NOOP("人工输入的配置转速值："), rx + 8, y + 17, 90);
    edit(kFieldManualSpeed, rx + 100, y + 16, 50);
    ui.Label(QStringLiteral("Hz"), rx + 153, y + 17, 14, 10, DialogControls::kLeft);

    y += 54;
    group(QT_TR_NOOP("速度源2：设置自动识别转速的模式（写入完毕后立即生效）"),
          QT_TR_NOOP("地址：131,132"), ParamAction::SpeedMode, rx, y, rw, 66);
    label(QT_TR_NOOP("转速自动识别工况模式："), rx + 8, y + 17, 90);
    speedMode_ = combo(kControlSpeedMode, QT_TR_NOOP("工频"), QT_TR_NOOP("变频"), rx + 100, y + 16);
    label(QT_TR_NOOP("额定参考转速:"), rx + 8, y + 35, 90);
    edit(kFieldRatedSpeed, rx + 100, y + 34, 50);
    ui.Label(QStringLiteral("Hz"), rx + 153, y + 35, 14, 10, DialogControls::kLeft);

    y += 72;
    QPushButton* save =
        texts_.Set(ui.Button(int(ParamAction::Save), {}, rx, y + 2, 50, 16), QT_TR_NOOP("保存"));
    connect(save, &QPushButton::clicked, this, [this] { RunAction(ParamAction::Save); });
    QLabel* warning = label(
        QT_TR_NOOP("（注意：以上参数写入后需点击保存，否则传感器断电重启后参数会恢复默认！）"),
        rx + 56, y, rw - 56, 30, Qt::AlignLeft | Qt::AlignTop);
    warning->setWordWrap(true);
    warning->setStyleSheet(QStringLiteral("color: #c00000;"));

    setFixedSize(ui.Units().Size(kDialogWidth, kDialogHeight));
}

void SettingParsDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
}

void SettingParsDlg::RetranslateTexts() {
    texts_.Retranslate();
    for (const auto& [combo, items] : comboItems_) {
        for (int i = 0; i < int(items.size()); ++i) combo->setItemText(i, tr(items[size_t(i)]));
    }
    if (!addressKnown_) {
        setWindowTitle(tr("设置传感器参数"));
        return;
    }
    const uint32_t address = endpoint_.address;
    const QString caption = tr("设置传感器参数,当前传感器IP为: %1.%2.%3.%4")
                                .arg(AddressOctet(address, 1))
                                .arg(AddressOctet(address, 2))
                                .arg(AddressOctet(address, 3))
                                .arg(AddressOctet(address, 4));
    // The window is not modal: among the station's windows its caption says
    // whose parameters it holds. Plain concatenation keeps a "%" of the name.
    setWindowTitle(sensor_ > 0
                       ? SensorTitle(sensor_, machineName_) + QStringLiteral(" - ") + caption
                       : caption);
}

void SettingParsDlg::SetMachine(int sensor, const QString& name) {
    sensor_ = sensor;
    machineName_ = name;
    RetranslateTexts();
}

void SettingParsDlg::SetSensorAddress(uint32_t address) {
    endpoint_.address = address;
    addressKnown_ = true;
    RetranslateTexts();
}

void SettingParsDlg::SetSensorPort(uint16_t port) {
    endpoint_.port = port;
}

void SettingParsDlg::SetSensorEndpoint(const SensorEndpoint& endpoint) {
    endpoint_ = endpoint;
    SetSensorAddress(endpoint.address);
}

void SettingParsDlg::SetManualSpeed(float hz) {
    values_.fields[kFieldManualSpeed] = hz;
    edits_[kFieldManualSpeed]->setText(FormatField(hz));
}

void SettingParsDlg::ShowGroup(ReadGroup group) {
    auto fields = [&](int first, int count) {
        for (int f = first; f < first + count; ++f) {
            edits_[size_t(f)]->setText(FormatField(values_.fields[size_t(f)]));
        }
    };
    switch (group) {
        case ReadGroup::Filters:
            fields(kFieldVelocityBandLow, 6);
            break;
        case ReadGroup::Components:
            fields(kFieldInnerRing, 5);
            break;
        case ReadGroup::Ratio:
            fields(kFieldTransmissionRatio, 1);
            break;
        case ReadGroup::Network:
            for (int a = 0; a < kParamAddressCount; ++a) {
                addressEdits_[size_t(a)]->SetAddress(values_.addresses[size_t(a)]);
            }
            break;
        case ReadGroup::SpeedSource:
            speedSource_->setCurrentIndex(values_.speedSource);
            break;
        case ReadGroup::SpeedMode:
            speedMode_->setCurrentIndex(values_.speedMode);
            break;
        case ReadGroup::RatedSpeed:
            fields(kFieldRatedSpeed, 1);
            break;
    }
}

void SettingParsDlg::ShowAll() {
    for (const ReadRequest& request : ReadRequests()) ShowGroup(request.group);
    edits_[kFieldManualSpeed]->setText(FormatField(values_.fields[kFieldManualSpeed]));
}

ReadOutcome SettingParsDlg::ReadFromSensor() {
    ReadOutcome outcome;
    {
        WaitCursor wait;
        outcome = ReadSensorParameters(endpoint_, values_);
    }
    // Only what the sensor answered changes on screen.
    for (size_t i = 0; i < ReadRequests().size(); ++i) {
        if (outcome.accepted[i]) ShowGroup(ReadRequests()[i].group);
    }
    return outcome;
}

ParamFormInput SettingParsDlg::ControlContents() const {
    ParamFormInput input;
    for (int f = 0; f < kParamFieldCount; ++f) {
        input.texts[size_t(f)] = edits_[size_t(f)]->text().toStdString();
    }
    for (int a = 0; a < kParamAddressCount; ++a) {
        input.addresses[size_t(a)] = addressEdits_[size_t(a)]->Address();
    }
    input.speedSource = speedSource_->currentIndex();
    input.speedMode = speedMode_->currentIndex();
    return input;
}

bool SettingParsDlg::RunAction(ParamAction action) {
    // Saving sends a constant; a write button takes the fields first, and
    // only its own group's fields must hold numbers.
    if (action != ParamAction::Save) {
        if (const auto error = TakeFormInput(ControlContents(), values_, ActionFields(action))) {
            NotifyParam(this, ErrorText(*error), ParamNoticeKind::Refusal);
            return false;
        }
    }
    const WritePlan plan = BuildWritePlan(action, values_);
    if (plan.error) {
        NotifyParam(this, ErrorText(*plan.error), ParamNoticeKind::Refusal);
        return false;
    }
    WriteOutcome outcome;
    {
        WaitCursor wait;
        outcome = ExecuteWritePlan(endpoint_, plan.writes);
    }
    NotifyParam(this, Translated(ActionMessage(action, outcome.Succeeded())),
                ParamNoticeKind::Result);
    return outcome.Succeeded();
}

void SettingParsDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (readDone_) return;
    readDone_ = true;
    SetSensorAddress(endpoint_.address);
    ReadFromSensor();
}

}  // namespace orsan
