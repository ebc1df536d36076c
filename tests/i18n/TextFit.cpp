#include "TextFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QTextDocumentFragment>
#include <algorithm>

#include "XTabCtrl.h"

namespace orsan::test {

namespace {

// The width of the widest line: its advance, or less where its ink ends
// sooner (a full-width closing bracket carries blank room after its ink,
// which may fall outside the control).
int Advance(const QWidget* widget, const QString& text) {
    const QFontMetrics metrics(widget->font());
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, std::min(metrics.horizontalAdvance(line),
                                           metrics.boundingRect(line).right() + 1));
    return widest;
}

QString Describe(const QWidget* widget) {
    QString path = QString::fromLatin1(widget->metaObject()->className());
    for (const QObject* o = widget; o; o = o->parent())
        if (!o->objectName().isEmpty()) path += QLatin1Char(' ') + o->objectName();
    return path;
}

class Collector {
public:
    std::vector<Misfit> misfits;

    void Need(const QWidget* w, const QString& text, int needed, int room) {
        if (!text.isEmpty() && needed > room) misfits.push_back({Describe(w), text, needed, room});
    }

    void Label(const QLabel* label) {
        QString text = label->text();
        if (Qt::mightBeRichText(text)) text = QTextDocumentFragment::fromHtml(text).toPlainText();
        const int margins = 2 * label->margin() + std::max(label->indent(), 0);
        if (label->wordWrap())
            Need(label, text, label->heightForWidth(label->width()), label->height());
        else
            Need(label, text, Advance(label, text) + margins, label->contentsRect().width());
    }

    void Button(const QAbstractButton* button) {
        const QStyle* style = button->style();
        int extra = 0;
        if (qobject_cast<const QCheckBox*>(button) || qobject_cast<const QRadioButton*>(button)) {
            extra = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, button) +
                    style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, button);
        } else {
            extra = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
            if (!button->icon().isNull()) extra += button->iconSize().width() + 4;
        }
        const QString text = QString(button->text()).remove(QLatin1Char('&'));
        Need(button, text, Advance(button, text) + extra, button->width());
    }

    void Tabs(const QTabBar* bar) {
        // The station's tab control draws an image and a blank before each caption.
        const auto* owner = qobject_cast<const XTabCtrl*>(bar->parent());
        for (int i = 0; i < bar->count(); ++i) {
            int extra = 8;
            if (owner && owner->ImageIndex(i) >= 0 && owner->ImageCount() > 0)
                extra += 18 + QFontMetrics(bar->font()).horizontalAdvance(QLatin1Char(' '));
            else if (!bar->tabIcon(i).isNull())
                extra += bar->iconSize().width() + 4;
            Need(bar, bar->tabText(i), Advance(bar, bar->tabText(i)) + extra,
                 bar->tabRect(i).width());
        }
    }

    void Header(const QHeaderView* header) {
        if (header->orientation() != Qt::Horizontal || !header->model()) return;
        const int margins =
            2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int i = 0; i < header->count(); ++i) {
            if (header->isSectionHidden(i)) continue;
            const QString text =
                header->model()->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString();
            Need(header, text, Advance(header, text) + margins, header->sectionSize(i));
        }
    }

    void Combo(const QComboBox* combo) {
        if (combo->isEditable()) return;
        // The drop-down arrow and the frame take about the width of two digits and a margin.
        const int extra =
            combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, combo) +
            2 * combo->style()->pixelMetric(QStyle::PM_ComboBoxFrameWidth, nullptr, combo) + 4;
        for (int i = 0; i < combo->count(); ++i)
            Need(combo, combo->itemText(i), Advance(combo, combo->itemText(i)) + extra,
                 combo->width());
    }

    void Visit(const QWidget* w) {
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            if (label->pixmap().isNull()) Label(label);
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            Button(button);
        } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
            // The title starts a few pixels in and needs a gap before the frame goes on.
            Need(group, group->title(), Advance(group, group->title()) + 16, group->width());
        } else if (const auto* bar = qobject_cast<const QTabBar*>(w)) {
            Tabs(bar);
        } else if (const auto* header = qobject_cast<const QHeaderView*>(w)) {
            Header(header);
        } else if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
            Combo(combo);
        }
    }
};

}  // namespace

std::vector<Misfit> FindMisfits(const QWidget* root) {
    Collector collector;
    collector.Visit(root);
    for (const QWidget* w : root->findChildren<QWidget*>())
        if (w->isVisibleTo(root)) collector.Visit(w);
    return collector.misfits;
}

}  // namespace orsan::test
