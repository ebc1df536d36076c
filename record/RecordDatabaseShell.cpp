#include "RecordDatabaseShell.h"

#include "MessageDlg.h"
#include "RecordDatabase.h"

namespace orsan {

bool OpenRecordDatabase(RecordDatabase& database, const QString& dataFolder) {
    if (database.Open(dataFolder)) return true;
    ShowMessage(kDatabaseConnectFailedText);
    return false;
}

void CloseRecordDatabase(RecordDatabase& database) {
    database.Close();
}

}  // namespace orsan
