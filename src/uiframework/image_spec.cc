#include "uiframework/image_spec.h"

#include <algorithm>

#include "uiframework/attribute_text.h"

namespace uiframework {

namespace {

void ApplyKey(ImageSpec& spec, std::string_view key, std::string_view value) {
    if (key == "file" || key == "res") {
        spec.file = std::string(value);
    } else if (key == "dest") {
        if (auto r = ParseRect(value)) {
            spec.dest = *r;
        }
    } else if (key == "source") {
        if (auto r = ParseRect(value)) {
            spec.source = *r;
        }
    } else if (key == "corner") {
        if (auto c = ParseInsets(value)) {
            spec.corner = *c;
        }
    } else if (key == "fade") {
        if (auto f = ParseInt(value)) {
            spec.fade = static_cast<uint8_t>(std::clamp(*f, 0, 255));
        }
    } else if (key == "hole") {
        spec.hole = ParseBool(value);
    } else if (key == "xtiled") {
        spec.xtiled = ParseBool(value);
    } else if (key == "ytiled") {
        spec.ytiled = ParseBool(value);
    }
}

}  // namespace

ImageSpec ParseImageSpec(std::string_view text) {
    ImageSpec spec;
    if (!LooksLikeKeyValueList(text)) {
        spec.file = std::string(text);
        return spec;
    }
    for (const auto& [key, value] : ParseKeyValueList(text)) {
        ApplyKey(spec, key, value);
    }
    return spec;
}

}  // namespace uiframework
