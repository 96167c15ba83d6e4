// The skin's colours, ARGB. The blues match the ones the layouts use for their own buttons.
#pragma once

namespace skinart {

constexpr unsigned int kBlue = 0xFF1675FE;
constexpr unsigned int kBlueLight = 0xFF4A95FF;
constexpr unsigned int kBluePushed = 0xFF1365DB;
constexpr unsigned int kInk = 0xFF282A43;
constexpr unsigned int kInkSoft = 0xFF606178;
constexpr unsigned int kTrack = 0xFFE5ECF7;

}  // namespace skinart
