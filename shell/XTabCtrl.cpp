#include "XTabCtrl.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <algorithm>
#include <vector>

#include "DialogUnits.h"

namespace orsan {

namespace {

constexpr int kEdgeHeight = 2;     // the tab frame's edge
constexpr int kCaptionChars = 63;  // captions are compared with this many characters
constexpr int kTabPaddingX = 4;
constexpr int kTabPaddingY = 6;
const QPoint kFixedPagePlace{2, 1};

}  // namespace

// The strip of the control: fixed-size tabs, every tab drawn by the control.
class XTabBar : public QTabBar {
public:
    explicit XTabBar(XTabCtrl* owner) : QTabBar(owner), owner_(owner) {
        setDrawBase(false);
        setExpanding(false);
        setElideMode(Qt::ElideNone);
        setUsesScrollButtons(true);
        setFocusPolicy(Qt::TabFocus);
    }

    int Hover() const { return hover_; }

    // True when the row is too narrow for the tab's whole caption.
    bool IsShortened(int index) const { return FittedWidth(index) < NaturalWidth(index); }

    void SetHoverTracking(bool on) {
        setMouseTracking(on);
        if (!on) SetHover(-1);
    }

protected:
    // Each tab as wide as its own caption with its image.
    int NaturalWidth(int index) const {
        const QFontMetrics metrics(font());
        const int imageWidth =
            owner_->images_.isEmpty()
                ? 0
                : owner_->images_.front().width() + metrics.horizontalAdvance(QLatin1Char(' '));
        return metrics.horizontalAdvance(tabText(index)) + imageWidth + 2 * kTabPaddingX;
    }

    // The natural width, unless the row would not hold every tab: then the
    // widest tabs share what is left equally and shorten their captions,
    // so no tab is ever out of sight behind the scroll buttons.
    int FittedWidth(int index) const {
        const int natural = NaturalWidth(index);
        const int available = owner_->width() - 4;
        if (available <= 0) return natural;
        std::vector<int> widths;
        int total = 0;
        for (int i = 0; i < count(); ++i) {
            widths.push_back(NaturalWidth(i));
            total += widths.back();
        }
        if (total <= available) return natural;
        std::sort(widths.begin(), widths.end());
        int rest = available;
        for (size_t k = 0; k < widths.size(); ++k) {
            const int share = rest / int(widths.size() - k);
            if (widths[k] > share) return std::min(natural, share);
            rest -= widths[k];
        }
        return natural;
    }

    QSize tabSizeHint(int index) const override {
        const QFontMetrics metrics(font());
        const int imageHeight = owner_->images_.isEmpty() ? 0 : owner_->images_.front().height();
        return QSize(FittedWidth(index),
                     std::max(metrics.height(), imageHeight) + kTabPaddingY + kEdgeHeight);
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const bool south = shape() == QTabBar::RoundedSouth || shape() == QTabBar::TriangularSouth;
        // The selected tab last, so its frame lies over its neighbours'.
        for (int i = 0; i < count(); ++i) {
            if (i != currentIndex()) DrawTab(painter, i, south);
        }
        if (currentIndex() >= 0) DrawTab(painter, currentIndex(), south);
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (hasMouseTracking()) {
            const int under = tabAt(event->position().toPoint());
            SetHover(under >= 0 && owner_->IsTabEnabled(under) ? under : -1);
        }
        QTabBar::mouseMoveEvent(event);
    }

    void leaveEvent(QEvent* event) override {
        SetHover(-1);
        QTabBar::leaveEvent(event);
    }

private:
    void SetHover(int index) {
        if (index == hover_) return;
        const int old = hover_;
        hover_ = index;
        if (old >= 0 && old < count()) update(tabRect(old));
        if (index >= 0) update(tabRect(index));
    }

