#include "ui/controls/skin_frame.h"

#include <vector>

#include "ui/controls/sequence_controls.h"
#include "uiframework/attribute_text.h"

using uiframework::Insets;

namespace {

Insets InsetsFrom(const std::string& text) {
    std::vector<int> v = uiframework::LeadingInts(text, 4);
    return Insets{v[0], v[1], v[2], v[3]};
}

}  // namespace

CSkinFrame::CSkinFrame(uiframework::UiContext& context, std::string layoutFile,
                       std::string className)
    : SkinWindowBase(context),
      layoutFile_(std::move(layoutFile)),
      className_(std::move(className)) {}

std::string CSkinFrame::WindowClassNameFor(std::string_view layoutFile) {
    size_t dot = layoutFile.rfind('.');
    return std::string(layoutFile.substr(0, dot));
}

std::unique_ptr<uiframework::Control> CSkinFrame::CreateControl(std::string_view elementName) {
    return uiframework::CreateSequenceControl(elementName);
}

void CSkinFrame::InitWindow() {
    // The hosts open undecorated windows without a maximise box, so there is no window
    // style to strip here.
    ConfigureShadow();
}

bool CSkinFrame::FilterKeyDown(uiframework::Key key) {
    return key == uiframework::Key::kEscape;
}

void CSkinFrame::ConfigureShadow() {
    const uiframework::WindowAttributes& window = Manager().GetWindowAttributes();
    const std::string* show = window.Find("showshadow");
    if (show == nullptr || !uiframework::EqualsIgnoreCase(*show, "true")) {
        return;
    }
    shadow_ = std::make_unique<uiframework::CShadowWnd>();
    if (const std::string* image = window.Find("shadowimage")) {
        shadow_->SetImage(*image);
    }
    const std::string* corner = window.Find("shadowcorner");
    if (corner != nullptr) {
        shadow_->SetShadowCorner(InsetsFrom(*corner));
    }
    if (const std::string* hole = window.Find("shadowholeoffset")) {
        shadow_->SetHoleOffset(InsetsFrom(*hole));
    } else if (corner != nullptr) {
        shadow_->SetHoleOffset(InsetsFrom(*corner));
    }
    if (const std::string* size = window.Find("shadowsize")) {
        shadow_->SetSize(uiframework::LeadingInt(*size));
    }
    if (const std::string* sharpness = window.Find("shadowsharpness")) {
        shadow_->SetSharpness(uiframework::LeadingInt(*sharpness));
    }
    if (const std::string* darkness = window.Find("shadowdarkness")) {
        shadow_->SetDarkness(uiframework::LeadingInt(*darkness));
    }
    if (const std::string* position = window.Find("shadowposition")) {
        std::vector<int> xy = uiframework::LeadingInts(*position, 2);
        shadow_->SetPosition(xy[0], xy[1]);
    }
    if (const std::string* color = window.Find("shadowcolor")) {
        shadow_->SetColor(uiframework::LeadingHex(*color));
    }
    if (uiframework::HostWindow* host = GetHostWindow()) {
        shadow_->Create(*host);
    }
}
