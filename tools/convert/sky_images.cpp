// Finding, checking and converting the six sky images of a manifest's sky folder.
#include "convert/sky_images.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "files/file_io.h"
#include "platform/image.h"

namespace brontal {
namespace {

struct SkyFace {
    const char* dataPath;    // as the game opens it from its data directory
    const char* names[2];    // the names a level maker may give the face's image, lower case
    const char* description;
};

// In the order the game loads its sky files.
constexpr SkyFace kFaces[6] = {
    {"SKY/Left.bmp", {"left", nullptr}, "left"},        {"SKY/Right.bmp", {"right", nullptr}, "right"},
    {"SKY/Top.bmp", {"top", "up"}, "top (or up)"},      {"SKY/Bottom.bmp", {"bottom", "down"}, "bottom (or down)"},
    {"SKY/Front.bmp", {"front", nullptr}, "front"},     {"SKY/Back.bmp", {"back", nullptr}, "back"},
};

constexpr const char* kImageExtensions[] = {".bmp", ".png", ".jpg", ".jpeg"};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The face a file name stands for, or -1.
int FaceOf(const std::filesystem::path& name) {
    const std::string extension = Lower(name.extension().string());
    if (std::find(std::begin(kImageExtensions), std::end(kImageExtensions), extension) == std::end(kImageExtensions)) {
        return -1;
    }
    const std::string stem = Lower(name.stem().string());
    for (int f = 0; f < 6; ++f) {
        for (const char* faceName : kFaces[f].names) {
            if (faceName != nullptr && stem == faceName) return f;
        }
    }
    return -1;
}

bool IsBmp(const std::vector<std::uint8_t>& bytes) { return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M'; }

}  // namespace

bool GatherSkyImages(const Manifest& manifest, std::vector<SkyImage>& out, std::string& error) {
    out.clear();
    if (manifest.skyFolder.empty()) return true;
    const std::string where = manifest.path + ": sky: ";
    const std::string folder = "folder \"" + manifest.skyFolder + "\"";

    // Sorted, so that what a message names does not depend on the order the folder lists.
    std::vector<std::filesystem::path> names;
    std::error_code failed;
    for (std::filesystem::directory_iterator entry(manifest.skyFolder, failed), end; !failed && entry != end;
         entry.increment(failed)) {
        names.push_back(entry->path().filename());
    }
    if (failed) {
        error = where + folder + " cannot be read: " + failed.message();
        return false;
    }
    std::sort(names.begin(), names.end());

    std::vector<std::string> found[6];
    for (const std::filesystem::path& name : names) {
        if (const int face = FaceOf(name); face >= 0) found[face].push_back(name.string());
    }
    for (int f = 0; f < 6; ++f) {
        const std::string face = std::string("the ") + kFaces[f].description + " face";
        if (found[f].empty()) {
            error = where + folder + " holds no image for " + face + " (" + kFaces[f].names[0] +
                    ".bmp, .png, .jpg or .jpeg, in any letter case)";
            return false;
        }
        if (found[f].size() > 1) {
            error = where + folder + " holds " + std::to_string(found[f].size()) + " images for " + face + " (" +
                    found[f][0] + " and " + found[f][1] + "); keep one";
            return false;
        }
        SkyImage image;
        image.dataPath = kFaces[f].dataPath;
        image.source = JoinPath(manifest.skyFolder, found[f][0]);
        const std::string fault = image.source + ": the sky image for " + face;
        std::vector<std::uint8_t> bytes;
        std::string reason;
        if (!ReadRegularFile(image.source, kMaxImageFileSize, bytes, reason)) {
            if (reason.rfind(image.source + ": ", 0) == 0) reason.erase(0, image.source.size() + 2);
            error = fault + " cannot be read (" + reason + ")";
            return false;
        }
        Image decoded;
        if (!DecodeImage(bytes.data(), bytes.size(), decoded, reason)) {
            error = fault + " cannot be decoded (" + reason + ")";
            return false;
        }
        // The sky is opaque: a PNG's alpha is dropped with the conversion.
        image.copied = IsBmp(bytes);
        image.bmp = image.copied ? std::move(bytes) : EncodeBmp(decoded, 24);
        out.push_back(std::move(image));
    }
    return true;
}

}  // namespace brontal