    void DrawTab(QPainter& painter, int index, bool south) {
        const bool selected = index == currentIndex();
        QRect rect = tabRect(index);
        // Unselected tabs stand a little lower, as on a classic tab control.
        if (!selected)
            rect =
                south ? rect.adjusted(0, 0, 0, -kEdgeHeight) : rect.adjusted(0, kEdgeHeight, 0, 0);

        painter.save();
        QPainterPath outline;
        const QRectF frame = QRectF(rect).adjusted(0.5, 0.5, -0.5, south ? -0.5 : 0.5);
        outline.addRoundedRect(frame, 3, 3);
        // Square off the corners that meet the page area.
        outline = outline.united(QPainterPath([&] {
            QPainterPath p;
            p.addRect(south ? QRectF(frame.left(), frame.top(), frame.width(), 4)
                            : QRectF(frame.left(), frame.bottom() - 4, frame.width(), 4));
            return p;
        }()));
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.fillPath(outline, owner_->TabBackground(index));
        painter.setPen(QPen(selected ? QColor(96, 96, 96) : QColor(150, 150, 150), 1));
        painter.drawPath(outline);
        if (const QColor edge = owner_->TabOutline(index); edge.isValid()) {
            painter.setPen(QPen(edge, 2));
            painter.drawPath(outline);
        }
        painter.setRenderHint(QPainter::Antialiasing, false);

        // Image: one blank in from the left, top at the frame edge.
        QRect content = rect.adjusted(0, kEdgeHeight, 0, 0);
        const int image = owner_->ImageIndex(index);
        if (image >= 0 && image < owner_->images_.size()) {
            const QPixmap& pixmap = owner_->images_[image];
            content.setLeft(content.left() +
                            painter.fontMetrics().horizontalAdvance(QLatin1Char(' ')));
            const int top = content.top() + (content.height() - kEdgeHeight - pixmap.height()) / 2;
            painter.drawPixmap(content.left(), top, pixmap);
            content.setLeft(content.left() + pixmap.width());
        }
        content.setTop(content.top() - kEdgeHeight);
        painter.setPen(owner_->TextColor(index));
        painter.drawText(content, Qt::AlignCenter | Qt::TextSingleLine,
                         painter.fontMetrics().elidedText(tabText(index), Qt::ElideRight,
                                                          content.width() - kTabPaddingX));
        painter.restore();
    }

