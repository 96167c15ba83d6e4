#include <cmath>

#include "art.h"
#include "palette.h"

namespace skinart {

namespace {

// The rounded square behind a title-bar glyph while it is hot or pushed.
void Highlight(cairo_t* cr, double size, Rgba colour) {
    RoundedRect(cr, 2, 2, size - 4, size - 4, 4);
    SetColour(cr, colour);
    cairo_fill(cr);
}

void Cross(cairo_t* cr, double centre, double half, double width, Rgba colour) {
    const double a[][2] = {{centre - half, centre - half}, {centre + half, centre + half}};
    const double b[][2] = {{centre + half, centre - half}, {centre - half, centre + half}};
    StrokePolyline(cr, a, 2, width, colour);
    StrokePolyline(cr, b, 2, width, colour);
}

void EmblemDisc(cairo_t* cr, double c, double radius, unsigned int colour) {
    const Rgba base = Argb(colour);
    const Rgba light = {base.r + (1 - base.r) * 0.25, base.g + (1 - base.g) * 0.25,
                        base.b + (1 - base.b) * 0.25, 1};
    cairo_arc(cr, c, c, radius, 0, 2 * M_PI);
    FillVertical(cr, c - radius, c + radius, light, base);
}

}  // namespace

void PaintMinimise(Canvas& canvas, State state) {
    cairo_t* cr = canvas.cr();
    const double size = canvas.width();
    if (state != State::kNormal) {
        Highlight(cr, size, WithAlpha(Argb(kInk), state == State::kHot ? 0.08 : 0.15));
    }
    const double line[][2] = {{size / 2 - 5, size / 2 + 0.5}, {size / 2 + 5, size / 2 + 0.5}};
    StrokePolyline(cr, line, 2, 1.5, Argb(state == State::kNormal ? kInkSoft : kInk));
}

void PaintClose(Canvas& canvas, State state) {
    cairo_t* cr = canvas.cr();
    const double size = canvas.width();
    if (state != State::kNormal) {
        Highlight(cr, size, Argb(state == State::kHot ? 0xFFF5484F : 0xFFD9363E));
    }
    Cross(cr, size / 2, 4.5, 1.5, Argb(state == State::kNormal ? kInkSoft : 0xFFFFFFFF));
}

void PaintDialogClose(Canvas& canvas, State state) {
    cairo_t* cr = canvas.cr();
    const double size = canvas.width();
    if (state != State::kNormal) {
        Highlight(cr, size, WithAlpha(Argb(kInk), state == State::kHot ? 0.07 : 0.13));
    }
    Cross(cr, size / 2, 4, 1.4, Argb(state == State::kNormal ? 0xFF9097AD : kInk));
}

void PaintDialogIcon(Canvas& canvas, Emblem emblem) {
    cairo_t* cr = canvas.cr();
    const double c = canvas.width() / 2.0;
    const Rgba white = Argb(0xFFFFFFFF);
    switch (emblem) {
        case Emblem::kWarning: {
            EmblemDisc(cr, c, c - 1, 0xFFFAAD14);
            const double bar[][2] = {{c, c - 9}, {c, c + 2}};
            StrokePolyline(cr, bar, 2, 4, white);
            cairo_arc(cr, c, c + 8.5, 2.4, 0, 2 * M_PI);
            SetColour(cr, white);
            cairo_fill(cr);
            break;
        }
        case Emblem::kQuestion: {
            EmblemDisc(cr, c, c - 1, kBlue);
            const Font font{kLatinFamily, Weight::kBold, 26};
            DrawText(cr, font, "?", std::round(c - TextWidth(cr, font, "?") / 2), c, white);
            break;
        }
        case Emblem::kNetwork: {
            EmblemDisc(cr, c, c - 1, 0xFFFF7A45);
            const double base = c + 8;
            cairo_set_line_width(cr, 3.2);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            SetColour(cr, white);
            for (double radius : {14.0, 8.5}) {
                cairo_new_sub_path(cr);
                cairo_arc(cr, c, base, radius, -0.75 * M_PI, -0.25 * M_PI);
                cairo_stroke(cr);
            }
            cairo_arc(cr, c, base - 1, 2.6, 0, 2 * M_PI);
            cairo_fill(cr);
            break;
        }
    }
}

}  // namespace skinart
