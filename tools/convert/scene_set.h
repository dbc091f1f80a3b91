#pragma once
// A level's geometry: every file the manifest names (the "geometry" files, then the files of
// whole-file models that "geometry" does not list), each loaded once, and the manifest's group
// references found in them.
//
// A reference is "NAME" (an OBJ group or object, a glTF node's name) or "#N" (glTF node N), and
// may be qualified by the file that holds it as "FILE:NAME" or "FILE:#N", FILE being the file as
// the manifest writes it or its file name alone. An unqualified reference must be found in
// exactly one of the "geometry" files (a whole-file model's file that "geometry" does not list
// belongs to that model alone), and in that file a name must belong to one node only.
#include <cstddef>
#include <string>
#include <vector>

#include "convert/manifest.h"
#include "convert/source_scene.h"

namespace brontal {

struct SceneSet {
    std::vector<SourceScene> scenes;
    std::vector<std::string> written;  // per scene: the file as the manifest writes it
    std::size_t geometryCount = 0;     // the first scenes, those "geometry" lists
};

struct GroupId {
    std::size_t scene = 0;
    std::size_t group = 0;
};

// Loads every file once. On failure one message naming the file at fault.
bool LoadScenes(const Manifest& manifest, SceneSet& set, std::string& error);

// Finds the group a reference names. On failure says why, listing the groups there are.
bool ResolveGroup(const SceneSet& set, const Manifest& manifest, const GroupReference& reference, GroupId& found,
                  std::string& error);

// The scene of a whole-file model; set.scenes.size() when none.
std::size_t SceneOfFile(const SceneSet& set, const std::string& path);

// A group has faces to offer when its mesh gave triangles, or would have but was refused.
inline bool HasFaces(const SourceGroup& group) { return !group.triangles.empty() || !group.refusal.empty(); }

// "\"a\", \"b\", #7 and 12 more": the first few dozen groups with faces of a scene, or of a
// list of groups.
std::string GroupList(const SourceScene& scene);
std::string GroupList(const std::vector<const SourceGroup*>& groups);

}  // namespace brontal
