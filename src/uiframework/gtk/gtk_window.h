#pragma once

// One window of the GTK host.

#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <vector>

#include "uiframework/cairo/image_cache.h"
#include "uiframework/host.h"

namespace uiframework {

class Control;

class GtkHostWindow : public HostWindow {
  public:
    GtkHostWindow(HostWindowClient& client, const HostWindowParams& params, GtkHostWindow* owner,
                  CairoImageCache& images, GdkPixbuf* icon);
    ~GtkHostWindow() override;
    GtkHostWindow(const GtkHostWindow&) = delete;
    GtkHostWindow& operator=(const GtkHostWindow&) = delete;

    void Show() override;
    int RunModal() override;
    void Destroy(int result) override;
    bool IsDestroyed() const override { return destroyed_; }
    void Invalidate(const Rect& rect) override;
    void Minimize() override;
    void BringToFront() override;
    void Center() override;
    void SetShadow(std::optional<ShadowParams> shadow) override;
    std::optional<std::string> PickFolder(std::string_view title) override;

  private:
    struct NativeControl {
        Control* control = nullptr;
        GtkWidget* widget = nullptr;
        bool updating = false;  // set while the program writes to the widget
    };

    static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
    static gboolean OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean OnButtonRelease(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean OnMotion(GtkWidget* widget, GdkEventMotion* event, gpointer self);
    static gboolean OnLeave(GtkWidget* widget, GdkEventCrossing* event, gpointer self);
    static gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self);
    static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
    static void OnEntryChanged(GtkEditable* editable, gpointer self);
    static void OnComboChanged(GtkComboBox* combo, gpointer self);
    static gboolean SyncNativeIdle(gpointer self);

    Point ToWindow(double x, double y) const;
    void ApplyGeometry();
    void CreateNativeControls(Control& node);
    void SyncNativeControls();
    void ScheduleSync();

    HostWindowClient& client_;
    HostWindowParams params_;
    GtkHostWindow* owner_;
    CairoImageCache& images_;
    GtkWidget* window_ = nullptr;
    GtkWidget* fixed_ = nullptr;
    GtkWidget* canvas_ = nullptr;
    std::vector<NativeControl> natives_;
    std::optional<ShadowParams> shadow_;
    int margin_ = 0;  // room for the shadow on every side
    bool destroyed_ = false;
    int result_ = 0;
    int disabledBy_ = 0;  // modal windows it owns that run now
    GMainLoop* modalLoop_ = nullptr;
    unsigned syncSource_ = 0;
};

}  // namespace uiframework
