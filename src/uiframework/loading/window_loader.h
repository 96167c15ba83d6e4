#pragma once

// Opening a skinned window whose layout must exist: without it the program cannot go on,
// so the user is told and the process ends.

#include <functional>
#include <string_view>

#include "uiframework/skin_window_base.h"

namespace uiframework {

inline constexpr const char* kLoadFailureText = "加载资源文件失败";
inline constexpr const char* kLoadFailureCaption = "Quorvex";
inline constexpr int kLoadFailureExitCode = 1;

// The system's own message box, shown without the skin.
class SystemMessageBox {
  public:
    virtual ~SystemMessageBox() = default;
    // Shows an error box and returns when the user has dismissed it.
    virtual void ShowError(std::string_view caption, std::string_view text) = 0;
};

// Ends the process with `code`; std::exit in the program, a recorder in tests.
using ProcessExit = std::function<void(int code)>;

// Creates `window`. When its layout is missing or does not parse, shows the load failure
// box and calls `exitProcess` with exit code 1; returns the creation status either way.
CreateStatus CreateWindowOrExit(SkinWindowBase& window, SkinWindowBase* owner,
                                std::string_view title, SystemMessageBox& messageBox,
                                const ProcessExit& exitProcess);

}  // namespace uiframework
