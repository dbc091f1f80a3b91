#include <gtest/gtest.h>

#include <cstring>

#include "device_fixture.h"

namespace brontal {
namespace {

using test::DeviceOnRememberingBackend;

TEST(Textures, FullChainHasEveryLevelDownToOneByOne) {
    DeviceOnRememberingBackend d;
    Texture* t = nullptr;
    ASSERT_EQ(d.device->CreateTexture(64, 16, 0, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &t), D3D_OK);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->LevelCount(), 7u);  // 64, 32, 16, 8, 4, 2, 1 wide
    const std::uint32_t widths[] = {64, 32, 16, 8, 4, 2, 1};
    const std::uint32_t heights[] = {16, 8, 4, 2, 1, 1, 1};
    for (std::uint32_t level = 0; level < 7; ++level) {
        SCOPED_TRACE(level);
        EXPECT_EQ(t->Width(level), widths[level]);
        EXPECT_EQ(t->Height(level), heights[level]);
        EXPECT_EQ(t->Pitch(level), widths[level] * 2);
    }
    EXPECT_EQ(t->Format(), D3DFMT_R5G6B5);
    EXPECT_EQ(t->Pool(), D3DPOOL_MANAGED);
    EXPECT_EQ(t->Width(7), 0u);
    EXPECT_EQ(t->Data(7), nullptr);

    Texture* one = nullptr;
    ASSERT_EQ(d.device->CreateTexture(256, 256, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &one), D3D_OK);
    EXPECT_EQ(one->LevelCount(), 1u);
    EXPECT_NE(one->Id(), t->Id());
    EXPECT_EQ(d.backend->created, (std::vector<std::uint32_t>{t->Id(), one->Id()}));
}

TEST(Textures, LockGivesWritableTexelsThatTheTextureKeeps) {
    DeviceOnRememberingBackend d;
    Texture* t = nullptr;
    ASSERT_EQ(d.device->CreateTexture(4, 4, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(t->LockRect(1, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 8);  // 2 texels of 4 bytes
    auto* row1 = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(locked.pBits) + locked.Pitch);
    row1[0] = 0xFF00FF00u;
    row1[1] = 0x80123456u;
    EXPECT_TRUE(d.backend->updated.empty());  // not before the unlock
    ASSERT_EQ(t->UnlockRect(1), D3D_OK);
    ASSERT_EQ(d.backend->updated.size(), 1u);
    EXPECT_EQ(d.backend->updated[0], std::make_pair(t->Id(), 1u));

    std::uint32_t texel = 0;
    std::memcpy(&texel, t->Data(1) + 8 + 4, 4);
    EXPECT_EQ(texel, 0x80123456u);
    // The other levels were not touched.
    for (std::uint32_t i = 0; i < 64; ++i) EXPECT_EQ(t->Data(0)[i], 0u);
}

TEST(Textures, LockOfARectangleStartsAtItsCorner) {
    DeviceOnRememberingBackend d;
    Texture* t = nullptr;
    ASSERT_EQ(d.device->CreateTexture(8, 8, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &t), D3D_OK);
    const RECT rect{2, 3, 6, 8};
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(t->LockRect(0, &locked, &rect, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 16);
    EXPECT_EQ(static_cast<const std::uint8_t*>(locked.pBits), t->Data(0) + 3 * 16 + 2 * 2);
    ASSERT_EQ(t->UnlockRect(0), D3D_OK);

    const RECT outside{4, 4, 9, 5};
    EXPECT_EQ(t->LockRect(0, &locked, &outside, 0), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::LockOutOfBounds));
    const RECT empty{4, 4, 4, 5};
    EXPECT_EQ(t->LockRect(0, &locked, &empty, 0), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::LockOutOfBounds));
}

TEST(Textures, MisuseIsRefusedByName) {
    DeviceOnRememberingBackend d(D3DCAPS8{256, 256, 8, 16});
    Device& dev = *d.device;
    Texture* t = nullptr;
    EXPECT_EQ(dev.CreateTexture(512, 512, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &t), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::BadTextureSize));
    EXPECT_EQ(t, nullptr);
    EXPECT_EQ(dev.CreateTexture(0, 16, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &t), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::BadTextureSize));
    EXPECT_EQ(dev.CreateTexture(16, 16, 1, 0, D3DFMT_D16, D3DPOOL_MANAGED, &t), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::UnsupportedFormat));
    EXPECT_EQ(dev.CreateTexture(16, 16, 6, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::LevelOutOfRange));  // 16 x 16 has 5 levels
    EXPECT_EQ(dev.CreateTexture(16, 16, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, nullptr), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::NullArgument));
    EXPECT_TRUE(d.backend->created.empty());
    // Caps that promise anything still do not let a level's size overflow.
    DeviceOnRememberingBackend generous(D3DCAPS8{0xFFFFFFFFu, 0xFFFFFFFFu, 8, 16});
    EXPECT_EQ(generous.device->CreateTexture(1u << 30, 1u << 30, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t),
              D3DERR_INVALIDCALL);
    EXPECT_TRUE(generous.LastErrorIs(DeviceError::BadTextureSize));

    ASSERT_EQ(dev.CreateTexture(256, 256, 5, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(t->LockRect(5, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::LevelOutOfRange));
    EXPECT_EQ(t->UnlockRect(0), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::ResourceNotLocked));
    ASSERT_EQ(t->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(t->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::ResourceLocked));
    EXPECT_EQ(t->LockRect(1, &locked, nullptr, 0), D3D_OK);  // levels lock separately
    EXPECT_EQ(t->LockRect(2, nullptr, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::NullArgument));
}

