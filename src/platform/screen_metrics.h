#pragma once

namespace platform {

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// The primary display's size in pixels; 0 x 0 when no display is known. POSIX: the preferred
// mode of the first connected output the kernel's display manager lists
// (/sys/class/drm/<card>-<output>/), without asking a display server.
ScreenSize PrimaryScreenSize();

}  // namespace platform
