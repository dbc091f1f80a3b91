#include "render/frame_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "level/world.h"
#include "player/fly_camera.h"
#include "player/player.h"
#include "render/frustum.h"
#include "render/render_fixture.h"
#include "render/room_draw.h"
#include "render/sky_box.h"
#include "shell/counter.h"
#include "shell/frame_timer.h"
#include "shell/settings.h"
#include "text/recording_device.h"
#include "text/text_overlay.h"

namespace brontal {
namespace {

using namespace brontal::testing;

Quaternion YawQuaternion(float angle) { return {0.0f, std::sin(angle / 2), 0.0f, std::cos(angle / 2)}; }

// Two rooms in view with one triangle each, a one-part figure and the sky's five textures,
// all on a recording device made the game's device.
class FrameRender : public ::testing::Test {
protected:
    void SetUp() override {
        g_device = device.get();
        for (Texture*& texture : textures)
            ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
        g_level = Level{};
        g_level.device = g_device;
        g_level.TextureTable = {textures[0], textures[1], textures[2]};
        for (int r = 0; r < 2; ++r) {
            Room room = MakeRoom({-10, -10, 10}, {10, 10, 20});
            AddSurface(room, TriangleAt(0, 0, 15, static_cast<std::uint16_t>(r)));
            room.name = r == 0 ? "Hall" : "Yard";
            g_level.rooms.push_back(std::move(room));
        }
        g_level.roomCount = 2;
        g_level.animatedModels.push_back(Figure(1));
        g_level.animatedModelCount = 1;

        g_mainProjection = SquareProjection();
        g_skyProjection = SquareProjection();
        g_skyProjection.m[3][2] = -2.0f;  // any other matrix
        const Matrix4x4 identity = Identity();
        device->SetTransform(D3DTS_VIEW, &identity);
        device->SetTransform(D3DTS_PROJECTION, &g_mainProjection);
        device->SetTransform(D3DTS_WORLD, &worldBefore);
        g_viewFrustum = ViewFrustum{};
        g_viewFrustum.SetDevice(g_device);
        g_skyBox = SkyBox{};
        g_skyBox.SetDevice(g_device);
        g_skyBox.SetTextures(textures[3], textures[4], textures[5], textures[6], textures[7], textures[8]);
        g_skyAngle = 0.0f;

        timer.framesPerSecond = 60.0f;
        timer.secondsPerFrame = 0.5f;
        g_frameTimer = &timer;
        g_player.position = {100.0f, 50.0f, -20.0f};
        g_player.heading = 0.0f;
        g_player.lean = 0.0f;
        g_player.animFrame = 0.0f;
        g_currentRoom = 0;
        g_currentRoomName = nullptr;
        g_visibleRoomList = {0, 1};
        g_visibleRoomCount = 2;
        showOverlay = 0;
        g_textOverlay = nullptr;
        device.Forget();
    }

    void TearDown() override {
        g_device = nullptr;
        g_frameTimer = nullptr;
        g_textOverlay = nullptr;
        g_level = Level{};
        g_viewFrustum = ViewFrustum{};
        g_skyBox = SkyBox{};
        ResetSettings();
    }

    // A figure of `parts` parts whose keys rest every part on its pivot: the part's world
    // transform is then only the player's placement.
    AnimatedModel Figure(int parts) {
        AnimatedModel figure;
        for (int p = 0; p < parts; ++p) {
            AnimatedPart part;
            const Surface s = TriangleAt(0, 0, 0, 2);
            part.vertices = s.vertices;
            part.vertexCount = 3;
            part.indices = s.indices;
            part.indexCount = 3;
            part.triangleCount = 1;
            part.textureIndex = 2;
            part.pivot = {1.0f, 2.0f, 3.0f};
            KeyTrack track;
            track.positions = {part.pivot, part.pivot};
            track.rotations = {{0, 0, 0, 1}, {0, 0, 0, 1}};
            track.keyCount = 2;
            figure.parts.push_back(part);
            figure.tracks.push_back(track);
        }
        figure.partCount = static_cast<std::uint16_t>(parts);
        figure.trackCount = static_cast<std::uint16_t>(parts);
        return figure;
    }

    std::int64_t Id(int i) const { return textures[i]->Id(); }

