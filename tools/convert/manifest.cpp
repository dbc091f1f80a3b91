// Reading the manifest: every value is checked for its type and range here, so the builder only
// has to resolve names against the geometry.
#include "convert/manifest.h"

#include <cmath>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "convert/source_scene.h"
#include "files/file_io.h"
#include "level/chunk_ids.h"

namespace brontal {
namespace {

using Json = nlohmann::json;

// A room, level or surface name is a length byte in the level file, read as signed 8 bits, and
// is read line-wise, so it holds at most 127 bytes and no line feed.
constexpr std::size_t kMaxName = kMaxNameLength;
constexpr std::size_t kMaxRecords = kMaxRecordCount;

class ManifestReader {
public:
    explicit ManifestReader(const std::string& path) : path_(path) {}

    bool Read(const Json& root, Manifest& out);
    const std::string& Error() const { return error_; }

private:
    bool Fail(const std::string& where, const std::string& problem) {
        error_ = path_ + ": " + (where.empty() ? "" : where + ": ") + problem;
        return false;
    }

    bool OnlyKeys(const Json& object, const std::string& where, std::initializer_list<const char*> keys);
    bool Object(const Json& value, const std::string& where);
    bool Array(const Json& value, const std::string& where, std::size_t maxSize);
    bool Text(const Json& value, const std::string& where, std::string& out, bool nameRules);
    bool Flag(const Json& value, const std::string& where, bool& out);
    bool Number(const Json& value, const std::string& where, float& out);
    bool Vec3(const Json& value, const std::string& where, Vector3& out);
    bool Groups(const Json& value, const std::string& where, std::vector<GroupReference>& out);
    bool Geometry(const Json& value, Manifest& out);
    bool Model(const Json& item, const std::string& where, ManifestModel& model);

    bool Rooms(const Json& rooms, Manifest& out);
    bool Models(const Json& models, Manifest& out);
    bool Objects(const Json& objects, Manifest& out);
    bool Lights(const Json& lights, Manifest& out);
    bool Figure(const Json& figure, Manifest& out);
    bool UniqueGroups(const Manifest& out);
    bool UniqueModelNames(const Manifest& out);

