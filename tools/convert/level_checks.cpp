// The build's warnings about levels the game plays wrongly without complaint.
#include "convert/level_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "math/vector_ops.h"
#include "player/room_geometry.h"
#include "player/room_tracking.h"
#include "sample/figure.h"

namespace brontal {
namespace {


std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

// Placements on a face of the box (an object on the floor) are inside.
bool InsideOrOn(const Room& room, const Vector3& p) {
    constexpr float kSlack = 0.01f;
    return room.boxMin.x - kSlack <= p.x && p.x <= room.boxMax.x + kSlack && room.boxMin.y - kSlack <= p.y &&
           p.y <= room.boxMax.y + kSlack && room.boxMin.z - kSlack <= p.z && p.z <= room.boxMax.z + kSlack;
}

// A light above a room open to the sky, within its walls' reach: the sun over a courtyard.
bool SunOver(const Room& room, const Vector3& p) {
    return room.showsSky && p.y > room.boxMax.y && InsideOrOn(room, {p.x, room.boxMax.y, p.z});
}

// True when a collision triangle lies under p: the vertical line through p meets it below p.
bool TriangleBelow(const Vector3& a, const Vector3& b, const Vector3& c, const Vector3& p) {
    const float area = (b.x - a.x) * (c.z - a.z) - (c.x - a.x) * (b.z - a.z);
    const float reach =
        std::max({std::fabs(b.x - a.x), std::fabs(b.z - a.z), std::fabs(c.x - a.x), std::fabs(c.z - a.z)});
    if (std::fabs(area) <= 1e-6f * reach * reach) return false;  // a wall, seen from above
    const float wb = ((p.x - a.x) * (c.z - a.z) - (c.x - a.x) * (p.z - a.z)) / area;
    const float wc = ((b.x - a.x) * (p.z - a.z) - (p.x - a.x) * (b.z - a.z)) / area;
    constexpr float kEdge = -1e-4f;
    if (wb < kEdge || wc < kEdge || wb + wc > 1.0f - kEdge) return false;
    return a.y + wb * (b.y - a.y) + wc * (c.y - a.y) < p.y;
}

bool FloorUnder(const Room& room, const Vector3& p) {
    bool found = false;
    ForEachCollisionPart(room, [&](const PositionView& positions, const std::uint16_t* indices, std::size_t count) {
        for (std::size_t t = 0; t < count && !found; ++t) {
            const std::uint16_t i0 = indices[t * 3], i1 = indices[t * 3 + 1], i2 = indices[t * 3 + 2];
            if (i0 >= positions.count || i1 >= positions.count || i2 >= positions.count) continue;
            found = TriangleBelow(positions[i0], positions[i1], positions[i2], p);
        }
    });
    return found;
}

// How much of the faces' area looks toward `centre` and how much away from it, each face weighted
// by its area and its distance. A face is seen from the side its corners run clockwise (the
// game's front), the side Cross(b - a, c - a) points to.
struct Facing {
    double toward = 0.0, away = 0.0;
};
Facing FacingOf(const std::vector<Surface>& surfaces, std::size_t inUse, const Vector3& centre) {
    Facing facing;
    for (std::size_t s = 0; s < inUse && s < surfaces.size(); ++s) {
        const Surface& surface = surfaces[s];
        for (std::size_t i = 0; i + 2 < surface.indices.size(); i += 3) {
            const std::uint16_t i0 = surface.indices[i], i1 = surface.indices[i + 1], i2 = surface.indices[i + 2];
            if (i0 >= surface.vertices.size() || i1 >= surface.vertices.size() || i2 >= surface.vertices.size())
                continue;
            const auto at = [&](std::uint16_t k) {
                return Vector3{surface.vertices[k].x, surface.vertices[k].y, surface.vertices[k].z};
            };
            const Vector3 a = at(i0), b = at(i1), c = at(i2);
            const Vector3 middle = Scale(Add(Add(a, b), c), 1.0f / 3.0f);
            const double d = Dot(Cross(Sub(b, a), Sub(c, a)), Sub(centre, middle));
            (d > 0.0 ? facing.toward : facing.away) += std::fabs(d);
        }
    }
    return facing;
}

// A face list looks the wrong way round when clearly most of it does: terrain and odd shapes
// mix both ways, a room or prop turned inside out has nearly everything one way.
constexpr double kClearly = 3.0;

class SilentMistakes {
public:
    SilentMistakes(const Manifest& manifest, const Level& level, std::vector<std::string>& warnings)
        : manifest_(manifest), level_(level), warnings_(warnings) {}

