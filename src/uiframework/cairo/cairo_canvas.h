#pragma once

// The canvas of the program's windows: cairo for shapes and pictures, pango for text. The
// same painting serves the window on screen and offscreen pictures.

#include <cairo.h>

#include "uiframework/cairo/image_cache.h"
#include "uiframework/cairo/pango_text.h"
#include "uiframework/canvas.h"

namespace uiframework {

class CairoCanvas : public Canvas {
  public:
    // `cr` is set up in window coordinates and outlives the canvas.
    CairoCanvas(cairo_t* cr, CairoImageCache& images);

    void PushClip(const Rect& rect) override;
    void PopClip() override;
    void FillRect(const Rect& rect, Color color, Size roundCorner) override;
    void DrawBorder(const Rect& rect, int width, Color color, Size roundCorner) override;
    void DrawImage(const ImageDraw& image) override;
    void DrawString(const Rect& rect, std::string_view text, const FontInfo& font, Color color,
                    unsigned style) override;

  private:
    void DrawPiece(cairo_surface_t* picture, const Rect& from, const Rect& to, double alpha,
                   bool tiled);

    cairo_t* cr_;
    CairoImageCache& images_;
    PangoContextPtr textContext_;
};

// Sets `color` (0xAARRGGBB) as the source of `cr`.
void SetSourceColor(cairo_t* cr, Color color);

}  // namespace uiframework
