#pragma once

#include <QString>
#include <QWidget>

namespace orsan {

// Shows a picture file stretched to the control. The file is read again at
// every paint, so replacing or removing it shows at the next repaint.
class DXPNGCTL : public QWidget {
    Q_OBJECT
public:
    explicit DXPNGCTL(QWidget* parent = nullptr);

    void SetImagePath(const QString& path);
    const QString& ImagePath() const { return imagePath_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString imagePath_ = QStringLiteral("res/demo.png");
};

}  // namespace orsan
