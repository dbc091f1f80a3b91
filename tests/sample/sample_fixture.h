#pragma once
// The generated sample level, written by the level writer and read back by the real reader on
// a device with the null backend, made once per test program.
#include <memory>
#include <string>
#include <vector>

#include "device/device.h"
#include "level/reader.h"
#include "sample/sample_level.h"

namespace brontal::test {

struct LoadedSample {
    sample::SampleFiles files;
    std::unique_ptr<Device> device;
    Level level;
    bool accepted = false;
    std::string error;
};

inline const LoadedSample& Sample() {
    static const LoadedSample loaded = [] {
        LoadedSample s;
        s.files = sample::MakeSampleFiles();
        D3DPRESENT_PARAMETERS p{};
        p.BackBufferWidth = 640;
        p.BackBufferHeight = 480;
        p.BackBufferFormat = D3DFMT_X8R8G8B8;
        p.Windowed = 1;
        s.device = std::make_unique<Device>(std::make_unique<NullBackend>(), p, kDefaultCaps);
        s.accepted = ReadLevel(s.files.levelFile.data(), s.files.levelFile.size(), "LEVELS/LEVEL_001.VRM",
                               s.device.get(), s.level, s.error);
        return s;
    }();
    return loaded;
}

inline Vector3 PositionOf(const Vertex& v) { return Vector3{v.x, v.y, v.z}; }

inline bool StrictlyInside(const Room& room, const Vector3& p) {
    return room.boxMin.x < p.x && p.x < room.boxMax.x && room.boxMin.y < p.y && p.y < room.boxMax.y &&
           room.boxMin.z < p.z && p.z < room.boxMax.z;
}

}  // namespace brontal::test
