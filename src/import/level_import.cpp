#include "import/level_import.h"

#include "document/doorways.h"

#include "document/editor_texts.h"
#include "document/flip_map_operations.h"
#include "document/object_operations.h"
#include "document/room_limits.h"
#include "document/sector_heights.h"
#include "document/sector_numbering.h"
#include "document/shape_table.h"
#include "import/face_slots.h"
#include "import/level_portals.h"
#include "import/rounded_division.h"
#include "import/sector_corners.h"
#include "import/trigger_import.h"
#include "io/io_error.h"
#include "level/floor_data.h"
#include "level/level_format.h"
#include "level/level_reader.h"
#include "level/room_objects.h"
#include "level/world_units.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <optional>

namespace morvane {

namespace {

// A project room's side: the level's 16-bit vertex coordinates reach 31 sectors from its corner.
constexpr int MaxGridSide = MaxRoomSide;

std::string LevelRoomText(int levelRoom) {
    return "Level room " + std::to_string(levelRoom + 1);
}

// What went wrong how often in one room, with the first sector it happened at.
class Tally {
public:
    void Add(int column, int row) {
        if (count_++ == 0) {
            column_ = column;
            row_ = row;
        }
    }
    int Count() const { return count_; }
    std::string Where() const {
        return "(first at column " + std::to_string(column_) + ", row " + std::to_string(row_) +
               ")";
    }

private:
    int count_ = 0, column_ = 0, row_ = 0;
};

std::string Counted(int count, const std::string& thing) {
    return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}
std::string Sectors(int count) {
    return Counted(count, "sector");
}
std::string SectorsHave(int count) {
    return Sectors(count) + (count == 1 ? " has" : " have");
}

// Where a level room goes in the project, decided before any room is filled so that links
// between rooms can be given their project numbers.
struct Placement {
    int ProjectRoom = 0; // from 1; 0 when skipped
    std::string SkipReason;
};

std::vector<Placement> PlaceRooms(const TLevelData& level) {
    std::vector<Placement> placements(level.NumRooms);
    int next = 1;
    for (int r = 0; r < level.NumRooms; ++r) {
        const TLevelRoom& room = level.Rooms[r];
        Placement& placement = placements[r];
        const int x = room.RoomInfo.X, z = room.RoomInfo.Z;
        if (room.NumZSectors == 0 || room.NumXSectors == 0) {
            placement.SkipReason = "it has no sectors";
        } else if (room.NumZSectors * room.NumXSectors > MaxRoomSectors) {
            placement.SkipReason = "its grid of " + std::to_string(room.NumXSectors) + " x " +
                                   std::to_string(room.NumZSectors) +
                                   " sectors is more than a level room holds";
        } else if (x % SectorSize != 0 || z % SectorSize != 0) {
            placement.SkipReason = "its corner (x " + std::to_string(x) + ", z " +
                                   std::to_string(z) + ") is not on the sector grid";
        } else if (x / SectorSize < MinRoomPosition || x / SectorSize > MaxRoomPosition ||
                   z / SectorSize < MinRoomPosition || z / SectorSize > MaxRoomPosition) {
            placement.SkipReason = "its corner (x " + std::to_string(x) + ", z " +
                                   std::to_string(z) +
                                   ") lies beyond the positions of a project "
                                   "room (" +
                                   std::to_string(MinRoomPosition) + " to " +
                                   std::to_string(MaxRoomPosition) + " sectors)";
        } else if (next > MaxRooms) {
            placement.SkipReason = "a project holds at most 128 rooms";
        } else {
            placement.ProjectRoom = next++;
        }
    }
    return placements;
}

// One level sector as read: its corners and floor-data entries.
struct LevelSector {
    SectorCorners Corners;
    SectorFloorData Entries;
};

// Keeps a fitted level within what the level's height byte can express (1..256 clicks).
SurfaceFit Bounded(SurfaceFit fit, int sign) {
    const int rise = ShapeTable[fit.Shape].Rise;
    while (fit.Level * LevelClicks + sign * rise < 1) {
        ++fit.Level;
        fit.Exact = false;
    }
    while (fit.Level * LevelClicks + sign * rise > 256) {
        --fit.Level;
        fit.Exact = false;
    }
    return fit;
}

class RoomImporter {
public:
    RoomImporter(const TLevelData& level, const std::vector<Placement>& placements,
                 FaceMatchScratch& faceScratch, TLevelRoom& grid)
        : level_(level), placements_(placements), faceScratch_(faceScratch), grid_(grid) {}

