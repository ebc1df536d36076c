#pragma once

#include <QPoint>
#include <cstdint>
#include <optional>

class QPainter;

namespace orsan {

// A 32-bit image a painter draws on, written straight by pixel: a day of rows
// draws columns hundreds of pixels tall, and Qt's line drawing sets most of
// them two or three times over (a column's first -> lowest -> highest ->
// last). Writing the same pixels once costs a fraction of that.
class DirectPixels {
public:
    // Only where a one-pixel opaque pen sets exactly its colour: a raster
    // image of 32 bits, no transform, clip, antialiasing or opacity, source
    // over; empty otherwise, and the painter draws.
    static std::optional<DirectPixels> Of(QPainter& painter);

    void SetColor(uint32_t argb) { color_ = argb; }
    // The pixels Qt sets for drawPolyline (count > 1) or drawPoint (count 1)
    // of these points with a one-pixel aliased square-cap pen.
    void Polyline(const QPoint* points, int count);

    // Sets rows [top, bottom) of a column to the colour, inside the image.
    void Fill(int x, int top, int bottom);

private:
    DirectPixels(uint32_t* bits, int64_t stride, int width, int height)
        : bits_(bits), stride_(stride), width_(width), height_(height) {}

    uint32_t* bits_;
    int64_t stride_;  // pixels per scan line
    int width_;
    int height_;
    uint32_t color_ = 0;
};

}  // namespace orsan
