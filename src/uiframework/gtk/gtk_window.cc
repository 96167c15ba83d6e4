#include "uiframework/gtk/gtk_window.h"

#include <fmt/printf.h>

#include <algorithm>

#include "uiframework/cairo/cairo_canvas.h"
#include "uiframework/cairo/shadow_painter.h"
#include "uiframework/combo.h"
#include "uiframework/edit.h"
#include "uiframework/paint_manager.h"

namespace uiframework {

namespace {

// Keeps the skin's box around a native entry visible above and below it.
constexpr int kEntryInset = 2;

Key KeyOf(guint keyval) {
    switch (keyval) {
        case GDK_KEY_Escape:
            return Key::kEscape;
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
            return Key::kReturn;
        case GDK_KEY_Tab:
            return Key::kTab;
        default:
            return Key::kOther;
    }
}

bool ShownInTree(const Control* control) {
    for (; control != nullptr; control = control->GetParent()) {
        if (!control->IsVisible()) {
            return false;
        }
    }
    return true;
}

// A flat entry in the control's font and colours, so that it looks part of the skin.
void StyleEntry(GtkWidget* entry, const FontInfo& font, Color text, Color background) {
    std::string css = fmt::sprintf(
        "entry { border: none; box-shadow: none; border-radius: 0; padding: 0; min-height: 0;"
        " background: #%06x; color: #%06x; font-family: \"%s\", \"WenQuanYi Micro Hei\";"
        " font-size: %dpx; }",
        background & 0xFFFFFF, text & 0xFFFFFF, font.name, font.size);
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(entry),
                                   GTK_STYLE_PROVIDER(provider),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

}  // namespace

GtkHostWindow::GtkHostWindow(HostWindowClient& client, const HostWindowParams& params,
                             GtkHostWindow* owner, CairoImageCache& images, GdkPixbuf* icon)
    : client_(client), params_(params), owner_(owner), images_(images) {
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window_), params_.title.c_str());
    gtk_window_set_role(GTK_WINDOW(window_), params_.className.c_str());
    gtk_window_set_decorated(GTK_WINDOW(window_), FALSE);
    gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
    if (icon != nullptr) {
        gtk_window_set_icon(GTK_WINDOW(window_), icon);
    }
    if (owner_ != nullptr) {
        gtk_window_set_transient_for(GTK_WINDOW(window_), GTK_WINDOW(owner_->window_));
    }

    fixed_ = gtk_fixed_new();
    gtk_container_add(GTK_CONTAINER(window_), fixed_);
    canvas_ = gtk_drawing_area_new();
    gtk_widget_add_events(canvas_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                       GDK_POINTER_MOTION_MASK | GDK_LEAVE_NOTIFY_MASK);
    gtk_fixed_put(GTK_FIXED(fixed_), canvas_, 0, 0);

    g_signal_connect(canvas_, "draw", G_CALLBACK(OnDraw), this);
    g_signal_connect(canvas_, "button-press-event", G_CALLBACK(OnButtonPress), this);
    g_signal_connect(canvas_, "button-release-event", G_CALLBACK(OnButtonRelease), this);
    g_signal_connect(canvas_, "motion-notify-event", G_CALLBACK(OnMotion), this);
    g_signal_connect(canvas_, "leave-notify-event", G_CALLBACK(OnLeave), this);
    g_signal_connect(window_, "key-press-event", G_CALLBACK(OnKeyPress), this);
    g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);

    if (Control* root = client_.Manager().GetRoot()) {
        CreateNativeControls(*root);
    }
    gtk_widget_show(fixed_);
    gtk_widget_show(canvas_);
    ApplyGeometry();
    Center();
}

GtkHostWindow::~GtkHostWindow() {
    if (syncSource_ != 0) {
        g_source_remove(syncSource_);
    }
    if (modalLoop_ != nullptr) {
        g_main_loop_quit(modalLoop_);
    }
    // Signal handlers point at this object: nothing may reach it once it is gone.
    g_signal_handlers_disconnect_by_data(window_, this);
    g_signal_handlers_disconnect_by_data(canvas_, this);
    for (NativeControl& native : natives_) {
        g_signal_handlers_disconnect_by_data(native.widget, this);
    }
    gtk_widget_destroy(window_);
}

void GtkHostWindow::ApplyGeometry() {
    int width = params_.size.cx + 2 * margin_;
    int height = params_.size.cy + 2 * margin_;
    gtk_widget_set_size_request(canvas_, width, height);
    gtk_window_resize(GTK_WINDOW(window_), width, height);
    ScheduleSync();
}

