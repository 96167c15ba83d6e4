#include "uiframework/cairo/cairo_canvas.h"

#include <algorithm>

#include "uiframework/text_style.h"

namespace uiframework {

namespace {

// The rounded rectangle of a framework round corner: `round` gives the corner ellipse's
// width and height.
void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, Size round) {
    double rx = std::min(round.cx / 2.0, w / 2);
    double ry = std::min(round.cy / 2.0, h / 2);
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, x, y, w, h);
        return;
    }
    double r = std::min(rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -G_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, G_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, G_PI / 2, G_PI);
    cairo_arc(cr, x + r, y + r, r, G_PI, 3 * G_PI / 2);
    cairo_close_path(cr);
}

// The nine-grid bands along one axis: edges kept unscaled, the middle stretched.
struct Band {
    int from;
    int fromLength;
    int to;
    int toLength;
};

void SplitBands(int src, int srcLength, int dst, int dstLength, int lead, int trail, Band out[3]) {
    lead = std::clamp(lead, 0, srcLength);
    trail = std::clamp(trail, 0, srcLength - lead);
    int middleSrc = srcLength - lead - trail;
    int middleDst = std::max(0, dstLength - lead - trail);
    out[0] = {src, lead, dst, lead};
    out[1] = {src + lead, middleSrc, dst + lead, middleDst};
    out[2] = {src + srcLength - trail, trail, dst + dstLength - trail, trail};
}

}  // namespace

void SetSourceColor(cairo_t* cr, Color color) {
    cairo_set_source_rgba(cr, ((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                          (color & 0xFF) / 255.0, ((color >> 24) & 0xFF) / 255.0);
}

CairoCanvas::CairoCanvas(cairo_t* cr, CairoImageCache& images)
    : cr_(cr), images_(images), textContext_(pango_cairo_create_context(cr)) {}

void CairoCanvas::PushClip(const Rect& rect) {
    cairo_save(cr_);
    cairo_rectangle(cr_, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_clip(cr_);
}

void CairoCanvas::PopClip() {
    cairo_restore(cr_);
}

void CairoCanvas::FillRect(const Rect& rect, Color color, Size roundCorner) {
    if (rect.IsEmpty() || (color >> 24) == 0) {
        return;
    }
    cairo_save(cr_);
    RoundedRectPath(cr_, rect.left, rect.top, rect.Width(), rect.Height(), roundCorner);
    SetSourceColor(cr_, color);
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void CairoCanvas::DrawBorder(const Rect& rect, int width, Color color, Size roundCorner) {
    if (rect.IsEmpty() || width <= 0 || (color >> 24) == 0) {
        return;
    }
    cairo_save(cr_);
    double half = width / 2.0;
    RoundedRectPath(cr_, rect.left + half, rect.top + half, rect.Width() - width,
                    rect.Height() - width, roundCorner);
    SetSourceColor(cr_, color);
    cairo_set_line_width(cr_, width);
    cairo_stroke(cr_);
    cairo_restore(cr_);
}

void CairoCanvas::DrawPiece(cairo_surface_t* picture, const Rect& from, const Rect& to,
                            double alpha, bool tiled) {
    if (from.IsEmpty() || to.IsEmpty()) {
        return;
    }
    // A sub-surface keeps scaled edges from sampling the picture's neighbouring parts.
    CairoSurfacePtr piece(cairo_surface_create_for_rectangle(picture, from.left, from.top,
                                                             from.Width(), from.Height()));
    cairo_save(cr_);
    cairo_rectangle(cr_, to.left, to.top, to.Width(), to.Height());
    cairo_clip(cr_);
    cairo_translate(cr_, to.left, to.top);
    if (!tiled) {
        cairo_scale(cr_, static_cast<double>(to.Width()) / from.Width(),
                    static_cast<double>(to.Height()) / from.Height());
    }
    cairo_set_source_surface(cr_, piece.get(), 0, 0);
    cairo_pattern_t* pattern = cairo_get_source(cr_);
    cairo_pattern_set_extend(pattern, tiled ? CAIRO_EXTEND_REPEAT : CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(cr_, alpha);
    cairo_restore(cr_);
}

void CairoCanvas::DrawImage(const ImageDraw& image) {
    cairo_surface_t* picture = images_.Get(image.file);
    if (picture == nullptr || image.dest.IsEmpty() || image.fade == 0) {
        return;
    }
    Rect whole = Rect::FromSize(0, 0, cairo_image_surface_get_width(picture),
                                cairo_image_surface_get_height(picture));
    Rect source = image.source ? image.source->Intersect(whole) : whole;
    if (source.IsEmpty()) {
        return;
    }
    double alpha = image.fade / 255.0;
    bool tiled = image.xtiled || image.ytiled;
    const Insets& c = image.corner;
    if (c == Insets{}) {
        DrawPiece(picture, source, image.dest, alpha, tiled);
        return;
    }
    Band columns[3];
    Band rows[3];
    SplitBands(source.left, source.Width(), image.dest.left, image.dest.Width(), c.left, c.right,
               columns);
    SplitBands(source.top, source.Height(), image.dest.top, image.dest.Height(), c.top, c.bottom,
               rows);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            if (image.hole && row == 1 && column == 1) {
                continue;
            }
            Rect from = Rect::FromSize(columns[column].from, rows[row].from,
                                       columns[column].fromLength, rows[row].fromLength);
            Rect to = Rect::FromSize(columns[column].to, rows[row].to, columns[column].toLength,
                                     rows[row].toLength);
            DrawPiece(picture, from, to, alpha, tiled && row == 1 && column == 1);
        }
    }
}

void CairoCanvas::DrawString(const Rect& rect, std::string_view text, const FontInfo& font,
                             Color color, unsigned style) {
    if (text.empty() || rect.IsEmpty() || (color >> 24) == 0) {
        return;
    }
    PangoLayoutPtr layout = MakeTextLayout(textContext_.get(), text, font, style, rect.Width());
    PangoRectangle ink;
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout.get(), &ink, &logical);

    double x = rect.left;
    if ((style & kTextSingleLine) != 0) {
        int spare = rect.Width() - logical.width;
        if ((style & kTextCenter) != 0) {
            x += spare / 2;
        } else if ((style & kTextRight) != 0) {
            x += spare;
        }
        x -= logical.x;
    }
    double y = rect.top - logical.y;
    int spareHeight = rect.Height() - logical.height;
    if ((style & kTextVCenter) != 0) {
        y += spareHeight / 2;
    } else if ((style & kTextBottom) != 0) {
        y += spareHeight;
    }

    cairo_save(cr_);
    cairo_rectangle(cr_, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_clip(cr_);
    SetSourceColor(cr_, color);
    cairo_move_to(cr_, x, y);
    pango_cairo_update_context(cr_, textContext_.get());
    pango_layout_context_changed(layout.get());
    pango_cairo_show_layout(cr_, layout.get());
    cairo_restore(cr_);
}

}  // namespace uiframework
