#pragma once

#include <gio/gio.h>

#include <optional>

#include "platform/network.h"

namespace platform::detail {

// GIO's connectivity level in the network-list terms of network.h; nullopt for a level this
// code does not know, which callers treat like an unavailable monitor.
std::optional<Connectivity> ConnectivityFromGio(GNetworkConnectivity level);

}  // namespace platform::detail
