#include "uiframework/font.h"

namespace uiframework {

void FontTable::Add(int id, FontInfo font, bool isDefault) {
    fonts_[id] = std::move(font);
    if (isDefault || defaultId_ < 0) {
        defaultId_ = id;
    }
}

const FontInfo& FontTable::Get(int id) const {
    auto it = fonts_.find(id);
    return it != fonts_.end() ? it->second : Default();
}

const FontInfo& FontTable::Default() const {
    auto it = fonts_.find(defaultId_);
    return it != fonts_.end() ? it->second : fallback_;
}

}  // namespace uiframework
