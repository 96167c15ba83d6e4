#include "uiframework/paint_manager.h"

#include <algorithm>
#include <vector>

#include "uiframework/ui_task_queue.h"

namespace uiframework {

namespace {

Control* FindByName(Control* node, std::string_view name) {
    if (node == nullptr) {
        return nullptr;
    }
    if (node->GetName() == name) {
        return node;
    }
    for (size_t i = 0; i < node->ChildCount(); ++i) {
        if (Control* found = FindByName(node->ChildAt(i), name)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

PaintManager::PaintManager(UiContext& context)
    : context_(context), queue_(UiTaskQueue::Create(context.Host())) {}

PaintManager::~PaintManager() {
    queue_->Close();
    for (const auto& [key, timer] : timers_) {
        context_.Host().StopTimer(timer);
    }
    timers_.clear();
    root_.reset();
}

void PaintManager::Attach(WindowAttributes window, FontTable fonts, std::unique_ptr<Control> root) {
    window_ = std::move(window);
    fonts_ = std::move(fonts);
    root_ = std::move(root);
    if (root_) {
        root_->Attach(this, nullptr);
        InitTree(root_.get());
    }
    layoutDirty_ = true;
    EnsureLayout();
}

void PaintManager::InitTree(Control* control) {
    control->DoInit();
    for (size_t i = 0; i < control->ChildCount(); ++i) {
        InitTree(control->ChildAt(i));
    }
}

Control* PaintManager::FindControl(std::string_view name) const {
    if (name.empty()) {
        return nullptr;
    }
    return FindByName(root_.get(), name);
}

void PaintManager::NeedUpdate() {
    layoutDirty_ = true;
    Invalidate(Rect::FromSize(0, 0, window_.size.cx, window_.size.cy));
}

void PaintManager::EnsureLayout() {
    if (!layoutDirty_ || !root_) {
        return;
    }
    layoutDirty_ = false;
    root_->SetPos(Rect::FromSize(0, 0, window_.size.cx, window_.size.cy));
}

void PaintManager::Invalidate(const Rect& rect) {
    if (hostWindow_ != nullptr && !rect.IsEmpty()) {
        hostWindow_->Invalidate(rect);
    }
}

void PaintManager::Paint(Canvas& canvas, const Rect& dirty) {
    EnsureLayout();
    if (root_) {
        root_->Paint(canvas, dirty);
    }
}

void PaintManager::SendNotify(Control* sender, std::string_view type, uintptr_t wParam,
                              intptr_t lParam) {
    Notification notification;
    notification.type = std::string(type);
    notification.sender = sender;
    notification.timestamp = context_.Host().TickCountMs();
    notification.wParam = wParam;
    notification.lParam = lParam;
    Deliver(std::move(notification));
}

void PaintManager::PostNotify(Control* sender, std::string type, uintptr_t wParam,
                              intptr_t lParam) {
    Notification notification;
    notification.type = std::move(type);
    notification.sender = sender;
    notification.timestamp = context_.Host().TickCountMs();
    notification.wParam = wParam;
    notification.lParam = lParam;
    std::weak_ptr<const bool> senderLife;
    if (sender != nullptr) {
        senderLife = sender->LifeToken();
    }
    bool hasSender = sender != nullptr;
    queue_->Push([this, notification = std::move(notification), senderLife, hasSender]() mutable {
        if (hasSender && senderLife.expired()) {
            return;
        }
        Deliver(std::move(notification));
    });
}

void PaintManager::PostTask(UniqueTask task) {
    queue_->Push(std::move(task));
}

void PaintManager::Deliver(Notification notification) {
    if (listener_ != nullptr) {
        listener_->Notify(notification);
    }
}

bool PaintManager::SetTimer(Control* control, unsigned id, uint32_t periodMs) {
    if (control == nullptr) {
        return false;
    }
    KillTimer(control, id);
    uint32_t period = std::clamp(periodMs, kMinTimerPeriodMs, kMaxTimerPeriodMs);
    TimerId timer =
        context_.Host().StartTimer(period, [this, control, id] { FireTimer(control, id); });
    timers_[{control, id}] = timer;
    return true;
}

void PaintManager::KillTimer(Control* control, unsigned id) {
    auto it = timers_.find({control, id});
    if (it == timers_.end()) {
        return;
    }
    context_.Host().StopTimer(it->second);
    timers_.erase(it);
}

bool PaintManager::HasTimer(const Control* control, unsigned id) const {
    return timers_.count({control, id}) != 0;
}

void PaintManager::KillTimers(Control* control) {
    auto it = timers_.lower_bound({control, 0});
    while (it != timers_.end() && it->first.first == control) {
        context_.Host().StopTimer(it->second);
        it = timers_.erase(it);
    }
}

void PaintManager::FireTimer(Control* control, unsigned id) {
    ControlEvent event;
    event.type = EventType::kTimer;
    event.wParam = id;
    control->DoEvent(event);
}

void PaintManager::OnMouseMove(Point point) {
    EnsureLayout();
    Control* hit = root_ ? root_->FindControlAt(point) : nullptr;
    if (hit != hot_) {
        Control* previous = hot_;
        hot_ = hit;
        if (previous != nullptr) {
            previous->DoEvent(ControlEvent{EventType::kMouseLeave, point});
        }
        if (hot_ != nullptr) {
            hot_->DoEvent(ControlEvent{EventType::kMouseEnter, point});
        }
    }
    if (pushed_ != nullptr) {
        pushed_->DoEvent(ControlEvent{EventType::kMouseMove, point});
    }
}

void PaintManager::OnMouseDown(Point point) {
    OnMouseMove(point);
    Control* hit = hot_;
    if (hit == nullptr || !hit->IsEnabled()) {
        return;
    }
    pushed_ = hit;
    hit->DoEvent(ControlEvent{EventType::kButtonDown, point});
}

void PaintManager::OnMouseUp(Point point) {
    Control* pushed = pushed_;
    pushed_ = nullptr;
    if (pushed != nullptr) {
        pushed->DoEvent(ControlEvent{EventType::kButtonUp, point});
    }
}

void PaintManager::OnMouseLeave() {
    if (hot_ != nullptr && pushed_ == nullptr) {
        Control* previous = hot_;
        hot_ = nullptr;
        previous->DoEvent(ControlEvent{EventType::kMouseLeave, Point{}});
    }
}

bool PaintManager::IsCaptionPoint(Point point) {
    const Rect& band = window_.caption;
    Rect caption{band.left, band.top, window_.size.cx - band.right, band.bottom};
    if (!caption.Contains(point)) {
        return false;
    }
    EnsureLayout();
    Control* hit = root_ ? root_->FindControlAt(point) : nullptr;
    return hit == nullptr || !hit->IsInteractive();
}

void PaintManager::SetFocus(Control* control) {
    if (control == focus_) {
        return;
    }
    Control* previous = focus_;
    focus_ = control;
    if (previous != nullptr) {
        previous->DoEvent(ControlEvent{EventType::kKillFocus, Point{}});
        previous->Invalidate();
    }
    if (focus_ != nullptr) {
        focus_->DoEvent(ControlEvent{EventType::kSetFocus, Point{}});
        focus_->Invalidate();
    }
}

void PaintManager::ForgetControl(Control* control) {
    KillTimers(control);
    if (hot_ == control) {
        hot_ = nullptr;
    }
    if (pushed_ == control) {
        pushed_ = nullptr;
    }
    if (focus_ == control) {
        focus_ = nullptr;
    }
}

}  // namespace uiframework
