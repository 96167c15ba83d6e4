#pragma once

// The skin archive linked into the program: a 7z archive of the window layouts (at its root)
// and their pictures (under "res/"), packed from the skin folder when the program is built.

#include <span>

namespace skin {

// The archive's bytes; valid for the whole life of the process.
std::span<const unsigned char> EmbeddedSkinArchive();

}  // namespace skin
