#pragma once

// The attributes of a layout's Window element.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "uiframework/geometry.h"

namespace uiframework {

struct WindowAttributes {
    Size size;
    Rect caption;  // edge distances: left, top, right, bottom (the band's height)
    Size roundCorner;
    Size minInfo;
    Size maxInfo;
    Rect sizeBox;
    // Every attribute as written, in document order, for window classes that read their own.
    std::vector<std::pair<std::string, std::string>> all;

    // The value of the attribute named exactly `name`, or null.
    const std::string* Find(std::string_view name) const {
        for (const auto& [key, value] : all) {
            if (key == name) {
                return &value;
            }
        }
        return nullptr;
    }
};

}  // namespace uiframework
