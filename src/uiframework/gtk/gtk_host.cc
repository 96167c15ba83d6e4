#include "uiframework/gtk/gtk_host.h"

#include <gio/gio.h>
#include <gtk/gtk.h>

#include <algorithm>

#include "uiframework/gtk/gtk_window.h"

namespace uiframework {

struct GtkUiHost::Timer {
    unsigned source = 0;
    std::function<void()> tick;
};

namespace {

struct PixbufDeleter {
    void operator()(GdkPixbuf* pixbuf) const { g_object_unref(pixbuf); }
};

// The window icon shared by the windows opened after SetWindowIcon; GTK keeps it as the
// default icon, so the host holds no reference of its own.
GdkPixbuf* DefaultIcon() {
    GList* icons = gtk_window_get_default_icon_list();
    GdkPixbuf* icon = icons != nullptr ? GDK_PIXBUF(icons->data) : nullptr;
    g_list_free(icons);
    return icon;
}

gboolean RunTimer(gpointer data) {
    // The tick may stop its own timer, which frees `data`: it runs from a copy.
    std::function<void()> tick = *static_cast<std::function<void()>*>(data);
    tick();
    return G_SOURCE_CONTINUE;
}

}  // namespace

GtkUiHost::GtkUiHost(const ResourceSource& resources) : images_(resources) {}

std::unique_ptr<GtkUiHost> GtkUiHost::Create(const ResourceSource& resources, std::string* error) {
    if (!gtk_init_check(nullptr, nullptr)) {
        if (error != nullptr) {
            *error = "cannot open the display";
        }
        return nullptr;
    }
    return std::unique_ptr<GtkUiHost>(new GtkUiHost(resources));
}

GtkUiHost::~GtkUiHost() {
    for (auto& [id, timer] : timers_) {
        g_source_remove(timer->source);
    }
    std::lock_guard<std::mutex> lock(postMutex_);
    if (postSource_ != 0) {
        g_source_remove(postSource_);
    }
}

void GtkUiHost::Post(std::function<void()> task) {
    std::lock_guard<std::mutex> lock(postMutex_);
    posted_.push_back(std::move(task));
    if (postSource_ == 0) {
        postSource_ = g_idle_add_full(G_PRIORITY_DEFAULT, RunPosted, this, nullptr);
    }
}

int GtkUiHost::RunPosted(void* self) {
    static_cast<GtkUiHost*>(self)->RunPostedTasks();
    return G_SOURCE_REMOVE;
}

void GtkUiHost::RunPostedTasks() {
    // Only the tasks posted so far; those they post wait for the next round, so input and
    // painting are not starved.
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard<std::mutex> lock(postMutex_);
        batch.swap(posted_);
        postSource_ = 0;
    }
    while (!batch.empty()) {
        std::function<void()> task = std::move(batch.front());
        batch.pop_front();
        task();
    }
}

TimerId GtkUiHost::StartTimer(uint32_t periodMs, std::function<void()> tick) {
    TimerId id = nextTimer_++;
    auto timer = std::make_unique<Timer>();
    timer->tick = std::move(tick);
    timer->source = g_timeout_add(std::max<uint32_t>(1, periodMs), RunTimer, &timer->tick);
    timers_.emplace(id, std::move(timer));
    return id;
}

void GtkUiHost::StopTimer(TimerId id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) {
        return;
    }
    g_source_remove(it->second->source);
    timers_.erase(it);
}

uint64_t GtkUiHost::TickCountMs() {
    return static_cast<uint64_t>(g_get_monotonic_time() / 1000);
}

std::unique_ptr<HostWindow> GtkUiHost::CreateHostWindow(HostWindowClient& client,
                                                        const HostWindowParams& params,
                                                        HostWindow* owner) {
    return std::make_unique<GtkHostWindow>(client, params, dynamic_cast<GtkHostWindow*>(owner),
                                           images_, DefaultIcon());
}

void GtkUiHost::ShowError(std::string_view caption, std::string_view text) {
    std::string message(text);
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR,
                                               GTK_BUTTONS_OK, "%s", message.c_str());
    std::string title(caption);
    gtk_window_set_title(GTK_WINDOW(dialog), title.c_str());
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
}

bool GtkUiHost::SetWindowIcon(std::string_view pngBytes) {
    std::unique_ptr<GdkPixbufLoader, decltype(&g_object_unref)> loader(gdk_pixbuf_loader_new(),
                                                                       g_object_unref);
    bool written =
        gdk_pixbuf_loader_write(loader.get(), reinterpret_cast<const guchar*>(pngBytes.data()),
                                pngBytes.size(), nullptr) != FALSE;
    bool closed = gdk_pixbuf_loader_close(loader.get(), nullptr) != FALSE;
    GdkPixbuf* picture = gdk_pixbuf_loader_get_pixbuf(loader.get());
    if (!written || !closed || picture == nullptr) {
        return false;
    }
    int side = std::min(gdk_pixbuf_get_width(picture), gdk_pixbuf_get_height(picture));
    std::unique_ptr<GdkPixbuf, PixbufDeleter> square(
        gdk_pixbuf_new_subpixbuf(picture, 0, 0, side, side));
    gtk_window_set_default_icon(square.get());
    return true;
}

bool GtkUiHost::ShellOpen(const std::string& target, const std::string& workingFolder) {
    if (g_file_test(target.c_str(), G_FILE_TEST_IS_REGULAR) &&
        g_file_test(target.c_str(), G_FILE_TEST_IS_EXECUTABLE)) {
        gchar* argv[] = {const_cast<gchar*>(target.c_str()), nullptr};
        return g_spawn_async(workingFolder.empty() ? nullptr : workingFolder.c_str(), argv, nullptr,
                             G_SPAWN_DEFAULT, nullptr, nullptr, nullptr, nullptr) != FALSE;
    }
    std::string uri = target;
    if (g_path_is_absolute(target.c_str())) {
        gchar* fileUri = g_filename_to_uri(target.c_str(), nullptr, nullptr);
        if (fileUri == nullptr) {
            return false;
        }
        uri = fileUri;
        g_free(fileUri);
    }
    return g_app_info_launch_default_for_uri(uri.c_str(), nullptr, nullptr) != FALSE;
}

}  // namespace uiframework
