#pragma once
// Scenes written by the tests: a scratch directory per test, text and image files in it, and the
// converted level read back with the game's reader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "convert/build_command.h"
#include "level/reader.h"
#include "platform/image.h"

namespace brontal::test {

class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "brontal_convert_XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::string Path(const std::string& name) const { return path_ + "/" + name; }

    std::string Write(const std::string& name, const std::string& text) const {
        return Write(name, std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        const std::string path = Path(name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

private:
    std::string path_;
};

// A w x h image of one colour, in the given encoder's format.
inline Image SolidImage(std::uint32_t w, std::uint32_t h, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    Image image;
    image.width = w;
    image.height = h;
    for (std::uint32_t i = 0; i < w * h; ++i) image.rgba.insert(image.rgba.end(), {r, g, b, 255});
    return image;
}

struct Converted {
    bool ok = false;
    std::string error;
    std::vector<std::string> warnings;
    std::vector<std::uint8_t> file;
    Level level;
    LevelReadDetails details;

    // The warnings that begin with `file` (a scene file's, apart from the level checks').
    std::vector<std::string> WarningsAbout(const std::string& file) const {
        std::vector<std::string> out;
        for (const std::string& w : warnings)
            if (w.rfind(file, 0) == 0) out.push_back(w);
        return out;
    }

    // The complete image file embedded in a texture slot.
    std::vector<std::uint8_t> TextureImage(std::size_t slot) const {
        const ImageSpan& span = details.textureImages.at(slot);
        return {file.begin() + span.offset, file.begin() + span.offset + span.size};
    }
};

// Converts the manifest and, when that works, reads the file back with the game's reader.
inline Converted Convert(const std::string& manifestPath) {
    Converted out;
    ConvertedFiles files;
    out.ok = ConvertManifest(manifestPath, files, out.error);
    out.file = std::move(files.level);
    out.warnings = std::move(files.warnings);
    if (out.ok) {
        std::string error;
        const bool read = ReadLevel(out.file.data(), out.file.size(), manifestPath, nullptr, out.level, error, &out.details);
        EXPECT_TRUE(read) << error;
        out.ok = read;
    }
    return out;
}

// The face normal of a triangle as the game's culling sees it: with clockwise corners visible,
// Cross(b - a, c - a) points towards the viewer who sees the face.
inline Vector3 VisibleSide(const Surface& surface, std::size_t triangle) {
    const Vertex& a = surface.vertices[surface.indices[triangle * 3]];
    const Vertex& b = surface.vertices[surface.indices[triangle * 3 + 1]];
    const Vertex& c = surface.vertices[surface.indices[triangle * 3 + 2]];
    const Vector3 ab{b.x - a.x, b.y - a.y, b.z - a.z}, ac{c.x - a.x, c.y - a.y, c.z - a.z};
    return {ab.y * ac.z - ab.z * ac.y, ab.z * ac.x - ab.x * ac.z, ab.x * ac.y - ab.y * ac.x};
}

}  // namespace brontal::test
