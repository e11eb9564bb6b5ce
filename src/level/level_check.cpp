#include "level/level_check.h"

#include "level/box_check.h"
#include "level/engine_limits.h"
#include "level/floor_data.h"
#include "level/level_format.h"
#include "level/placement_check.h"
#include "level/room_objects.h"
#include "level/world_units.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>

namespace morvane {

namespace {

// The games keep ten flip maps; a flip action beyond them writes past the array.
constexpr int MaxFlipMap = 9;

std::string Count(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

class Checker {
public:
    Checker(const TLevelData& level, const LevelCheckOptions& options)
        : level_(level), options_(options), secondGame_(UsesSecondGameRecords(level.FormatKind)),
          thirdGame_(level.FormatKind == FormatTR3) {}

    std::vector<LevelFinding> Run() {
        if (!WithinCapacities()) {
            return std::move(findings_); // nothing else can be read safely
        }
        for (int r = 0; r < level_.NumRooms; ++r) {
            CheckFaces(r);
            CheckRoomEngineLimits(r);
            CheckPortals(r);
            CheckSectors(r);
            CheckRoomObjects(r);
        }
        CheckLevelEngineLimits();
        CheckItems();
        CheckCameras();
        CheckBoxes();
        return std::move(findings_);
    }

private:
    LevelFinding& Add(FindingSeverity severity, int room, std::string text) {
        LevelFinding finding;
        finding.Severity = severity;
        if (room >= 0) {
            finding.Room = room + 1;
            if (room < static_cast<int>(options_.RoomNames.size())) {
                finding.RoomName = options_.RoomNames[room];
            }
        }
        finding.Text = std::move(text);
        findings_.push_back(std::move(finding));
        return findings_.back();
    }
    LevelFinding& AddAtSector(FindingSeverity severity, int room, int sector, std::string text) {
        LevelFinding& finding = Add(severity, room, std::move(text));
        const int nz = level_.Rooms[room].NumZSectors;
        finding.Column = sector / nz + 1;
        finding.Row = sector % nz + 1;
        return finding;
    }
    std::string RoomText(int room) const {
        return RoomLabel(room + 1, room < static_cast<int>(options_.RoomNames.size())
                                       ? options_.RoomNames[room]
                                       : std::string());
    }
    std::string SectorText(int room, int sector) const {
        const int nz = level_.Rooms[room].NumZSectors;
        return "column " + std::to_string(sector / nz + 1) + ", row " +
               std::to_string(sector % nz + 1);
    }

    // The reader and the build keep every count within the record's capacity; a record that
    // does not is reported and not looked into.
    bool WithinCapacities() {
        bool within = true;
        auto limit = [&](uint64_t count, uint64_t capacity, const std::string& what, int room) {
            if (count > capacity) {
                Add(FindingSeverity::Error, room,
                    what + " " + std::to_string(count) + " is above the " +
                        std::to_string(capacity) + " the level can hold: the level is damaged.");
                within = false;
            }
        };
        limit(level_.NumRooms, MaxLevelRooms, "the room count", -1);
        limit(level_.NumFloorData, MaxFloorData, "the floor-data word count", -1);
        limit(level_.NumBoxes, MaxBoxes, "the box count", -1);
        limit(level_.NumOverlaps, MaxOverlaps, "the overlap word count", -1);
        limit(level_.NumItems, MaxItems, "the item count", -1);
        limit(level_.NumCameras, MaxCameras, "the camera count", -1);
        for (int r = 0; r < std::min<int>(level_.NumRooms, MaxLevelRooms); ++r) {
            const TLevelRoom& room = level_.Rooms[r];
            limit(room.NumVertices, MaxRoomVertices, "the vertex count", r);
            limit(room.NumRectangles, MaxRoomRectangles, "the rectangle count", r);
            limit(room.NumTriangles, MaxRoomTriangles, "the triangle count", r);
            limit(room.NumPortals, MaxRoomPortals, "the portal count", r);
            limit(room.NumLights, MaxRoomLights, "the light count", r);
            limit(room.NumStaticMeshes, MaxRoomStatics, "the static mesh count", r);
            limit(uint64_t{room.NumZSectors} * room.NumXSectors, MaxRoomSectors, "the sector count",
                  r);
        }
        return within;
    }

    // Past its engine's limit a level still fits the record and is written; the game may not
    // run it, so it is a warning that names the limit and where it is reported.
    void CheckRoomEngineLimits(int r) {
        const long vertices = level_.Rooms[r].NumVertices;
        const auto limit = FindEngineLimit(level_.FormatKind, EngineMeasure::RoomVertices);
        if (limit && vertices > limit->Value) {
            Add(FindingSeverity::Warning, r,
                "the room has " + std::to_string(vertices) + " vertices, above " +
                    EngineLimitText(level_.FormatKind, *limit) +
                    ": the game may crash when it loads the level. Split the room, or give it "
                    "fewer steps and slopes.");
        }
    }

    void CheckLevelEngineLimits() {
        struct Measure {
            EngineMeasure Which;
            long Count;
            const char* Noun;
            const char* Remedy;
        };
        const Measure measures[] = {
            {EngineMeasure::Items, level_.NumItems, "items",
             "the game may crash when it loads the level or adds an item. Use fewer items."},
            {EngineMeasure::ObjectTextures, level_.NumObjectTextures, "object textures",
             "the game writes past its texture table when it loads the level. Use a base level "
             "with fewer object textures."},
            {EngineMeasure::SpriteTextures, level_.NumSpriteTextures, "sprite textures",
             "the game writes past its sprite table when it loads the level. Use a base level "
             "with fewer sprite textures."},
            {EngineMeasure::TexturePages, level_.NumTextiles, "texture pages",
             "the game may crash when it loads the level. Use a base level with fewer texture "
             "pages."},
        };
        for (const Measure& measure : measures) {
            const auto limit = FindEngineLimit(level_.FormatKind, measure.Which);
            if (limit && measure.Count > limit->Value) {
                Add(FindingSeverity::Warning, -1,
                    "the level has " + std::to_string(measure.Count) + " " + measure.Noun +
                        ", above " + EngineLimitText(level_.FormatKind, *limit) + ": " +
                        measure.Remedy);
            }
        }
    }

    void CheckFaces(int r) {
        const TLevelRoom& room = level_.Rooms[r];
        const uint32_t textures = level_.NumObjectTextures;
        // The third game keeps the double-sided mark in the texture word's top bit.
        const uint16_t textureMask = thirdGame_ ? 0x7FFF : 0xFFFF;
        auto check = [&](const char* one, const char* many, int count, auto faceAt) {
            int badVertex = 0, firstBadVertex = 0, badTexture = 0, firstBadTexture = 0;
            for (int f = 0; f < count; ++f) {
                const auto& face = faceAt(f);
                bool outside = false;
                for (std::size_t c = 0; c < std::size(face.Vertices); ++c) {
                    outside = outside || face.Vertices[c] >= room.NumVertices; // packed: by value
                }
                if (outside && badVertex++ == 0) {
                    firstBadVertex = f + 1;
                }
                if ((face.Texture & textureMask) >= textures && badTexture++ == 0) {
                    firstBadTexture = f + 1;
                }
            }
            if (badVertex > 0) {
                Add(FindingSeverity::Error, r,
                    Count(badVertex, one, many) + (badVertex == 1 ? " uses" : " use") +
                        " vertices beyond the room's " + std::to_string(room.NumVertices) +
                        " (the first is " + one + " " + std::to_string(firstBadVertex) +
                        "): the game draws from memory that is not the room's. Rebuild the "
                        "room's geometry.");
            }
            if (badTexture > 0) {
                Add(FindingSeverity::Error, r,
                    Count(badTexture, one, many) + (badTexture == 1 ? " uses" : " use") +
                        " object textures beyond the level's " + std::to_string(textures) +
                        " (the first is " + one + " " + std::to_string(firstBadTexture) +
                        "): give them textures of the base level.");
            }
        };
        check("rectangle", "rectangles", room.NumRectangles,
              [&](int f) -> const TRectangle& { return room.Rectangles[f]; });
        check("triangle", "triangles", room.NumTriangles,
              [&](int f) -> const TTriangle& { return room.Triangles[f]; });
    }

    // The plane of a portal in world units: the axis its corners share and the rectangle they
    // span on the other two axes.
    // In 64 bits: a room corner and a portal corner from a level file may add up beyond 32.
    struct Plane {
        int Axis = -1; // 0 x, 1 y, 2 z; -1 when the corners are not on one axis-aligned plane
        int64_t At = 0;
        int64_t Min[2] = {0, 0}, Max[2] = {0, 0};
    };
    Plane PlaneOf(int r, const TRoomPortal& portal) const {
        const TRoomInfo& info = level_.Rooms[r].RoomInfo;
        std::array<std::array<int64_t, 3>, 4> p;
        for (int v = 0; v < 4; ++v) {
            p[v] = {int64_t{info.X} + portal.Vertices[v].X, portal.Vertices[v].Y,
                    int64_t{info.Z} + portal.Vertices[v].Z};
        }
        Plane plane;
        for (int axis = 0; axis < 3; ++axis) {
            if (p[0][axis] == p[1][axis] && p[0][axis] == p[2][axis] && p[0][axis] == p[3][axis]) {
                plane.Axis = axis;
                plane.At = p[0][axis];
                break;
            }
        }
        if (plane.Axis < 0) {
            return plane;
        }
        for (int k = 0, axis = 0; axis < 3; ++axis) {
            if (axis == plane.Axis) {
                continue;
            }
            plane.Min[k] = std::min({p[0][axis], p[1][axis], p[2][axis], p[3][axis]});
            plane.Max[k] = std::max({p[0][axis], p[1][axis], p[2][axis], p[3][axis]});
            ++k;
        }
        return plane;
    }
    // Real levels put one of the two portals of a doorway a unit off the other's plane (at 1023
    // instead of 1024), so planes a unit apart are the same plane.
    static bool Overlap(const Plane& a, const Plane& b) {
        return a.Axis >= 0 && a.Axis == b.Axis && std::abs(a.At - b.At) <= 1 &&
               a.Min[0] < b.Max[0] && b.Min[0] < a.Max[0] && a.Min[1] < b.Max[1] &&
               b.Min[1] < a.Max[1];
    }

    // The room, its alternate and the rooms it is the alternate of.
    std::vector<int> Counterparts(int r) const {
        std::vector<int> rooms{r};
        const int alternate = level_.Rooms[r].AlternateRoom;
        if (alternate >= 0 && alternate < level_.NumRooms && alternate != r) {
            rooms.push_back(alternate);
        }
        for (int o = 0; o < level_.NumRooms; ++o) {
            if (o != r && o != alternate && level_.Rooms[o].AlternateRoom == r) {
                rooms.push_back(o);
            }
        }
        return rooms;
    }

    void CheckPortals(int r) {
        const TLevelRoom& room = level_.Rooms[r];
        for (int p = 0; p < room.NumPortals; ++p) {
            const TRoomPortal& portal = room.Portals[p];
            const int target = portal.AdjoiningRoom;
            if (target >= level_.NumRooms) {
                Add(FindingSeverity::Error, r,
                    "the portal leads to room " + std::to_string(target + 1) +
                        ", which the level does not have (it has " +
                        Count(level_.NumRooms, "room", "rooms") +
                        "): the game crashes when it draws through it. Point it at an existing "
                        "room or remove it.")
                    .Portal = p + 1;
                continue;
            }
            const Plane plane = PlaneOf(r, portal);
            if (plane.Axis < 0 || plane.Min[0] == plane.Max[0] || plane.Min[1] == plane.Max[1]) {
                Add(FindingSeverity::Warning, r,
                    "the portal to " + RoomText(target) +
                        " is not a flat rectangle on a wall, floor or ceiling plane: the game "
                        "may not draw through it. Place it on the doorway.")
                    .Portal = p + 1;
                continue;
            }
            // A room and its alternate stand for each other: either may hold the portal back,
            // to either of them.
            const std::vector<int> here = Counterparts(r);
            bool back = false;
            for (int t : Counterparts(target)) {
                const TLevelRoom& other = level_.Rooms[t];
                for (int q = 0; q < other.NumPortals && !back; ++q) {
                    const int to = other.Portals[q].AdjoiningRoom;
                    back = std::find(here.begin(), here.end(), to) != here.end() &&
                           Overlap(plane, PlaneOf(t, other.Portals[q]));
                }
            }
            if (!back) {
                Add(FindingSeverity::Warning, r,
                    "the portal to " + RoomText(target) + " has no portal back from " +
                        RoomText(target) +
                        " on the same plane: seen from there the doorway shows nothing. Give " +
                        RoomText(target) + " a portal facing this one.")
                    .Portal = p + 1;
            }
        }
    }

    // The sector of another room at the middle of this sector, or -1 outside it.
    int SectorBeside(int r, int sector, int other) const {
        const TLevelRoom& room = level_.Rooms[r];
        const int nz = room.NumZSectors;
        const int64_t x = int64_t{room.RoomInfo.X} + (sector / nz) * SectorSize + SectorSize / 2;
        const int64_t z = int64_t{room.RoomInfo.Z} + (sector % nz) * SectorSize + SectorSize / 2;
        return SectorIndexAt(level_.Rooms[other], x, z);
    }

    void CheckFloorData(int r, int sector) {
        const TGameSector& s = level_.Rooms[r].Sectors[sector];
        if (s.FloorDataIndex == 0) {
            return;
        }
        const SectorFloorData data = ReadSectorFloorData(level_, s.FloorDataIndex);
        // A list shared by several sectors is reported once, at its first sector.
        const bool firstUse = listsSeen_.insert(s.FloorDataIndex).second;
        if (!data.Problem.empty()) {
            if (firstUse) {
                AddAtSector(FindingSeverity::Error, r, sector,
                            data.Problem +
                                ": the game misreads the floor here. Rebuild the level's floor "
                                "data.");
            }
            return;
        }
        if (firstUse) {
            for (int item : data.TriggeredItems) {
                if (item >= static_cast<int>(level_.NumItems)) {
                    AddAtSector(FindingSeverity::Error, r, sector,
                                "a trigger here names item " + std::to_string(item + 1) +
                                    ", but the level has " +
                                    Count(level_.NumItems, "item", "items") +
                                    ": the game crashes when it fires. Fix the trigger.");
                    break;
                }
            }
            for (uint16_t word : data.TiedItemWords) {
                if ((word & 0x7C00) != 0) {
                    AddAtSector(
                        FindingSeverity::Warning, r, sector,
                        "a switch, key or pickup trigger here is tied to a word of action " +
                            std::to_string((word >> 10) & 0x1F) +
                            ", not to an item: the game takes its number as the item. "
                            "Tie the trigger to its switch, keyhole or pickup.");
                    break;
                }
            }
            for (int flip : data.FlipMaps) {
                if (flip > MaxFlipMap) {
                    AddAtSector(FindingSeverity::Error, r, sector,
                                "a trigger here names flip map " + std::to_string(flip) +
                                    ", but the game keeps flip maps 0 to " +
                                    std::to_string(MaxFlipMap) +
                                    ": it writes past them when the trigger fires. Fix the "
                                    "trigger.");
                    break;
                }
            }
            // A switch, keyhole or pickup may stand in the wall it is used from (the game's own
            // levels put their triggers there); a trigger Lara sets off by being in the sector,
            // or the death floor, may not.
            const bool reached = data.KillEntries > 0 ||
                                 std::any_of(data.TriggerTypes.begin(), data.TriggerTypes.end(),
                                             [](int type) { return type < 2 || type > 4; });
            if (reached && IsSolidSector(level_, s)) {
                AddAtSector(FindingSeverity::Warning, r, sector,
                            "a trigger or death floor here lies in a wall (its floor meets its "
                            "ceiling): nothing can reach it. Move it onto an open sector.");
            }
            for (int camera : data.TriggeredCameras) {
                if (camera >= static_cast<int>(level_.NumCameras)) {
                    AddAtSector(FindingSeverity::Error, r, sector,
                                "a trigger here names camera " + std::to_string(camera + 1) +
                                    ", but the level has " +
                                    Count(level_.NumCameras, "camera", "cameras") +
                                    ": the game crashes when it fires. Fix the trigger.");
                    break;
                }
            }
        }
        if (data.HiddenPortal) {
            AddAtSector(FindingSeverity::Warning, r, sector,
                        "its wall portal entry comes after entries where the game no longer "
                        "looks for it: the doorway cannot be walked through. Put the portal "
                        "entry first, or right after the slants.");
        }
        if (data.PortalRoom >= 0) {
            CheckWallPortal(r, sector, data.PortalRoom);
        }
    }

    void CheckWallPortal(int r, int sector, int target) {
        if (target >= level_.NumRooms) {
            AddAtSector(FindingSeverity::Error, r, sector,
                        "its wall portal leads to room " + std::to_string(target + 1) +
                            ", which the level does not have: the game crashes when anything "
                            "steps here. Point it at an existing room.");
            return;
        }
        const int there = SectorBeside(r, sector, target);
        if (there < 0) {
            AddAtSector(FindingSeverity::Warning, r, sector,
                        "its wall portal leads to " + RoomText(target) +
                            ", which does not reach this sector: Lara walking through is placed "
                            "at that room's edge. Move the rooms so that they overlap here.");
            return;
        }
        const TGameSector& beyond = level_.Rooms[target].Sectors[there];
        const SectorFloorData next = ReadSectorFloorData(level_, beyond.FloorDataIndex);
        if (next.PortalRoom == r) {
            AddAtSector(FindingSeverity::Error, r, sector,
                        "its wall portal leads to " + RoomText(target) + " (" +
                            SectorText(target, there) +
                            "), whose wall portal there leads straight back: the game loops "
                            "forever when anything steps here. Remove one of the two portals.");
        } else if (next.PortalRoom < 0 && IsSolidSector(level_, beyond)) {
            AddAtSector(FindingSeverity::Warning, r, sector,
                        "its wall portal leads into a solid sector of " + RoomText(target) + " (" +
                            SectorText(target, there) +
                            "): the doorway is blocked. Open that sector or remove the portal.");
        }
    }

    void CheckLink(int r, int sector, int target, bool below) {
        const char* where = below ? "below" : "above";
        if (target >= level_.NumRooms) {
            AddAtSector(FindingSeverity::Error, r, sector,
                        std::string("it links to room ") + std::to_string(target + 1) + " " +
                            where + ", which the level does not have: the game crashes there. " +
                            "Clear the link or point it at an existing room.");
            return;
        }
        const int there = SectorBeside(r, sector, target);
        if (there < 0) {
            AddAtSector(FindingSeverity::Error, r, sector,
                        std::string("it links to ") + RoomText(target) + " " + where +
                            ", which does not reach this sector: the game reads outside that "
                            "room's sectors. Move " +
                            RoomText(target) + " " + where + " this sector or clear the link.");
            return;
        }
        if (IsSolidSector(level_, level_.Rooms[target].Sectors[there])) {
            AddAtSector(FindingSeverity::Warning, r, sector,
                        std::string("it links to ") + RoomText(target) + " " + where +
                            ", which is solid there (" + SectorText(target, there) +
                            "): passing through leads into a wall. Open that sector or clear "
                            "the link.");
        }
    }

    void CheckBoxIndex(int r, int sector) {
        const uint16_t index = level_.Rooms[r].Sectors[sector].BoxIndex;
        const int box = thirdGame_ ? (index >> 4) & 0x7FF : index;
        const int none = thirdGame_ ? NoBoxNumberTR3 : NoBox;
        if (box != none && box >= static_cast<int>(level_.NumBoxes)) {
            AddAtSector(FindingSeverity::Error, r, sector,
                        "its box " + std::to_string(box + 1) + " lies beyond the level's " +
                            Count(level_.NumBoxes, "box", "boxes") +
                            ": enemies crash the game here. Rebuild the boxes.");
        }
    }

    void CheckSectors(int r) {
        const TLevelRoom& room = level_.Rooms[r];
        const int count = room.NumZSectors * room.NumXSectors;
        for (int n = 0; n < count && n < MaxRoomSectors; ++n) {
            const TGameSector& s = room.Sectors[n];
            CheckFloorData(r, n);
            if (s.RoomBelow != NoRoom) {
                CheckLink(r, n, s.RoomBelow, true);
            }
            if (s.RoomAbove != NoRoom) {
                CheckLink(r, n, s.RoomAbove, false);
            }
            CheckBoxIndex(r, n);
        }
    }

    static int Checked(const std::vector<int>& counts, int r) {
        return r < static_cast<int>(counts.size()) ? counts[r] : 0;
    }

    // Adds what CheckPlacement finds, each finding marked by `mark`.
    template <class Mark> void Placement(const PlacedThing& thing, Mark mark) {
        for (PlacementProblem& problem : CheckPlacement(level_, thing, options_.RoomNames)) {
            const bool known = thing.Room >= 0 && thing.Room < level_.NumRooms;
            mark(Add(problem.Severity, known ? thing.Room : -1, std::move(problem.Text)));
        }
    }

    void CheckRoomObjects(int r) {
        const TLevelRoom& room = level_.Rooms[r];
        for (int l = Checked(options_.CheckedLights, r); l < room.NumLights && l < MaxRoomLights;
             ++l) {
            const RoomLight light = GetRoomLight(level_, room, l);
            Placement({PlacedKind::Light, r, light.X, light.Y, light.Z, 0},
                      [&](LevelFinding& f) { f.Light = l + 1; });
        }
        for (int s = Checked(options_.CheckedStatics, r);
             s < room.NumStaticMeshes && s < MaxRoomStatics; ++s) {
            const RoomStatic mesh = GetRoomStatic(level_, room, s);
            Placement({PlacedKind::Static, r, mesh.X, mesh.Y, mesh.Z, mesh.MeshId},
                      [&](LevelFinding& f) { f.Static = s + 1; });
        }
    }

    void CheckItems() {
        const int first = options_.CheckedItems.First, last = first + options_.CheckedItems.Count;
        for (uint32_t i = 0; i < level_.NumItems && i < MaxItems; ++i) {
            if (static_cast<int>(i) >= first && static_cast<int>(i) < last) {
                continue;
            }
            const LevelItem item = GetLevelItem(level_, static_cast<int>(i));
            Placement({PlacedKind::Item, item.Room, item.X, item.Y, item.Z, item.Type},
                      [&](LevelFinding& f) { f.Item = static_cast<int>(i) + 1; });
        }
    }

    void CheckCameras() {
        for (uint32_t c = options_.CheckedCameras; c < level_.NumCameras && c < MaxCameras; ++c) {
            const TCamera& camera = level_.Cameras[c];
            Placement({PlacedKind::Camera, camera.Room, camera.X, camera.Y, camera.Z, 0},
                      [&](LevelFinding& f) { f.Camera = static_cast<int>(c) + 1; });
        }
    }

    void CheckBoxes() {
        const uint32_t boxes = level_.NumBoxes;
        if (level_.NumZones != boxes) {
            Add(FindingSeverity::Error, -1,
                "the zone arrays hold " + std::to_string(level_.NumZones) + " entries for " +
                    Count(boxes, "box", "boxes") +
                    ": enemies read zones that do not exist. Rebuild the boxes.");
        }
        bool listsReadable = level_.NumZones == boxes;
        for (uint32_t b = 0; b < boxes && b < MaxBoxes; ++b) {
            int zMin, zMax, xMin, xMax;
            uint16_t overlap;
            if (secondGame_) {
                const TBox2& box = level_.Boxes2[b];
                zMin = box.ZMin, zMax = box.ZMax, xMin = box.XMin, xMax = box.XMax;
                overlap = box.OverlapIndex;
            } else {
                const TBox1& box = level_.Boxes1[b];
                zMin = box.ZMin, zMax = box.ZMax, xMin = box.XMin, xMax = box.XMax;
                overlap = box.OverlapIndex;
            }
            auto add = [&](FindingSeverity severity, const std::string& text) {
                Add(severity, -1, text).Box = static_cast<int>(b) + 1;
                listsReadable = listsReadable && severity != FindingSeverity::Error;
            };
            if (zMin > zMax || xMin > xMax) {
                add(FindingSeverity::Warning,
                    "the box's minimum lies beyond its maximum: enemies cannot use it. Rebuild "
                    "the boxes.");
            }
            uint32_t at = overlap & 0x3FFF;
            if (at >= level_.NumOverlaps) {
                add(FindingSeverity::Error,
                    "its overlap index " + std::to_string(at) + " lies beyond the " +
                        std::to_string(level_.NumOverlaps) +
                        " overlap words: enemies crash the game here. Rebuild the boxes.");
                continue;
            }
            for (bool last = false; !last; ++at) {
                if (at >= level_.NumOverlaps) {
                    add(FindingSeverity::Error,
                        "its overlap list runs off the end of the overlaps without an end "
                        "mark: enemies read past the data. Rebuild the boxes.");
                    break;
                }
                const uint32_t other = level_.Overlaps[at] & 0x7FFF;
                if (other >= boxes) {
                    add(FindingSeverity::Error,
                        "its overlap list names box " + std::to_string(other + 1) +
                            ", beyond the level's " + Count(boxes, "box", "boxes") +
                            ": enemies crash the game here. Rebuild the boxes.");
                    break;
                }
                last = (level_.Overlaps[at] & 0x8000) != 0;
            }
        }
        if (!listsReadable) {
            return;
        }
        for (LevelFinding& finding : CheckBoxStructure(level_)) {
            if (finding.Room > 0 && finding.Room <= static_cast<int>(options_.RoomNames.size())) {
                finding.RoomName = options_.RoomNames[finding.Room - 1];
            }
            findings_.push_back(std::move(finding));
        }
    }

    const TLevelData& level_;
    const LevelCheckOptions& options_;
    const bool secondGame_;
    const bool thirdGame_;
    std::set<uint32_t> listsSeen_;
    std::vector<LevelFinding> findings_;
};

} // namespace

std::vector<LevelFinding> CheckLevel(const TLevelData& level, const LevelCheckOptions& options) {
    return Checker(level, options).Run();
}

bool HasErrors(const std::vector<LevelFinding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const LevelFinding& f) { return f.Severity == FindingSeverity::Error; });
}

