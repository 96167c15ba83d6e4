#include "uiframework/skin_window_base.h"

#include "uiframework/layout_builder.h"

namespace uiframework {

SkinWindowBase::SkinWindowBase(UiContext& context) : context_(context), manager_(context) {}

SkinWindowBase::~SkinWindowBase() {
    manager_.SetHostWindow(nullptr);
    manager_.SetListener(nullptr);
}

CreateStatus SkinWindowBase::Create(SkinWindowBase* owner, std::string_view title) {
    if (hostWindow_) {
        return CreateStatus::kAlreadyCreated;
    }
    std::string file = GetSkinFile();
    std::optional<std::string> xml = context_.Resources().Read(file);
    if (!xml) {
        loadError_ = "layout " + file + " not found";
        return CreateStatus::kLayoutMissing;
    }
    BuiltLayout layout =
        BuildLayout(*xml, [this](std::string_view element) { return CreateControl(element); });
    if (!layout.root) {
        loadError_ = file + ": " + layout.error;
        return CreateStatus::kLayoutInvalid;
    }

    HostWindowParams params;
    params.title = std::string(title);
    params.className = GetWindowClassName();
    params.size = layout.window.size;
    params.caption = layout.window.caption;
    params.roundCorner = layout.window.roundCorner;

    manager_.SetListener(this);
    manager_.Attach(std::move(layout.window), std::move(layout.fonts), std::move(layout.root));
    HostWindow* ownerWindow = owner != nullptr ? owner->hostWindow_.get() : nullptr;
    hostWindow_ = context_.Host().CreateHostWindow(*this, params, ownerWindow);
    manager_.SetHostWindow(hostWindow_.get());
    InitWindow();
    return CreateStatus::kCreated;
}

void SkinWindowBase::Show() {
    if (hostWindow_) {
        hostWindow_->Show();
    }
}

int SkinWindowBase::ShowModal() {
    if (!hostWindow_) {
        return kModalNotShown;
    }
    return hostWindow_->RunModal();
}

void SkinWindowBase::Close(int result) {
    manager_.PostTask([this, result] { RequestClose(result); });
}

bool SkinWindowBase::IsClosed() const {
    return !hostWindow_ || hostWindow_->IsDestroyed();
}

void SkinWindowBase::PostWindowMessage(WindowMessage message) {
    manager_.PostTask(
        [this, message = std::move(message)]() mutable { HandleWindowMessage(message); });
}

void SkinWindowBase::Minimize() {
    if (hostWindow_) {
        hostWindow_->Minimize();
    }
}

void SkinWindowBase::BringToFront() {
    if (hostWindow_) {
        hostWindow_->BringToFront();
    }
}

void SkinWindowBase::CenterWindow() {
    if (hostWindow_) {
        hostWindow_->Center();
    }
}

std::optional<std::string> SkinWindowBase::PickFolder(std::string_view title) {
    if (!hostWindow_) {
        return std::nullopt;
    }
    return hostWindow_->PickFolder(title);
}

void SkinWindowBase::OnPaint(Canvas& canvas, const Rect& dirty) {
    manager_.Paint(canvas, dirty);
}

void SkinWindowBase::OnMouseMove(Point point) {
    manager_.OnMouseMove(point);
}

void SkinWindowBase::OnMouseDown(Point point) {
    manager_.OnMouseDown(point);
}

void SkinWindowBase::OnMouseUp(Point point) {
    manager_.OnMouseUp(point);
}

void SkinWindowBase::OnMouseLeave() {
    manager_.OnMouseLeave();
}

bool SkinWindowBase::OnKeyDown(Key key) {
    if (FilterKeyDown(key)) {
        return true;
    }
    if (key == Key::kEscape) {
        Close(kCloseResultCancel);
        return true;
    }
    return false;
}

void SkinWindowBase::OnCloseRequest() {
    RequestClose(kCloseResultCancel);
}

bool SkinWindowBase::IsCaptionPoint(Point point) {
    return manager_.IsCaptionPoint(point);
}

void SkinWindowBase::Notify(const Notification& notification) {
    if (notification.type != kNotifyClick || notification.sender == nullptr) {
        return;
    }
    const std::string& name = notification.sender->GetName();
    if (name == "closebtn") {
        Close(kCloseResultOk);
    } else if (name == "minbtn") {
        Minimize();
    }
}

void SkinWindowBase::RequestClose(int result) {
    if (IsClosed() || !QueryClose(result)) {
        return;
    }
    hostWindow_->Destroy(result);
}

}  // namespace uiframework
