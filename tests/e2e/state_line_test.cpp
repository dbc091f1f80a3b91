// Reading the state log back: what the game writes must come back field for field, and a line of
// another shape must be refused with the place named.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/state_log.h"
#include "e2e/state_line.h"

namespace brontal::e2e {
namespace {

TEST(E2eStateLine, ReadsBackWhatTheGameWrites) {
    const std::uint16_t rooms[] = {5, 6, 1};
    FrameStateRecord record;
    record.frame = 1234567;
    record.dt = 0.034f;
    record.position = {-148.56f, std::numeric_limits<float>::quiet_NaN(), 1e-7f};
    record.heading = -6.28318548f;
    record.animFrame = 98.8f;
    record.currentRoom = 5;
    record.currentRoomName = "Court \"yard\"\\\n\xE9";
    record.visibleRooms = rooms;
    record.visibleRoomCount = 3;
    record.trianglesDrawn = 7413;
    record.framesPerSecond = 29.4117641f;
    record.camera = {1, 2, 3};
    std::string text;
    FormatStateLine(record, text);
    ASSERT_EQ(text.back(), '\n');
    text.pop_back();

    std::string error;
    const auto line = ParseStateLine(text, error);
    ASSERT_TRUE(line) << error << "\n" << text;
    EXPECT_EQ(line->frame, 1234567);
    EXPECT_EQ(line->dt, 0.034f);
    EXPECT_EQ(line->position.x, -148.56f);
    EXPECT_TRUE(std::isnan(line->position.y));
    EXPECT_EQ(line->position.z, 1e-7f);
    EXPECT_EQ(line->heading, -6.28318548f);
    EXPECT_EQ(line->animFrame, 98.8f);
    EXPECT_EQ(line->currentRoom, 5);
    EXPECT_EQ(line->currentRoomName, std::string("Court \"yard\"\\\n\xE9"));
    EXPECT_EQ(line->visibleRooms, (std::vector<int>{5, 6, 1}));
    EXPECT_EQ(line->trianglesDrawn, 7413);
    EXPECT_EQ(line->framesPerSecond, 29.4117641f);
    EXPECT_EQ(line->camera.z, 3.0f);

    record.currentRoomName = nullptr;
    record.visibleRoomCount = 0;
    text.clear();
    FormatStateLine(record, text);
    auto log = ParseStateLog(text + text, error);
    ASSERT_TRUE(log) << error;
    ASSERT_EQ(log->size(), 2u);
    EXPECT_FALSE((*log)[1].currentRoomName);
    EXPECT_TRUE((*log)[1].visibleRooms.empty());
}

TEST(E2eStateLine, RefusesOtherShapes) {
    std::string error;
    EXPECT_FALSE(ParseStateLine("{\"frame\":1,\"dt\":0.1}", error));
    EXPECT_NE(error.find("position"), std::string::npos) << error;
    EXPECT_FALSE(ParseStateLine("{\"frame\":1.5", error));
    EXPECT_NE(error.find("integer"), std::string::npos) << error;
    EXPECT_FALSE(ParseStateLine("", error));
    EXPECT_FALSE(ParseStateLog("{\"frame\":0}\n", error));
    EXPECT_NE(error.find("line 1"), std::string::npos) << error;

    StateLine a, b;
    a.currentRoomName = "Hall";
    b.currentRoomName = "Corridor";
    const std::vector<StateLine> log = {StateLine{}, a, a, b, a};
    EXPECT_EQ(RoomSequence(log), (std::vector<std::string>{"Hall", "Corridor", "Hall"}));
}

}  // namespace
}  // namespace brontal::e2e
