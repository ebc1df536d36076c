#pragma once

#include <QDialog>
#include <QFutureWatcher>

#include "IniFile.h"
#include "ServerProbe.h"
#include "ServerSettings.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace orsan {

// Edits the [SERVER] section of Config.ini: the connection string and the
// station's name. "测试连接" asks the server on a worker thread and shows
// its answer; "保存" writes both keys and accepts.
class ServerSettingsDlg : public QDialog {
    Q_OBJECT
public:
    explicit ServerSettingsDlg(const QString& configPath, QWidget* parent = nullptr);
    ~ServerSettingsDlg() override;

    ServerSettings Settings() const;

    QLineEdit* ConninfoEdit() const { return conninfoEdit_; }
    QLineEdit* StationEdit() const { return stationEdit_; }
    QPushButton* TestButton() const { return testButton_; }
    QPushButton* SaveButton() const { return saveButton_; }
    QLabel* Answer() const { return answer_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void RetranslateTexts();
    void StartTest();
    void ShowAnswer(const store::ServerAnswer& answer);
    void Save();
    void ShowRefusal(const QString& text);  // in red in the answer line

    INIFILE config_;
    QLabel* conninfoCaption_;
    QLineEdit* conninfoEdit_;
    QLabel* stationCaption_;
    QLineEdit* stationEdit_;
    QLabel* hint_;
    QPushButton* testButton_;
    QPushButton* saveButton_;
    QPushButton* cancelButton_;
    QLabel* answer_;
    QFutureWatcher<store::ServerAnswer> probe_;
};

}  // namespace orsan
