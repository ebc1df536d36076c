#include "RecordDatabaseShell.h"

#include <QCoreApplication>

#include "MessageDlg.h"
#include "RecordDatabase.h"

namespace orsan {

bool OpenRecordDatabase(RecordDatabase& database, const QString& dataFolder) {
    if (database.Open(dataFolder)) return true;
    ShowMessage(
        QCoreApplication::translate("orsan::RecordDatabaseShell", kDatabaseConnectFailedText));
    return false;
}

void CloseRecordDatabase(RecordDatabase& database) {
    database.Close();
}

}  // namespace orsan