void GtkHostWindow::Show() {
    if (destroyed_) {
        return;
    }
    gtk_widget_show(window_);
    if (margin_ > 0) {
        // Clicks on the shadow reach the windows below it.
        cairo_rectangle_int_t body{margin_, margin_, params_.size.cx, params_.size.cy};
        cairo_region_t* region = cairo_region_create_rectangle(&body);
        gtk_widget_input_shape_combine_region(window_, region);
        cairo_region_destroy(region);
    }
    SyncNativeControls();
}

int GtkHostWindow::RunModal() {
    if (destroyed_) {
        return result_;
    }
    if (owner_ != nullptr) {
        ++owner_->disabledBy_;
        gtk_window_set_modal(GTK_WINDOW(window_), TRUE);
    }
    Show();
    gtk_window_present(GTK_WINDOW(window_));
    modalLoop_ = g_main_loop_new(nullptr, FALSE);
    // Runs the default context: posted tasks and timers of every window go on.
    g_main_loop_run(modalLoop_);
    g_main_loop_unref(modalLoop_);
    modalLoop_ = nullptr;
    if (owner_ != nullptr) {
        --owner_->disabledBy_;
        if (!owner_->destroyed_) {
            gtk_window_present(GTK_WINDOW(owner_->window_));
        }
    }
    return result_;
}

void GtkHostWindow::Destroy(int result) {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    result_ = result;
    gtk_widget_hide(window_);
    if (modalLoop_ != nullptr) {
        g_main_loop_quit(modalLoop_);
    }
}

void GtkHostWindow::Invalidate(const Rect& rect) {
    if (destroyed_) {
        return;
    }
    gtk_widget_queue_draw_area(canvas_, rect.left + margin_, rect.top + margin_, rect.Width(),
                               rect.Height());
    ScheduleSync();
}

void GtkHostWindow::Minimize() {
    gtk_window_iconify(GTK_WINDOW(window_));
}

void GtkHostWindow::BringToFront() {
    gtk_window_deiconify(GTK_WINDOW(window_));
    gtk_window_present_with_time(GTK_WINDOW(window_), GDK_CURRENT_TIME);
}

void GtkHostWindow::Center() {
    int width = params_.size.cx + 2 * margin_;
    int height = params_.size.cy + 2 * margin_;
    GdkDisplay* display = gtk_widget_get_display(window_);
    GdkMonitor* monitor = nullptr;
    if (owner_ != nullptr && gtk_widget_get_window(owner_->window_) != nullptr) {
        monitor =
            gdk_display_get_monitor_at_window(display, gtk_widget_get_window(owner_->window_));
    }
    if (monitor == nullptr) {
        monitor = gdk_display_get_primary_monitor(display);
    }
    if (monitor == nullptr) {
        monitor = gdk_display_get_monitor(display, 0);
    }
    GdkRectangle area{0, 0, width, height};
    if (monitor != nullptr) {
        gdk_monitor_get_workarea(monitor, &area);
    }
    int x = area.x + (area.width - width) / 2;
    int y = area.y + (area.height - height) / 2;
    if (owner_ != nullptr && !owner_->destroyed_) {
        int ownerX = 0;
        int ownerY = 0;
        gtk_window_get_position(GTK_WINDOW(owner_->window_), &ownerX, &ownerY);
        int ownerWidth = owner_->params_.size.cx + 2 * owner_->margin_;
        int ownerHeight = owner_->params_.size.cy + 2 * owner_->margin_;
        x = ownerX + (ownerWidth - width) / 2;
        y = ownerY + (ownerHeight - height) / 2;
    }
    x = std::clamp(x, area.x, std::max(area.x, area.x + area.width - width));
    y = std::clamp(y, area.y, std::max(area.y, area.y + area.height - height));
    gtk_window_move(GTK_WINDOW(window_), x, y);
}

void GtkHostWindow::SetShadow(std::optional<ShadowParams> shadow) {
    shadow_ = std::move(shadow);
    int margin = 0;
    GdkScreen* screen = gtk_widget_get_screen(window_);
    GdkVisual* visual = gdk_screen_get_rgba_visual(screen);
    // Without a compositor a shadow would be an opaque band: none then.
    if (shadow_ && visual != nullptr && gdk_screen_is_composited(screen) &&
        !gtk_widget_get_realized(window_)) {
        gtk_widget_set_visual(window_, visual);
        gtk_widget_set_app_paintable(window_, TRUE);
        margin = ShadowMargin(*shadow_);
    }
    if (margin != margin_) {
        margin_ = margin;
        ApplyGeometry();
        Center();
    }
}