TEST(Textures, TheBackendHearsOfEachTextureDestroyedWithTheDevice) {
    // Keep the backend alive past the device to read what it was told.
    struct Watch final : public Backend {
        explicit Watch(std::vector<std::uint32_t>& out) : destroyed(out) {}
        void TextureCreated(Texture&) override {}
        void TextureUpdated(Texture&, std::uint32_t) override {}
        void TextureDestroyed(Texture& t) override { destroyed.push_back(t.Id()); }
        void Clear(std::uint32_t, D3DCOLOR, float, std::uint32_t) override {}
        void Draw(const DeviceState&, const DrawCall&) override {}
        void Present() override {}
        bool ReadPixels(std::uint32_t&, std::uint32_t&, std::vector<std::uint8_t>&) override { return false; }
        const char* Description() const override { return "watch"; }
        std::vector<std::uint32_t>& destroyed;
    };
    std::vector<std::uint32_t> destroyed, ids;
    {
        Device device(std::make_unique<Watch>(destroyed), test::TestParameters(), kDefaultCaps);
        Texture* a = nullptr;
        Texture* b = nullptr;
        ASSERT_EQ(device.CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &a), D3D_OK);
        ASSERT_EQ(device.CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &b), D3D_OK);
        ids = {a->Id(), b->Id()};
        EXPECT_TRUE(destroyed.empty());
    }
    EXPECT_EQ(destroyed, ids);
}

TEST(Textures, ReleaseDestroysOneTextureAndUnbindsItEverywhere) {
    DeviceOnRememberingBackend d;
    Texture* kept = nullptr;
    Texture* gone = nullptr;
    ASSERT_EQ(d.device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &kept), D3D_OK);
    ASSERT_EQ(d.device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &gone), D3D_OK);
    const std::uint32_t goneId = gone->Id();
    d.device->SetTexture(0, gone);
    d.device->SetTexture(1, kept);
    std::uint32_t block = 0;
    d.device->BeginStateBlock();
    d.device->SetTexture(0, gone);
    d.device->EndStateBlock(&block);

    ASSERT_EQ(d.device->ReleaseTexture(gone), D3D_OK);
    EXPECT_EQ(d.backend->destroyed, (std::vector<std::uint32_t>{goneId}));
    EXPECT_EQ(d.device->TextureCount(), 1u);
    EXPECT_EQ(d.device->State().texture[0], nullptr);
    EXPECT_EQ(d.device->State().texture[1], kept);
    d.device->SetTexture(0, kept);
    d.device->ApplyStateBlock(block);
    EXPECT_EQ(d.device->State().texture[0], nullptr) << "the block no longer holds the released texture";

    EXPECT_EQ(d.device->ReleaseTexture(gone), D3DERR_INVALIDCALL) << "released once only";
    EXPECT_EQ(d.device->ReleaseTexture(nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(d.device->TextureCount(), 1u);
}

TEST(VertexBuffers, LockRoundTripAndDiscard) {
    DeviceOnRememberingBackend d;
    VertexBuffer* vb = nullptr;
    ASSERT_EQ(d.device->CreateVertexBuffer(8400, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0, D3DPOOL_DEFAULT, &vb),
              D3D_OK);
    EXPECT_EQ(vb->Length(), 8400u);

    std::uint8_t* data = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &data, 0), D3D_OK);  // size 0: the whole buffer
    EXPECT_TRUE(vb->Locked());
    EXPECT_EQ(data, vb->Data());
    std::memset(data, 0x42, 8400);
    ASSERT_EQ(vb->Unlock(), D3D_OK);
    EXPECT_FALSE(vb->Locked());

    // A plain lock keeps the contents; a discard lock does not hand them back.
    ASSERT_EQ(vb->Lock(28, 28, &data, 0), D3D_OK);
    EXPECT_EQ(data, vb->Data() + 28);
    EXPECT_EQ(data[0], 0x42);
    ASSERT_EQ(vb->Unlock(), D3D_OK);
    ASSERT_EQ(vb->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < 8400; ++i) kept += data[i] == 0x42;
    EXPECT_EQ(kept, 0u);
    ASSERT_EQ(vb->Unlock(), D3D_OK);
}

TEST(VertexBuffers, MisuseIsRefusedByName) {
    DeviceOnRememberingBackend d;
    VertexBuffer* vb = nullptr;
    EXPECT_EQ(d.device->CreateVertexBuffer(0, 0, 0, D3DPOOL_DEFAULT, &vb), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::BadBufferSize));
    ASSERT_EQ(d.device->CreateVertexBuffer(100, 0, 0, D3DPOOL_DEFAULT, &vb), D3D_OK);
    std::uint8_t* data = nullptr;
    EXPECT_EQ(vb->Unlock(), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::ResourceNotLocked));
    EXPECT_EQ(vb->Lock(90, 11, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::LockOutOfBounds));
    EXPECT_EQ(vb->Lock(101, 0, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::LockOutOfBounds));
    EXPECT_EQ(vb->Lock(0, 0, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::NullArgument));
    ASSERT_EQ(vb->Lock(90, 10, &data, 0), D3D_OK);
    EXPECT_EQ(vb->Lock(0, 0, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::ResourceLocked));
}

}  // namespace
}  // namespace brontal
