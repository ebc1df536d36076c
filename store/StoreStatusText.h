#pragma once

#include <QString>

#include "StoreForwarder.h"

namespace orsan {

// The window's one-line server state: "服务器: 已连接 · 待发送 N 行",
// "服务器: 重试中 · 待发送 N 行" (the error goes to the tool tip) or
// "服务器: 未配置"; " · 冲突 N 行" follows once readings met other values
// on the server.
QString StoreStatusLine(const store::StoreStatus& status);

// The standard-error line of a change: connected, or a new error.
QString StoreChangeMessage(const store::StoreStatus& status);

// The standard-error line, told once, when readings first met other values
// on the server.
QString StoreConflictMessage(const store::StoreStatus& status);

}  // namespace orsan
