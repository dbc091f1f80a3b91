#pragma once
// The sky box: a textured box centred on the world origin, drawn behind the level in rooms
// that show the sky. Five faces are drawn (four sides and the top); the bottom texture is kept
// but never bound. Each face is a strip of four vertices whose texture coordinates stay one
// 1024th inside the image on every side, away from the border texels. Draw changes no
// transform or render state and leaves the last face's (the left) texture bound on stage 0.
#include <cstdint>

#include "device/d3d8_types.h"

namespace brontal {

class Device;
class Texture;

inline constexpr float kSkyTextureInset = 1.0f / 1024.0f;

class SkyBox {
public:
    HRESULT SetDevice(Device* newDevice);
    HRESULT SetSize(float newSize);
    HRESULT SetTextures(Texture* newFront, Texture* newBack, Texture* newBottom, Texture* newTop, Texture* newRight,
                        Texture* newLeft);
    // Does nothing before SetDevice.
    HRESULT Draw();

    float size = 1.0f;  // edge length; the corners lie at +-size/2
    Device* device = nullptr;
    Texture* front = nullptr;   // x = -h
    Texture* back = nullptr;    // x = +h
    Texture* bottom = nullptr;  // stored only
    Texture* top = nullptr;     // y = +h
    Texture* right = nullptr;   // z = -h
    Texture* left = nullptr;    // z = +h
};

extern SkyBox g_skyBox;

}  // namespace brontal
