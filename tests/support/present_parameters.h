#pragma once
// The back buffer the tests ask for: windowed, 32-bit colour, a flip chain and a 16-bit depth
// buffer, at the given size.
#include <cstdint>

#include "device/d3d8_types.h"

namespace brontal::test {

inline D3DPRESENT_PARAMETERS TestParameters(std::uint32_t width = 800, std::uint32_t height = 600) {
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = width;
    p.BackBufferHeight = height;
    p.BackBufferFormat = D3DFMT_X8R8G8B8;
    p.SwapEffect = D3DSWAPEFFECT_FLIP;
    p.Windowed = 1;
    p.EnableAutoDepthStencil = 1;
    p.AutoDepthStencilFormat = D3DFMT_D16;
    return p;
}

}  // namespace brontal::test
