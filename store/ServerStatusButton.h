#pragma once

#include <QPushButton>

#include "StoreForwarder.h"

namespace orsan {

// The main window's server state, which opens the server settings when
// clicked: "服务器: 已连接 · 待发送 N 行" and the like, with the server and the
// last error in its tool tip; red while retrying.
class ServerStatusButton : public QPushButton {
    Q_OBJECT
public:
    explicit ServerStatusButton(QWidget* parent = nullptr);
    void Show(const store::StoreStatus& status);

protected:
    void changeEvent(QEvent* event) override;

private:
    store::StoreStatus shown_;  // shown again in the new language
};

}  // namespace orsan
