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
    // Storing cannot fail: the setters return nothing.
    void SetDevice(Device* newDevice) { device = newDevice; }
    void SetSize(float newSize) { size = newSize; }
    void SetTextures(Texture* newFront, Texture* newBack, Texture* newBottom, Texture* newTop, Texture* newRight,
                     Texture* newLeft) {
        front = newFront;
        back = newBack;
        bottom = newBottom;
        top = newTop;
        right = newRight;
        left = newLeft;
    }
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

struct SkyBoxFace {
    Texture* SkyBox::*texture;
    float corner[4][3];  // in units of the half size
};

// The faces in drawing order, each a strip of four corners: vertices 0 and 2 on the top edge of
// the image, 1 and 3 on the bottom. The sky images are painted to these (tools/sample).
inline constexpr SkyBoxFace kSkyBoxFaces[5] = {
    {&SkyBox::front, {{-1, 1, 1}, {-1, -1, 1}, {-1, 1, -1}, {-1, -1, -1}}},
    {&SkyBox::back, {{1, 1, -1}, {1, -1, -1}, {1, 1, 1}, {1, -1, 1}}},
    {&SkyBox::top, {{-1, 1, 1}, {-1, 1, -1}, {1, 1, 1}, {1, 1, -1}}},
    {&SkyBox::right, {{-1, 1, -1}, {-1, -1, -1}, {1, 1, -1}, {1, -1, -1}}},
    {&SkyBox::left, {{1, 1, 1}, {1, -1, 1}, {-1, 1, 1}, {-1, -1, 1}}},
};

}  // namespace brontal
