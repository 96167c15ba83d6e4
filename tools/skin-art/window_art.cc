#include <cmath>

#include "art.h"
#include "palette.h"

namespace skinart {

namespace {

// A band of gentle waves filled down to the bottom edge.
void Wave(cairo_t* cr, double width, double height, double baseY, double amplitude, double shift,
          Rgba colour) {
    cairo_move_to(cr, 0, baseY);
    const double step = width / 3;
    for (int i = 0; i < 3; ++i) {
        const double x = i * step;
        const double up = (i % 2 == 0 ? -amplitude : amplitude) + shift;
        cairo_curve_to(cr, x + step / 3, baseY + up, x + 2 * step / 3, baseY + up, x + step, baseY);
    }
    cairo_line_to(cr, width, height);
    cairo_line_to(cr, 0, height);
    cairo_close_path(cr);
    SetColour(cr, colour);
    cairo_fill(cr);
}

}  // namespace

void PaintBackground(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    const double w = canvas.width();
    const double h = canvas.height();
    cairo_rectangle(cr, 0, 0, w, h);
    FillVertical(cr, 0, h, Argb(0xFFF1F6FF), Argb(0xFFFFFFFF));
    SoftSpot(cr, w - 40, 0, 300, Argb(0x335A9DFD));
    SoftSpot(cr, 30, h + 40, 320, Argb(0x201675FE));
    Wave(cr, w, h, h - 54, 12, 0, Argb(0x0C1675FE));
    Wave(cr, w, h, h - 38, 9, 4, Argb(0x0F5A9DFD));
    // The layouts keep one pixel free at each side for this frame line.
    cairo_rectangle(cr, 0.5, 0.5, w - 1, h - 1);
    cairo_set_line_width(cr, 1);
    SetColour(cr, Argb(0xFFD6DFEC));
    cairo_stroke(cr);
}

void PaintMark(cairo_t* cr, double x, double y, double size) {
    const double k = size / 48.0;
    RoundedRect(cr, x, y, size, size, 12 * k);
    cairo_pattern_t* fill = cairo_pattern_create_linear(x, y, x + size, y + size);
    const Rgba top = Argb(kBlueLight);
    const Rgba bottom = Argb(kBluePushed);
    cairo_pattern_add_color_stop_rgb(fill, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(fill, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);

    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 4.6 * k);
    SetColour(cr, Argb(0xFFFFFFFF));
    cairo_arc(cr, x + 23 * k, y + 23 * k, 11.5 * k, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_move_to(cr, x + 28.5 * k, y + 28.5 * k);
    cairo_line_to(cr, x + 36 * k, y + 36 * k);
    cairo_stroke(cr);
}

void PaintLogo(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    const Font font{kLatinFamily, Weight::kBold, 38};
    const char* name = "Quorvex";
    const double markSize = 48;
    const double gap = 14;
    const double total = markSize + gap + TextWidth(cr, font, name);
    const double x = std::round((canvas.width() - total) / 2);
    PaintMark(cr, x, (canvas.height() - markSize) / 2, markSize);
    DrawText(cr, font, name, x + markSize + gap, canvas.height() / 2.0, Argb(kInk));
}

void PaintPrimaryButton(Canvas& canvas, State state, double radius) {
    cairo_t* cr = canvas.cr();
    const double w = canvas.width();
    const double h = canvas.height();
    static constexpr unsigned int kTops[] = {0xFF2F86FF, 0xFF5FA2FF, 0xFF1365DB};
    static constexpr unsigned int kBottoms[] = {kBlue, 0xFF3F8BFE, 0xFF1058C2};
    const int index = static_cast<int>(state);
    RoundedRect(cr, 0, 0, w, h, radius);
    FillVertical(cr, 0, h, Argb(kTops[index]), Argb(kBottoms[index]));
    if (state != State::kPushed) {
        // A faint light edge along the top gives the button some lift.
        RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, radius - 0.5);
        cairo_set_line_width(cr, 1);
        cairo_pattern_t* edge = cairo_pattern_create_linear(0, 0, 0, h);
        cairo_pattern_add_color_stop_rgba(edge, 0, 1, 1, 1, 0.28);
        cairo_pattern_add_color_stop_rgba(edge, 0.4, 1, 1, 1, 0);
        cairo_set_source(cr, edge);
        cairo_stroke(cr);
        cairo_pattern_destroy(edge);
    }
}

void PaintBackButton(Canvas& canvas, State state) {
    cairo_t* cr = canvas.cr();
    const double w = canvas.width();
    const double h = canvas.height();
    if (state != State::kNormal) {
        RoundedRect(cr, 0, 0, w, h, h / 2);
        SetColour(cr, WithAlpha(Argb(kBlue), state == State::kHot ? 0.08 : 0.16));
        cairo_fill(cr);
    }
    const Rgba ink = Argb(state == State::kNormal ? kInkSoft
                          : state == State::kHot  ? kBlue
                                                  : kBluePushed);
    const Font font{kCjkFamily, Weight::kNormal, 14};
    const char* label = "返回";
    const double chevron = 6;
    const double gap = 6;
    const double x = std::round((w - chevron - gap - TextWidth(cr, font, label)) / 2);
    const double cy = h / 2;
    const double points[][2] = {{x + chevron, cy - 5}, {x + 1, cy}, {x + chevron, cy + 5}};
    StrokePolyline(cr, points, 3, 1.7, ink);
    DrawText(cr, font, label, x + chevron + gap, cy, ink);
}

void PaintChevron(Canvas& canvas, bool hot) {
    const double points[][2] = {{6.5, 4.5}, {10, 8}, {6.5, 11.5}};
    StrokePolyline(canvas.cr(), points, 3, 1.6, Argb(hot ? kInk : kInkSoft));
}

void PaintCheckBox(Canvas& canvas, bool selected) {
    cairo_t* cr = canvas.cr();
    if (selected) {
        RoundedRect(cr, 1, 0.5, 13, 13, 3);
        SetColour(cr, Argb(kBlue));
        cairo_fill(cr);
        const double tick[][2] = {{4.3, 7.1}, {6.6, 9.4}, {10.9, 4.9}};
        StrokePolyline(cr, tick, 3, 1.6, Argb(0xFFFFFFFF));
        return;
    }
    RoundedRect(cr, 1.5, 1, 12, 12, 2.5);
    SetColour(cr, Argb(0xFFFFFFFF));
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    SetColour(cr, Argb(0xFFB4BDD0));
    cairo_stroke(cr);
}

void PaintEditField(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    RoundedRect(cr, 0.5, 0.5, canvas.width() - 1, canvas.height() - 1, 4);
    SetColour(cr, Argb(0xFFFFFFFF));
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    SetColour(cr, Argb(0xFFD3DBE8));
    cairo_stroke(cr);
}

void PaintProgressTrack(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    RoundedRect(cr, 0, 0, canvas.width(), canvas.height(), canvas.height() / 2.0);
    SetColour(cr, Argb(0xFFE2E9F5));
    cairo_fill(cr);
}

void PaintProgressFill(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    const double w = canvas.width();
    const double h = canvas.height();
    RoundedRect(cr, 0, 0, w, h, h / 2);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, w, 0);
    const Rgba left = Argb(0xFF7DB3FF);
    const Rgba right = Argb(kBlue);
    cairo_pattern_add_color_stop_rgb(fill, 0, left.r, left.g, left.b);
    cairo_pattern_add_color_stop_rgb(fill, 1, right.r, right.g, right.b);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
}

