#pragma once

// A bar whose fore image covers the part of its length that `value` has reached between
// `min` and `max`. With `isstretchfore` false the fore image is cut, not squeezed: the
// covered part shows the same pixels of the picture as the full bar would.

#include "uiframework/label.h"

namespace uiframework {

class Progress : public Label {
  public:
    std::string_view GetClass() const override { return "Progress"; }
    // min, max, value, foreimage, hor, isstretchfore, plus the label's attributes.
    void SetAttribute(std::string_view name, std::string_view value) override;

    int GetMinValue() const { return min_; }
    int GetMaxValue() const { return max_; }
    int GetValue() const { return value_; }
    void SetValue(int value);
    const ImageAttributes& GetForeImage() const { return foreImage_; }
    void SetForeImage(std::string_view attributes);

  protected:
    void PaintStatusImage(Canvas& canvas) override;

  private:
    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
    bool horizontal_ = true;
    bool stretchFore_ = true;
    ImageAttributes foreImage_;
};

}  // namespace uiframework