    // Fills the project room from level room r; returns whether it came over whole.
    bool Import(int r, TEditorRoom& room, ImportResult& result);

    // A wall portal's view and the world y the portal spans, to be held against what the build
    // makes of the view once every room is imported.
    struct WallView {
        int LevelRoom = 0, ProjectRoom = 0, View = 0; // from 0, from 1, from 1
        int Top = 0, Bottom = 0;
    };
    const std::vector<WallView>& WallViews() const { return wallViews_; }

private:
    void Place(const TLevelRoom& from, TEditorRoom& room);
    bool ImportSector(int column, int row, TEditorRoom& room);
    int ProjectLink(int levelRoom) const {
        return levelRoom >= 0 && levelRoom < level_.NumRooms ? placements_[levelRoom].ProjectRoom
                                                             : 0;
    }
    void ImportPortals(const TLevelRoom& from, TEditorRoom& room);
    void ImportSurfaces(const TLevelRoom& from, TEditorRoom& room, ImportCounts& counts);
    void Report(ImportResult& result) const;

    const TLevelData& level_;
    const std::vector<Placement>& placements_;
    FaceMatchScratch& faceScratch_;
    TLevelRoom& grid_;

    int levelRoom_ = 0;
    int levelZ_ = 0;
    std::vector<LevelSector> sectors_; // by project sector index
    std::vector<std::string> notes_;
    Tally nearestShape_, droppedLink_, aboveAndSide_, unreadable_, otherEntries_;
    int cutSectors_ = 0;
    int projectRoom_ = 0;
    std::vector<WallView> wallViews_;
};

bool RoomImporter::Import(int r, TEditorRoom& room, ImportResult& result) {
    levelRoom_ = r;
    projectRoom_ = placements_[r].ProjectRoom;
    notes_.clear();
    nearestShape_ = droppedLink_ = aboveAndSide_ = unreadable_ = otherEntries_ = Tally{};
    const TLevelRoom& from = level_.Rooms[r];
    levelZ_ = from.NumZSectors;
    const int keptX = std::min<int>(from.NumXSectors, MaxGridSide);
    const int keptZ = std::min<int>(from.NumZSectors, MaxGridSide);
    cutSectors_ = from.NumXSectors * from.NumZSectors - keptX * keptZ;
    if (cutSectors_ > 0) {
        notes_.push_back("its grid of " + std::to_string(from.NumXSectors) + " x " +
                         std::to_string(from.NumZSectors) + " sectors was cut to " +
                         std::to_string(keptX) + " x " + std::to_string(keptZ) +
                         " (a project room has at most " + std::to_string(MaxGridSide) +
                         " a side); " + Sectors(cutSectors_) + " left out");
    }
    room.XSectors = static_cast<uint16_t>(keptX);
    room.ZSectors = static_cast<uint16_t>(keptZ);
    room.Name.Assign(RoomNamePrefix + std::to_string(r + 1));

    sectors_.assign(static_cast<std::size_t>(keptX) * keptZ, LevelSector{});
    for (int x = 1; x <= keptX; ++x) {
        for (int z = 1; z <= keptZ; ++z) {
            const TGameSector& game = from.Sectors[(x - 1) * levelZ_ + (z - 1)];
            LevelSector& sector = sectors_[SectorNumber(x, z, keptZ) - 1];
            sector.Entries = ReadSectorFloorData(level_, game.FloorDataIndex);
            sector.Corners = LevelSectorCorners(game, sector.Entries);
        }
    }
    Place(from, room);

    int whole = 0;
    for (int x = 1; x <= keptX; ++x) {
        for (int z = 1; z <= keptZ; ++z) {
            whole += ImportSector(x, z, room) ? 1 : 0;
        }
    }
    result.Counts.SectorsWhole += whole;
    result.Counts.SectorsClipped += room.SectorCount() - whole;
    result.Counts.SectorsSkipped += cutSectors_;

    ImportPortals(from, room);
    ImportSurfaces(from, room, result.Counts);
    Report(result);
    return notes_.empty() && whole == room.SectorCount();
}

// x and z in sectors; the room's bottom and top levels enclose its lowest y and highest y and
// every open sector's floor and ceiling.
void RoomImporter::Place(const TLevelRoom& from, TEditorRoom& room) {
    room.PosX = from.RoomInfo.X / SectorSize;
    room.PosZ = from.RoomInfo.Z / SectorSize;
    // Heights beyond the world's 16 bits are taken as its bottom or top.
    auto clicksUp = [](int32_t y, bool roundUp) {
        const int units = LevelZeroY - std::clamp<int32_t>(y, -32768, 32767);
        return roundUp ? CeilDiv(units, ClickSize) : FloorDiv(units, ClickSize);
    };
    int bottomClicks = clicksUp(from.RoomInfo.YBottom, true);
    int topClicks = clicksUp(from.RoomInfo.YTop, false);
    for (const LevelSector& sector : sectors_) {
        if (!sector.Corners.Wall) {
            bottomClicks = std::min(bottomClicks, *std::min_element(sector.Corners.Floor.begin(),
                                                                    sector.Corners.Floor.end()));
            topClicks = std::max(topClicks, *std::max_element(sector.Corners.Ceiling.begin(),
                                                              sector.Corners.Ceiling.end()));
        }
    }
    const int bottom =
        std::clamp(FloorDiv(bottomClicks, LevelClicks), LowestRoomLevel, MaxRoomTop - 1);
    const int top = std::clamp(CeilDiv(topClicks, LevelClicks), bottom + 1, MaxRoomTop);
    room.PosY = static_cast<uint8_t>(bottom);
    room.Height = static_cast<uint8_t>(top - bottom);
}

bool RoomImporter::ImportSector(int column, int row, TEditorRoom& room) {
    const int n = SectorNumber(column, row, room.ZSectors);
    const LevelSector& from = sectors_[n - 1];
    const TGameSector& levelGame =
        level_.Rooms[levelRoom_].Sectors[(column - 1) * levelZ_ + (row - 1)];
    TEditorSector& sector = room.Sector(n);
    TGameSector& game = room.GameSector(n);
    bool whole = true;

    const int posY = room.PosY;
    const int lowest = LevelClicks * posY, highest = LevelClicks * (posY + room.Height);
    const bool closedInside = from.Corners.Closed() && from.Corners.Floor[0] >= lowest &&
                              from.Corners.Floor[0] <= highest;
    if (from.Corners.Wall && !closedInside) {
        // A wall: solid at the room's height, as the editor makes its walls.
        game.FloorHeight = game.CeilingHeight = static_cast<int8_t>(room.Height);
        sector.FloorShape = sector.CeilingShape = 0;
    } else {
        const SurfaceFit floor = Bounded(FitFloor(from.Corners.Floor), +1);
        const SurfaceFit ceiling = Bounded(FitCeiling(from.Corners.Ceiling), -1);
        game.FloorHeight = static_cast<int8_t>(floor.Level - posY);
        game.CeilingHeight = static_cast<int8_t>(ceiling.Level - posY);
        sector.FloorShape = static_cast<uint8_t>(floor.Shape);
        sector.CeilingShape = static_cast<uint8_t>(ceiling.Shape);
        if (!floor.Exact || !ceiling.Exact) {
            nearestShape_.Add(column, row);
            whole = false;
        }
    }
    game.FloorDataIndex = SlopeFloorDataIndex(sector.FloorShape, sector.CeilingShape);
    game.BoxIndex = NoBox;
    game.RoomBelow = game.RoomAbove = NoRoom;
    sector.PortalKind = PortalKindNone;
    if (!from.Entries.Problem.empty()) {
        unreadable_.Add(column, row);
        whole = false;
    }
    const SectorFloorData& entries = from.Entries;
    if (entries.OtherEntries > entries.TriggerEntries + entries.KillEntries) {
        otherEntries_.Add(column, row);
    }

    auto link = [&](int levelTarget) -> int {
        const int target = ProjectLink(levelTarget);
        if (target == 0) {
            droppedLink_.Add(column, row);
            whole = false;
        }
        return target;
    };
    if (levelGame.RoomBelow != NoRoom) {
        if (const int below = link(levelGame.RoomBelow)) {
            game.RoomBelow = static_cast<uint8_t>(below - 1);
        }
    }
    if (levelGame.RoomAbove != NoRoom) {
        if (const int above = link(levelGame.RoomAbove)) {
            game.RoomAbove = static_cast<uint8_t>(above - 1);
            sector.PortalKind = PortalKindAbove;
        }
    }
    if (from.Entries.PortalRoom >= 0) {
        if (sector.PortalKind == PortalKindAbove) {
            aboveAndSide_.Add(column, row);
            whole = false;
        } else if (const int side = link(from.Entries.PortalRoom)) {
            game.RoomAbove = static_cast<uint8_t>(side - 1);
            sector.PortalKind = PortalKindSide;
        }
    }
    return whole;
}

// Portal views from the room's portals.
void RoomImporter::ImportPortals(const TLevelRoom& from, TEditorRoom& room) {
    // The level record holds as many portals a room as a project room holds views.
    static_assert(MaxRoomPortals == MaxPortalViews);
    const int count = std::min<int>(from.NumPortals, MaxPortalViews);
    int inexact = 0, dropped = 0;
    room.PortalViewCount = 0;
    for (int p = 0; p < count; ++p) {
        const TRoomPortal& portal = from.Portals[p];
        const int target = ProjectLink(portal.AdjoiningRoom);
        const std::optional<PortalViewFit> fit =
            target != 0 ? PortalViewOf(portal, from, room) : std::nullopt;
        if (!fit) {
            ++dropped;
            continue;
        }
        TPortalView& view = room.PortalViews[room.PortalViewCount++];
        view = fit->View;
        view.TargetRoom = static_cast<uint16_t>(target);
        inexact += fit->Exact ? 0 : 1;
        if (fit->Exact && view.Facing <= PortalFacingRight) {
            wallViews_.push_back(
                {levelRoom_, projectRoom_, room.PortalViewCount, fit->Top, fit->Bottom});
        }
    }
    if (inexact > 0) {
        notes_.push_back(std::to_string(inexact) + (inexact == 1 ? " portal does" : " portals do") +
                         " not lie on whole sectors as a portal view makes them; the nearest "
                         "views were made");
    }
    if (dropped > 0) {
        notes_.push_back(std::to_string(dropped) +
                         (dropped == 1 ? " portal was" : " portals were") +
                         " left out: not square to the grid, outside the room's grid or to a "
                         "room that was not imported");
    }
}

// Most frequent value of a list, or `otherwise` for an empty one.
template <class T> T MostFrequent(const std::vector<T>& values, T otherwise) {
    std::map<T, int> counts;
    for (T v : values) {
        ++counts[v];
    }
    T best = otherwise;
    int bestCount = 0;
    for (const auto& [value, count] : counts) {
        if (count > bestCount) {
            best = value;
            bestCount = count;
        }
    }
    return best;
}

// Textures and lights of every slot from the faces the level draws there.
void RoomImporter::ImportSurfaces(const TLevelRoom& from, TEditorRoom& room, ImportCounts& counts) {
    const int count = room.SectorCount();
    grid_.NumZSectors = room.ZSectors;
    grid_.NumXSectors = room.XSectors;
    SectorShapes shapes;
    for (int n = 0; n < count; ++n) {
        const TEditorSector& sector = room.Sectors[n];
        const TGameSector& game = room.GameSectors[n];
        grid_.Sectors[n].FloorHeight =
            LevelFloorHeight(room.PosY, game.FloorHeight, sector.FloorShape);
        grid_.Sectors[n].CeilingHeight =
            LevelCeilingHeight(room.PosY, game.CeilingHeight, sector.CeilingShape);
        shapes.Floor[n] = static_cast<uint8_t>(sector.FloorShape == 0 ? 1 : sector.FloorShape);
        shapes.Ceiling[n] =
            static_cast<uint8_t>(sector.CeilingShape == 0 ? 1 : sector.CeilingShape);
    }
    const bool doubleSided =
        level_.FormatKind >= FormatTR1 && (room.Water != 0 || room.Quicksand != 0);
    const RoomFaceSlots slots = MatchFacesToSlots(from, grid_, shapes, doubleSided, faceScratch_);

    // The room's defaults: the texture most faces of each kind carry, and the most common light.
    enum Kind { FloorWall, FloorFace, CeilingWall, CeilingFace };
    std::array<std::vector<int32_t>, 4> textures;
    std::vector<int> lights;
    for (const SectorSlots& sector : slots.Sectors) {
        for (int s = 0; s < SlotCount; ++s) {
            if (!sector[s].Found) {
                continue;
            }
            const bool ceiling = s >= SlotsPerSurface;
            const bool face = s % SlotsPerSurface == FaceSlot;
            textures[ceiling ? (face ? CeilingFace : CeilingWall) : (face ? FloorFace : FloorWall)]
                .push_back(sector[s].Texture);
            lights.push_back(sector[s].Light);
        }
    }
    for (int i = 0; i < 4; ++i) {
        room.DefaultTextures[DefaultFloorWall1 + i] = MostFrequent<int32_t>(textures[FloorWall], 0);
        room.DefaultTextures[DefaultCeilingWall1 + i] =
            MostFrequent<int32_t>(textures[CeilingWall], 0);
    }
    room.DefaultTextures[DefaultFloorFace] = MostFrequent<int32_t>(textures[FloorFace], 0);
    room.DefaultTextures[DefaultCeilingFace] = MostFrequent<int32_t>(textures[CeilingFace], 0);
    room.SectorLight = static_cast<uint8_t>(MostFrequent<int>(lights, room.AmbientIntensity));

    // Slots 1, 2, 4, 5 of a surface take wall defaults 1, 2, 3, 4.
    constexpr int WallDefault[SlotsPerSurface] = {0, 1, -1, 2, 3};
    for (int n = 0; n < count; ++n) {
        TEditorSector& sector = room.Sectors[n];
        for (int s = 0; s < SlotCount; ++s) {
            const SlotFace& slot = slots.Sectors[n][s];
            const bool ceiling = s >= SlotsPerSurface;
            const int t = s % SlotsPerSurface;
            TSectorSurface& surface = ceiling ? sector.CeilingSurface : sector.FloorSurface;
            const int defaultIndex =
                t == FaceSlot
                    ? (ceiling ? DefaultCeilingFace : DefaultFloorFace)
                    : (ceiling ? DefaultCeilingWall1 : DefaultFloorWall1) + WallDefault[t];
            surface.Textures[t] = slot.Found   ? slot.Texture
                                  : slot.Built ? -1
                                               : room.DefaultTextures[defaultIndex];
            surface.Lights[LightSlotOf[t]] =
                static_cast<uint8_t>(slot.Found ? slot.Light : room.SectorLight);
        }
    }
    counts.Faces += slots.LevelFaces;
    counts.FacesUsed += slots.UsedFaces;
    const int unused = slots.LevelFaces - slots.UsedFaces;
    if (unused > 0) {
        notes_.push_back(std::to_string(unused) + " of its " + std::to_string(slots.LevelFaces) +
                         " faces lie on no sector's floor, ceiling or walls as the sectors' "
                         "shapes make them; they were left out");
    }
}

void RoomImporter::Report(ImportResult& result) const {
    const std::string room = LevelRoomText(levelRoom_) + ": ";
    for (const std::string& note : notes_) {
        result.Messages.push_back(room + note + ".");
    }
    if (nearestShape_.Count() > 0) {
        result.Messages.push_back(room + SectorsHave(nearestShape_.Count()) +
                                  " a floor or ceiling that no shape makes " +
                                  nearestShape_.Where() + "; the nearest shape was used.");
    }
    if (droppedLink_.Count() > 0) {
        const int links = droppedLink_.Count();
        result.Messages.push_back(
            room + Counted(links, "link") + " of its sectors to rooms that were not imported " +
            (links == 1 ? "was" : "were") + " left out " + droppedLink_.Where() + ".");
    }
    if (aboveAndSide_.Count() > 0) {
        result.Messages.push_back(room + SectorsHave(aboveAndSide_.Count()) +
                                  " both a room above and a room beside, which a project "
                                  "sector cannot hold " +
                                  aboveAndSide_.Where() + "; the room above was kept.");
    }
    if (unreadable_.Count() > 0) {
        result.Messages.push_back(room + SectorsHave(unreadable_.Count()) +
                                  " floor data that cannot be read to its end " +
                                  unreadable_.Where() + "; what could be read was used.");
    }
    if (otherEntries_.Count() > 0) {
        result.Messages.push_back(room + Sectors(otherEntries_.Count()) +
                                  (otherEntries_.Count() == 1 ? " holds" : " hold") +
                                  " floor-data entries that a project does not keep "
                                  "(climbable walls, the third game's triangles and others) " +
                                  otherEntries_.Where() + "; they were left out.");
    }
}

// The level's items, cameras, static meshes and lights into the objects layer, in the level's
// order: x and z from their project room's corner, y as the level has it. One that the layer
// cannot hold (a room that was not imported, a place outside the room's grid, a second Lara, a
// limit) is left out and reported, by kind and reason, with the first of them.
class ObjectImporter {
public:
    ObjectImporter(const TLevelData& level, const std::vector<Placement>& placements,
                   TEditorProject& project)
        : level_(level), placements_(placements), project_(project) {}

