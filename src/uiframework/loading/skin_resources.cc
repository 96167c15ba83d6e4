#include "uiframework/loading/skin_resources.h"

#include "skin/skin_archive_data.h"

namespace uiframework {

std::optional<SkinArchiveResources> SkinArchiveResources::Open(std::span<const unsigned char> bytes,
                                                               std::string* error) {
    std::optional<SkinArchive> archive = SkinArchive::Open(bytes, error);
    if (!archive) {
        return std::nullopt;
    }
    return SkinArchiveResources(std::move(*archive));
}

std::optional<SkinArchiveResources> SkinArchiveResources::OpenEmbedded(std::string* error) {
    return Open(skin::EmbeddedSkinArchive(), error);
}

std::optional<std::string> SkinArchiveResources::Read(std::string_view name) const {
    std::optional<std::string_view> bytes = archive_.Find(name);
    if (!bytes) {
        return std::nullopt;
    }
    return std::string(*bytes);
}

}  // namespace uiframework
