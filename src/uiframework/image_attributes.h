#pragma once

// An image attribute: either a bare file name or a list of key='value' pairs
// ("file='res\a.png' dest='0,2,15,16' corner='2,2,2,2' fade='255'").

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "uiframework/geometry.h"

namespace uiframework {

struct ImageAttributes {
    std::string file;
    std::optional<Rect> dest;    // relative to the control; the whole control when absent
    std::optional<Rect> source;  // part of the picture; the whole picture when absent
    Insets corner;               // nine-grid edges kept unscaled
    uint8_t fade = 255;          // opacity
    bool hole = false;           // leave the nine-grid centre undrawn
    bool xtiled = false;
    bool ytiled = false;

    bool IsEmpty() const { return file.empty(); }
    friend bool operator==(const ImageAttributes&, const ImageAttributes&) = default;
};

// Malformed sub-values are ignored one by one; an empty text gives empty attributes.
ImageAttributes ParseImageAttributes(std::string_view text);

}  // namespace uiframework
