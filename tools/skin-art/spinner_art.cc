#include <cmath>

#include "art.h"
#include "palette.h"

namespace skinart {

namespace {

constexpr double kRingRadius = 52;
constexpr double kRingWidth = 6;
// How far behind the head the comet's tail fades out.
constexpr double kTailSweep = 1.45 * M_PI;
constexpr int kTailSteps = 72;

Rgba Mix(Rgba a, Rgba b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

void Comet(cairo_t* cr, double c, double head) {
    const Rgba tail = Argb(0xFF9CC7FF);
    const Rgba front = Argb(kBlue);
    const double step = kTailSweep / kTailSteps;
    cairo_set_line_width(cr, kRingWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (int i = 0; i < kTailSteps; ++i) {
        const double t = (i + 1.0) / kTailSteps;
        const double start = head - kTailSweep + i * step;
        cairo_new_sub_path(cr);
        // Overlap each piece slightly so no hairline gaps show between them.
        cairo_arc(cr, c, c, kRingRadius, start, start + step * 1.15);
        SetColour(cr, WithAlpha(Mix(tail, front, t), t * t));
        cairo_stroke(cr);
    }
    cairo_arc(cr, c + kRingRadius * std::cos(head), c + kRingRadius * std::sin(head),
              kRingWidth / 2, 0, 2 * M_PI);
    SetColour(cr, front);
    cairo_fill(cr);
}

// A download arrow over a tray; lift moves the arrow only.
void DownloadGlyph(cairo_t* cr, double c, double lift) {
    const Rgba blue = Argb(kBlue);
    const double shaft[][2] = {{c, c - 17 + lift}, {c, c + 5 + lift}};
    const double head[][2] = {{c - 9, c - 4 + lift}, {c, c + 5 + lift}, {c + 9, c - 4 + lift}};
    const double tray[][2] = {{c - 16, c + 8}, {c - 16, c + 16}, {c + 16, c + 16}, {c + 16, c + 8}};
    StrokePolyline(cr, shaft, 2, 4.5, blue);
    StrokePolyline(cr, head, 3, 4.5, blue);
    StrokePolyline(cr, tray, 4, 4, WithAlpha(blue, 0.55));
}

}  // namespace

void PaintSpinnerFrame(Canvas& canvas, int frame, int frameCount) {
    cairo_t* cr = canvas.cr();
    const double c = canvas.width() / 2.0;
    const double phase = 2 * M_PI * frame / frameCount;

    SoftSpot(cr, c, c + 4, c, WithAlpha(Argb(kBlue), 0.14));
    cairo_arc(cr, c, c, kRingRadius + 12, 0, 2 * M_PI);
    SetColour(cr, Argb(0xFFFFFFFF));
    cairo_fill(cr);

    cairo_arc(cr, c, c, kRingRadius, 0, 2 * M_PI);
    cairo_set_line_width(cr, kRingWidth);
    SetColour(cr, Argb(kTrack));
    cairo_stroke(cr);

    Comet(cr, c, -M_PI / 2 + phase);
    DownloadGlyph(cr, c, 3 * std::sin(phase));
}

}  // namespace skinart