    XTabCtrl* owner_;
    int hover_ = -1;
};

XTabCtrl::XTabCtrl(QWidget* parent) : QWidget(parent), bar_(new XTabBar(this)) {
    setFont(DialogFont());
    bar_->setFont(font());
    connect(bar_, &QTabBar::currentChanged, this, &XTabCtrl::OnCurrentChanged);
    LayoutBar();
}

XTabCtrl::~XTabCtrl() {
    // Pages and the strip die with the control as its children; no selection
    // handling may run on a half-destroyed control meanwhile.
    settling_ = true;
    disconnect(bar_, nullptr, this, nullptr);
}

void XTabCtrl::SetImageList(const QPixmap& strip, int imageWidth, const QColor& transparent) {
    QVector<QPixmap> images;
    if (imageWidth > 0) {
        for (int x = 0; x + imageWidth <= strip.width(); x += imageWidth) {
            QPixmap image = strip.copy(x, 0, imageWidth, strip.height());
            image.setMask(image.createMaskFromColor(transparent, Qt::MaskInColor));
            images.append(image);
        }
    }
    SetImages(images);
}

void XTabCtrl::SetImages(const QVector<QPixmap>& images) {
    images_ = images;
    bar_->setIconSize(images_.isEmpty() ? QSize() : images_.front().size());
    LayoutBar();
    bar_->update();
}

void XTabCtrl::SetPageOrigin(int x, int y) {
    pageOrigin_ = QPoint(x, y);
}

void XTabCtrl::SetTabPosition(QTabWidget::TabPosition position) {
    bar_->setShape(position == QTabWidget::South ? QTabBar::RoundedSouth : QTabBar::RoundedNorth);
    LayoutBar();
    update();
}

void XTabCtrl::PlacePage(QWidget* page) const {
    page->move(fixedPlacement_ ? kFixedPagePlace : pageOrigin_ + QPoint(0, 2));
}

void XTabCtrl::AddTab(QWidget* page, const QString& caption, int imageIndex) {
    if (!page) return;
    page->setParent(this);
    PlacePage(page);
    page->hide();
    pages_.append(page);
    enabled_.append(true);
    imageIndexes_.append(imageIndex);
    alertColors_.append(QColor());
    alertBackgrounds_.append(QColor());
    alertOutlines_.append(QColor());
    // The first tab becomes current here and shows its page.
    bar_->addTab(caption);
    bar_->raise();
    LayoutBar();
}

void XTabCtrl::ChangeTab(int index, QWidget* page, const QString& caption, int imageIndex) {
    if (index < 0 || index >= Count()) return;
    if (page && page != pages_[index]) {
        QWidget* old = pages_[index];
        page->setParent(this);
        PlacePage(page);
        pages_[index] = page;
        page->setVisible(index == shown_);
        bar_->raise();
        delete old;
    }
    imageIndexes_[index] = imageIndex;
    bar_->setTabText(index, caption);
    LayoutBar();
    bar_->update();
}

void XTabCtrl::DeleteTab(int index) {
    if (index < 0 || index >= Count()) return;
    settling_ = true;
    bar_->removeTab(index);
    settling_ = false;
    QWidget* page = pages_.takeAt(index);
    enabled_.removeAt(index);
    imageIndexes_.removeAt(index);
    alertColors_.removeAt(index);
    alertBackgrounds_.removeAt(index);
    alertOutlines_.removeAt(index);
    delete page;

    if (previous_ > index) --previous_;
    if (previous_ >= Count()) previous_ = 0;
    if (index < shown_) {
        --shown_;
    } else if (index == shown_) {
        shown_ = -1;
        int next = bar_->currentIndex();
        if (next >= 0 && !enabled_[next]) {
            // The strip chose a disabled neighbour: take the nearest enabled one.
            int pick = -1;
            for (int i = next; i < Count() && pick < 0; ++i)
                if (enabled_[i]) pick = i;
            for (int i = next; i >= 0 && pick < 0; --i)
                if (enabled_[i]) pick = i;
            if (pick >= 0) {
                settling_ = true;
                bar_->setCurrentIndex(pick);
                settling_ = false;
                next = pick;
            }
        }
        if (next >= 0) ShowOnly(next);
    }
    LayoutBar();
}

void XTabCtrl::DeleteAllTabs() {
    while (Count() > 0) DeleteTab(Count() - 1);
    previous_ = 0;
    shown_ = -1;
}

void XTabCtrl::EnableTab(int index, bool enable) {
    if (index < 0 || index >= Count() || enabled_[index] == enable) return;
    enabled_[index] = enable;
    bar_->update(bar_->tabRect(index));
}

bool XTabCtrl::IsTabEnabled(int index) const {
    return index >= 0 && index < enabled_.size() && enabled_[index];
}

bool XTabCtrl::SelectTab(int index) {
    if (!IsTabEnabled(index) || index == CurrentIndex()) return false;
    bar_->setCurrentIndex(index);
    return CurrentIndex() == index;
}

bool XTabCtrl::SelectTabByName(const QString& caption) {
    const QString wanted = caption.left(kCaptionChars);
    for (int i = 0; i < Count(); ++i) {
        if (Caption(i).left(kCaptionChars) == wanted) return SelectTab(i);
    }
    return false;
}

bool XTabCtrl::SelectNextTab() {
    for (int i = CurrentIndex() + 1; i < Count(); ++i) {
        if (IsTabEnabled(i)) return SelectTab(i);
    }
    return false;
}

bool XTabCtrl::SelectPrevTab() {
    for (int i = CurrentIndex() - 1; i >= 0; --i) {
        if (IsTabEnabled(i)) return SelectTab(i);
    }
    return false;
}

void XTabCtrl::SetSelectedColor(const QColor& color) {
    selectedColor_ = color;
    selectedSet_ = true;
    bar_->update();
}

void XTabCtrl::SetDisabledColor(const QColor& color) {
    disabledColor_ = color;
    disabledSet_ = true;
    bar_->update();
}

void XTabCtrl::SetNormalColor(const QColor& color) {
    normalColor_ = color;
    normalSet_ = true;
    bar_->update();
}

void XTabCtrl::SetHoverColor(const QColor& color) {
    hoverColor_ = color;
    hoverEnabled_ = true;
    bar_->SetHoverTracking(true);
    bar_->update();
}

int XTabCtrl::Count() const {
    return bar_->count();
}
int XTabCtrl::CurrentIndex() const {
    return bar_->currentIndex();
}
int XTabCtrl::HoverIndex() const {
    return hoverEnabled_ ? bar_->Hover() : -1;
}
QWidget* XTabCtrl::Page(int index) const {
    return index >= 0 && index < pages_.size() ? pages_[index] : nullptr;
}
QString XTabCtrl::Caption(int index) const {
    return bar_->tabText(index);
}
int XTabCtrl::ImageIndex(int index) const {
    return index >= 0 && index < imageIndexes_.size() ? imageIndexes_[index] : -1;
}
QTabBar* XTabCtrl::TabBar() const {
    return bar_;
}

void XTabCtrl::SetTabAlertColor(int index, const QColor& color) {
    // Flashing sets it twice a second; an unchanged colour costs no repaint.
    if (index < 0 || index >= Count() || alertColors_[index] == color) return;
    alertColors_[index] = color;
    bar_->update();
}

void XTabCtrl::SetTabAlertBackground(int index, const QColor& color) {
    if (index < 0 || index >= Count() || alertBackgrounds_[index] == color) return;
    alertBackgrounds_[index] = color;
    bar_->update();
}

void XTabCtrl::SetTabAlertOutline(int index, const QColor& color) {
    if (index < 0 || index >= Count() || alertOutlines_[index] == color) return;
    alertOutlines_[index] = color;
    bar_->update();
}

QColor XTabCtrl::TabOutline(int index) const {
    return index >= 0 && index < alertOutlines_.size() ? alertOutlines_[index] : QColor();
}

QColor XTabCtrl::TabBackground(int index) const {
    const bool alert =
        index >= 0 && index < alertBackgrounds_.size() && alertBackgrounds_[index].isValid();
    return alert ? alertBackgrounds_[index] : kTabBackground;
}

QColor XTabCtrl::TextColor(int index) const {
    const QPalette& pal = palette();
    const QColor buttonText = pal.color(QPalette::Active, QPalette::ButtonText);
    if (!IsTabEnabled(index)) {
        return disabledSet_ ? disabledColor_ : pal.color(QPalette::Disabled, QPalette::ButtonText);
    }
    if (index < alertColors_.size() && alertColors_[index].isValid()) return alertColors_[index];
    if (index == CurrentIndex()) return selectedSet_ ? selectedColor_ : buttonText;
    if (hoverEnabled_ && index == bar_->Hover()) return hoverColor_;
    return normalSet_ ? normalColor_ : buttonText;
}

void XTabCtrl::OnCurrentChanged(int index) {
    if (settling_) return;
    if (index < 0) {
        shown_ = -1;
        return;
    }
    if (!IsTabEnabled(index)) {
        // Back to the tab selected before; its page never went away.
        settling_ = true;
        bar_->setCurrentIndex(shown_ >= 0 ? shown_ : previous_);
        settling_ = false;
        return;
    }
    if (shown_ >= 0) previous_ = shown_;
    ShowOnly(index);
    emit CurrentTabChanged(index);
}

void XTabCtrl::ShowOnly(int index) {
    if (shown_ >= 0 && shown_ != index && shown_ < pages_.size()) pages_[shown_]->hide();
    shown_ = index;
    if (QWidget* page = Page(index)) page->show();
    bar_->raise();
}

void XTabCtrl::LayoutBar() {
    const int height = bar_->sizeHint().height();
    const bool south = bar_->shape() == QTabBar::RoundedSouth;
    bar_->setGeometry(2, south ? this->height() - height : 0, std::max(0, width() - 4), height);
    // A shortened caption is there whole in its tool tip.
    for (int i = 0; i < bar_->count(); ++i)
        bar_->setTabToolTip(i, bar_->IsShortened(i) ? bar_->tabText(i) : QString());
}

void XTabCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutBar();
}

void XTabCtrl::paintEvent(QPaintEvent*) {
    // The page area's frame; the strip draws the tabs.
    QPainter painter(this);
    const bool south = bar_->shape() == QTabBar::RoundedSouth;
    const int barHeight = bar_->height();
    QRect pane = rect();
    if (south)
        pane.setBottom(pane.bottom() - barHeight + 1);
    else
        pane.setTop(barHeight - 1);
    painter.setPen(QColor(150, 150, 150));
    painter.drawRect(pane.adjusted(0, 0, -1, -1));
}

}  // namespace orsan