    void Run(ImportResult& result) {
        for (uint32_t i = 0; i < level_.NumItems && i < MaxItems; ++i) {
            const LevelItem item = GetLevelItem(level_, static_cast<int>(i));
            TEditorObject o = At(ObjectKind::Item, item.Room, item.X, item.Y, item.Z);
            o.Angle = item.Angle;
            o.Type = item.Type;
            o.Flags = item.Flags;
            o.Intensity = static_cast<int16_t>(item.Intensity);
            o.Intensity2 = static_cast<int16_t>(item.Intensity2);
            indexes_.OfItem.push_back(
                Keep(o, item.Room, "Level item " + std::to_string(i + 1)) ? Last() : -1);
        }
        for (uint32_t c = 0; c < level_.NumCameras && c < MaxCameras; ++c) {
            const TCamera& camera = level_.Cameras[c];
            TEditorObject o = At(ObjectKind::Camera, camera.Room, camera.X, camera.Y, camera.Z);
            o.Flags = camera.Flags;
            indexes_.OfCamera.push_back(
                Keep(o, camera.Room, "Level camera " + std::to_string(c + 1)) ? Last() : -1);
        }
        for (int r = 0; r < level_.NumRooms; ++r) {
            const TLevelRoom& room = level_.Rooms[r];
            const std::string of = " of level room " + std::to_string(r + 1);
            for (int s = 0; s < room.NumStaticMeshes && s < MaxRoomStatics; ++s) {
                const RoomStatic mesh = GetRoomStatic(level_, room, s);
                TEditorObject o = At(ObjectKind::Static, r, mesh.X, mesh.Y, mesh.Z);
                o.Angle = mesh.Angle;
                o.Type = static_cast<int16_t>(mesh.MeshId);
                o.Intensity = static_cast<int16_t>(mesh.Intensity);
                o.Intensity2 = static_cast<int16_t>(mesh.Intensity2);
                Keep(o, r, "Static mesh " + std::to_string(s + 1) + of);
            }
            for (int l = 0; l < room.NumLights && l < MaxRoomLights; ++l) {
                const RoomLight light = GetRoomLight(level_, room, l);
                TEditorObject o = At(ObjectKind::Light, r, light.X, light.Y, light.Z);
                o.Intensity = light.Intensity;
                o.Intensity2 = light.Intensity2;
                o.Fade = light.Fade;
                o.Colour = light.Colour;
                if (Keep(o, r, "Light " + std::to_string(l + 1) + of)) {
                    secondFades_ += light.Fade2 != light.Fade && level_.FormatKind != FormatTR3 &&
                                    UsesSecondGameRecords(level_.FormatKind);
                    lightTypes_ += light.Spare != 0;
                }
            }
        }
        Report(result);
    }

