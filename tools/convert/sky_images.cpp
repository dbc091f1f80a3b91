// Finding, checking and converting the six sky images of a manifest's sky folder.
#include "convert/sky_images.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "files/file_io.h"
#include "platform/image.h"
#include "platform/image_codecs.h"
#include "sample/sky.h"

namespace brontal {
namespace {

struct FaceNames {
    const char* names[2];  // the names a level maker may give the face's image, lower case
    const char* description;
};

// In the order the game loads its sky files (sample::kSkyFaces).
constexpr FaceNames kFaces[6] = {
    {{"left", nullptr}, "left"},      {{"right", nullptr}, "right"}, {{"top", "up"}, "top (or up)"},
    {{"bottom", "down"}, "bottom (or down)"}, {{"front", nullptr}, "front"}, {{"back", nullptr}, "back"},
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
        image.dataPath = std::string("SKY/") + sample::SkyFaceFileName(sample::kSkyFaces[f]);
        image.source = JoinPath(manifest.skyFolder, found[f][0]);
        const std::string fault = image.source + ": the sky image for " + face;
        std::vector<std::uint8_t> bytes;
        std::string reason;
        if (!ReadWholeFile(image.source, bytes, reason)) {
            error = fault + " cannot be read (" + reason + ")";
            return false;
        }
        Image decoded;
        if (!DecodeImage(bytes.data(), bytes.size(), decoded, reason)) {
            error = fault + " cannot be decoded (" + reason + ")";
            return false;
        }
        // The sky is opaque: a PNG's alpha is dropped with the conversion.
        image.copied = LooksLikeBmp(bytes.data(), bytes.size());
        image.bmp = image.copied ? std::move(bytes) : EncodeBmp(decoded, 24);
        out.push_back(std::move(image));
    }
    return true;
}

}  // namespace brontal
