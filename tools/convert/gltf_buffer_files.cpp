// External buffer files of a glTF file, read before tinygltf reads the file: a buffer that is
// missing, unreadable or of the wrong size is named with its place in the file.
#include <nlohmann/json.hpp>
#include <tiny_gltf.h>

#include "convert/gltf_checks.h"
#include "convert/source_scene.h"
#include "files/file_io.h"

namespace brontal {
namespace {

// The file tinygltf asks for: percent-decoded as tinygltf decodes ('+' is a space, a broken
// escape gives nibbles of 0), joined to the base directory as tinygltf joins.
std::string TinyGltfPath(const std::string& baseDir, const std::string& uri) {
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return 0;
    };
    std::string decoded;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '+') {
            decoded += ' ';
        } else if (uri[i] == '%' && uri.size() > i + 2) {
            decoded += static_cast<char>((nibble(uri[i + 1]) << 4) | nibble(uri[i + 2]));
            i += 2;
        } else {
            decoded += uri[i];
        }
    }
    if (baseDir.empty()) return decoded;
    return baseDir.back() == '/' ? baseDir + decoded : baseDir + "/" + decoded;
}

// The reason without the path the file layer puts first.
std::string Reason(const std::string& error, const std::string& file) {
    return error.rfind(file + ": ", 0) == 0 ? error.substr(file.size() + 2) : error;
}

}  // namespace

bool ReadGltfBufferFiles(const std::string& path, const nlohmann::json& root, const std::string& baseDir,
                         GltfBufferFiles& files, std::string& error) {
    files.clear();
    if (!root.is_object()) return true;
    const auto buffers = root.find("buffers");
    if (buffers == root.end() || !buffers->is_array()) return true;
    for (std::size_t i = 0; i < buffers->size(); ++i) {
        const nlohmann::json& buffer = (*buffers)[i];
        if (!buffer.is_object()) continue;
        const auto uri = buffer.find("uri");
        if (uri == buffer.end() || !uri->is_string() || uri->get<std::string>().empty()) continue;
        const std::string text = uri->get<std::string>();
        if (tinygltf::IsDataURI(text)) continue;
        const std::string where = path + ": buffers[" + std::to_string(i) + "]: buffer file \"" + text + "\"";
        const std::string file = TinyGltfPath(baseDir, text);
        if (files.count(file) != 0) continue;
        std::vector<std::uint8_t> bytes;
        std::string readError;
        if (!ReadRegularFile(file, kMaxSourceFileSize, bytes, readError)) {
            error = where + " cannot be read (" + Reason(readError, file) + ")";
            return false;
        }
        const auto length = buffer.find("byteLength");
        if (length != buffer.end() && length->is_number_unsigned() && length->get<std::uint64_t>() != bytes.size()) {
            error = where + " holds " + std::to_string(bytes.size()) + " bytes; its byteLength says " +
                    std::to_string(length->get<std::uint64_t>());
            return false;
        }
        files.emplace(file, std::move(bytes));
    }
    return true;
}

}  // namespace brontal