    const std::string& path_;
    std::string error_;
};


std::string Member(const std::string& where, const char* key) {
    return where.empty() ? std::string(key) : where + "." + key;
}


bool ManifestReader::Object(const Json& value, const std::string& where) {
    return value.is_object() || Fail(where, "must be a JSON object");
}

bool ManifestReader::Array(const Json& value, const std::string& where, std::size_t maxSize) {
    if (!value.is_array()) return Fail(where, "must be a JSON array");
    if (value.size() > maxSize) {
        return Fail(where, "holds " + std::to_string(value.size()) + " entries; a level holds at most " +
                               std::to_string(maxSize));
    }
    return true;
}

bool ManifestReader::OnlyKeys(const Json& object, const std::string& where, std::initializer_list<const char*> keys) {
    for (const auto& item : object.items()) {
        bool known = false;
        for (const char* key : keys) known = known || item.key() == key;
        if (!known) return Fail(Member(where, item.key().c_str()), "unknown key");
    }
    return true;
}

bool ManifestReader::Text(const Json& value, const std::string& where, std::string& out, bool nameRules) {
    if (!value.is_string()) return Fail(where, "must be a string");
    out = value.get<std::string>();
    if (!nameRules) return true;
    if (out.size() > kMaxName) {
        return Fail(where, "is " + std::to_string(out.size()) + " bytes long; a name holds at most 127");
    }
    if (out.find('\n') != std::string::npos) return Fail(where, "holds a line feed, which a name cannot");
    return true;
}

bool ManifestReader::Flag(const Json& value, const std::string& where, bool& out) {
    if (!value.is_boolean()) return Fail(where, "must be true or false");
    out = value.get<bool>();
    return true;
}

bool ManifestReader::Number(const Json& value, const std::string& where, float& out) {
    if (!value.is_number()) return Fail(where, "must be a number");
    out = static_cast<float>(value.get<double>());
    if (!std::isfinite(out)) return Fail(where, "is out of the range of a 32-bit float");
    return true;
}

bool ManifestReader::Vec3(const Json& value, const std::string& where, Vector3& out) {
    if (!value.is_array() || value.size() != 3) return Fail(where, "must be an array of three numbers [x, y, z]");
    return Number(value[0], Element(where, 0), out.x) && Number(value[1], Element(where, 1), out.y) &&
           Number(value[2], Element(where, 2), out.z);
}

bool ManifestReader::Rooms(const Json& rooms, Manifest& out) {
    if (!Array(rooms, "rooms", kMaxRecords)) return false;
    if (rooms.empty()) return Fail("rooms", "a level needs at least one room");
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        const std::string where = Element("rooms", i);
        const Json& item = rooms[i];
        if (!Object(item, where) || !OnlyKeys(item, where, {"group", "name", "sky", "visible"})) return false;
        ManifestRoom room;
        room.where = where;
        if (!item.contains("group")) return Fail(where, "needs a \"group\"");
        if (!Groups(item["group"], Member(where, "group"), room.groups)) return false;
        room.group = room.groups.front().name;
        room.name = room.group;
        if (item.contains("name") && !Text(item["name"], Member(where, "name"), room.name, true)) return false;
        if (room.name.size() > kMaxName || room.name.find('\n') != std::string::npos) {
            return Fail(Member(where, "group"), "cannot serve as the room's name (at most 127 bytes, no line "
                                                "feed); give the room a \"name\"");
        }
        if (item.contains("sky") && !Flag(item["sky"], Member(where, "sky"), room.sky)) return false;
        room.visibleGiven = item.contains("visible");
        if (room.visibleGiven) {
            const std::string listWhere = Member(where, "visible");
            if (!Array(item["visible"], listWhere, kMaxRecords)) return false;
            for (std::size_t v = 0; v < item["visible"].size(); ++v) {
                std::string group;
                if (!Text(item["visible"][v], Element(listWhere, v), group, false)) return false;
                room.visible.push_back(group);
            }
        }
        out.rooms.push_back(std::move(room));
    }
    return true;
}

// "group": "NAME" or a list of names; a list holds at least one.
bool ManifestReader::Groups(const Json& value, const std::string& where, std::vector<GroupReference>& out) {
    if (value.is_string()) {
        out.push_back({value.get<std::string>(), where});
        return true;
    }
    if (!value.is_array()) return Fail(where, "must be a group or a list of groups");
    if (value.empty()) return Fail(where, "must name at least one group");
    if (!Array(value, where, kMaxRecords)) return false;
    for (std::size_t i = 0; i < value.size(); ++i) {
        GroupReference group{"", Element(where, i)};
        if (!Text(value[i], group.where, group.name, false)) return false;
        out.push_back(std::move(group));
    }
    return true;
}

bool ManifestReader::Model(const Json& item, const std::string& where, ManifestModel& model) {
    model.where = where;
    const bool hasGroup = item.contains("group"), hasFile = item.contains("file");
    if (!hasGroup && !hasFile) return Fail(where, "needs a \"group\" or a \"file\"");
    if (hasGroup && hasFile) return Fail(where, "takes a \"group\" or a whole \"file\", not both");
    if (hasGroup) {
        if (!Groups(item["group"], Member(where, "group"), model.groups)) return false;
        model.name = model.groups.front().name;
    } else {
        if (!Text(item["file"], Member(where, "file"), model.fileAsWritten, false)) return false;
        if (model.fileAsWritten.empty()) return Fail(Member(where, "file"), "must name a geometry file");
        model.file = JoinPath(DirectoryOf(path_), model.fileAsWritten);
        model.name = FileStem(model.fileAsWritten);
    }
    if (item.contains("name") && !Text(item["name"], Member(where, "name"), model.name, false)) return false;
    if (item.contains("scale")) {
        if (!Number(item["scale"], Member(where, "scale"), model.scale)) return false;
        if (model.scale <= 0.0f) return Fail(Member(where, "scale"), "must be greater than 0");
    }
    return !item.contains("solid") || Flag(item["solid"], Member(where, "solid"), model.solid);
}

bool ManifestReader::Models(const Json& models, Manifest& out) {
    if (!Array(models, "models", kMaxRecords)) return false;
    for (std::size_t i = 0; i < models.size(); ++i) {
        const std::string where = Element("models", i);
        const Json& item = models[i];
        if (!Object(item, where) || !OnlyKeys(item, where, {"group", "file", "name", "scale", "solid"})) return false;
        ManifestModel model;
        if (!Model(item, where, model)) return false;
        out.models.push_back(std::move(model));
    }
    return true;
}

bool ManifestReader::Objects(const Json& objects, Manifest& out) {
    if (!Array(objects, "objects", kMaxRecords * kMaxRecords)) return false;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const std::string where = Element("objects", i);
        const Json& item = objects[i];
        if (!Object(item, where) || !OnlyKeys(item, where, {"model", "room", "position", "axis", "angle"})) {
            return false;
        }
        ManifestObject object;
        object.where = where;
        for (const char* key : {"model", "room", "position"}) {
            if (!item.contains(key)) return Fail(where, std::string("needs a \"") + key + "\"");
        }
        if (!Text(item["model"], Member(where, "model"), object.model, false) ||
            !Text(item["room"], Member(where, "room"), object.room, false) ||
            !Vec3(item["position"], Member(where, "position"), object.position)) {
            return false;
        }
        if (item.contains("axis") && !Vec3(item["axis"], Member(where, "axis"), object.axis)) return false;
        if (object.axis.x == 0.0f && object.axis.y == 0.0f && object.axis.z == 0.0f) {
            return Fail(Member(where, "axis"), "must not be (0, 0, 0): a rotation needs an axis");
        }
        if (item.contains("angle") && !Number(item["angle"], Member(where, "angle"), object.angle)) return false;
        out.objects.push_back(std::move(object));
    }
    return true;
}

