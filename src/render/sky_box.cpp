#include "render/sky_box.h"

#include "device/device.h"
#include "level/world.h"
#include "render/room_draw.h"

namespace brontal {

constinit SkyBox g_skyBox;

HRESULT SkyBox::Draw() {
    if (!device) return D3D_OK;
    const float low = 0.0f + kSkyTextureInset;
    const float high = 1.0f - kSkyTextureInset;
    const float uv[4][2] = {{low, low}, {low, high}, {high, low}, {high, high}};

    device->SetVertexShader(RoomVertexFormat);
    const float h = size * 0.5f;
    Vertex strip[4];
    for (const SkyBoxFace& face : kSkyBoxFaces) {
        for (int i = 0; i < 4; ++i)
            strip[i] = Vertex{face.corner[i][0] * h, face.corner[i][1] * h, face.corner[i][2] * h, uv[i][0], uv[i][1]};
        device->SetTexture(0, this->*face.texture);
        device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, strip, kWorldVertexStride);
    }
    return D3D_OK;
}

}  // namespace brontal