std::optional<std::string> GtkHostWindow::PickFolder(std::string_view title) {
    std::string caption(title);
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        caption.c_str(), GTK_WINDOW(window_), GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "取消",
        GTK_RESPONSE_CANCEL, "确定", GTK_RESPONSE_ACCEPT, nullptr);
    std::optional<std::string> folder;
    ++disabledBy_;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        if (gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog))) {
            folder = name;
            g_free(name);
        }
    }
    --disabledBy_;
    gtk_widget_destroy(dialog);
    return folder;
}

Point GtkHostWindow::ToWindow(double x, double y) const {
    return Point{static_cast<int>(x) - margin_, static_cast<int>(y) - margin_};
}

gboolean GtkHostWindow::OnDraw(GtkWidget* /*widget*/, cairo_t* cr, gpointer self) {
    auto* window = static_cast<GtkHostWindow*>(self);
    Rect body = Rect::FromSize(0, 0, window->params_.size.cx, window->params_.size.cy);
    if (window->margin_ > 0) {
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_rgba(cr, 0, 0, 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_translate(cr, window->margin_, window->margin_);
        PaintShadow(cr, body, *window->shadow_);
    }
    GdkRectangle clip;
    Rect dirty = body;
    if (gdk_cairo_get_clip_rectangle(cr, &clip)) {
        dirty = Rect::FromSize(clip.x, clip.y, clip.width, clip.height).Intersect(body);
    }
    CairoCanvas canvas(cr, window->images_);
    canvas.PushClip(body);
    window->client_.OnPaint(canvas, dirty);
    canvas.PopClip();
    return TRUE;
}

gboolean GtkHostWindow::OnButtonPress(GtkWidget* /*widget*/, GdkEventButton* event, gpointer self) {
    auto* window = static_cast<GtkHostWindow*>(self);
    if (window->destroyed_ || window->disabledBy_ > 0 || event->button != 1 ||
        event->type != GDK_BUTTON_PRESS) {
        return TRUE;
    }
    // A press outside the native entries takes the keyboard focus from them.
    gtk_window_set_focus(GTK_WINDOW(window->window_), nullptr);
    Point point = window->ToWindow(event->x, event->y);
    if (window->client_.IsCaptionPoint(point)) {
        gtk_window_begin_move_drag(GTK_WINDOW(window->window_), static_cast<int>(event->button),
                                   static_cast<int>(event->x_root), static_cast<int>(event->y_root),
                                   event->time);
        return TRUE;
    }
    window->client_.OnMouseDown(point);
    return TRUE;
}

gboolean GtkHostWindow::OnButtonRelease(GtkWidget* /*widget*/, GdkEventButton* event,
                                        gpointer self) {
    auto* window = static_cast<GtkHostWindow*>(self);
    if (window->destroyed_ || window->disabledBy_ > 0 || event->button != 1) {
        return TRUE;
    }
    window->client_.OnMouseUp(window->ToWindow(event->x, event->y));
    return TRUE;
}

gboolean GtkHostWindow::OnMotion(GtkWidget* /*widget*/, GdkEventMotion* event, gpointer self) {
    auto* window = static_cast<GtkHostWindow*>(self);
    if (!window->destroyed_ && window->disabledBy_ == 0) {
        window->client_.OnMouseMove(window->ToWindow(event->x, event->y));
    }
    return TRUE;
}

gboolean GtkHostWindow::OnLeave(GtkWidget* /*widget*/, GdkEventCrossing* event, gpointer self) {
    auto* window = static_cast<GtkHostWindow*>(self);
    // Crossing into a native child is not leaving the window.
    if (!window->destroyed_ && event->detail != GDK_NOTIFY_INFERIOR) {
        window->client_.OnMouseLeave();
    }
    return TRUE;
}

gboolean GtkHostWindow::OnKeyPress(GtkWidget* /*widget*/, GdkEventKey* event, gpointer self) {
    auto* window = static_cast<GtkHostWindow*>(self);
    if (window->destroyed_ || window->disabledBy_ > 0) {
        return TRUE;
    }
    return window->client_.OnKeyDown(KeyOf(event->keyval)) ? TRUE : FALSE;
}

gboolean GtkHostWindow::OnDelete(GtkWidget* /*widget*/, GdkEvent* /*event*/, gpointer self) {
    auto* window = static_cast<GtkHostWindow*>(self);
    if (!window->destroyed_ && window->disabledBy_ == 0) {
        window->client_.OnCloseRequest();
    }
    // The window decides; GTK never destroys it on its own.
    return TRUE;
}

void GtkHostWindow::CreateNativeControls(Control& node) {
    GtkWidget* widget = nullptr;
    const FontTable& fonts = client_.Manager().Fonts();
    if (auto* edit = dynamic_cast<Edit*>(&node)) {
        widget = gtk_entry_new();
        gtk_entry_set_max_length(GTK_ENTRY(widget), static_cast<int>(edit->GetMaxChar()));
        gtk_entry_set_visibility(GTK_ENTRY(widget), !edit->IsPassword());
        gtk_editable_set_editable(GTK_EDITABLE(widget), !edit->IsReadOnly());
        gtk_entry_set_has_frame(GTK_ENTRY(widget), FALSE);
        StyleEntry(widget, fonts.Get(edit->GetFont()), edit->GetTextColor(),
                   edit->GetNativeBkColor());
        gtk_entry_set_text(GTK_ENTRY(widget), edit->GetText().c_str());
        g_signal_connect(widget, "changed", G_CALLBACK(OnEntryChanged), this);
    } else if (auto* combo = dynamic_cast<Combo*>(&node)) {
        widget = gtk_combo_box_text_new();
        for (size_t i = 0; i < combo->GetCount(); ++i) {
            gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(widget),
                                           combo->GetItemText(i).c_str());
        }
        gtk_combo_box_set_active(GTK_COMBO_BOX(widget), combo->GetCurSel());
        g_signal_connect(widget, "changed", G_CALLBACK(OnComboChanged), this);
    }
    if (widget != nullptr) {
        gtk_fixed_put(GTK_FIXED(fixed_), widget, 0, 0);
        natives_.push_back(NativeControl{&node, widget});
    }
    for (size_t i = 0; i < node.ChildCount(); ++i) {
        CreateNativeControls(*node.ChildAt(i));
    }
}

