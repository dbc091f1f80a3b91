// Loading a level's geometry files and finding the groups the manifest names in them.
#include "convert/scene_set.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "files/file_io.h"

namespace brontal {
namespace {

constexpr std::size_t kListedGroups = 40;  // a message lists this many groups, then counts the rest

// The scenes a qualifier names: the file as written, or its file name alone.
std::vector<std::size_t> ScenesNamed(const SceneSet& set, const std::string& file) {
    std::vector<std::size_t> out;
    for (std::size_t s = 0; s < set.written.size(); ++s) {
        if (set.written[s] == file || FileName(set.written[s]) == file) out.push_back(s);
    }
    return out;
}

// "#N" with N a whole number (at most nine digits): a glTF node by index.
bool NodeIndex(const std::string& name, int& node) {
    if (name.size() < 2 || name.size() > 10 || name[0] != '#' || !std::isdigit(static_cast<unsigned char>(name[1])))
        return false;
    const char* end = name.data() + name.size();
    const auto [stop, fault] = std::from_chars(name.data() + 1, end, node);
    return fault == std::errc() && stop == end;
}

std::vector<GroupId> Matches(const SceneSet& set, const std::vector<std::size_t>& scenes, const std::string& name) {
    std::vector<GroupId> out;
    int node = -1;
    const bool byIndex = NodeIndex(name, node);
    for (std::size_t s : scenes) {
        const std::vector<SourceGroup>& groups = set.scenes[s].groups;
        for (std::size_t g = 0; g < groups.size(); ++g) {
            if (byIndex ? groups[g].node == node : groups[g].name == name) out.push_back({s, g});
        }
    }
    return out;
}

}  // namespace

std::string GroupList(const std::vector<const SourceGroup*>& groups) {
    std::string out;
    std::size_t listed = 0, more = 0;
    for (const SourceGroup* group : groups) {
        if (!HasFaces(*group)) continue;
        if (listed == kListedGroups) {
            ++more;
            continue;
        }
        out += (listed == 0 ? "" : ", ") + GroupLabel(*group);
        ++listed;
    }
    if (listed == 0) return "no group with faces";
    if (more > 0) out += " and " + std::to_string(more) + " more";
    return out;
}

std::string GroupList(const SourceScene& scene) {
    std::vector<const SourceGroup*> groups;
    for (const SourceGroup& group : scene.groups) groups.push_back(&group);
    return GroupList(groups);
}

std::size_t SceneOfFile(const SceneSet& set, const std::string& path) {
    for (std::size_t s = 0; s < set.scenes.size(); ++s) {
        if (SameFile(set.scenes[s].path, path)) return s;
    }
    return set.scenes.size();
}

bool LoadScenes(const Manifest& manifest, SceneSet& set, std::string& error) {
    set = SceneSet{};
    auto load = [&](const std::string& path, const std::string& written, const std::string& where) {
        const std::size_t same = SceneOfFile(set, path);
        if (same < set.scenes.size()) {
            if (where.rfind("geometry", 0) != 0) return true;  // a model's file that "geometry" lists
            error = manifest.path + ": " + where + ": names the same file as " + Quoted(set.written[same]);
            return false;
        }
        set.scenes.emplace_back();
        set.written.push_back(written);
        return LoadSourceScene(path, set.scenes.back(), error);
    };
    for (std::size_t i = 0; i < manifest.geometryPaths.size(); ++i) {
        const std::string where = manifest.geometryPaths.size() == 1 ? "geometry" : Element("geometry", i);
        if (!load(manifest.geometryPaths[i], manifest.geometryFiles[i], where)) return false;
    }
    set.geometryCount = set.scenes.size();
    for (const ManifestModel& model : manifest.models) {
        if (!model.file.empty() && !load(model.file, model.fileAsWritten, model.where + ".file")) return false;
    }
    return true;
}

bool ResolveGroup(const SceneSet& set, const Manifest& manifest, const GroupReference& reference, GroupId& found,
                  std::string& error) {
    const std::string namedBy = " (named by " + manifest.path + " " + reference.where + ")";
    std::vector<std::size_t> scenes;
    std::string name = reference.name;
    // "FILE:NAME" when what comes before a colon names a file; otherwise the whole is a name.
    for (std::size_t colon = reference.name.find(':'); colon != std::string::npos;
         colon = reference.name.find(':', colon + 1)) {
        scenes = ScenesNamed(set, reference.name.substr(0, colon));
        if (scenes.empty()) continue;
        if (scenes.size() > 1) {
            error = manifest.path + ": " + reference.where + ": " + Quoted(reference.name.substr(0, colon)) +
                    " names more than one geometry file; write the file as \"geometry\" does";
            return false;
        }
        name = reference.name.substr(colon + 1);
        break;
    }
    const bool qualified = !scenes.empty();
    if (!qualified) {
        for (std::size_t s = 0; s < set.geometryCount; ++s) scenes.push_back(s);
    }

    const std::vector<GroupId> matches = Matches(set, scenes, name);
    if (matches.empty()) {
        if (scenes.size() == 1) {
            error = set.scenes[scenes[0]].path + ": has no group " + Quoted(name) + namedBy + "; its groups: " +
                    GroupList(set.scenes[scenes[0]]);
            return false;
        }
        error = manifest.path + ": " + reference.where + ": no geometry file has group " + Quoted(name) + "; ";
        for (std::size_t s : scenes) {
            error += (s == scenes[0] ? "" : "; ") + set.written[s] + " has " + GroupList(set.scenes[s]);
        }
        return false;
    }
    const bool oneScene = std::all_of(matches.begin(), matches.end(),
                                      [&](const GroupId& id) { return id.scene == matches[0].scene; });
    if (!oneScene) {
        std::string files;
        for (const GroupId& id : matches) files += (files.empty() ? "" : ", ") + Quoted(set.written[id.scene] + ":" + name);
        error = manifest.path + ": " + reference.where + ": group " + Quoted(name) +
                " is in more than one geometry file; name one of them as " + files;
        return false;
    }
    if (matches.size() > 1) {
        std::string nodes;
        for (const GroupId& id : matches) {
            nodes += (nodes.empty() ? "" : ", ") + Quoted("#" + std::to_string(set.scenes[id.scene].groups[id.group].node));
        }
        error = set.scenes[matches[0].scene].path + ": " + std::to_string(matches.size()) + " nodes are named " +
                Quoted(name) + namedBy + "; a room or model needs a name of its own, or name one node by its index: " +
                nodes;
        return false;
    }
    found = matches[0];
    return true;
}

}  // namespace brontal