std::string RoomLabel(int room, const std::string& name) {
    std::string label = "room " + std::to_string(room);
    if (!name.empty()) {
        label += " (" + name + ")";
    }
    return label;
}

std::string FormatFinding(const LevelFinding& finding) {
    std::string place;
    auto part = [&place](const std::string& text) { place += (place.empty() ? "" : ", ") + text; };
    if (finding.Room > 0) {
        part(RoomLabel(finding.Room, finding.RoomName));
    }
    if (finding.Column > 0) {
        part("sector (column " + std::to_string(finding.Column) + ", row " +
             std::to_string(finding.Row) + ")");
    }
    if (finding.Portal > 0) {
        part("portal " + std::to_string(finding.Portal));
    }
    if (finding.View > 0) {
        part("view Door #" + std::to_string(finding.View));
    }
    if (!finding.Object.empty()) {
        part(finding.Object);
    }
    if (finding.Item > 0) {
        part("item " + std::to_string(finding.Item));
    }
    if (finding.Camera > 0) {
        part("camera " + std::to_string(finding.Camera));
    }
    if (finding.Static > 0) {
        part("static mesh " + std::to_string(finding.Static));
    }
    if (finding.Light > 0) {
        part("light " + std::to_string(finding.Light));
    }
    if (finding.Box > 0) {
        part("box " + std::to_string(finding.Box));
    }
    std::string line = finding.Severity == FindingSeverity::Error ? "error: " : "warning: ";
    if (!place.empty()) {
        line += place + ": ";
    }
    return line + finding.Text;
}

} // namespace morvane
