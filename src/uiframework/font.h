#pragma once

// The fonts a layout declares with its Font elements.

#include <map>
#include <string>

namespace uiframework {

struct FontInfo {
    std::string name;
    int size = 12;  // pixels
    bool bold = false;
    bool underline = false;
    bool italic = false;
    friend bool operator==(const FontInfo&, const FontInfo&) = default;
};

class FontTable {
  public:
    // A font with `isDefault`, or the first font added, serves controls without a font id.
    void Add(int id, FontInfo font, bool isDefault);

    // The font with `id`; the default font for -1 or an unknown id.
    const FontInfo& Get(int id) const;
    const FontInfo& Default() const;

  private:
    std::map<int, FontInfo> fonts_;
    int defaultId_ = -1;
    FontInfo fallback_;
};

}  // namespace uiframework