    // The objects the level's items and cameras became.
    const ImportedObjectIndexes& Indexes() const { return indexes_; }

private:
    int Last() const { return static_cast<int>(project_.Objects.Count) - 1; }

    TEditorObject At(ObjectKind kind, int levelRoom, int32_t x, int32_t y, int32_t z) const {
        TEditorObject o{};
        o.Kind = static_cast<uint8_t>(kind);
        o.Y = y;
        if (levelRoom >= 0 && levelRoom < level_.NumRooms) {
            const TRoomInfo& info = level_.Rooms[levelRoom].RoomInfo;
            o.X = static_cast<int32_t>(int64_t{x} - info.X);
            o.Z = static_cast<int32_t>(int64_t{z} - info.Z);
        }
        return o;
    }

    // Places the object when the layer can hold it; otherwise notes why not.
    bool Keep(TEditorObject& o, int levelRoom, const std::string& what) {
        std::string reason;
        if (levelRoom < 0 || levelRoom >= level_.NumRooms) {
            reason = "its room " + std::to_string(levelRoom + 1) + " is not in the level";
        } else if (placements_[levelRoom].ProjectRoom == 0) {
            reason = "its room was not imported";
        } else {
            o.Room = static_cast<uint8_t>(placements_[levelRoom].ProjectRoom);
            if (const auto problem = CheckObjectFields(project_, o)) {
                reason = "its " + problem->Field + " is " + problem->Text;
                if (problem->Field == "x" || problem->Field == "z") {
                    reason = "it lies outside its room's grid (" + problem->Field + " " +
                             problem->Text + ")";
                }
            } else if (std::string limit = ObjectLimitProblem(project_, o); !limit.empty()) {
                reason = limit;
            } else {
                project_.Objects.Objects[project_.Objects.Count++] = o;
                ++kept_[o.Kind];
                return true;
            }
        }
        const std::string kind = ObjectKindName(o.KindOf());
        auto& [count, first] = leftOut_[{kind, reason.substr(0, reason.find(" ("))}];
        if (count++ == 0) {
            first = what + ": " + reason;
        }
        return false;
    }

