#include "uiframework/headless/headless_window.h"

#include "uiframework/headless/headless_host.h"
#include "uiframework/paint_manager.h"

namespace uiframework {

HeadlessWindow::HeadlessWindow(HeadlessHost& host, HostWindowClient& client,
                               HostWindowParams params, HeadlessWindow* owner)
    : host_(host), client_(client), params_(std::move(params)), owner_(owner) {}

HeadlessWindow::~HeadlessWindow() {
    host_.Forget(this);
    for (HeadlessWindow* other : host_.windows_) {
        if (other->owner_ == this) {
            other->owner_ = nullptr;
        }
    }
}

int HeadlessWindow::RunModal() {
    auto script = host_.TakeModalScript();
    if (destroyed_) {
        return result_;
    }
    shown_ = true;
    host_.modalLog_.push_back(params_.className);
    bool ownerWasEnabled = owner_ != nullptr && owner_->enabled_;
    if (owner_ != nullptr) {
        owner_->enabled_ = false;
    }
    host_.Pump();
    if (!destroyed_ && script) {
        script(*this);
    }
    while (!destroyed_ && host_.RunOnePosted()) {
    }
    if (!destroyed_) {
        Destroy(kModalAbandoned);
    }
    if (owner_ != nullptr && ownerWasEnabled) {
        owner_->enabled_ = true;
    }
    return result_;
}

void HeadlessWindow::Destroy(int result) {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    shown_ = false;
    result_ = result;
}

void HeadlessWindow::Invalidate(const Rect& rect) {
    if (dirty_.IsEmpty()) {
        dirty_ = rect;
        return;
    }
    dirty_ = Rect{std::min(dirty_.left, rect.left), std::min(dirty_.top, rect.top),
                  std::max(dirty_.right, rect.right), std::max(dirty_.bottom, rect.bottom)};
}

Rect HeadlessWindow::TakeDirty() {
    Rect dirty = dirty_;
    dirty_ = Rect{};
    return dirty;
}

std::optional<std::string> HeadlessWindow::PickFolder(std::string_view /*title*/) {
    return host_.TakeFolderPick();
}

void HeadlessWindow::MoveMouse(Point point) {
    if (AcceptsInput()) {
        client_.OnMouseMove(point);
    }
}

void HeadlessWindow::Press(Point point) {
    if (AcceptsInput()) {
        client_.OnMouseDown(point);
    }
}

void HeadlessWindow::Release(Point point) {
    if (AcceptsInput()) {
        client_.OnMouseUp(point);
    }
}

void HeadlessWindow::Click(Point point) {
    MoveMouse(point);
    Press(point);
    Release(point);
}

bool HeadlessWindow::ClickControl(std::string_view name) {
    PaintManager& manager = client_.Manager();
    manager.EnsureLayout();
    Control* control = manager.FindControl(name);
    if (control == nullptr) {
        return false;
    }
    Click(control->GetPos().Center());
    return true;
}

bool HeadlessWindow::PressKey(Key key) {
    return AcceptsInput() && client_.OnKeyDown(key);
}

void HeadlessWindow::RequestClose() {
    if (AcceptsInput()) {
        client_.OnCloseRequest();
    }
}

void HeadlessWindow::Render(Canvas& canvas) {
    client_.OnPaint(canvas, Rect::FromSize(0, 0, params_.size.cx, params_.size.cy));
}

}  // namespace uiframework