bool ManifestReader::Lights(const Json& lights, Manifest& out) {
    if (!Array(lights, "lights", kMaxRecords * kMaxRecords)) return false;
    for (std::size_t i = 0; i < lights.size(); ++i) {
        const std::string where = Element("lights", i);
        const Json& item = lights[i];
        if (!Object(item, where) || !OnlyKeys(item, where, {"room", "position", "colour", "range"})) return false;
        ManifestLight light;
        light.where = where;
        for (const char* key : {"room", "position", "colour", "range"}) {
            if (!item.contains(key)) return Fail(where, std::string("needs a \"") + key + "\"");
        }
        if (!Text(item["room"], Member(where, "room"), light.room, false) ||
            !Vec3(item["position"], Member(where, "position"), light.position) ||
            !Vec3(item["colour"], Member(where, "colour"), light.colour) ||
            !Number(item["range"], Member(where, "range"), light.range)) {
            return false;
        }
        for (float component : {light.colour.x, light.colour.y, light.colour.z}) {
            if (component < 0.0f || component > 1.0f) {
                return Fail(Member(where, "colour"), "components must lie between 0 and 1");
            }
        }
        if (light.range <= 0.0f) return Fail(Member(where, "range"), "must be greater than 0");
        out.lights.push_back(std::move(light));
    }
    return true;
}

bool ManifestReader::Figure(const Json& figure, Manifest& out) {
    std::string choice;
    if (!Text(figure, "figure", choice, false)) return false;
    if (choice == "sample") {
        out.figure = FigureChoice::Sample;
    } else if (choice == "none") {
        out.figure = FigureChoice::None;
    } else {
        return Fail("figure", "must be \"sample\" or \"none\", not " + Quoted(choice));
    }
    return true;
}

