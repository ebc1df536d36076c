#include "DirectPixels.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <utility>

namespace orsan {

namespace {

// Qt's aliased one-pixel line, as its raster engine draws it: coordinates in
// 1/64 pixel, the minor axis stepped in 1/65536 pixel per pixel of the major
// axis, a segment's pixels from its smaller major end up to (without) its
// larger one. A square cap adds the pixel of the larger end; the first and
// last segment of an open polyline have them, and so does the turn where a
// line reverses along its major axis. Where two segments meet, the pixel
// already set is not set again, and a turn that left a gap gets one pixel
// before the new segment. The chart tests compare these pixels with Qt's
// own, so a Qt that draws lines otherwise shows there.
enum class Heading { Down, Up, Right, Left };

Heading Opposite(Heading h) {
    switch (h) {
        case Heading::Down:
            return Heading::Up;
        case Heading::Up:
            return Heading::Down;
        case Heading::Right:
            return Heading::Left;
        case Heading::Left:
            break;
    }
    return Heading::Right;
}

struct Pixel {
    int64_t x = 0;
    int64_t y = 0;
    bool operator==(const Pixel&) const = default;
};

// One segment on its major axis, smaller end first: its rows (or columns)
// [begin, end), the minor coordinate at begin and its step per pixel.
struct Line {
    bool steep = false;
    bool reversed = false;
    Heading heading = Heading::Right;
    int64_t major1 = 0;  // 1/64 pixel
    int64_t major2 = 0;
    int64_t minor = 0;  // 1/65536 pixel
    int64_t step = 0;
    int64_t begin = 0;
    int64_t end = 0;

    Line(QPoint from, QPoint to) {
        steep = std::abs(to.x() - from.x()) < std::abs(to.y() - from.y());
        major1 = int64_t(steep ? from.y() : from.x()) * 64;
        major2 = int64_t(steep ? to.y() : to.x()) * 64;
        int64_t minor1 = int64_t(steep ? from.x() : from.y()) * 64;
        int64_t minor2 = int64_t(steep ? to.x() : to.y()) * 64;
        reversed = major1 > major2;
        if (reversed) {
            std::swap(major1, major2);
            std::swap(minor1, minor2);
        }
        heading = steep ? (reversed ? Heading::Up : Heading::Down)
                        : (reversed ? Heading::Left : Heading::Right);
        if (major1 != major2) step = ((minor2 - minor1) * 65536) / (major2 - major1);
        minor = minor1 * 1024;
    }
    void Round() {
        begin = (major1 + 32) >> 6;
        end = (major2 + 32) >> 6;
    }
    void StartAtBegin() { minor += (((begin << 6) + (step > 0 ? 32 : 0) - major1) * step) >> 6; }
    Pixel At(int64_t major, int64_t minorAt) const {
        return steep ? Pixel{minorAt, major} : Pixel{major, minorAt};
    }
    Pixel First() const { return At(begin, minor >> 16); }
    Pixel Last() const { return At(end - 1, (minor + (end - begin - 1) * step) >> 16); }
    bool Aligned() const { return std::abs(step) < (1 << 14); }
};

class Stroke {
public:
    explicit Stroke(DirectPixels& out) : out_(out) {}

    // A closed polyline joins its first segment to its last one.
    void JoinAfter(QPoint from, QPoint to) {
        Line line(from, to);
        if (line.major1 == line.major2) return;
        line.Round();
        if (line.begin == line.end) return;
        line.StartAtBegin();
        last_ = line.reversed ? line.First() : line.Last();
        heading_ = line.heading;
        aligned_ = line.Aligned();
        started_ = true;
    }

