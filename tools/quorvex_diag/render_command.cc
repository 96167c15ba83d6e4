// quorvex-diag render LAYOUT OUT.png [options]: paints a skin window into a PNG picture
// without a display, with the same painting as the window on screen.
//
//   --page=N            mainTabLt shows page N
//   --hot=NAME          the pointer rests on NAME
//   --pushed=NAME       NAME is held down
//   --tab=NAME=N        the tab layout NAME shows page N
//   --text=NAME=TEXT    NAME shows TEXT
//   --value=NAME=N      the progress bar NAME stands at N
//   --visible=NAME=0|1  hides or shows NAME
//   --time=MS           lets the window's timers run for MS milliseconds first
//   --no-shadow         leaves the window's shadow out of the picture

#include <fmt/printf.h>

#include <charconv>
#include <string_view>

#include "commands.h"
#include "skin_window.h"
#include "uiframework/cairo/offscreen.h"
#include "uiframework/headless/headless_window.h"
#include "uiframework/paint_manager.h"
#include "uiframework/progress.h"
#include "uiframework/tab_layout.h"

namespace diag {
namespace {

using uiframework::Control;
using uiframework::PaintManager;

std::optional<int> ParseNumber(std::string_view text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Splits "NAME=VALUE".
bool SplitAssignment(std::string_view text, std::string_view& name, std::string_view& value) {
    size_t equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        return false;
    }
    name = text.substr(0, equals);
    value = text.substr(equals + 1);
    return true;
}

Control* Find(PaintManager& manager, std::string_view name) {
    Control* control = manager.FindControl(name);
    if (control == nullptr) {
        fmt::fprintf(stderr, "quorvex-diag: no control named %s\n", std::string(name));
    }
    return control;
}

bool SelectTab(PaintManager& manager, std::string_view name, std::string_view page) {
    auto* tab = dynamic_cast<uiframework::TabLayout*>(Find(manager, name));
    std::optional<int> index = ParseNumber(page);
    return tab != nullptr && index && tab->SelectItem(*index);
}

// Applies one option that changes the window before painting; false when it is malformed.
bool ApplyOption(PaintManager& manager, std::string_view option) {
    std::string_view name;
    std::string_view value;
    if (option.starts_with("--page=")) {
        return SelectTab(manager, "mainTabLt", option.substr(7));
    }
    if (option.starts_with("--tab=")) {
        return SplitAssignment(option.substr(6), name, value) && SelectTab(manager, name, value);
    }
    if (option.starts_with("--text=")) {
        if (!SplitAssignment(option.substr(7), name, value)) {
            return false;
        }
        Control* control = Find(manager, name);
        if (control != nullptr) {
            control->SetText(std::string(value));
        }
        return control != nullptr;
    }
    if (option.starts_with("--value=")) {
        if (!SplitAssignment(option.substr(8), name, value)) {
            return false;
        }
        auto* progress = dynamic_cast<uiframework::Progress*>(Find(manager, name));
        std::optional<int> number = ParseNumber(value);
        if (progress != nullptr && number) {
            progress->SetValue(*number);
        }
        return progress != nullptr && number;
    }
    if (option.starts_with("--visible=")) {
        if (!SplitAssignment(option.substr(10), name, value) || (value != "0" && value != "1")) {
            return false;
        }
        Control* control = Find(manager, name);
        if (control != nullptr) {
            control->SetVisible(value == "1");
        }
        return control != nullptr;
    }
    return false;
}

// Puts the pointer over `name`, pressed or not; the window sees it as the user's.
bool Point(uiframework::HeadlessWindow& window, std::string_view name, bool press) {
    PaintManager& manager = window.Client().Manager();
    manager.EnsureLayout();
    Control* control = Find(manager, name);
    if (control == nullptr) {
        return false;
    }
    uiframework::Point centre = control->GetPos().Center();
    window.MoveMouse(centre);
    if (press) {
        window.Press(centre);
    }
    return true;
}

}  // namespace

int RunRender(const std::vector<std::string>& arguments) {
    if (arguments.size() < 2) {
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
    auto& hostWindow = *static_cast<uiframework::HeadlessWindow*>(window->GetHostWindow());
    PaintManager& manager = window->Manager();

    bool shadow = true;
    uint64_t timeMs = 0;
    std::string_view hot;
    std::string_view pushed;
    for (size_t i = 2; i < arguments.size(); ++i) {
        std::string_view option = arguments[i];
        if (option == "--no-shadow") {
            shadow = false;
        } else if (option.starts_with("--time=")) {
            std::optional<int> ms = ParseNumber(option.substr(7));
            if (!ms || *ms < 0) {
                return kUsageError;
            }
            timeMs = static_cast<uint64_t>(*ms);
        } else if (option.starts_with("--hot=")) {
            hot = option.substr(6);
        } else if (option.starts_with("--pushed=")) {
            pushed = option.substr(9);
        } else if (!ApplyOption(manager, option)) {
            fmt::fprintf(stderr, "quorvex-diag: cannot apply %s\n", std::string(option));
            return kUsageError;
        }
    }
    host.Pump();
    host.Advance(timeMs);
    if ((!hot.empty() && !Point(hostWindow, hot, false)) ||
        (!pushed.empty() && !Point(hostWindow, pushed, true))) {
        return kUsageError;
    }

    uiframework::CairoImageCache images(*skin);
    std::optional<uiframework::ShadowParams> shadowParams;
    if (shadow && window->Shadow() != nullptr) {
        shadowParams = window->Shadow()->Params();
    }
    auto picture = uiframework::RenderWindow(*window, manager.GetWindowAttributes().size,
                                             shadowParams, images);
    std::string error;
    if (!uiframework::WritePng(picture.get(), arguments[1], &error)) {
        fmt::fprintf(stderr, "quorvex-diag: cannot write %s: %s\n", arguments[1], error);
        return 1;
    }
    return 0;
}

}  // namespace diag