    void Start();
    void Scale();
    void Placements();
    void Sky(const std::vector<RoomSight>& sights);
    void InsideOut();

private:
    void Warn(const std::string& where, const std::string& problem) {
        warnings_.push_back(manifest_.path + ": " + where + ": " + problem);
    }
    std::string RoomName(std::size_t r) const { return "room " + Quoted(manifest_.rooms[r].group); }
    // The room's box as the manifest gives positions: unscaled, z as the modelling tool shows it.
    std::string ManifestBox(std::size_t r) const {
        const Room& room = level_.rooms[r];
        const float s = manifest_.scale;
        return "x " + Number(room.boxMin.x / s) + " to " + Number(room.boxMax.x / s) + ", y " +
               Number(room.boxMin.y / s) + " to " + Number(room.boxMax.y / s) + ", z " + Number(-room.boxMax.z / s) +
               " to " + Number(-room.boxMin.z / s);
    }
    std::string OutsideBox(std::size_t r) const {
        return "lies outside the box of its " + RoomName(r) + " (" + ManifestBox(r) + ")";
    }
    // Objects and lights name their room by any of its groups.
    std::size_t RoomIndex(const std::string& group) const {
        for (std::size_t r = 0; r < manifest_.rooms.size(); ++r) {
            for (const GroupReference& g : manifest_.rooms[r].groups) {
                if (g.name == group) return r;
            }
        }
        return manifest_.rooms.size();
    }