    void Segment(QPoint from, QPoint to, bool capBegin, bool capEnd) {
        Line line(from, to);
        if (line.major1 == line.major2) return;
        if (line.reversed) std::swap(capBegin, capEnd);
        if (heading_ == Opposite(line.heading)) (line.reversed ? capEnd : capBegin) = true;
        if (capBegin) {
            line.major1 -= 32;
            line.minor -= line.step >> 1;
        }
        if (capEnd) line.major2 += 32;
        line.Round();
        // A begin cap that rounded past the pixel the last segment ended on
        // starts where it ended.
        if (capBegin && started_ && (line.steep ? last_.y : last_.x) == line.begin + 1)
            ++line.begin;
        if (line.begin == line.end) return;
        line.StartAtBegin();

        Pixel first = line.First();
        Pixel last = line.Last();
        if (line.reversed) std::swap(first, last);
        const bool aligned = line.Aligned();
        if (started_) {
            const int64_t dx = std::abs(last_.x - first.x);
            const int64_t dy = std::abs(last_.y - first.y);
            if (first == last_) {
                if (line.reversed) {
                    --line.end;
                } else {
                    ++line.begin;
                    line.minor += line.step;
                }
            } else if (heading_ != line.heading &&
                       ((aligned && aligned_ && dx != 0 && dy != 0) || dx > 1 || dy > 1)) {
                if (line.reversed) {
                    ++line.end;
                } else {
                    --line.begin;
                    line.minor -= line.step;
                }
            }
        }
        heading_ = line.heading;
        aligned_ = aligned;
        last_ = last;
        started_ = true;
        // At least one pixel, even where the shared one was left out.
        Draw(line.steep, line.begin, std::max(line.end, line.begin + 1), line.minor, line.step);
    }

    // Writes the rows gathered last.
    void Finish() {
        if (pending_) out_.Fill(int(runX_), int(runTop_), int(runBottom_));
        pending_ = false;
    }

private:
    void Draw(bool steep, int64_t major, int64_t end, int64_t minor, int64_t step) {
        if (!steep) {
            for (; major < end; ++major, minor += step) Put(major, minor >> 16, (minor >> 16) + 1);
            return;
        }
        // A steep line's rows, one run per pixel column it crosses.
        while (major < end) {
            const int64_t column = minor >> 16;
            int64_t rows = end - major;
            if (step > 0)
                rows = std::min(rows, (((column + 1) << 16) - minor + step - 1) / step);
            else if (step < 0)
                rows = std::min(rows, (minor - (column << 16)) / -step + 1);
            Put(column, major, major + rows);
            major += rows;
            minor += rows * step;
        }
    }

    // A column's segments overlap (first -> lowest -> highest -> last): the
    // rows of one column are gathered and written once.
    void Put(int64_t x, int64_t top, int64_t bottom) {
        if (pending_ && x == runX_ && top <= runBottom_ && bottom >= runTop_) {
            runTop_ = std::min(runTop_, top);
            runBottom_ = std::max(runBottom_, bottom);
            return;
        }
        Finish();
        pending_ = true;
        runX_ = x;
        runTop_ = top;
        runBottom_ = bottom;
    }

    DirectPixels& out_;
    bool pending_ = false;
    int64_t runX_ = 0;
    int64_t runTop_ = 0;
    int64_t runBottom_ = 0;
    bool started_ = false;
    Pixel last_;
    // Qt's stroker starts as if a line had gone right.
    Heading heading_ = Heading::Right;
    bool aligned_ = false;
};

}  // namespace

std::optional<DirectPixels> DirectPixels::Of(QPainter& painter) {
    QPaintDevice* device = painter.device();
    if (device == nullptr || device->devType() != QInternal::Image) return std::nullopt;
    auto* image = static_cast<QImage*>(device);
    if (image->format() != QImage::Format_RGB32 &&
        image->format() != QImage::Format_ARGB32_Premultiplied)
        return std::nullopt;
    if (!painter.deviceTransform().isIdentity() || painter.hasClipping() ||
        painter.testRenderHint(QPainter::Antialiasing) || painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return std::nullopt;
    // bits() does not copy: the painter has the image to itself.
    return DirectPixels(reinterpret_cast<uint32_t*>(image->bits()),
                        image->bytesPerLine() / int64_t(sizeof(uint32_t)), image->width(),
                        image->height());
}

void DirectPixels::Polyline(const QPoint* points, int count) {
    if (count <= 0) return;
    if (count == 1) {
        Fill(points[0].x(), points[0].y(), points[0].y() + 1);
        return;
    }
    // Qt takes a polyline that ends where it began as closed: no caps, and
    // its first segment joins its last.
    const bool open = points[0] != points[count - 1];
    Stroke stroke(*this);
    if (!open && count > 2) stroke.JoinAfter(points[count - 2], points[0]);
    for (int i = 1; i < count; ++i)
        stroke.Segment(points[i - 1], points[i], open && i == 1, open && i == count - 1);
    stroke.Finish();
}

void DirectPixels::Fill(int x, int top, int bottom) {
    if (x < 0 || x >= width_) return;
    top = std::max(top, 0);
    bottom = std::min(bottom, height_);
    for (uint32_t* pixel = bits_ + top * stride_ + x; top < bottom; ++top, pixel += stride_)
        *pixel = color_;
}

}  // namespace orsan
