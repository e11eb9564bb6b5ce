#include "levelbuild/level_usage.h"

#include "levelbuild/boxes.h"
#include "levelbuild/build_error.h"
#include "levelbuild/build_steps.h"
#include "levelbuild/room_geometry.h"

#include <memory>
#include <optional>

namespace morvane {

namespace {

void Count(CapacityUse& use, long used) {
    use.Used = used;
    use.Counted = true;
}

} // namespace

void AddEngineLimit(CapacityUse& use, int32_t formatKind, EngineMeasure measure) {
    if (const std::optional<EngineLimit> limit = FindEngineLimit(formatKind, measure)) {
        use.Engine = *limit;
        use.EngineLayout = formatKind;
    }
}

UseLevel LevelOfUse(const CapacityUse& use) {
    const bool capacity = use.Limit > 0;
    if (use.Beyond || (capacity && use.Counted && use.Used > use.Limit)) {
        return UseLevel::Over;
    }
    if ((capacity && use.Used * 10 > use.Limit * 9) ||
        (use.Engine.Value > 0 && use.Counted && use.Used > use.Engine.Value)) {
        return UseLevel::High;
    }
    return UseLevel::Normal;
}

std::string UseText(const CapacityUse& use) {
    const std::string engine =
        use.Engine.Value > 0 ? ", engine " + std::to_string(use.Engine.Value) : "";
    if (use.Beyond) {
        return "more than " + std::to_string(use.Limit) + " / " + std::to_string(use.Limit) +
               engine;
    }
    if (use.Limit <= 0) {
        return (use.Counted ? std::to_string(use.Used) : std::string("-")) + engine;
    }
    if (!use.Counted) {
        return "- / " + std::to_string(use.Limit) + engine;
    }
    const long percent = use.Limit > 0 ? use.Used * 100 / use.Limit : 0;
    return std::to_string(use.Used) + " / " + std::to_string(use.Limit) + " (" +
           std::to_string(percent) + " %)" + engine;
}

std::string EngineLimitNote(const CapacityUse& use) {
    if (use.Engine.Value <= 0) {
        return "";
    }
    std::string note = EngineName(use.EngineLayout) + " holds " + std::to_string(use.Engine.Value) +
                       " (source: " + use.Engine.Source + ")";
    note[0] = 'T';
    if (use.Counted && use.Used > use.Engine.Value) {
        note += "; this is above it, the game may crash";
    }
    return note + ".";
}

RoomUse MeasureRoom(const TEditorProject& project, int number, bool baseLoaded,
                    int32_t formatKind) {
    RoomUse use;
    use.Vertices.Limit = MaxRoomVertices;
    AddEngineLimit(use.Vertices, formatKind, EngineMeasure::RoomVertices);
    use.Rectangles.Limit = MaxRoomRectangles;
    use.Triangles.Limit = MaxRoomTriangles;
    if (number < 1 || number > project.RoomCount || number > MaxRooms) {
        return use;
    }
    const TEditorRoom& room = project.Room(number);
    if (room.SectorCount() > MaxRoomSectors) {
        return use; // the build refuses such a room before it makes any geometry
    }
    auto level = std::make_unique<TLevelRoom>();
    auto scratch = std::make_unique<RoomScratch>();
    BuildRoomSectors(room, *level, number, *scratch);
    BuildRoomFaces(scratch->Faces, *level, room.Sectors, scratch->Shapes,
                   DoubleSidedCeiling(room, baseLoaded));
    const RoomMeshCounts counts = CountRoomMesh(scratch->Faces);
    Count(use.Vertices, counts.Vertices);
    Count(use.Rectangles, counts.Rectangles);
    Count(use.Triangles, counts.Triangles);
    return use;
}

BaseLevelUse MeasureBaseLevel(const TLevelData& level) {
    BaseLevelUse use;
    use.ObjectTextures.Limit = MaxObjectTextures;
    use.SpriteTextures.Limit = MaxSpriteTextures;
    AddEngineLimit(use.ObjectTextures, level.FormatKind, EngineMeasure::ObjectTextures);
    AddEngineLimit(use.SpriteTextures, level.FormatKind, EngineMeasure::SpriteTextures);
    AddEngineLimit(use.TexturePages, level.FormatKind, EngineMeasure::TexturePages);
    if (level.FormatKind != 0) {
        Count(use.ObjectTextures, level.NumObjectTextures);
        Count(use.SpriteTextures, level.NumSpriteTextures);
        Count(use.TexturePages, level.NumTextiles);
    }
    return use;
}

ProjectUse MeasureProject(const TEditorProject& project, TLevelData& scratch, int32_t formatKind,
                          const std::string& programFolder) {
    ProjectUse use;
    scratch.FormatKind = formatKind;
    use.Boxes.Limit = BoxLimit(scratch);
    use.OverlapWords.Limit = MaxOverlaps;
    use.FloorDataWords.Limit = MaxFloorData;
    if (project.RoomCount == 0) { // nothing to build, nothing used
        Count(use.Boxes, 0);
        Count(use.OverlapWords, 0);
        Count(use.FloorDataWords, 0);
        return use;
    }
    // Each step counts what it made; a capacity it would pass stops the steps after it.
    try {
        CheckProject(project);
        scratch.NumRooms = project.RoomCount;
        auto rooms = std::make_unique<RoomScratch>();
        for (int r = 1; r <= project.RoomCount; ++r) {
            BuildRoomSectors(project.Room(r), scratch.Rooms[r - 1], r, *rooms);
        }
        LoadFloorData(scratch, programFolder);
        AddWallPortals(scratch, rooms->WallPortals);
        Count(use.FloorDataWords, scratch.NumFloorData);
        GenerateBoxes(scratch);
        Count(use.Boxes, scratch.NumBoxes);
        Count(use.OverlapWords, scratch.NumOverlaps);
    } catch (const CapacityError& e) {
        use.Problem = e.what();
        CapacityUse& over = e.Which == LevelCapacity::Boxes          ? use.Boxes
                            : e.Which == LevelCapacity::OverlapWords ? use.OverlapWords
                                                                     : use.FloorDataWords;
        over.Beyond = true;
    } catch (const BuildError& e) {
        use.Problem = e.what();
    }
    return use;
}

} // namespace morvane
