#include "DailyReportDlg.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "DailyReport.h"
#include "DesktopShell.h"
#include "DialogUnits.h"
#include "MessageDlg.h"
#include "ReportProcess.h"

namespace orsan {

DailyReportDlg::DailyReportDlg(QDate shown, QWidget* parent) : QDialog(parent) {
    setFont(DialogFont());
    caption_ = new QLabel(this);
    day_ = new QDateEdit(this);
    day_->setObjectName(QStringLiteral("id%1").arg(kDayId));
    day_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    day_->setCalendarPopup(true);
    day_->setMaximumDate(QDate::currentDate());
    day_->setDate(shown.isValid() ? shown : QDate::currentDate().addDays(-1));
    ok_ = new QPushButton(this);
    ok_->setDefault(true);
    cancel_ = new QPushButton(this);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(caption_);
    row->addWidget(day_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    RetranslateTexts();
}

QDate DailyReportDlg::Day() const {
    return day_->date();
}

void DailyReportDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
    QDialog::changeEvent(event);
}

void DailyReportDlg::RetranslateTexts() {
    setWindowTitle(tr("生成日报"));
    caption_->setText(tr("日期："));
    ok_->setText(tr("生成"));
    cancel_->setText(tr("取消"));
}

void ChooseAndWriteDailyReport(QWidget* parent, const QString& dataDir, const QString& desktopDir) {
    // Yesterday: the last whole day, the one a report is usually wanted of.
    DailyReportDlg chooser(QDate::currentDate().addDays(-1), parent);
    if (chooser.exec() != QDialog::Accepted) return;
    const QDate day = chooser.Day();
    const QString path =
        QFileDialog::getSaveFileName(parent, DailyReportDlg::tr("保存日报"),
                                     desktopDir + QLatin1Char('/') + DailyReportFileName(day),
                                     DailyReportDlg::tr("PDF 文件 (*.pdf)"));
    if (path.isEmpty()) return;
    // Recording goes on meanwhile; the file opens when it is there.
    auto* writer = new ReportProcess(QCoreApplication::applicationFilePath(), parent);
    QObject::connect(writer, &ReportProcess::finished, writer,
                     [writer, path](bool written, const QString& reason) {
                         writer->deleteLater();
                         if (written)
                             OpenExportedFile(path);
                         else
                             ShowMessage(reason);
                     });
    writer->Start(dataDir, day, path);
}

}  // namespace orsan
