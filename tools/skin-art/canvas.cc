#include "canvas.h"

#include <cmath>

namespace skinart {

Rgba Argb(unsigned int value) {
    return {((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0, (value & 0xFF) / 255.0,
            ((value >> 24) & 0xFF) / 255.0};
}

Rgba WithAlpha(Rgba colour, double alpha) {
    colour.a = alpha;
    return colour;
}

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_.get())) {
    // Greyscale anti-aliasing: sub-pixel colour fringes look wrong once the picture is
    // composited onto an unknown background.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_set_font_options(cr_.get(), options);
    cairo_font_options_destroy(options);
}

bool Canvas::Save(const std::string& path) const {
    cairo_surface_flush(surface_.get());
    return cairo_surface_write_to_png(surface_.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void SetColour(cairo_t* cr, Rgba colour) {
    cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, colour.a);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
    const double r = std::fmin(radius, std::fmin(w, h) / 2.0);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void FillVertical(cairo_t* cr, double y0, double y1, Rgba top, Rgba bottom) {
    cairo_pattern_t* pattern = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(pattern, 0, top.r, top.g, top.b, top.a);
    cairo_pattern_add_color_stop_rgba(pattern, 1, bottom.r, bottom.g, bottom.b, bottom.a);
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

void StrokePolyline(cairo_t* cr, const double (*points)[2], int count, double width, Rgba colour) {
    cairo_move_to(cr, points[0][0], points[0][1]);
    for (int i = 1; i < count; ++i) {
        cairo_line_to(cr, points[i][0], points[i][1]);
    }
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetColour(cr, colour);
    cairo_stroke(cr);
}

void SoftSpot(cairo_t* cr, double cx, double cy, double radius, Rgba colour) {
    cairo_pattern_t* pattern = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    cairo_pattern_add_color_stop_rgba(pattern, 0, colour.r, colour.g, colour.b, colour.a);
    cairo_pattern_add_color_stop_rgba(pattern, 0.55, colour.r, colour.g, colour.b, colour.a * 0.45);
    cairo_pattern_add_color_stop_rgba(pattern, 1, colour.r, colour.g, colour.b, 0);
    cairo_set_source(cr, pattern);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

namespace {

void SelectFont(cairo_t* cr, const Font& font) {
    cairo_select_font_face(
        cr, font.family, CAIRO_FONT_SLANT_NORMAL,
        font.weight == Weight::kBold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.size);
}

}  // namespace

double TextWidth(cairo_t* cr, const Font& font, const std::string& text) {
    SelectFont(cr, font);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    return extents.width;
}

void DrawText(cairo_t* cr, const Font& font, const std::string& text, double x, double cy,
              Rgba colour) {
    SelectFont(cr, font);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    cairo_move_to(cr, x - extents.x_bearing, cy - extents.y_bearing - extents.height / 2);
    SetColour(cr, colour);
    cairo_show_text(cr, text.c_str());
}

}  // namespace skinart