    std::vector<std::string> Prologue() const {
        return {
            Line("Clear", {I(0), I(0), I(3), I(0), CallArgument(1.0), I(0)}),
            Line("BeginScene"),
            Line("GetTransform", {I(2), CallArgument(Identity())}),
            Line("GetTransform", {I(3), CallArgument(g_mainProjection)}),
            Line("GetTransform", {I(256), CallArgument(worldBefore)}),
            Line("SetRenderState", {I(7), I(2)}),
            Line("SetRenderState", {I(15), I(1)}),
            Line("SetRenderState", {I(24), I(144)}),
            Line("SetRenderState", {I(25), I(7)}),
        };
    }
    // The sky's world transform after its first frame: a turn about y by 0.0001 radians, written
    // out here rather than read back from what the frame stored.
    static Matrix4x4 SkyTurnedOnce() {
        const float c = std::cos(0.0001f), s = std::sin(0.0001f);
        return Matrix4x4{{{c, 0, -s, 0}, {0, 1, 0, 0}, {s, 0, c, 0}, {0, 0, 0, 1}}};
    }
    std::vector<std::string> Sky() const {
        std::vector<std::string> lines = {
            Line("SetRenderState", {I(27), I(1)}),
            Line("SetRenderState", {I(19), I(5)}),
            Line("SetRenderState", {I(20), I(6)}),
            Line("SetTransform", {I(256), CallArgument(SkyTurnedOnce())}),
            Line("SetTransform", {I(3), CallArgument(g_skyProjection)}),
            Line("SetRenderState", {I(137), I(0)}),
            Line("SetVertexShader", {I(0x102)}),
        };
        for (int t : {3, 4, 6, 7, 8}) {
            lines.push_back(Line("SetTexture", {I(0), I(Id(t))}));
            lines.push_back(Line("DrawPrimitiveUP", {I(5), I(2), I(4), I(20)}));
        }
        lines.push_back(Line("SetTransform", {I(3), CallArgument(g_mainProjection)}));
        lines.push_back(Line("SetRenderState", {I(137), I(1)}));
        lines.push_back(Line("SetTransform", {I(256), CallArgument(worldBefore)}));
        return lines;
    }
    std::vector<std::string> RoomsAndFigure() const {
        std::vector<std::string> lines;
        for (int r : {0, 1}) {
            lines.push_back(Line("SetTexture", {I(0), I(Id(r))}));
            lines.push_back(Line("SetVertexShader", {I(0x102)}));
            lines.push_back(Line("DrawIndexedPrimitiveUP", {I(4), I(0), I(3), I(1), I(3), I(101), I(3), I(20)}));
        }
        lines.push_back(Line("GetTransform", {I(256), CallArgument(worldBefore)}));
        lines.push_back(Line("SetTransform", {I(256), CallArgument(Translation(100.0f, 25.0f, -20.0f))}));
        lines.push_back(Line("SetTexture", {I(0), I(Id(2))}));
        lines.push_back(Line("SetVertexShader", {I(0x102)}));
        lines.push_back(Line("DrawIndexedPrimitiveUP", {I(4), I(0), I(3), I(1), I(3), I(101), I(3), I(20)}));
        lines.push_back(Line("SetTransform", {I(256), CallArgument(worldBefore)}));
        return lines;
    }
    static std::vector<std::string> Epilogue() {
        return {Line("EndScene"), Line("Present", {I(0), I(0), I(0), I(0)})};
    }
    static void Append(std::vector<std::string>& to, const std::vector<std::string>& lines) {
        to.insert(to.end(), lines.begin(), lines.end());
    }

    // Builds the overlay on the game's device, as the start-up sequence does.
    void CreateOverlay() {
        overlay = std::make_unique<TextOverlay>("Arial", 14, kFontFlagBold);
        ASSERT_EQ(overlay->CreateGlyphAtlas(g_device), D3D_OK);
        ASSERT_EQ(overlay->CreateDrawResources(), D3D_OK);
        g_textOverlay = overlay.get();
        device.Forget();
    }

    std::uint32_t TextTriangles() const {
        std::uint32_t triangles = 0;
        for (const RecordedCall& call : device.recorder.calls)
            if (call.name == "DrawPrimitive")
                triangles += static_cast<std::uint32_t>(std::get<std::int64_t>(call.arguments[2]));
        return triangles;
    }

