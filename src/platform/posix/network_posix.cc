#include <gio/gio.h>

#include <memory>
#include <mutex>

#include "platform/network.h"
#include "platform/posix/network_mapping.h"

namespace platform {

namespace detail {

std::optional<Connectivity> ConnectivityFromGio(GNetworkConnectivity level) {
    switch (level) {
        case G_NETWORK_CONNECTIVITY_FULL:
            return Connectivity{kConnectivityIpv4Internet, true};
        case G_NETWORK_CONNECTIVITY_LIMITED:
        case G_NETWORK_CONNECTIVITY_PORTAL:
            return Connectivity{kConnectivityIpv4LocalNetwork, false};
        case G_NETWORK_CONNECTIVITY_LOCAL:
            return Connectivity{0, false};
    }
    return std::nullopt;
}

}  // namespace detail

namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct ContextUnref {
    void operator()(GMainContext* context) const { g_main_context_unref(context); }
};
using ScopedMonitor = std::unique_ptr<GNetworkMonitor, ObjectUnref>;
using ScopedContext = std::unique_ptr<GMainContext, ContextUnref>;

// Makes `context` the calling thread's default for the life of the object.
class ThreadDefaultContext {
  public:
    explicit ThreadDefaultContext(GMainContext* context) : context_(context) {
        g_main_context_push_thread_default(context_);
    }
    ~ThreadDefaultContext() { g_main_context_pop_thread_default(context_); }
    ThreadDefaultContext(const ThreadDefaultContext&) = delete;
    ThreadDefaultContext& operator=(const ThreadDefaultContext&) = delete;

  private:
    GMainContext* context_;
};

// A fresh monitor of the same kind as the process's default one. The default monitor only
// learns of changes while some main loop dispatches its context; a new instance reads the
// current state while it initialises, on any thread, without a loop. Its sources go to a
// private context that dies with it.
std::optional<GNetworkConnectivity> FreshConnectivity(GType monitorType) {
    if (!g_type_is_a(monitorType, G_TYPE_INITABLE)) {
        return std::nullopt;
    }
    ScopedContext context(g_main_context_new());
    ThreadDefaultContext useContext(context.get());
    ScopedMonitor monitor(
        static_cast<GNetworkMonitor*>(g_initable_new(monitorType, nullptr, nullptr, nullptr)));
    if (!monitor) {
        return std::nullopt;
    }
    return g_network_monitor_get_connectivity(monitor.get());
}

// GLib synchronises its singletons with futexes that ThreadSanitizer cannot see; a network
// check is rare, so one query at a time costs nothing and keeps that analysis exact.
std::mutex& QueryMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

std::optional<Connectivity> QueryConnectivity() {
    std::lock_guard<std::mutex> oneAtATime(QueryMutex());
    // Creating the default monitor loads GIO's modules and picks the best implementation
    // (NetworkManager, netlink, ...) under GIO's own locks.
    GNetworkMonitor* defaultMonitor = g_network_monitor_get_default();
    if (defaultMonitor == nullptr) {
        return std::nullopt;
    }
    std::optional<GNetworkConnectivity> level = FreshConnectivity(G_OBJECT_TYPE(defaultMonitor));
    if (!level) {
        level = g_network_monitor_get_connectivity(defaultMonitor);
    }
    return detail::ConnectivityFromGio(*level);
}

}  // namespace platform
