// quorvex-diag layout LAYOUT: the laid-out control tree of a skin window, one control a
// line (class, name, x,y,w,h in window coordinates), indented by depth.

#include <fmt/printf.h>

#include "commands.h"
#include "skin_window.h"
#include "uiframework/paint_manager.h"

namespace diag {
namespace {

void PrintTree(const uiframework::Control& control, int depth) {
    const uiframework::Rect& r = control.GetPos();
    const std::string& name = control.GetName();
    fmt::printf("%*s%s %s %d,%d,%d,%d\n", depth * 2, "", std::string(control.GetClass()),
                name.empty() ? "-" : name, r.left, r.top, r.Width(), r.Height());
    for (size_t i = 0; i < control.ChildCount(); ++i) {
        PrintTree(*control.ChildAt(i), depth + 1);
    }
}

}  // namespace

int RunLayout(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1) {
        return kUsageError;
    }
    auto skin = OpenSkin();
    if (!skin) {
        return 1;
    }
    OffscreenHost host;
    uiframework::UiContext context(host, *skin);
    auto window = OpenSkinWindow(context, arguments[0]);
    if (!window) {
        return 1;
    }
    window->Manager().EnsureLayout();
    if (const uiframework::Control* root = window->Manager().GetRoot()) {
        PrintTree(*root, 0);
    }
    return 0;
}

}  // namespace diag
