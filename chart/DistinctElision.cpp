#include "DistinctElision.h"

#include <algorithm>

namespace orsan {

namespace {

const QChar kEllipsis(0x2026);

// Whether a text cut to `shown` may be `text`: the part before the first
// "…" begins it, the part after the last ends it, the parts between stand
// in it in that order.
bool MayBe(const QString& shown, const QString& text) {
    const QStringList pieces = shown.split(kEllipsis);
    if (pieces.size() == 1) return shown == text;
    if (!text.startsWith(pieces.first()) || !text.endsWith(pieces.last())) return false;
    qsizetype at = pieces.first().size();
    for (qsizetype i = 1; i + 1 < pieces.size(); ++i) {
        at = text.indexOf(pieces[i], at);
        if (at < 0) return false;
        at += pieces[i].size();
    }
    return at <= text.size() - pieces.last().size();
}

}  // namespace

QString ElideDistinct(const QString& text, const QStringList& others, const QFontMetrics& metrics,
                      int room) {
    if (metrics.horizontalAdvance(text) <= room) return text;
    const auto unique = [&](const QString& shown) {
        return std::none_of(others.begin(), others.end(),
                            [&](const QString& other) { return MayBe(shown, other); });
    };
    for (const Qt::TextElideMode mode : {Qt::ElideRight, Qt::ElideMiddle, Qt::ElideLeft}) {
        const QString shown = metrics.elidedText(text, mode, room);
        if (shown.contains(kEllipsis) && unique(shown)) return shown;
    }
    for (qsizetype start = 1; start < text.size(); ++start) {
        QString best;
        for (qsizetype length = 1; start + length <= text.size(); ++length) {
            const bool toEnd = start + length == text.size();
            const QString shown =
                kEllipsis + text.mid(start, length) + (toEnd ? QString() : QString(kEllipsis));
            if (metrics.horizontalAdvance(shown) > room) break;
            if (unique(shown)) best = shown;
        }
        if (!best.isEmpty()) return best;
    }
    return metrics.elidedText(text, Qt::ElideRight, room);
}

QString ElideMachineName(int sensor, const SensorNames& names, const QFontMetrics& metrics,
                         int room) {
    const QString& name = names[size_t(sensor - 1)];
    QStringList others;
    for (const QString& other : names)
        if (other != name && !other.isEmpty()) others << other;
    return ElideDistinct(name, others, metrics, room);
}

}  // namespace orsan
