#include "uiframework/image_attributes.h"

#include <algorithm>

#include "uiframework/attribute_text.h"

namespace uiframework {

namespace {

void ApplyKey(ImageAttributes& attributes, std::string_view key, std::string_view value) {
    if (key == "file" || key == "res") {
        attributes.file = std::string(value);
    } else if (key == "dest") {
        if (auto r = ParseRect(value)) {
            attributes.dest = *r;
        }
    } else if (key == "source") {
        if (auto r = ParseRect(value)) {
            attributes.source = *r;
        }
    } else if (key == "corner") {
        if (auto c = ParseInsets(value)) {
            attributes.corner = *c;
        }
    } else if (key == "fade") {
        if (auto f = ParseInt(value)) {
            attributes.fade = static_cast<uint8_t>(std::clamp(*f, 0, 255));
        }
    } else if (key == "hole") {
        attributes.hole = ParseBool(value);
    } else if (key == "xtiled") {
        attributes.xtiled = ParseBool(value);
    } else if (key == "ytiled") {
        attributes.ytiled = ParseBool(value);
    }
}

}  // namespace

ImageAttributes ParseImageAttributes(std::string_view text) {
    ImageAttributes attributes;
    if (!LooksLikeKeyValueList(text)) {
        attributes.file = std::string(text);
        return attributes;
    }
    for (const auto& [key, value] : ParseKeyValueList(text)) {
        ApplyKey(attributes, key, value);
    }
    return attributes;
}

}  // namespace uiframework