void GtkHostWindow::ScheduleSync() {
    if (syncSource_ == 0 && !natives_.empty()) {
        syncSource_ = g_idle_add(SyncNativeIdle, this);
    }
}

gboolean GtkHostWindow::SyncNativeIdle(gpointer self) {
    auto* window = static_cast<GtkHostWindow*>(self);
    window->syncSource_ = 0;
    window->SyncNativeControls();
    return G_SOURCE_REMOVE;
}

// Native widgets follow their controls: place, visibility and the program's changes.
void GtkHostWindow::SyncNativeControls() {
    client_.Manager().EnsureLayout();
    for (NativeControl& native : natives_) {
        Rect rect = native.control->GetPos();
        bool shown = !destroyed_ && ShownInTree(native.control);
        native.updating = true;
        if (auto* edit = dynamic_cast<Edit*>(native.control)) {
            Insets padding = edit->GetTextPadding();
            padding.top += kEntryInset;
            padding.bottom += kEntryInset;
            rect = rect.Deflated(padding);
            const char* current = gtk_entry_get_text(GTK_ENTRY(native.widget));
            if (edit->GetText() != current) {
                gtk_entry_set_text(GTK_ENTRY(native.widget), edit->GetText().c_str());
            }
        } else if (auto* combo = dynamic_cast<Combo*>(native.control)) {
            if (gtk_combo_box_get_active(GTK_COMBO_BOX(native.widget)) != combo->GetCurSel()) {
                gtk_combo_box_set_active(GTK_COMBO_BOX(native.widget), combo->GetCurSel());
            }
        }
        native.updating = false;
        if (shown && !rect.IsEmpty()) {
            gtk_fixed_move(GTK_FIXED(fixed_), native.widget, rect.left + margin_,
                           rect.top + margin_);
            gtk_widget_set_size_request(native.widget, rect.Width(), rect.Height());
            gtk_widget_show(native.widget);
        } else {
            gtk_widget_hide(native.widget);
        }
    }
}

void GtkHostWindow::OnEntryChanged(GtkEditable* editable, gpointer self) {
    auto* window = static_cast<GtkHostWindow*>(self);
    for (NativeControl& native : window->natives_) {
        if (native.widget == GTK_WIDGET(editable) && !native.updating) {
            if (auto* edit = dynamic_cast<Edit*>(native.control)) {
                edit->OnUserInput(gtk_entry_get_text(GTK_ENTRY(editable)));
            }
        }
    }
}

void GtkHostWindow::OnComboChanged(GtkComboBox* box, gpointer self) {
    auto* window = static_cast<GtkHostWindow*>(self);
    for (NativeControl& native : window->natives_) {
        if (native.widget == GTK_WIDGET(box) && !native.updating) {
            if (auto* combo = dynamic_cast<Combo*>(native.control)) {
                combo->SelectItem(gtk_combo_box_get_active(box));
            }
        }
    }
}

}  // namespace uiframework