    RecordingDevice device;
    Texture* textures[9] = {};
    const Matrix4x4 worldBefore = Translation(-3.0f, 4.0f, 5.0f);
    SimulatedCounter counter{1.0 / 60.0};
    FrameTimer timer{counter};
    std::unique_ptr<TextOverlay> overlay;
};

TEST_F(FrameRender, AFrameWithoutTheSkyOrTheOverlay) {
    EXPECT_EQ(RenderFrame(), D3D_OK);
    std::vector<std::string> expected = Prologue();
    Append(expected, RoomsAndFigure());
    Append(expected, Epilogue());
    EXPECT_EQ(device.Lines(), expected);
    EXPECT_EQ(trianglesDrawn, 3);
    EXPECT_EQ(g_skyAngle, 0.0f);
    EXPECT_TRUE(device->Errors().empty());
}

TEST_F(FrameRender, AFrameWithTheSky) {
    g_level.rooms[0].showsSky = true;
    EXPECT_EQ(RenderFrame(), D3D_OK);
    std::vector<std::string> expected = Prologue();
    Append(expected, Sky());
    Append(expected, RoomsAndFigure());
    Append(expected, Epilogue());
    EXPECT_EQ(device.Lines(), expected);
    EXPECT_EQ(g_skyAngle, 0.0001f);
    // Blending stays on after the frame; lighting is back on.
    EXPECT_EQ(device->State().renderState[D3DRS_ALPHABLENDENABLE], 1u);
    EXPECT_EQ(device->State().renderState[D3DRS_LIGHTING], 1u);
}

TEST_F(FrameRender, TheSkyAngleGrowsOnlyOnSkyFrames) {
    g_level.rooms[1].showsSky = true;
    RenderFrame();  // current room 0: no sky
    EXPECT_EQ(g_skyAngle, 0.0f);
    g_currentRoom = 1;
    for (int i = 0; i < 3; ++i) RenderFrame();
    float expected = 0.0f;
    for (int i = 0; i < 3; ++i) expected += 0.0001f;
    EXPECT_EQ(g_skyAngle, expected);
    g_currentRoom = 0;
    device.Forget();
    RenderFrame();
    EXPECT_EQ(g_skyAngle, expected);
    for (const RecordedCall& call : device.recorder.calls)
        EXPECT_FALSE(call.name == "SetTransform" && std::get<std::int64_t>(call.arguments[0]) == D3DTS_PROJECTION);
}

TEST_F(FrameRender, TheHudIsDrawnLastWithTheFrameFigures) {
    CreateOverlay();
    showOverlay = 1;
    g_currentRoomName = g_level.rooms[0].name.c_str();
    RenderFrame();
    const std::vector<std::string> lines = device.Lines();
    std::vector<std::string> before = Prologue();
    Append(before, RoomsAndFigure());
    ASSERT_GT(lines.size(), before.size() + 2);
    const auto hudStart = lines.begin() + static_cast<std::ptrdiff_t>(before.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), hudStart), before);
    EXPECT_EQ(lines[before.size()], Line("CaptureStateBlock", {I(overlay->savedStates)}));
    EXPECT_EQ(lines[lines.size() - 3], Line("ApplyStateBlock", {I(overlay->savedStates)}));
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()), Epilogue());

    // Two triangles per printable character of the HUD's three lines.
    const char* hud = "Current Room:Hall\nFrames Per Second:60.000000\nTriangles Per Frame:3";
    const auto printable = static_cast<std::uint32_t>(std::strlen(hud) - 2);
    EXPECT_EQ(TextTriangles(), 2 * printable);
    // The first character's top-left corner is 18 pixels down, at the pixel centre.
    const CapturedDraw& text = device.draws.at(device.draws.size() - 2);
    EXPECT_EQ(text.call.fvf, TextVertexFormat);
    EXPECT_EQ(text.VertexAt<TextVertex>(1).x, -0.5f);
    EXPECT_EQ(text.VertexAt<TextVertex>(1).y, 17.5f);
    EXPECT_EQ(text.VertexAt<TextVertex>(1).colour, 0xFFFFFFFFu);
}

