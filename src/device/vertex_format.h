#pragma once
// What a fixed-function vertex format (FVF code) lays out in one vertex, decoded in this one
// place for the device's checks and for the backends' attribute setup. Texture coordinate sets
// are two floats each; the parts come in the order the format defines: position, normal, point
// size, diffuse colour, specular colour, texture coordinates.
#include <cstdint>

#include "device/d3d8_types.h"

namespace brontal {

struct VertexLayout {
    bool valid = false;           // false for a format without a position: it cannot be drawn
    bool preTransformed = false;  // x, y in pixels, z and 1/w as given (D3DFVF_XYZRHW)
    int diffuseOffset = -1;       // bytes into the vertex; -1 when absent
    int texCoordOffset = -1;      // the first set's; -1 when there is none
    std::uint32_t size = 0;       // bytes the format needs; a draw's stride may be larger
};

constexpr VertexLayout DecodeVertexFormat(std::uint32_t fvf) {
    VertexLayout l;
    std::uint32_t offset = 0;
    switch (fvf & D3DFVF_POSITION_MASK) {
        case D3DFVF_XYZ: offset = 12; break;
        case D3DFVF_XYZRHW:
            offset = 16;
            l.preTransformed = true;
            break;
        default: return l;
    }
    if (fvf & D3DFVF_NORMAL) offset += 12;
    if (fvf & D3DFVF_PSIZE) offset += 4;
    if (fvf & D3DFVF_DIFFUSE) {
        l.diffuseOffset = static_cast<int>(offset);
        offset += 4;
    }
    if (fvf & D3DFVF_SPECULAR) offset += 4;
    const std::uint32_t sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (sets > 0) l.texCoordOffset = static_cast<int>(offset);
    l.size = offset + sets * 8;
    l.valid = true;
    return l;
}

}  // namespace brontal
