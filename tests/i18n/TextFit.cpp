#include "TextFit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <algorithm>

#include "XTabCtrl.h"

namespace orsan::test {

namespace {

// The width of the widest line: its advance, or less where its ink ends
// sooner (a full-width closing bracket carries blank room after its ink,
// which may fall outside the control).
int Width(const QWidget* widget, const QString& text) {
    const QFontMetrics metrics(widget->font());
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, std::min(metrics.horizontalAdvance(line),
                                           metrics.boundingRect(line).right() + 1));
    return widest;
}

int Metric(const QWidget* widget, QStyle::PixelMetric metric) {
    return widget->style()->pixelMetric(metric, nullptr, widget);
}

QString Name(const QWidget* w) {
    QString name = QString::fromLatin1(w->metaObject()->className());
    for (const QObject* o = w; o; o = o->parent())
        if (!o->objectName().isEmpty()) name += QLatin1Char(' ') + o->objectName();
    return name;
}

// Records text when it needs more than room, with `extra` pixels beside the text.
void Need(std::vector<Misfit>& out, const QWidget* w, const QString& text, int extra, int room) {
    if (!text.isEmpty() && Width(w, text) + extra > room)
        out.push_back({Name(w), text, Width(w, text) + extra, room});
}

void Visit(std::vector<Misfit>& out, const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (!label->pixmap().isNull() || label->textFormat() == Qt::RichText) return;
        const int height = label->heightForWidth(w->width());
        if (label->wordWrap() && height > w->height())
            out.push_back({Name(w), label->text(), height, w->height()});  // pixels of height
        else if (!label->wordWrap())
            Need(out, w, label->text(), 2 * label->margin() + std::max(label->indent(), 0),
                 label->contentsRect().width());
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        const bool check =
            qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w);
        const int extra =
            check
                ? Metric(w, QStyle::PM_IndicatorWidth) + Metric(w, QStyle::PM_CheckBoxLabelSpacing)
                : 2 * Metric(w, QStyle::PM_DefaultFrameWidth) +
                      (button->icon().isNull() ? 0 : button->iconSize().width() + 4);
        Need(out, w, QString(button->text()).remove(QLatin1Char('&')), extra, w->width());
    } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
        // The title starts a few pixels in and needs a gap before the frame goes on.
        Need(out, w, group->title(), 16, w->width());
    } else if (const auto* bar = qobject_cast<const QTabBar*>(w)) {
        // The station's tab control draws an image and a blank before each caption.
        const auto* owner = qobject_cast<const XTabCtrl*>(bar->parent());
        for (int i = 0; i < bar->count(); ++i) {
            const int image =
                owner && owner->ImageIndex(i) >= 0 && owner->ImageCount() > 0
                    ? 18 + QFontMetrics(bar->font()).horizontalAdvance(QLatin1Char(' '))
                    : (bar->tabIcon(i).isNull() ? 0 : bar->iconSize().width() + 4);
            Need(out, w, bar->tabText(i), 8 + image, bar->tabRect(i).width());
        }
    } else if (const auto* header = qobject_cast<const QHeaderView*>(w)) {
        if (header->orientation() != Qt::Horizontal || !header->model()) return;
        for (int i = 0; i < header->count(); ++i)
            if (!header->isSectionHidden(i))
                Need(out, w, header->model()->headerData(i, Qt::Horizontal).toString(),
                     2 * Metric(w, QStyle::PM_HeaderMargin), header->sectionSize(i));
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        // A hint shows while the edit is empty, inside its frame and text margins.
        if (edit->text().isEmpty())
            Need(out, w, edit->placeholderText(), 2 * Metric(w, QStyle::PM_DefaultFrameWidth) + 4,
                 w->width());
    } else if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
        // The drop-down arrow and the frame beside the item.
        const int extra = Metric(w, QStyle::PM_ScrollBarExtent) +
                          2 * Metric(w, QStyle::PM_ComboBoxFrameWidth) + 4;
        for (int i = 0; i < combo->count() && !combo->isEditable(); ++i)
            Need(out, w, combo->itemText(i), extra, w->width());
    }
}

}  // namespace

std::vector<Misfit> FindMisfits(const QWidget* root) {
    std::vector<Misfit> misfits;
    Visit(misfits, root);
    for (const QWidget* w : root->findChildren<QWidget*>())
        if (w->isVisibleTo(root)) Visit(misfits, w);
    return misfits;
}

}  // namespace orsan::test
