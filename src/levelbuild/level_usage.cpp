#include "levelbuild/level_usage.h"

#include "levelbuild/boxes.h"
#include "levelbuild/build_error.h"
#include "levelbuild/build_steps.h"
#include "levelbuild/room_geometry.h"

#include <memory>

namespace morvane {

namespace {

void Count(CapacityUse& use, long used) {
    use.Used = used;
    use.Counted = true;
}

} // namespace

UseLevel LevelOfUse(const CapacityUse& use) {
    if (use.Beyond || (use.Counted && use.Used > use.Limit)) {
        return UseLevel::Over;
    }
    if (use.Used * 10 > use.Limit * 9) {
        return UseLevel::High;
    }
    return UseLevel::Normal;
}

std::string UseText(const CapacityUse& use) {
    if (use.Beyond) {
        return "more than " + std::to_string(use.Limit) + " / " + std::to_string(use.Limit);
    }
    if (!use.Counted) {
        return "- / " + std::to_string(use.Limit);
    }
    const long percent = use.Limit > 0 ? use.Used * 100 / use.Limit : 0;
    return std::to_string(use.Used) + " / " + std::to_string(use.Limit) + " (" +
           std::to_string(percent) + " %)";
}

RoomUse MeasureRoom(const TEditorProject& project, int number, bool baseLoaded) {
    RoomUse use;
    use.Vertices.Limit = MaxRoomVertices;
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
