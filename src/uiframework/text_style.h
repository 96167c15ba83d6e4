#pragma once

// How a text is placed in its rectangle; a bit set.

namespace uiframework {

enum TextStyle : unsigned {
    kTextLeft = 0,
    kTextCenter = 1u << 0,
    kTextRight = 1u << 1,
    kTextTop = 0,
    kTextVCenter = 1u << 2,
    kTextBottom = 1u << 3,
    kTextSingleLine = 1u << 4,  // without it the text wraps at word boundaries
    kTextEndEllipsis = 1u << 5,
};

inline constexpr unsigned kTextHorizontalMask = kTextCenter | kTextRight;
inline constexpr unsigned kTextVerticalMask = kTextVCenter | kTextBottom;

}  // namespace uiframework