TEST_F(FrameRender, PreviewRunsShowThePositionAndTheFlyingCameraLeavesOutTheFigure) {
    char line[kPositionLineBytes];
    FormatPositionLine(line, {1.5f, -2.0f, 300.04f});
    EXPECT_STREQ(line, "Position: 1.5, -2.0, 300.0");

    CreateOverlay();
    showOverlay = 1;
    g_currentRoomName = g_level.rooms[0].name.c_str();
    g_hudShowsPosition = true;
    RenderFrame();  // walking: the player's position
    const char* hud = "Current Room:Hall\nFrames Per Second:60.000000\nTriangles Per Frame:3";
    const std::string walking = std::string(hud) + "\nPosition: 100.0, 50.0, -20.0";
    EXPECT_EQ(TextTriangles(), 2 * (walking.size() - 3));

    g_flyCamera.on = true;
    g_flyCamera.position = {7.0f, 8.0f, 9.0f};
    device.Forget();
    RenderFrame();
    g_hudShowsPosition = false;
    g_flyCamera = FlyCamera{};
    EXPECT_EQ(trianglesDrawn, 2) << "the rooms only";
    const std::string flying = "Current Room:Hall\nFrames Per Second:60.000000\nTriangles Per Frame:2\n"
                               "Position: 7.0, 8.0, 9.0";
    EXPECT_EQ(TextTriangles(), 2 * (flying.size() - 3));
}

TEST_F(FrameRender, WithoutAnOverlayNoTextIsDrawnAndNothingFails) {
    showOverlay = 1;
    g_textOverlay = nullptr;
    EXPECT_EQ(RenderFrame(), D3D_OK);
    std::vector<std::string> expected = Prologue();
    Append(expected, RoomsAndFigure());
    Append(expected, Epilogue());
    EXPECT_EQ(device.Lines(), expected);
}

TEST_F(FrameRender, TheOverlayOffMakesNoTextCall) {
    CreateOverlay();
    showOverlay = 0;
    RenderFrame();
    EXPECT_EQ(TextTriangles(), 0u);
    const std::vector<std::string> names = device.Names();
    EXPECT_EQ(std::count(names.begin(), names.end(), "CaptureStateBlock"), 0);
}

TEST_F(FrameRender, TheVisibleListDecidesTheRoomsAndTheirOrder) {
    g_visibleRoomList = {1, 0, 1};
    g_visibleRoomCount = 3;
    RenderFrame();
    std::vector<Texture*> roomTextures;
    for (const CapturedDraw& draw : device.draws)
        if (draw.state.world.m[3][0] == -3.0f) roomTextures.push_back(draw.state.texture[0]);
    EXPECT_EQ(roomTextures, (std::vector<Texture*>{textures[1], textures[0], textures[1]}));
    EXPECT_EQ(trianglesDrawn, 4);
}

TEST_F(FrameRender, ALevelWithoutAFigureDrawsNoFigure) {
    g_level.animatedModels.clear();
    g_level.animatedModelCount = 0;
    RenderFrame();
    EXPECT_EQ(device.draws.size(), 2u);
    EXPECT_EQ(trianglesDrawn, 2);
}

TEST_F(FrameRender, EveryPartIsDrawnWhateverTheCount) {
    g_level.animatedModels[0] = Figure(130);
    RenderFrame();
    EXPECT_EQ(device.draws.size(), 2u + 130u);
    EXPECT_EQ(trianglesDrawn, 2 + 130);
}

TEST(HudText, FollowsTheFormat) {
    char text[kHudTextBytes];
    FormatHudText(text, "Hall", 60.0, 1234);
    EXPECT_STREQ(text, "Current Room:Hall\nFrames Per Second:60.000000\nTriangles Per Frame:1234");
    FormatHudText(text, "Hall", 29.97, -1);
    EXPECT_STREQ(text, "Current Room:Hall\nFrames Per Second:29.970000\nTriangles Per Frame:-1");
}

TEST(HudText, ANameNotYetChosenShowsEmpty) {
    char text[kHudTextBytes];
    FormatHudText(text, nullptr, 60.0, 0);
    EXPECT_STREQ(text, "Current Room:\nFrames Per Second:60.000000\nTriangles Per Frame:0");
}

TEST(HudText, ALongNameIsCutNeverOverrun) {
    struct Guarded {
        char text[kHudTextBytes];
        char guard[16];
    } buffer;
    std::memset(&buffer, 'G', sizeof buffer);
    const std::string name(300, 'n');
    FormatHudText(buffer.text, name.c_str(), 60.0, 7);
    EXPECT_EQ(std::strlen(buffer.text), kHudTextBytes - 1);
    EXPECT_EQ(std::string(buffer.text, 13), "Current Room:");
    for (char c : buffer.guard) EXPECT_EQ(c, 'G');
}