    void Report(ImportResult& result) const {
        const int items = kept_[1], cameras = kept_[2], statics = kept_[3], lights = kept_[4];
        if (items + cameras + statics + lights > 0) {
            result.Messages.push_back("Objects imported: " + Counted(items, "item") + ", " +
                                      Counted(cameras, "camera") + ", " + std::to_string(statics) +
                                      (statics == 1 ? " static mesh, " : " static meshes, ") +
                                      Counted(lights, "light") + ".");
        }
        for (const auto& [key, left] : leftOut_) {
            (void)key;
            const auto& [count, first] = left;
            result.Messages.push_back(first +
                                      (count > 1
                                           ? " (and " + std::to_string(count - 1) + " more like it)"
                                           : std::string()) +
                                      "; not imported.");
        }
        if (secondFades_ > 0) {
            result.Messages.push_back(Counted(secondFades_, "light") +
                                      " had a second fade unlike the first; the first was kept "
                                      "for both.");
        }
        if (lightTypes_ > 0) {
            result.Messages.push_back(Counted(lightTypes_, "light") +
                                      " had a light type byte after its colour; a project does "
                                      "not keep it.");
        }
    }

    const TLevelData& level_;
    const std::vector<Placement>& placements_;
    TEditorProject& project_;
    int kept_[5] = {0, 0, 0, 0, 0};
    std::map<std::pair<std::string, std::string>, std::pair<int, std::string>> leftOut_;
    int secondFades_ = 0, lightTypes_ = 0;
    ImportedObjectIndexes indexes_;
};

ImportedObjectIndexes ImportObjects(const TLevelData& level,
                                    const std::vector<Placement>& placements,
                                    TEditorProject& project, ImportResult& result) {
    ObjectImporter importer(level, placements, project);
    importer.Run(result);
    return importer.Indexes();
}

} // namespace

// The level's alternate rooms as the project's links. A level may link a pair both ways; the
// room that is an earlier room's alternate is the alternate, and its link back is dropped
// silently. A link the project cannot keep (to a room not imported, from or to a room already
// linked otherwise) is reported.
void ImportFlipMaps(const TLevelData& level, TEditorProject& project, ImportResult& result) {
    TFlipMaps& maps = project.FlipMaps;
    maps = TFlipMaps{};
    int originalOf[MaxRooms + 1] = {};
    for (int r = 0; r < level.NumRooms; ++r) {
        const int a = level.Rooms[r].AlternateRoom;
        if (a < 0) {
            continue;
        }
        const std::string notKept = LevelRoomText(r) + ": its alternate room (level room " +
                                    std::to_string(a + 1) + ") was not kept, ";
        if (a >= level.NumRooms || a == r) {
            result.Messages.push_back(notKept + "it is not another room of the level.");
            continue;
        }
        const int room = result.ProjectRoomOf[static_cast<std::size_t>(r)];
        const int alternate = result.ProjectRoomOf[static_cast<std::size_t>(a)];
        if (room == 0 || alternate == 0) {
            result.Messages.push_back(notKept + "as one of the two was not imported.");
            continue;
        }
        if (originalOf[room] == alternate) {
            continue; // the link back of a pair linked both ways
        }
        if (originalOf[room] != 0 || maps.Alternate[alternate - 1] != 0 ||
            originalOf[alternate] != 0) {
            result.Messages.push_back(notKept + "as a room of the project has one alternate and "
                                                "is the alternate of one room, not both.");
            continue;
        }
        maps.Alternate[room - 1] = static_cast<uint8_t>(alternate);
        originalOf[alternate] = room;
    }
}

ImportResult ImportLevelRooms(const TLevelData& level, TEditorProject& project,
                              const std::string& baseLevelFile) {
    project.Clear();
    project.Settings.BaseLevelFile.Assign(baseLevelFile);
    ImportResult result;
    const std::vector<Placement> placements = PlaceRooms(level);
    auto faceScratch = std::make_unique<FaceMatchScratch>();
    auto grid = std::make_unique<TLevelRoom>();
    RoomImporter importer(level, placements, *faceScratch, *grid);
    std::vector<bool> roomWhole; // by level room

    for (int r = 0; r < level.NumRooms; ++r) {
        const TLevelRoom& from = level.Rooms[r];
        const Placement& placement = placements[r];
        result.ProjectRoomOf.push_back(placement.ProjectRoom);
        if (placement.ProjectRoom == 0) {
            ++result.Counts.RoomsSkipped;
            result.Counts.SectorsSkipped += from.NumZSectors * from.NumXSectors;
            result.Messages.push_back(LevelRoomText(r) + ": not imported, " + placement.SkipReason +
                                      ".");
            roomWhole.push_back(false);
            continue;
        }
        project.RoomCount = static_cast<uint8_t>(placement.ProjectRoom);
        TEditorRoom& room = project.Room(placement.ProjectRoom);
        room.Water = (from.RoomFlags & RoomFlagWater) != 0;
        room.WindRain = (from.RoomFlags & RoomFlagWindRain) != 0;
        room.Quicksand = (from.RoomFlags & RoomFlagQuicksand) != 0;
        room.Sky = (from.RoomFlags & RoomFlagSky) != 0;
        room.AmbientIntensity = from.AmbientIntensity >> 8;
        const bool whole = importer.Import(r, room, result);
        ++(whole ? result.Counts.RoomsWhole : result.Counts.RoomsClipped);
        roomWhole.push_back(whole);
    }
    // A wall portal comes over when the build fills its view's opening as the portal does: the
    // opening needs the rooms on both sides.
    std::map<int, int> inexact; // by level room
    for (const RoomImporter::WallView& wall : importer.WallViews()) {
        int top = 0, bottom = 0;
        const TPortalView& view = project.Room(wall.ProjectRoom).PortalView(wall.View);
        if (!WallViewSpanY(project, wall.ProjectRoom, view, top, bottom) || top != wall.Top ||
            bottom != wall.Bottom) {
            ++inexact[wall.LevelRoom];
        }
    }
    for (const auto& [r, count] : inexact) {
        result.Messages.push_back(LevelRoomText(r) + ": " + std::to_string(count) +
                                  (count == 1 ? " portal does" : " portals do") +
                                  " not lie on whole sectors as a portal view makes them; the "
                                  "nearest views were made.");
        if (roomWhole[r]) {
            --result.Counts.RoomsWhole;
            ++result.Counts.RoomsClipped;
        }
    }
    ImportFlipMaps(level, project, result);
    const ImportedObjectIndexes objects = ImportObjects(level, placements, project, result);
    for (std::string& message : ImportTriggers(level, result.ProjectRoomOf, objects, project)) {
        result.Messages.push_back(std::move(message));
    }
    project.CurrentRoom = 1;
    return result;
}

std::string ImportSummary(const ImportCounts& c) {
    return Counted(c.RoomsImported(), "room") + " imported (" + std::to_string(c.RoomsWhole) +
           " whole, " + std::to_string(c.RoomsClipped) + " clipped), " +
           std::to_string(c.RoomsSkipped) + " skipped; " +
           Counted(c.SectorsWhole + c.SectorsClipped, "sector") + " (" +
           std::to_string(c.SectorsWhole) + " whole, " + std::to_string(c.SectorsClipped) +
           " clipped), " + std::to_string(c.SectorsSkipped) + " skipped; " +
           std::to_string(c.FacesUsed) + " of " + std::to_string(c.Faces) + " faces used.";
}

LevelFileImport ImportLevelFile(const std::string& path, TLevelData& level,
                                TEditorProject& project) {
    LevelFileImport outcome;
    try {
        const ReadResult read = ReadLevelFile(level, path);
        if (!read.Done()) {
            outcome.Refusal = read.Text;
            return outcome;
        }
    } catch (const IoError& e) {
        outcome.Refusal = e.what();
        return outcome;
    }
    level.LastBaseLevelName = path;
    auto scratch = std::make_unique<TEditorProject>();
    outcome.Result = ImportLevelRooms(level, *scratch, path);
    if (outcome.Result.Counts.RoomsImported() > 0) {
        project.ReplaceWith(*scratch);
    }
    return outcome;
}

} // namespace morvane
