#include "level/level_textures.h"

#include <algorithm>
#include <cstdio>

#include "device/device.h"
#include "platform/texture_loader.h"

namespace brontal {

void MakeLevelTextures(Level& level, const std::uint8_t* data, const std::vector<ImageSpan>& images,
                       bool hadTextureBlock, const std::string& name) {
    Texture* placeholder = nullptr;
    auto usePlaceholder = [&]() {
        if (placeholder == nullptr) placeholder = CreatePlaceholderTexture(level.device);
        return placeholder;
    };
    if (!hadTextureBlock && level.textureCount > 0) {
        std::fprintf(stderr, "%s: no texture block; its %u texture slots get the placeholder texture\n", name.c_str(),
                     static_cast<unsigned>(level.textureCount));
    }
    for (std::size_t slot = 0; slot < level.TextureTable.size(); ++slot) {
        Texture* texture = nullptr;
        if (slot < images.size()) {
            const HRESULT result = CreateTextureFromImageInMemory(level.device, data + images[slot].offset,
                                                                  images[slot].size, &texture,
                                                                  name + " texture " + std::to_string(slot));
            if (result != D3D_OK) texture = nullptr;
        }
        level.TextureTable[slot] = texture != nullptr ? texture : usePlaceholder();
    }
}

void ReleaseLevelTextures(Level& level) {
    std::vector<Texture*> textures = level.TextureTable;
    std::sort(textures.begin(), textures.end());
    textures.erase(std::unique(textures.begin(), textures.end()), textures.end());
    for (Texture* texture : textures)
        if (texture != nullptr && level.device != nullptr) level.device->ReleaseTexture(texture);
    level.TextureTable.clear();
}

}  // namespace brontal
