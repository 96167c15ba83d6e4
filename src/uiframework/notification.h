#pragma once

// Named notifications that controls and windows raise, and the names the framework uses.

#include <cstdint>
#include <string>

namespace uiframework {

class Control;

inline constexpr const char* kNotifyClick = "click";
inline constexpr const char* kNotifySelectChanged = "selectchanged";
inline constexpr const char* kNotifyTabSelect = "tabselect";
inline constexpr const char* kNotifyTimer = "timer";
inline constexpr const char* kNotifyItemSelect = "itemselect";
inline constexpr const char* kNotifyTextChanged = "textchanged";
inline constexpr const char* kNotifySetFocus = "setfocus";
inline constexpr const char* kNotifyKillFocus = "killfocus";

struct Notification {
    std::string type;
    Control* sender = nullptr;  // valid while the notification is handled
    uint64_t timestamp = 0;     // host tick count when raised
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    std::string virtualWindow;
};

class NotifyListener {
  public:
    virtual ~NotifyListener() = default;
    virtual void Notify(const Notification& notification) = 0;
};

}  // namespace uiframework
