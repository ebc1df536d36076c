#include "ServerSettingsDlg.h"

#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "Conninfo.h"
#include "EnterEscapeFilter.h"
#include "RecordDatabase.h"

namespace orsan {

ServerSettingsDlg::ServerSettingsDlg(const QString& configPath, QWidget* parent)
    : QDialog(parent), config_(configPath) {
    ConsumeEnterEscape(this);
    const ServerSettings loaded = LoadServerSettings(config_);
    // A secret written into Config.ini by hand is never put on screen.
    const std::string loadedConninfo = loaded.conninfo.toStdString();
    const bool loadedSecret = store::HasSecret(loadedConninfo);
    QString shownConninfo = loaded.conninfo;
    if (loadedSecret)
        shownConninfo = store::IsParsableConninfo(loadedConninfo)
                            ? QString::fromStdString(store::ShownConninfo(loadedConninfo))
                            : QString();

    conninfoEdit_ = new QLineEdit(shownConninfo, this);
    conninfoEdit_->setObjectName(QStringLiteral("conninfo"));
    conninfoEdit_->setMinimumWidth(conninfoEdit_->fontMetrics().averageCharWidth() * 80);
    stationEdit_ = new QLineEdit(loaded.station, this);
    stationEdit_->setObjectName(QStringLiteral("station"));
    stationEdit_->setPlaceholderText(DefaultStationName());

    auto* form = new QFormLayout;
    conninfoCaption_ = new QLabel(this);
    stationCaption_ = new QLabel(this);
    conninfoCaption_->setBuddy(conninfoEdit_);
    stationCaption_->setBuddy(stationEdit_);
    form->addRow(conninfoCaption_, conninfoEdit_);
    form->addRow(stationCaption_, stationEdit_);
    hint_ = new QLabel(this);
    hint_->setWordWrap(true);
    answer_ = new QLabel(this);
    answer_->setObjectName(QStringLiteral("answer"));
    answer_->setWordWrap(true);
    answer_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    answer_->setMinimumHeight(answer_->fontMetrics().height() * 5);

    testButton_ = new QPushButton(this);
    saveButton_ = new QPushButton(this);
    cancelButton_ = new QPushButton(this);
    for (QPushButton* b : {testButton_, saveButton_, cancelButton_}) b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(testButton_);
    buttons->addStretch();
    buttons->addWidget(saveButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint_);
    layout->addWidget(answer_);
    layout->addLayout(buttons);

    RetranslateTexts();
    if (loadedSecret)
        ShowRefusal(
            tr("Config.ini 的连接字符串中含有密码，这里不显示；保存后 Config.ini "
               "不再保存它，请把密码放在 ~/.pgpass、PGPASSFILE 或 PGPASSWORD 中。"));

    connect(testButton_, &QPushButton::clicked, this, &ServerSettingsDlg::StartTest);
    connect(saveButton_, &QPushButton::clicked, this, &ServerSettingsDlg::Save);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(&probe_, &QFutureWatcher<store::ServerAnswer>::finished, this,
            [this] { ShowAnswer(probe_.result()); });
}

ServerSettingsDlg::~ServerSettingsDlg() {
    // The probe finishes on its own in the thread pool; its answer is dropped.
    probe_.disconnect(this);
}

void ServerSettingsDlg::RetranslateTexts() {
    setWindowTitle(tr("数据服务器设置"));
    conninfoEdit_->setPlaceholderText(
        tr("host=服务器 port=5432 dbname=plant user=station sslmode=prefer"));
    conninfoCaption_->setText(tr("连接字符串:"));
    stationCaption_->setText(tr("本站名称:"));
    hint_->setText(
        tr("密码不要写在连接字符串中：请放在 ~/.pgpass、PGPASSFILE 或 PGPASSWORD 中。"
           "连接字符串留空则不向服务器发送。"));
    testButton_->setText(tr("测试连接"));
    saveButton_->setText(tr("保存"));
    cancelButton_->setText(tr("取消"));
}

void ServerSettingsDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
    QDialog::changeEvent(event);
}

ServerSettings ServerSettingsDlg::Settings() const {
    ServerSettings settings;
    settings.conninfo = conninfoEdit_->text().trimmed();
    settings.station = stationEdit_->text().trimmed();
    if (settings.station.isEmpty()) settings.station = DefaultStationName();
    return settings;
}

void ServerSettingsDlg::StartTest() {
    const std::string conninfo = conninfoEdit_->text().trimmed().toStdString();
    const std::string station = Settings().station.toStdString();
    const std::string databasePath =
        RecordDatabase::PathIn(QFileInfo(config_.Path()).absolutePath()).toStdString();
    testButton_->setEnabled(false);
    answer_->setStyleSheet(QString());
    answer_->setText(
        tr("正在连接 %1 …").arg(QString::fromStdString(store::ShownConninfo(conninfo))));
    probe_.setFuture(QtConcurrent::run([conninfo, station, databasePath] {
        return store::ProbeServer(conninfo, station, databasePath);
    }));
}

void ServerSettingsDlg::ShowAnswer(const store::ServerAnswer& answer) {
    testButton_->setEnabled(true);
    answer_->setStyleSheet(answer.ok ? QStringLiteral("color: rgb(0, 128, 0);")
                                     : QStringLiteral("color: rgb(255, 0, 0);"));
    answer_->setText(QString::fromStdString(answer.text));
}

void ServerSettingsDlg::ShowRefusal(const QString& text) {
    answer_->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    answer_->setText(text);
}

void ServerSettingsDlg::Save() {
    ServerSettings settings = Settings();
    if (store::HasSecret(settings.conninfo.toStdString())) {
        ShowRefusal(
            tr("连接字符串中含有密码，未保存：Config.ini 不保存密码，"
               "请把密码放在 ~/.pgpass、PGPASSFILE 或 PGPASSWORD 中。"));
        return;
    }
    // An empty name is kept empty in the file, so it follows the host name.
    settings.station = stationEdit_->text().trimmed();
    // A string libpq cannot read would only fail later, without a word here.
    if (!settings.conninfo.isEmpty() &&
        !store::IsParsableConninfo(settings.conninfo.toStdString())) {
        ShowRefusal(tr("连接字符串无法解析，未保存: %1").arg(settings.conninfo));
        return;
    }
    if (!SaveServerSettings(config_, settings)) {
        ShowRefusal(tr("无法写入 %1").arg(config_.Path()));
        return;
    }
    accept();
}

}  // namespace orsan