// A group is one room or one model, never both, and never twice.
bool ManifestReader::UniqueGroups(const Manifest& out) {
    std::map<std::string, std::string> owner;  // group to the room or model that has it
    auto claim = [&](const std::vector<GroupReference>& groups, const std::string& where, const char* already) {
        for (const GroupReference& group : groups) {
            const auto [known, added] = owner.emplace(group.name, where);
            if (added) continue;
            if (known->second == where) return Fail(group.where, "names group " + Quoted(group.name) + " twice");
            return Fail(group.where, "group " + Quoted(group.name) + " is already " + already);
        }
        return true;
    };
    for (const ManifestRoom& room : out.rooms) {
        if (!claim(room.groups, room.where, "a room")) return false;
    }
    for (const ManifestModel& model : out.models) {
        if (!claim(model.groups, model.where, "a room or a model")) return false;
    }
    return true;
}

// Objects name models by name, so no two models share one.
bool ManifestReader::UniqueModelNames(const Manifest& out) {
    std::map<std::string, std::string> named;
    for (const ManifestModel& model : out.models) {
        const auto [known, added] = named.emplace(model.name, model.where);
        if (!added) {
            return Fail(model.where, "a model is already named " + Quoted(model.name) + " (" + known->second +
                                         "); give one of them a \"name\" of its own");
        }
    }
    return true;
}

// "geometry": one file or a list of files.
bool ManifestReader::Geometry(const Json& value, Manifest& out) {
    if (value.is_string()) {
        out.geometryFiles.push_back(value.get<std::string>());
        if (out.geometryFiles.back().empty()) return Fail("geometry", "must name a geometry file");
    } else if (value.is_array()) {
        if (value.empty()) return Fail("geometry", "must name at least one geometry file");
        if (!Array(value, "geometry", kMaxRecords)) return false;
        for (std::size_t i = 0; i < value.size(); ++i) {
            std::string file;
            if (!Text(value[i], Element("geometry", i), file, false)) return false;
            if (file.empty()) return Fail(Element("geometry", i), "must name a geometry file");
            out.geometryFiles.push_back(file);
        }
    } else {
        return Fail("geometry", "must be a file name or a list of file names");
    }
    for (const std::string& file : out.geometryFiles) out.geometryPaths.push_back(JoinPath(DirectoryOf(path_), file));
    return true;
}

bool ManifestReader::Read(const Json& root, Manifest& out) {
    if (!Object(root, "")) return false;
    if (!OnlyKeys(root, "", {"name", "geometry", "scale", "rooms", "models", "objects", "lights", "start", "figure", "sky"})) {
        return false;
    }
    for (const char* key : {"geometry", "rooms", "start"}) {
        if (!root.contains(key)) return Fail("", std::string("needs a \"") + key + "\"");
    }
    if (root.contains("name") && !Text(root["name"], "name", out.levelName, true)) return false;
    if (!Geometry(root["geometry"], out)) return false;
    if (root.contains("scale")) {
        if (!Number(root["scale"], "scale", out.scale)) return false;
        if (out.scale <= 0.0f) return Fail("scale", "must be greater than 0");
    }
    if (!Rooms(root["rooms"], out)) return false;
    if (root.contains("models") && !Models(root["models"], out)) return false;
    if (root.contains("objects") && !Objects(root["objects"], out)) return false;
    if (root.contains("lights") && !Lights(root["lights"], out)) return false;
    if (!Vec3(root["start"], "start", out.start)) return false;
    if (root.contains("figure") && !Figure(root["figure"], out)) return false;
    if (root.contains("sky")) {
        std::string folder;
        if (!Text(root["sky"], "sky", folder, false)) return false;
        if (folder.empty()) return Fail("sky", "must name the folder of the six sky images");
        out.skyFolder = JoinPath(DirectoryOf(path_), folder);
    }
    return UniqueGroups(out) && UniqueModelNames(out);
}

std::string LevelNameFromFile(const std::string& path) { return FileStem(path).substr(0, kMaxName); }

}  // namespace

