// A transparent ARGB drawing surface and the few shapes the skin's pictures are made of.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>

namespace skinart {

struct Rgba {
    double r, g, b, a;
};

// 0xAARRGGBB, the way the layouts write colours.
Rgba Argb(unsigned int value);
Rgba WithAlpha(Rgba colour, double alpha);

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

// One picture of a fixed pixel size, cleared to transparent.
class Canvas {
  public:
    Canvas(int width, int height);

    cairo_t* cr() const { return cr_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

    // Writes the picture as PNG; false when the file cannot be written.
    bool Save(const std::string& path) const;

  private:
    int width_;
    int height_;
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface_;
    std::unique_ptr<cairo_t, ContextDeleter> cr_;
};

void SetColour(cairo_t* cr, Rgba colour);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
// Fills the current path with a top-to-bottom gradient and clears the path.
void FillVertical(cairo_t* cr, double y0, double y1, Rgba top, Rgba bottom);
// An open line through the points with round caps and joins.
void StrokePolyline(cairo_t* cr, const double (*points)[2], int count, double width, Rgba colour);
// A round spot fading from colour at the centre to nothing at the radius.
void SoftSpot(cairo_t* cr, double cx, double cy, double radius, Rgba colour);

enum class Weight { kNormal, kBold };

struct Font {
    const char* family;
    Weight weight;
    double size;
};

// Latin face for the product name, CJK face for the Chinese labels drawn into pictures.
constexpr const char* kLatinFamily = "Open Sans";
constexpr const char* kCjkFamily = "WenQuanYi Micro Hei";

// Width of a one-line text in the font, in pixels.
double TextWidth(cairo_t* cr, const Font& font, const std::string& text);
// Draws a one-line text whose ink box starts at x and is centred vertically on cy.
void DrawText(cairo_t* cr, const Font& font, const std::string& text, double x, double cy,
              Rgba colour);

}  // namespace skinart
