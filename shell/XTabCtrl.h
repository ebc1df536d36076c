#pragma once

#include <QColor>
#include <QPixmap>
#include <QTabBar>
#include <QTabWidget>
#include <QVector>
#include <QWidget>

namespace orsan {

class XTabBar;

// Tab control whose tabs own page widgets. The control shows the page of the
// selected tab and hides the others, draws the captions (each tab as wide as
// its own; when the row cannot hold them all, the widest are shortened to
// fit, whole in their tool tips) itself on a yellow
// background with their images, and keeps one enabled flag per tab: choosing
// a disabled tab snaps the selection back to the tab selected before.
//
// Pages become children of the control and keep their size; they are placed
// at (2, 1) when fixed page placement is on, otherwise at the page origin
// (x, y + 2). The tab strip stays above the pages; with fixed placement put
// it at the bottom (SetTabPosition(QTabWidget::South)) so pages do not sit
// under it.
class XTabCtrl : public QWidget {
    Q_OBJECT
public:
    static inline const QColor kTabBackground{255, 255, 0};

    explicit XTabCtrl(QWidget* parent = nullptr);
    ~XTabCtrl() override;

    // Images by index, cut from a strip of `imageWidth`-wide images; pixels
    // of `transparent` become transparent.
    void SetImageList(const QPixmap& strip, int imageWidth = 18,
                      const QColor& transparent = QColor(0, 255, 0));
    void SetImages(const QVector<QPixmap>& images);
    int ImageCount() const { return images_.size(); }

    void SetFixedPagePlacement(bool fixed) { fixedPlacement_ = fixed; }
    bool FixedPagePlacement() const { return fixedPlacement_; }
    void SetPageOrigin(int x, int y);
    QPoint PageOrigin() const { return pageOrigin_; }
    void SetTabPosition(QTabWidget::TabPosition position);  // North or South

    // Appends a tab that takes ownership of `page`.
    void AddTab(QWidget* page, const QString& caption, int imageIndex);
    // Replaces the page (the old one is destroyed), caption and image of a tab.
    void ChangeTab(int index, QWidget* page, const QString& caption, int imageIndex);
    // Removes tabs together with their pages and flags.
    void DeleteTab(int index);
    void DeleteAllTabs();

    void EnableTab(int index, bool enable = true);
    bool IsTabEnabled(int index) const;

    // Each returns true when the selection changed; only an enabled tab other
    // than the current one can be selected.
    bool SelectTab(int index);
    bool SelectTabByName(const QString& caption);  // compares at most 63 characters
    bool SelectNextTab();                          // next enabled tab, no wrap
    bool SelectPrevTab();                          // previous enabled tab, no wrap

    // Text colours; setting the hover colour turns hover tracking on.
    void SetSelectedColor(const QColor& color);
    void SetDisabledColor(const QColor& color);
    void SetNormalColor(const QColor& color);
    void SetHoverColor(const QColor& color);

    int Count() const;
    int CurrentIndex() const;
    int PreviousIndex() const { return previous_; }
    int HoverIndex() const;
    QWidget* Page(int index) const;
    QString Caption(int index) const;
    int ImageIndex(int index) const;
    QTabBar* TabBar() const;

    // A colour of its own for one tab's caption while enabled, selected or
    // not, so the tab stands out; an invalid colour ends it.
    void SetTabAlertColor(int index, const QColor& color);
    // A background of its own for one tab in place of the yellow, so an
    // alarm can colour (and, set by turns, flash) it; invalid ends it.
    void SetTabAlertBackground(int index, const QColor& color);
    QColor TabBackground(int index) const;
    // An edge of its own for one tab, wider than the frame, over its own
    // background (an alarm that needs only an acknowledgement); invalid ends it.
    void SetTabAlertOutline(int index, const QColor& color);
    QColor TabOutline(int index) const;

    // Text colour a tab is drawn with right now.
    QColor TextColor(int index) const;

signals:
    void CurrentTabChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class XTabBar;

    void OnCurrentChanged(int index);
    void PlacePage(QWidget* page) const;
    void ShowOnly(int index);
    void LayoutBar();

    XTabBar* bar_;
    QVector<bool> enabled_;
    QVector<QWidget*> pages_;
    QVector<int> imageIndexes_;
    QVector<QColor> alertColors_;
    QVector<QColor> alertBackgrounds_;
    QVector<QColor> alertOutlines_;
    QVector<QPixmap> images_;
    bool fixedPlacement_ = false;
    QPoint pageOrigin_{4, 25};
    int previous_ = 0;
    int shown_ = -1;         // tab whose page is visible
    bool settling_ = false;  // a snap-back or a removal is under way

    QColor selectedColor_, disabledColor_, normalColor_, hoverColor_;
    bool selectedSet_ = false, disabledSet_ = false, normalSet_ = false, hoverEnabled_ = false;
};

}  // namespace orsan