std::string FileName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FileStem(const std::string& path) {
    std::string name = FileName(path);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Element(const std::string& where, std::size_t index) { return where + "[" + std::to_string(index) + "]"; }

std::string LibraryMessage(const std::string& what) {
    const std::size_t tag = what.find("] ");
    if (what.rfind("[json.exception", 0) == 0 && tag != std::string::npos) return what.substr(tag + 2);
    return what;
}

std::string JoinPath(const std::string& directory, const std::string& path) {
    if (path.empty() || path[0] == '/' || directory.empty()) return path;
    return directory.back() == '/' ? directory + path : directory + "/" + path;
}

namespace {

// JSON lets a key come twice in one object and keeps the last; in a manifest that is a mistake
// that would hide the first value. Follows the parse to name the first such key by its place
// ("rooms[1].sky").
class DuplicateKeys {
public:
    bool operator()(int, Json::parse_event_t event, Json& parsed) {
        switch (event) {
            case Json::parse_event_t::object_start:
            case Json::parse_event_t::array_start:
                frames_.push_back({event == Json::parse_event_t::object_start, ChildPlace(), {}, {}, 0});
                break;
            case Json::parse_event_t::object_end:
            case Json::parse_event_t::array_end:
                if (!frames_.empty()) frames_.pop_back();
                break;
            case Json::parse_event_t::key:
                if (!frames_.empty() && parsed.is_string()) {
                    Frame& object = frames_.back();
                    object.key = parsed.get<std::string>();
                    if (!object.keys.insert(object.key).second && first_.empty())
                        first_ = (object.place.empty() ? "" : object.place + ".") + object.key;
                }
                break;
            case Json::parse_event_t::value:
                if (!frames_.empty() && !frames_.back().isObject) ++frames_.back().index;
                break;
        }
        return true;
    }
    const std::string& First() const { return first_; }

private:
    struct Frame {
        bool isObject;
        std::string place;
        std::set<std::string> keys;
        std::string key;        // the object's latest key
        std::size_t index = 0;  // the array's next element
    };
    // Where a container that starts now lies: under its object's latest key or at its array's
    // next index.
    std::string ChildPlace() {
        if (frames_.empty()) return "";
        Frame& parent = frames_.back();
        if (parent.isObject) return (parent.place.empty() ? "" : parent.place + ".") + parent.key;
        return Element(parent.place, parent.index++);
    }

    std::vector<Frame> frames_;
    std::string first_;
};

}  // namespace

bool ParseManifest(const std::string& text, const std::string& path, Manifest& out, std::string& error) {
    out = Manifest{};
    out.path = path;
    Json root;
    DuplicateKeys duplicates;
    try {
        // Comments (// and /* */) are allowed, so a manifest can explain itself.
        root = Json::parse(text, std::ref(duplicates), true, true);
    } catch (const Json::parse_error& e) {
        error = path + ": byte " + std::to_string(e.byte) + ": not valid JSON (" + LibraryMessage(e.what()) + ")";
        return false;
    } catch (const Json::exception& e) {
        // A number beyond a double (1e999) and the like: the library gives no byte for these.
        error = path + ": not valid JSON (" + LibraryMessage(e.what()) + ")";
        return false;
    }
    if (!duplicates.First().empty()) {
        error = path + ": " + duplicates.First() + ": the key comes twice (the second would hide the first)";
        return false;
    }
    ManifestReader reader(path);
    try {
        if (!reader.Read(root, out)) {
            error = reader.Error();
            return false;
        }
    } catch (const Json::exception& e) {
        error = path + ": " + LibraryMessage(e.what());
        return false;
    }
    if (out.levelName.empty()) {
        std::string stem = LevelNameFromFile(path);
        if (stem.find('\n') != std::string::npos) stem.clear();
        out.levelName = stem;
    }
    return true;
}

bool LoadManifest(const std::string& path, Manifest& out, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!ReadRegularFile(path, kMaxSourceFileSize, bytes, error)) return false;
    return ParseManifest(std::string(bytes.begin(), bytes.end()), path, out, error);
}

}  // namespace brontal
