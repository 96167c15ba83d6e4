#include "uiframework/cairo/pango_text.h"

#include <string>

#include "uiframework/text_style.h"

namespace uiframework {

namespace {

// The layouts name the family of the original platform; where it is absent the installed
// CJK face takes its place rather than whatever fontconfig would pick for Latin text.
constexpr const char* kFallbackFamilies = "WenQuanYi Micro Hei,sans-serif";

struct FontDescriptionDeleter {
    void operator()(PangoFontDescription* description) const {
        pango_font_description_free(description);
    }
};

struct AttrListDeleter {
    void operator()(PangoAttrList* list) const { pango_attr_list_unref(list); }
};

std::string FamilyList(const std::string& name) {
    return name.empty() ? std::string(kFallbackFamilies) : name + "," + kFallbackFamilies;
}

}  // namespace

PangoLayoutPtr MakeTextLayout(PangoContext* context, std::string_view text, const FontInfo& font,
                              unsigned style, int width) {
    PangoLayoutPtr layout(pango_layout_new(context));
    pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));

    std::unique_ptr<PangoFontDescription, FontDescriptionDeleter> description(
        pango_font_description_new());
    pango_font_description_set_family(description.get(), FamilyList(font.name).c_str());
    pango_font_description_set_absolute_size(description.get(), font.size * PANGO_SCALE);
    pango_font_description_set_weight(description.get(),
                                      font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description.get(),
                                     font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout.get(), description.get());

    if (font.underline) {
        std::unique_ptr<PangoAttrList, AttrListDeleter> attributes(pango_attr_list_new());
        pango_attr_list_insert(attributes.get(), pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(layout.get(), attributes.get());
    }

    if ((style & kTextSingleLine) != 0) {
        // One line; the canvas places it in its box.
        pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
        if ((style & kTextEndEllipsis) != 0 && width > 0) {
            pango_layout_set_width(layout.get(), width * PANGO_SCALE);
            pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
        }
        return layout;
    }
    if (width > 0) {
        pango_layout_set_width(layout.get(), width * PANGO_SCALE);
    }
    // Chinese text has no spaces: break between characters where words do not help.
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    PangoAlignment alignment = PANGO_ALIGN_LEFT;
    if ((style & kTextCenter) != 0) {
        alignment = PANGO_ALIGN_CENTER;
    } else if ((style & kTextRight) != 0) {
        alignment = PANGO_ALIGN_RIGHT;
    }
    pango_layout_set_alignment(layout.get(), alignment);
    return layout;
}

PangoTextMeasurer::PangoTextMeasurer()
    : context_(pango_font_map_create_context(pango_cairo_font_map_get_default())) {}

Size PangoTextMeasurer::Measure(std::string_view text, const FontInfo& font, unsigned style,
                                int maxWidth) {
    PangoLayoutPtr layout = MakeTextLayout(context_.get(), text, font, style, maxWidth);
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(layout.get(), &width, &height);
    return Size{width, height};
}

}  // namespace uiframework
