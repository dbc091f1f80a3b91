#include "text/text_overlay.h"

#include <algorithm>
#include <cstring>

#include "device/device.h"

namespace brontal {

TextOverlay* g_textOverlay = nullptr;

namespace {

constexpr std::uint32_t kTextAlphaRef = 8;
// A batch is drawn once it holds more than 294 vertices, that is at 300: every 50 characters.
constexpr std::uint32_t kFlushAboveVertices = kTextVerticesPerBatch - 6;

TextVertex* LockBatch(VertexBuffer& buffer) {
    std::uint8_t* data = nullptr;
    if (buffer.Lock(0, 0, &data, D3DLOCK_DISCARD) != D3D_OK || !data) return nullptr;
    return reinterpret_cast<TextVertex*>(data);
}

}  // namespace

TextOverlay::TextOverlay(const char* name, std::uint32_t height, std::uint32_t flags)
    : fontHeight(height), fontFlags(flags) {
    if (name) {
        const std::size_t length = std::min(std::strlen(name), sizeof fontName - 1);
        std::memcpy(fontName, name, length);
        fontName[length] = '\0';
    }
}

void TextOverlay::RecordTextStates() {
    device->SetTexture(0, texture);

    device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    device->SetRenderState(D3DRS_ALPHAREF, kTextAlphaRef);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_STENCILENABLE, 0);
    device->SetRenderState(D3DRS_CLIPPING, 1);
    device->SetRenderState(D3DRS_EDGEANTIALIAS, 0);
    device->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
    device->SetRenderState(D3DRS_VERTEXBLEND, D3DVBF_DISABLE);
    device->SetRenderState(D3DRS_INDEXEDVERTEXBLENDENABLE, 0);
    device->SetRenderState(D3DRS_FOGENABLE, 0);

    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
    device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_NONE);
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}

HRESULT TextOverlay::CreateDrawResources() {
    if (!device) return E_FAIL;
    const HRESULT created = device->CreateVertexBuffer(kTextVertexBufferBytes, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC,
                                                       0, D3DPOOL_DEFAULT, &vertexBuffer);
    if (created != D3D_OK) {
        vertexBuffer = nullptr;
        return created;
    }
    // Two blocks with the same contents: one to hold the caller's values, one to set the text's.
    for (std::uint32_t* block : {&savedStates, &textStates}) {
        device->BeginStateBlock();
        RecordTextStates();
        device->EndStateBlock(block);
    }
    return D3D_OK;
}

HRESULT TextOverlay::DrawString(float x, float y, D3DCOLOR colour, const char* text, std::uint32_t flags) {
    if (!device || !vertexBuffer || !texture) return E_FAIL;

    device->CaptureStateBlock(savedStates);
    device->ApplyStateBlock(textStates);
    device->SetVertexShader(TextVertexFormat);
    device->SetStreamSource(0, vertexBuffer, sizeof(TextVertex));
    if (flags & kDrawFiltered) {
        device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
        device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    }

    const float startX = x;
    const float width = static_cast<float>(textureWidth);
    const float height = static_cast<float>(textureHeight);
    // The line step is the space's cell height at the atlas's scale.
    const float lineStep = (glyphRects[0][3] - glyphRects[0][1]) * height;
    TextVertex* batch = LockBatch(*vertexBuffer);
    std::uint32_t triangles = 0;

    for (const char* p = text ? text : ""; *p != '\0'; ++p) {
        const auto b = static_cast<signed char>(*p);
        if (b == '\n') {
            x = startX;
            y += lineStep;
        }
        // Control characters, bytes of 128 and more (negative) and the unfilled slot of 127
        // draw nothing and leave the pen where it is.
        if (b < static_cast<int>(kFirstGlyphCode) || b > static_cast<int>(kLastGlyphCode)) continue;

        const float* rect = glyphRects[b - static_cast<int>(kFirstGlyphCode)];
        const float left = rect[0], top = rect[1], right = rect[2], bottom = rect[3];
        const float w = (right - left) * width / textScale;
        const float h = (bottom - top) * height / textScale;
        const float x0 = x - 0.5f, y0 = y - 0.5f, x1 = x + w - 0.5f, y1 = y + h - 0.5f;
        if (batch) {
            TextVertex* v = batch + triangles * 3;
            v[0] = {x0, y1, kTextDepth, 1.0f, colour, left, bottom};
            v[1] = {x0, y0, kTextDepth, 1.0f, colour, left, top};
            v[2] = {x1, y1, kTextDepth, 1.0f, colour, right, bottom};
            v[3] = {x1, y0, kTextDepth, 1.0f, colour, right, top};
            v[4] = {x1, y1, kTextDepth, 1.0f, colour, right, bottom};
            v[5] = {x0, y0, kTextDepth, 1.0f, colour, left, top};
        }
        triangles += 2;
        if (triangles * 3 > kFlushAboveVertices) {
            vertexBuffer->Unlock();
            device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, triangles);
            batch = LockBatch(*vertexBuffer);
            triangles = 0;
        }
        x += w;
    }

    vertexBuffer->Unlock();
    if (triangles > 0) device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, triangles);
    device->ApplyStateBlock(savedStates);
    return D3D_OK;
}

}  // namespace brontal