// DrawAnimatedPart alone, for the pose between two keys.
class AnimatedPartPose : public FrameRender {
protected:
    void SetUp() override {
        FrameRender::SetUp();
        AnimatedModel& figure = g_level.animatedModels[0];
        figure.tracks[0].positions = {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}};
        figure.tracks[0].rotations = {YawQuaternion(0.0f), YawQuaternion(kPi / 2), YawQuaternion(kPi)};
        figure.tracks[0].keyCount = 3;
        device->BeginScene();
        device.Forget();
        trianglesDrawn = 0;
    }
    Matrix4x4 DrawnWorld() const {
        EXPECT_EQ(device.draws.size(), 1u);
        return device.draws.empty() ? Matrix4x4{} : device.draws[0].state.world;
    }
};

void ExpectPoint(const Vector3& got, float x, float y, float z) {
    EXPECT_NEAR(got.x, x, 1e-3f);
    EXPECT_NEAR(got.y, y, 1e-3f);
    EXPECT_NEAR(got.z, z, 1e-3f);
}

TEST_F(AnimatedPartPose, BlendsKeysByTheFrameTimeAboutThePivotThenPlacesThePlayer) {
    // Half-way (t = 0.5) from key 0 to key 1: turned 45 degrees about y around the pivot
    // (1, 2, 3), moved to (5, 0, 0); then the heading (90 degrees about y) and the placement
    // 25 units below the player.
    g_player.heading = kPi / 2;
    DrawAnimatedPart(0, 0, 0);
    const Matrix4x4 world = DrawnWorld();
    const float r = std::sqrt(0.5f);
    // The pivot lands on the key position (5, 0, 0); heading 90: (x, y, z) -> (z, y, -x).
    ExpectPoint(TransformPoint({1, 2, 3}, world), 100.0f + 0.0f, 25.0f, -20.0f - 5.0f);
    // One unit along x from the pivot turns to (r, 0, -r) and follows it.
    ExpectPoint(TransformPoint({2, 2, 3}, world), 100.0f - r, 25.0f, -20.0f - (5.0f + r));
    EXPECT_EQ(trianglesDrawn, 1);
    EXPECT_EQ(device.draws[0].state.texture[0], textures[2]);
}

TEST_F(AnimatedPartPose, LeanTurnsAboutZBeforeTheHeading) {
    g_player.lean = kPi / 2;
    timer.secondsPerFrame = 0.0f;
    DrawAnimatedPart(0, 0, 1);  // exactly key 1: turned 90 about y, at (10, 0, 0)
    const Matrix4x4 world = DrawnWorld();
    // Lean 90 about z: (x, y, z) -> (-y, x, z).
    ExpectPoint(TransformPoint({1, 2, 3}, world), 100.0f, 25.0f + 10.0f, -20.0f);
}

TEST_F(AnimatedPartPose, KeysPastTheLastUseTheLast) {
    timer.secondsPerFrame = 0.5f;
    DrawAnimatedPart(0, 0, 2);  // key 2 is the last: key 3 does not exist
    ExpectPoint(TransformPoint({1, 2, 3}, DrawnWorld()), 120.0f, 25.0f, -20.0f);
    device.Forget();
    DrawAnimatedPart(0, 0, 900);
    ExpectPoint(TransformPoint({1, 2, 3}, DrawnWorld()), 120.0f, 25.0f, -20.0f);
}

TEST_F(AnimatedPartPose, TheKeyIsTheFrameTruncated) {
    timer.secondsPerFrame = 0.0f;
    g_player.animFrame = 1.7f;
    device->EndScene();
    device.Forget();
    RenderFrame();
    bool found = false;
    for (const CapturedDraw& draw : device.draws) {
        if (draw.state.texture[0] != textures[2]) continue;
        ExpectPoint(TransformPoint({1, 2, 3}, draw.state.world), 110.0f, 25.0f, -20.0f);
        found = true;
    }
    EXPECT_TRUE(found);
}

TEST_F(AnimatedPartPose, APartWithoutKeysIsNotDrawn) {
    g_level.animatedModels[0].tracks[0].keyCount = 0;
    DrawAnimatedPart(0, 0, 0);
    DrawAnimatedPart(5, 0, 0);  // no such part
    DrawAnimatedPart(0, 3, 0);  // no such model
    EXPECT_TRUE(device.draws.empty());
}

}  // namespace
}  // namespace brontal