    const Manifest& manifest_;
    const Level& level_;
    std::vector<std::string>& warnings_;
};

void SilentMistakes::Start() {
    const Vector3& start = level_.startPosition;
    std::vector<std::size_t> holding;
    for (std::size_t r = 0; r < level_.rooms.size(); ++r) {
        if (RoomContains(level_.rooms[r], start)) holding.push_back(r);
    }
    if (holding.empty()) {
        Warn("start", "lies in no room's box, so nothing holds the player up: the player falls for ever");
        return;
    }
    for (std::size_t r : holding) {
        if (FloorUnder(level_.rooms[r], start)) return;
    }
    std::string rooms;
    for (std::size_t r : holding) rooms += (rooms.empty() ? "" : ", ") + RoomName(r);
    Warn("start", "has no floor under it in " + rooms + ": the player falls out of the level");
}

// A room's size against the figure: its height, or the width of a room of floors only.
void SilentMistakes::Scale() {
    struct Size {
        float measure;
        const char* what;
    };
    std::vector<Size> sizes;
    for (const Room& room : level_.rooms) {
        const float height = room.boxMax.y - room.boxMin.y;
        const float width = std::max(room.boxMax.x - room.boxMin.x, room.boxMax.z - room.boxMin.z);
        sizes.push_back(height > 0.0f ? Size{height, " units high"} : Size{width, " units across"});
    }
    if (sizes.empty()) return;
    std::size_t largest = 0, smallest = 0;
    for (std::size_t r = 1; r < sizes.size(); ++r) {
        if (sizes[r].measure > sizes[largest].measure) largest = r;
        if (sizes[r].measure < sizes[smallest].measure) smallest = r;
    }
    const std::string figure = "the player figure, which stands about " + Number(sample::kFigureHeight) + " units tall";
    if (sizes[largest].measure < sample::kFigureHeight) {
        Warn("scale", "the scene looks too small for " + figure + ": its largest room, " + RoomName(largest) + ", is " +
                          Number(sizes[largest].measure) + sizes[largest].what +
                          "; a scene made in metres needs \"scale\": 100");
    } else if (sizes[smallest].measure > sample::kFigureHeight * kLargeSceneFigures) {
        Warn("scale", "the scene looks too large for " + figure + ": its smallest room, " + RoomName(smallest) +
                          ", is " + Number(sizes[smallest].measure) + sizes[smallest].what +
                          "; a scene made in centimetres needs no \"scale\", one in millimetres \"scale\": 0.1");
    }
}

void SilentMistakes::Placements() {
    std::vector<std::size_t> placed(level_.rooms.size(), 0), lit(level_.rooms.size(), 0);
    for (const ManifestObject& object : manifest_.objects) {
        const std::size_t r = RoomIndex(object.room);
        if (r >= level_.rooms.size() || placed[r] >= level_.rooms[r].objects.size()) continue;
        if (!InsideOrOn(level_.rooms[r], level_.rooms[r].objects[placed[r]++].position)) {
            Warn(object.where + ".position", OutsideBox(r));
        }
    }
    for (const ManifestLight& light : manifest_.lights) {
        const std::size_t r = RoomIndex(light.room);
        if (r >= level_.rooms.size() || lit[r] >= level_.rooms[r].lights.size()) continue;
        const D3DVECTOR& at = level_.rooms[r].lights[lit[r]++].light.Position;
        if (!InsideOrOn(level_.rooms[r], {at.x, at.y, at.z}) && !SunOver(level_.rooms[r], {at.x, at.y, at.z})) {
            Warn(light.where + ".position", OutsideBox(r));
        }
    }
}

void SilentMistakes::Sky(const std::vector<RoomSight>& sights) {
    for (std::size_t r = 0; r < sights.size() && r < level_.rooms.size(); ++r) {
        if (level_.rooms[r].showsSky) continue;
        for (std::uint16_t sky : sights[r].skyRooms) {
            if (sky >= manifest_.rooms.size()) continue;
            const std::string fix = "; give it \"sky\": true";
            if (sky == r) {
                Warn(manifest_.rooms[r].where, RoomName(r) + " is open to the sky but does not show the sky, so "
                                                   "its sky shows black" + fix);
            } else if (level_.rooms[sky].showsSky) {
                Warn(manifest_.rooms[r].where, RoomName(r) + " can see the open sky of " + RoomName(sky) +
                                                   " (\"sky\": true), which shows black from there because " +
                                                   RoomName(r) + " does not show the sky" + fix);
            } else {
                Warn(manifest_.rooms[r].where, RoomName(r) + " can see open sky over " + RoomName(sky) +
                                                   ", which shows black from there because neither shows the sky" +
                                                   fix + " (and " + RoomName(sky) + " too)");
            }
        }
    }
}

// Rooms are seen from inside, props from outside: a room whose faces look out of it shows the
// player nothing of itself (yet holds the player up), a prop whose faces look in shows its inside.
void SilentMistakes::InsideOut() {
    const auto middle = [](const Vector3& low, const Vector3& high) { return brontal::Scale(Add(low, high), 0.5f); };
    for (std::size_t r = 0; r < level_.rooms.size() && r < manifest_.rooms.size(); ++r) {
        const Room& room = level_.rooms[r];
        const Facing f = FacingOf(room.surfaces, room.surfaceCount, middle(room.boxMin, room.boxMax));
        if (f.away > kClearly * f.toward)
            Warn(manifest_.rooms[r].where, RoomName(r) + " looks inside out: its faces look out of the room, so the "
                                                         "game draws them only from outside; turn them to look in "
                                                         "(flip the normals)");
    }
    for (std::size_t m = 0; m < level_.models.size() && m < manifest_.models.size(); ++m) {
        const Model& model = level_.models[m];
        const Facing f = FacingOf(model.surfaces, model.surfaceCount, middle(model.boxMin, model.boxMax));
        if (f.toward > kClearly * f.away)
            Warn(manifest_.models[m].where, "model " + Quoted(manifest_.models[m].name) +
                                                " looks inside out: its faces look into it, so the game shows its "
                                                "inside; turn them to look out (flip the normals)");
    }
}

}  // namespace

void WarnAboutSilentMistakes(const Manifest& manifest, const Level& level, const std::vector<RoomSight>& sights,
                             std::vector<std::string>& warnings) {
    SilentMistakes checks(manifest, level, warnings);
    checks.Start();
    checks.Scale();
    checks.Placements();
    checks.Sky(sights);
    checks.InsideOut();
}

}  // namespace brontal
