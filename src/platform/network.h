#pragma once

#include <cstdint>
#include <optional>

namespace platform {

// What the system's network manager says about connectivity.
struct Connectivity {
    // NLM_CONNECTIVITY flags; 0 means disconnected.
    uint32_t flags = 0;
    bool connectedToInternet = false;
};

inline constexpr uint32_t kConnectivityIpv4LocalNetwork = 0x20;
inline constexpr uint32_t kConnectivityIpv4Internet = 0x40;

// POSIX: GIO's GNetworkMonitor. FULL gives {Internet flag, true}; LIMITED and PORTAL give
// {LocalNetwork flag, false}; LOCAL gives {0, false}. nullopt when no monitor is available.
// Any thread may call it, and no GLib main loop is needed: each call reads the current
// state. Calls are serialised.
std::optional<Connectivity> QueryConnectivity();

}  // namespace platform
