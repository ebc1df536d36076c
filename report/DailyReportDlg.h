#pragma once

#include <QDate>
#include <QDialog>
#include <QString>

class QDateEdit;
class QLabel;
class QPushButton;

namespace orsan {

// "生成日报": the day of a daily report, up to today.
class DailyReportDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDayId = 1240;

    // shown: the day it opens on; yesterday when invalid.
    DailyReportDlg(QDate shown, QWidget* parent = nullptr);
    QDate Day() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void RetranslateTexts();

    QDateEdit* day_ = nullptr;
    QLabel* caption_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// The record page's report: a day (yesterday to start with), a file (the
// desktop's Report_YYYYMMDD.pdf to start with), then the PDF written by a
// ReportProcess owned by parent and opened; a failure is shown in a message.
void ChooseAndWriteDailyReport(QWidget* parent, const QString& dataDir, const QString& desktopDir);

}  // namespace orsan