void PaintFinished(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    const double c = canvas.width() / 2.0;
    cairo_arc(cr, c, c, c, 0, 2 * M_PI);
    SetColour(cr, WithAlpha(Argb(kBlue), 0.08));
    cairo_fill(cr);
    cairo_arc(cr, c, c, c - 7, 0, 2 * M_PI);
    SetColour(cr, WithAlpha(Argb(kBlue), 0.12));
    cairo_fill(cr);
    cairo_arc(cr, c, c, c - 13, 0, 2 * M_PI);
    FillVertical(cr, 13, canvas.height() - 13, Argb(kBlueLight), Argb(kBluePushed));
    const double tick[][2] = {{c - 12, c + 1}, {c - 3.5, c + 9.5}, {c + 13, c - 8}};
    StrokePolyline(cr, tick, 3, 5.5, Argb(0xFFFFFFFF));
}

void PaintTip(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    const double w = canvas.width();
    const double body = canvas.height() - 6;
    // Bubble with its tail pointing down at the agreement row below it.
    RoundedRect(cr, 0.5, 0.5, w - 1, body - 1, 5);
    cairo_move_to(cr, 13, body - 0.5);
    cairo_line_to(cr, 19, canvas.height() - 0.5);
    cairo_line_to(cr, 25, body - 0.5);
    cairo_close_path(cr);
    SetColour(cr, Argb(0xFFFFF5E6));
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    SetColour(cr, Argb(0xFFFFC069));
    cairo_stroke(cr);
    RoundedRect(cr, 1, 1, w - 2, body - 2, 4.5);
    SetColour(cr, Argb(0xFFFFF5E6));
    cairo_fill(cr);

    const Font font{kCjkFamily, Weight::kNormal, 12};
    const char* text = "请先同意许可协议";
    DrawText(cr, font, text, std::round((w - TextWidth(cr, font, text)) / 2), body / 2,
             Argb(0xFFD46B08));
}

}  // namespace skinart
