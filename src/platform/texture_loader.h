#pragma once
// The two texture loaders: a device texture from an image file named by a path (the sky) and
// from a complete image file held in memory (the level's textures). Both make an A8R8G8B8
// texture with a full mip chain, alpha from the image where it has one and 255 otherwise.
// An image that will not load or decode gives an error result, a null texture and one warning
// on stderr naming the source and the reason. The level reader then puts a placeholder in the
// slot; the sky leaves that face untextured.
#include <cstddef>
#include <cstdint>
#include <string>

#include "device/d3d8_types.h"

namespace brontal {

class Device;
class Texture;

// "what" names the source in warnings (e.g. "LEVELS/LEVEL_001.VRM texture 3").
HRESULT CreateTextureFromImageInMemory(Device* device, const void* data, std::size_t size, Texture** texture,
                                       const std::string& what = "image in memory");
// A path with backslashes is taken with them as directory separators.
HRESULT CreateTextureFromFile(Device* device, const std::string& path, Texture** texture);
// A small opaque texture (a grey and magenta check) for slots whose image would not decode.
Texture* CreatePlaceholderTexture(Device* device);

}  // namespace brontal
