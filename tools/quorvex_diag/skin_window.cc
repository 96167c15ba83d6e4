#include "skin_window.h"

#include <fmt/printf.h>

namespace diag {

std::optional<uiframework::SkinArchiveResources> OpenSkin() {
    std::string error;
    auto skin = uiframework::SkinArchiveResources::OpenEmbedded(&error);
    if (!skin) {
        fmt::fprintf(stderr, "quorvex-diag: the embedded skin cannot be read: %s\n", error);
    }
    return skin;
}

std::unique_ptr<SkinWindow> OpenSkinWindow(uiframework::UiContext& context,
                                           const std::string& layout) {
    auto window = std::make_unique<SkinWindow>(context, layout);
    if (window->Create(nullptr, layout) != uiframework::CreateStatus::kCreated) {
        fmt::fprintf(stderr, "quorvex-diag: %s\n", window->LoadError());
        return nullptr;
    }
    return window;
}

}  // namespace diag
