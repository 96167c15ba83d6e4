#pragma once

// The skin archive as the windows' resource source.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "uiframework/archive/skin_archive.h"
#include "uiframework/resource_source.h"

namespace uiframework {

class SkinArchiveResources : public ResourceSource {
  public:
    explicit SkinArchiveResources(SkinArchive archive) : archive_(std::move(archive)) {}

    // Opens the 7z bytes; nothing when they are not a readable skin archive (`error` says
    // why).
    static std::optional<SkinArchiveResources> Open(std::span<const unsigned char> bytes,
                                                    std::string* error = nullptr);
    // The archive linked into the program.
    static std::optional<SkinArchiveResources> OpenEmbedded(std::string* error = nullptr);

    // Found under the archive's lookup rule ("\" as "/", letter case ignored, first match).
    std::optional<std::string> Read(std::string_view name) const override;

    const SkinArchive& Archive() const { return archive_; }

  private:
    SkinArchive archive_;
};

}  // namespace uiframework
