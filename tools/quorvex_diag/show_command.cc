// quorvex-diag show LAYOUT [--page=N]: opens a skin window on the display (with mainTabLt
// on page N) and prints each notification it raises ("TYPE SENDER", the sender's name or
// "-") until it is closed.

#include <fmt/printf.h>

#include <cstdio>
#include <cstdlib>

#include "commands.h"
#include "skin_window.h"
#include "uiframework/gtk/gtk_host.h"
#include "uiframework/loading/window_loader.h"
#include "uiframework/paint_manager.h"
#include "uiframework/tab_layout.h"

namespace diag {

int RunShow(const std::vector<std::string>& arguments) {
    std::optional<int> page;
    if (arguments.size() == 2 && arguments[1].starts_with("--page=")) {
        page = std::atoi(arguments[1].c_str() + 7);
    } else if (arguments.size() != 1) {
        return kUsageError;
    }
    auto skin = OpenSkin();
    if (!skin) {
        return 1;
    }
    std::string error;
    auto host = uiframework::GtkUiHost::Create(*skin, &error);
    if (!host) {
        fmt::fprintf(stderr, "quorvex-diag: %s\n", error);
        return 1;
    }
    if (auto logo = skin->Read("res/mainWnd/logo.png")) {
        host->SetWindowIcon(*logo);
    }
    uiframework::UiContext context(*host, *skin);
    SkinWindow window(context, arguments[0]);
    window.onNotify = [](const uiframework::Notification& n) {
        if (n.type == uiframework::kNotifyTimer) {
            return;  // the animation's ticks would drown everything else
        }
        const std::string& sender = n.sender != nullptr ? n.sender->GetName() : std::string();
        fmt::printf("%s %s\n", n.type, sender.empty() ? "-" : sender);
        std::fflush(stdout);
    };
    uiframework::CreateWindowOrExit(window, nullptr, "Quorvex", *host,
                                    [](int code) { std::exit(code); });
    if (auto* pages = window.Manager().FindControlAs<uiframework::TabLayout>("mainTabLt");
        pages != nullptr && page) {
        pages->SelectItem(*page);
    }
    int result = window.ShowModal();
    fmt::printf("closed %d\n", result);
    return 0;
}

}  // namespace diag
