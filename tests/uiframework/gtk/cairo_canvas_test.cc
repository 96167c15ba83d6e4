// The cairo canvas on an image surface: what lands on which pixels.

#include <gtest/gtest.h>

#include <string>

#include "uiframework/cairo/cairo_canvas.h"
#include "uiframework/cairo/shadow_painter.h"
#include "uiframework/text_style.h"

namespace uiframework {
namespace {

struct CairoDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// A 9x9 PNG: a 3-pixel red frame around a blue centre.
std::string FramedPicture() {
    CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 9, 9));
    std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(surface.get()));
    SetSourceColor(cr.get(), 0xFFFF0000);
    cairo_paint(cr.get());
    SetSourceColor(cr.get(), 0xFF0000FF);
    cairo_rectangle(cr.get(), 3, 3, 3, 3);
    cairo_fill(cr.get());
    std::string png;
    cairo_surface_write_to_png_stream(surface.get(), AppendBytes, &png);
    return png;
}

class CairoCanvasTest : public ::testing::Test {
  protected:
    CairoCanvasTest()
        : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 100, 60)),
          cr_(cairo_create(surface_.get())) {
        resources_.Add("res\\Frame.png", FramedPicture());
        resources_.Add("res/broken.png", "not a picture");
    }

    // 0xAARRGGBB, premultiplied as cairo keeps it.
    uint32_t Pixel(int x, int y) {
        cairo_surface_flush(surface_.get());
        const unsigned char* data = cairo_image_surface_get_data(surface_.get());
        int stride = cairo_image_surface_get_stride(surface_.get());
        return *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
    }

    // The bounding box of pixels with any ink.
    Rect Inked() {
        Rect box{100, 60, 0, 0};
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 100; ++x) {
                if ((Pixel(x, y) >> 24) != 0) {
                    box = Rect{std::min(box.left, x), std::min(box.top, y),
                               std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
                }
            }
        }
        return box;
    }

    MemoryResourceSource resources_;
    CairoImageCache images_{resources_};
    CairoSurfacePtr surface_;
    std::unique_ptr<cairo_t, CairoDeleter> cr_;
    CairoCanvas canvas_{cr_.get(), images_};
};

TEST_F(CairoCanvasTest, FillsAndClipsToTheirRectangles) {
    canvas_.PushClip(Rect::FromSize(0, 0, 50, 60));
    canvas_.FillRect(Rect::FromSize(10, 10, 80, 20), 0xFF00FF00, Size{});
    canvas_.PopClip();
    EXPECT_EQ(Inked(), Rect::FromSize(10, 10, 40, 20));
    EXPECT_EQ(Pixel(10, 10), 0xFF00FF00u);
}

TEST_F(CairoCanvasTest, NineGridKeepsCornersUnscaledAndStretchesTheMiddle) {
    ImageDraw image;
    image.file = "RES/frame.png";  // looked up as the skin archive does
    image.dest = Rect::FromSize(10, 10, 40, 30);
    image.corner = Insets{3, 3, 3, 3};
    canvas_.DrawImage(image);
    EXPECT_EQ(Pixel(10, 10), 0xFFFF0000u);
    EXPECT_EQ(Pixel(12, 38), 0xFFFF0000u);  // within the bottom-left corner
    EXPECT_EQ(Pixel(47, 20), 0xFFFF0000u);  // right edge band
    EXPECT_EQ(Pixel(13, 13), 0xFF0000FFu);  // the stretched centre starts right after
    EXPECT_EQ(Pixel(46, 36), 0xFF0000FFu);
    EXPECT_EQ(Inked(), image.dest);
}

TEST_F(CairoCanvasTest, SourcePartFadeAndMissingPictures) {
    ImageDraw part;
    part.file = "res/frame.png";
    part.dest = Rect::FromSize(0, 0, 6, 6);
    part.source = Rect::FromSize(3, 3, 3, 3);
    canvas_.DrawImage(part);
    EXPECT_EQ(Pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(Pixel(5, 5), 0xFF0000FFu);

    ImageDraw faded = part;
    faded.dest = Rect::FromSize(20, 0, 6, 6);
    faded.fade = 128;
    canvas_.DrawImage(faded);
    EXPECT_NEAR(static_cast<int>(Pixel(22, 2) >> 24), 128, 1);

    for (const char* name : {"res/none.png", "res/broken.png"}) {
        ImageDraw missing;
        missing.file = name;
        missing.dest = Rect::FromSize(50, 0, 40, 40);
        canvas_.DrawImage(missing);
    }
    EXPECT_EQ(Inked(), Rect::FromSize(0, 0, 26, 6));
}

TEST_F(CairoCanvasTest, ChineseTextIsCentredInsideItsRectangle) {
    FontInfo font{"微软雅黑", 16};
    Rect box = Rect::FromSize(10, 10, 80, 40);
    canvas_.DrawString(box, "立即安装", font, 0xFF000000,
                       kTextCenter | kTextVCenter | kTextSingleLine);
    Rect ink = Inked();
    ASSERT_FALSE(ink.IsEmpty()) << "no glyphs: is a CJK font installed?";
    EXPECT_EQ(ink.Intersect(box), ink);
    EXPECT_NEAR(ink.Center().x, box.Center().x, 2);
    EXPECT_NEAR(ink.Center().y, box.Center().y, 3);
    // Four CJK characters, each about as wide as the font is tall.
    EXPECT_NEAR(ink.Width(), 64, 6);
}

TEST(PangoTextMeasurer, MeasuresOneLineAndWrapsMultiLineText) {
    PangoTextMeasurer measurer;
    FontInfo font{"微软雅黑", 14};
    Size line = measurer.Measure("检测到计算机中已存在此软件", font, kTextSingleLine, 100);
    EXPECT_NEAR(line.cx, 13 * 14, 13);
    Size wrapped = measurer.Measure("检测到计算机中已存在此软件", font, 0, 100);
    EXPECT_LE(wrapped.cx, 100);
    EXPECT_GE(wrapped.cy, 2 * line.cy);
}

TEST(ShadowPainter, FadesOutsideTheWindowAndLeavesItUntouched) {
    ShadowParams shadow;
    shadow.size = 6;
    shadow.sharpness = 10;
    shadow.darkness = 200;
    shadow.color = 0xFF000000;
    int margin = ShadowMargin(shadow);
    EXPECT_EQ(margin, 16);
    CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 100, 100));
    std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(surface.get()));
    PaintShadow(cr.get(), Rect::FromSize(margin, margin, 100 - 2 * margin, 100 - 2 * margin),
                shadow);
    cairo_surface_flush(surface.get());
    auto alpha = [&](int x, int y) {
        const unsigned char* data = cairo_image_surface_get_data(surface.get());
        int stride = cairo_image_surface_get_stride(surface.get());
        return data[y * stride + x * 4 + 3];
    };
    EXPECT_EQ(alpha(50, 50), 0);            // the window's own area
    EXPECT_EQ(alpha(50, margin - 1), 200);  // within `size` of the window: full darkness
    EXPECT_GT(alpha(50, 3), 0);             // fading
    EXPECT_LT(alpha(50, 3), 200);
    EXPECT_EQ(alpha(0, 0), 0);  // the far corner lies beyond the fade
    shadow.darkness = 0;
    EXPECT_EQ(ShadowMargin(shadow), 0);
}

}  // namespace
}  // namespace uiframework
