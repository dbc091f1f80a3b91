#include <gtest/gtest.h>

#include "device_fixture.h"

namespace brontal {
namespace {

std::unique_ptr<Backend> NoBackend(void*, const D3DPRESENT_PARAMETERS&) { return nullptr; }

int g_factoryCalls = 0;
void* g_factoryWindow = nullptr;
std::unique_ptr<Backend> CountingNullBackend(void* window, const D3DPRESENT_PARAMETERS&) {
    ++g_factoryCalls;
    g_factoryWindow = window;
    return std::make_unique<NullBackend>();
}

TEST(Direct3DObject, KnowsTheDisplayModeOfAdapterZeroOnly) {
    Direct3D8 d3d(nullptr, D3DDISPLAYMODE{1024, 768, 60, D3DFMT_X8R8G8B8}, kDefaultCaps);
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(d3d.GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
    EXPECT_EQ(mode.Width, 1024u);
    EXPECT_EQ(mode.Height, 768u);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(d3d.GetAdapterDisplayMode(1, &mode), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d.GetAdapterDisplayMode(0, nullptr), D3DERR_INVALIDCALL);
}

TEST(Direct3DObject, MakesADeviceOnTheFactorysBackend) {
    g_factoryCalls = 0;
    Direct3D8 d3d(CountingNullBackend, D3DDISPLAYMODE{800, 600, 60, D3DFMT_X8R8G8B8}, D3DCAPS8{256, 256, 8, 1});
    D3DPRESENT_PARAMETERS p = test::TestParameters(640, 480);
    int window = 0;
    Device* device = nullptr;
    ASSERT_EQ(d3d.CreateDevice(0, D3DDEVTYPE_HAL, &window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p, &device), D3D_OK);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(g_factoryCalls, 1);
    EXPECT_EQ(g_factoryWindow, &window);
    EXPECT_STREQ(device->GetBackend().Description(), "null");
    D3DVIEWPORT8 viewport{};
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 640u);
    EXPECT_EQ(viewport.Height, 480u);
    D3DCAPS8 caps{};
    device->GetDeviceCaps(&caps);
    EXPECT_EQ(caps.MaxTextureWidth, 256u);
    delete device;
}

TEST(Direct3DObject, RefusesWhenNoBackendCanBeHad) {
    Direct3D8 d3d(NoBackend, D3DDISPLAYMODE{800, 600, 60, D3DFMT_X8R8G8B8}, kDefaultCaps);
    D3DPRESENT_PARAMETERS p = test::TestParameters();
    Device* device = reinterpret_cast<Device*>(&p);  // must be overwritten
    EXPECT_EQ(d3d.CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &p, &device), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(d3d.CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, nullptr, &device), D3DERR_INVALIDCALL);
}

TEST(Direct3DObject, GlobalsStartEmpty) {
    EXPECT_EQ(g_direct3d, nullptr);
    EXPECT_EQ(g_device, nullptr);
}

}  // namespace
}  // namespace brontal
