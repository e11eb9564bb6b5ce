#include "levelbuild/build_pipeline.h"

#include "document/doorways.h"
#include "document/flip_map_operations.h"
#include "document/object_operations.h"
#include "document/room_limits.h"
#include "document/sector_heights.h"
#include "document/shape_table.h"
#include "io/binary_reader.h"
#include "io/io_error.h"
#include "io/program_folder.h"
#include "level/level_format.h"
#include "level/level_reader.h"
#include "level/level_writer.h"
#include "level/room_objects.h"
#include "level/world_units.h"
#include "levelbuild/boxes.h"
#include "levelbuild/build_checks.h"
#include "levelbuild/build_error.h"
#include "levelbuild/build_steps.h"
#include "levelbuild/object_placement.h"
#include "levelbuild/player_placement.h"
#include "levelbuild/room_geometry.h"
#include "levelbuild/side_files.h"
#include "levelbuild/slope_floor_data.h"
#include "levelbuild/trigger_floor_data.h"
#include "script/trscript.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

namespace morvane {

namespace {

constexpr const char* PleaseTypeBaseLevel = " Please type the Base Level name ";

bool IsBlank(const std::string& name) {
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

} // namespace

// Checks what the project asks of the level before the record is touched.
void CheckProject(const TEditorProject& project) {
    if (project.RoomCount == 0 || !project.HasCurrentRoom()) {
        throw BuildError("The project has no rooms to build.");
    }
    for (const std::string& problem : {RoomLimitsProblem(project, RoomLimits::PlacementAndLevels),
                                       ObjectCapacityProblem(project)}) {
        if (!problem.empty()) {
            throw BuildError(problem + "; the level was not written.");
        }
    }
    for (int r = 1; r <= project.RoomCount; ++r) {
        const TEditorRoom& room = project.Room(r);
        if (room.SectorCount() > MaxRoomSectors) {
            throw BuildError("Room " + std::to_string(r) + " has more than 1024 sectors.");
        }
        if (room.PortalViewCount < 0 || room.PortalViewCount > MaxRoomPortals) {
            throw BuildError("Room " + std::to_string(r) + " has more than 20 portal views.");
        }
        for (int d = 1; d <= room.PortalViewCount; ++d) {
            const TPortalView& view = room.PortalView(d);
            const std::string which =
                "Portal view Door #" + std::to_string(d) + " of room " + std::to_string(r);
            if (view.OriginX < 1 || view.OriginX > room.XSectors || view.OriginZ < 1 ||
                view.OriginZ > room.ZSectors) {
                throw BuildError(which + " has its origin (column " + std::to_string(view.OriginX) +
                                 ", row " + std::to_string(view.OriginZ) +
                                 ") outside the room's grid.");
            }
            if (view.TargetRoom < 1 || view.TargetRoom > project.RoomCount) {
                throw BuildError(which + " shows room " + std::to_string(view.TargetRoom) +
                                 ", which the project does not have.");
            }
        }
        for (int n = 1; n <= room.SectorCount(); ++n) {
            const TGameSector& sector = room.GameSector(n);
            for (uint8_t link : {sector.RoomAbove, sector.RoomBelow}) {
                if (link != NoRoom && link >= project.RoomCount) {
                    throw BuildError("Sector " + std::to_string(n) + " of room " +
                                     std::to_string(r) + " links to room " +
                                     std::to_string(link + 1) +
                                     ", which the project does not have.");
                }
            }
        }
    }
}

namespace {

// A view of the project room `number` (from 1) as a portal of its level room.
void SetPortal(TRoomPortal& portal, const TPortalView& view, const TEditorProject& document,
               int number) {
    portal = {};
    portal.AdjoiningRoom = static_cast<uint16_t>(view.TargetRoom - 1);
    const int x = (view.OriginX - 1) * SectorSize, z = (view.OriginZ - 1) * SectorSize;
    const int w = view.WidthTiles * SectorSize;
    // A wall view fills the opening it stands in (see WallViewSpanY); a floor or ceiling view
    // spans HeightTiles rows.
    int f = 0, h = view.HeightTiles * SectorSize;
    if (int top = 0, bottom = 0; WallViewSpanY(document, number, view, top, bottom)) {
        f = bottom;
        h = bottom - top;
    }
    const int linkY = view.Facing == PortalFacingFloor || view.Facing == PortalFacingCeiling
                          ? LinkViewY(document, number, view)
                          : 0;
    const int yTop = linkY, yBottom = linkY;
    auto set = [&](int v, int px, int py, int pz) {
        portal.Vertices[v] = {static_cast<int16_t>(px), static_cast<int16_t>(py),
                              static_cast<int16_t>(pz)};
    };
    auto normal = [&](int nx, int ny, int nz) {
        portal.Normal = {static_cast<int16_t>(nx), static_cast<int16_t>(ny),
                         static_cast<int16_t>(nz)};
    };
    switch (view.Facing) {
    case PortalFacingFront:
        normal(0, 0, -1);
        set(0, x, f, z), set(1, x, f - h, z), set(2, x + w, f - h, z), set(3, x + w, f, z);
        break;
    case PortalFacingBack:
        normal(0, 0, 1);
        set(0, x + w, f, z + SectorSize), set(1, x + w, f - h, z + SectorSize),
            set(2, x, f - h, z + SectorSize), set(3, x, f, z + SectorSize);
        break;
    case PortalFacingLeft:
        normal(1, 0, 0);
        set(0, x + SectorSize, f, z), set(1, x + SectorSize, f - h, z),
            set(2, x + SectorSize, f - h, z + w), set(3, x + SectorSize, f, z + w);
        break;
    case PortalFacingRight:
        normal(-1, 0, 0);
        set(0, x, f, z + SectorSize), set(1, x, f - h, z + SectorSize),
            set(2, x, f - h, z + SectorSize - w), set(3, x, f, z + SectorSize - w);
        break;
    case PortalFacingCeiling:
        normal(0, 1, 0);
        set(0, x, yTop, z + SectorSize - h), set(1, x, yTop, z + SectorSize),
            set(2, x + w, yTop, z + SectorSize), set(3, x + w, yTop, z + SectorSize - h);
        break;
    case PortalFacingFloor:
        normal(0, -1, 0);
        set(0, x, yBottom, z + SectorSize - h), set(1, x, yBottom, z + SectorSize),
            set(2, x + w, yBottom, z + SectorSize), set(3, x + w, yBottom, z + SectorSize - h);
        break;
    default:
        break; // an unknown facing leaves a zero normal and zero corners
    }
}

} // namespace

bool DoubleSidedCeiling(const TEditorRoom& project, bool baseLoaded) {
    return baseLoaded && (project.Water || project.Quicksand);
}

void BuildRoomSectors(const TEditorRoom& project, TLevelRoom& room, int number,
                      RoomScratch& scratch) {
    room.RoomInfo.X = project.PosX * SectorSize;
    room.RoomInfo.Z = project.PosZ * SectorSize;
    room.RoomInfo.YBottom = RoomBottomY(project);
    room.RoomInfo.YTop = RoomTopY(project);
    room.NumSprites = 0;
    room.NumZSectors = project.ZSectors;
    room.NumXSectors = project.XSectors;
    std::memcpy(room.Sectors, project.GameSectors, sizeof(room.Sectors));
    room.AmbientIntensity = static_cast<uint16_t>((room.AmbientIntensity & 0x00FF) |
                                                  (project.AmbientIntensity & 0xFF) << 8);
    room.AmbientIntensity2 = 0;
    room.LightMode = 0;
    room.NumLights = 0;
    room.NumStaticMeshes = 0;
    room.AlternateRoom = -1;
    room.RoomFlags = static_cast<uint16_t>(
        (project.Water ? RoomFlagWater : 0) | (project.WindRain ? RoomFlagWindRain : 0) |
        (project.Quicksand ? RoomFlagQuicksand : 0) | (project.Sky ? RoomFlagSky : 0));

    // Heights into clicks (a shape's rise taken as stored); the geometry reads shape 0 as the
    // full block 1.
    for (int n = 0; n < project.SectorCount(); ++n) {
        const TEditorSector& sector = project.Sectors[n];
        TGameSector& level = room.Sectors[n];
        const int floorShape = std::min<int>(sector.FloorShape, HighestShape);
        const int ceilingShape = std::min<int>(sector.CeilingShape, HighestShape);
        level.FloorHeight = LevelFloorHeight(project, n + 1);
        level.CeilingHeight = LevelCeilingHeight(project, n + 1);
        scratch.Shapes.Floor[n] = static_cast<uint8_t>(floorShape == 0 ? 1 : floorShape);
        scratch.Shapes.Ceiling[n] = static_cast<uint8_t>(ceilingShape == 0 ? 1 : ceilingShape);
        if (sector.PortalKind == PortalKindSide) {
            scratch.WallPortals.emplace_back(number - 1, n);
        }
    }
}

namespace {

void BuildRoom(const TEditorProject& document, int number, TLevelRoom& room, bool baseLoaded,
               RoomScratch& scratch) {
    const TEditorRoom& project = document.Room(number);
    BuildRoomSectors(project, room, number, scratch);
    FaceList& faces = scratch.Faces;
    faces.Clear();
    room.NumVertices = room.NumRectangles = room.NumTriangles = 0;
    BuildRoomFaces(faces, room, project.Sectors, scratch.Shapes,
                   DoubleSidedCeiling(project, baseLoaded));
    std::string problem;
    if (!FacesToRoomMesh(faces, room, problem)) {
        throw BuildError("Room " + std::to_string(number) + " (" + project.Name.Str() + ") needs " +
                         problem + "; the level was not written.");
    }

    room.NumPortals = static_cast<uint16_t>(project.PortalViewCount);
    for (int d = 0; d < project.PortalViewCount; ++d) {
        SetPortal(room.Portals[d], project.PortalViews[d], document, number);
    }
}

class FloorDataWriter {
public:
    explicit FloorDataWriter(TLevelData& level) : level_(level) {}
    void Append(uint16_t word) {
        if (level_.NumFloorData >= MaxFloorData) {
            throw CapacityError(LevelCapacity::FloorDataWords,
                                "The level needs more than " + std::to_string(MaxFloorData) +
                                    " floor-data words; the level was not written.");
        }
        level_.FloorData[level_.NumFloorData++] = word;
    }

private:
    TLevelData& level_;
};

} // namespace

void LoadFloorData(TLevelData& level, const std::string& programFolder) {
    std::string path = FloorDataFileName; // named alone until it is found
    try {
        path = FindProgramDataFile(FloorDataFileName, programFolder);
        BinaryReader in = BinaryReader::OpenFile(path);
        const uint64_t words = in.Size() / 2;
        if (words > MaxFloorData) {
            throw BuildError("The floor-data file " + path + " holds more than " +
                             std::to_string(MaxFloorData) + " words.");
        }
        in.ReadArray(level.FloorData, words);
        level.NumFloorData = static_cast<uint32_t>(words);
    } catch (const IoError& e) {
        throw BuildError("The floor-data file " + path + " cannot be read: " + e.what());
    }
}

// Wall portals: each sector with a room beside gets a copy of its slope entries followed by a
// portal entry to that room.
void AddWallPortals(TLevelData& level, const std::vector<std::pair<int, int>>& wallPortals) {
    FloorDataWriter out(level);
    for (const auto& [r, n] : wallPortals) {
        TGameSector& sector = level.Rooms[r].Sectors[n];
        const uint16_t target = sector.RoomAbove;
        sector.RoomAbove = NoRoom;
        uint32_t d = sector.FloorDataIndex;
        const uint32_t end = level.NumFloorData;
        sector.FloorDataIndex = static_cast<uint16_t>(level.NumFloorData);
        while (d != 0 && d + 1 < end) {
            const uint16_t first = level.FloorData[d];
            out.Append(first & 0x7FFF);
            out.Append(level.FloorData[d + 1]);
            d += 2;
            if (first & FloorDataEnd) {
                break;
            }
        }
        out.Append(FloorDataEnd | FloorDataPortal);
        out.Append(target);
    }
    out.Append(0);
    level.FloorData[0] = static_cast<uint16_t>(level.NumFloorData);
}

namespace {

// Merges the side files one after the other and checks the level after each: a file that brings
// errors into the level (a face naming a vertex the room does not have, floor data the game would
// read past ...) is taken back out, and the first of its errors is shown with the file's name.
// Taking it out builds the level again from the project and merges the files accepted before it;
// that costs a build only when a file is at fault, where keeping a copy of the record would cost
// one for every file.
class SideFileMerger {
public:
    SideFileMerger(TLevelData& level, const LevelCheckOptions& options,
                   std::function<void()> rebuild, std::vector<std::string>& messages)
        : level_(level), options_(options), rebuild_(std::move(rebuild)), messages_(messages) {}

    // Returns what the reader returned.
    template <class Read> auto Merge(const char* kind, const std::string& file, Read read) {
        if (!errorsKnown_) { // a build without side files checks the level once, at the end
            errors_ = Errors();
            errorsKnown_ = true;
        }
        const auto result = read();
        std::vector<std::string> after = Errors();
        std::vector<std::string> brought;
        for (std::string& line : after) {
            if (std::find(errors_.begin(), errors_.end(), line) == errors_.end()) {
                brought.push_back(line);
            }
        }
        if (brought.empty()) {
            errors_ = std::move(after);
            merged_.emplace_back([read] { read(); });
            return result;
        }
        rebuild_();
        for (const std::function<void()>& again : merged_) {
            again();
        }
        messages_.push_back(
            std::string(kind) + " " + file + " would break the level (" + brought.front() +
            (brought.size() > 1 ? "; and " + std::to_string(brought.size() - 1) + " more" : "") +
            "); it was not merged");
        return result;
    }

private:
    std::vector<std::string> Errors() const {
        std::vector<std::string> lines;
        for (const LevelFinding& finding : CheckLevel(level_, options_)) {
            if (finding.Severity == FindingSeverity::Error) {
                lines.push_back(FormatFinding(finding));
            }
        }
        return lines;
    }

    TLevelData& level_;
    const LevelCheckOptions& options_;
    std::function<void()> rebuild_;
    std::vector<std::string>& messages_;
    std::vector<std::string> errors_; // what the level check finds in the level as it stands
    bool errorsKnown_ = false;
    std::vector<std::function<void()>> merged_;
};

// The side files and the script: each reports what went wrong without stopping the build.
void MergeSideFiles(TLevelData& level, const BuildNames& names, TScriptState& script,
                    SideFileMerger& merger, bool appendItems, std::vector<std::string>& messages) {
    struct SideFile {
        const char* kind; // as the messages name it
        const std::string& path;
        std::function<ReadResult()> read;
    };
    const SideFile sides[] = {
        // After the project's objects, the table's items, cameras, lights and static meshes come
        // next to them; without objects they are the level's.
        {"Items file", names.ItemsTable,
         [&] {
             return appendItems ? AppendItemsTable(level, names.ItemsTable)
                                : ReadItemsTable(level, names.ItemsTable);
         }},
        {"Meshes file", names.MeshesFile, [&] { return ReadMeshesFile(level, names.MeshesFile); }},
        {"Scripting file", names.ScriptFile,
         [&] { return CompileTriggerScript(names.ScriptFile, level, script); }},
    };
    for (const SideFile& side : sides) {
        if (IsBlank(side.path)) {
            continue;
        }
        if (!FileExists(side.path)) {
            messages.push_back(std::string(side.kind) + " " + side.path + " not found");
        } else if (const ReadResult read = merger.Merge(side.kind, side.path, side.read);
                   !read.Done()) {
            messages.push_back(read.Text);
        }
    }
}

LevelCheckOptions CheckOptions(const TEditorProject& project) {
    LevelCheckOptions options;
    for (int r = 1; r <= project.RoomCount; ++r) {
        options.RoomNames.push_back(project.Room(r).Name.Str());
    }
    MarkObjectsChecked(project, options);
    return options;
}

void CheckBeforeWriting(const TEditorProject& project, const TLevelData& level,
                        const PlayerPlacement& placed, const std::vector<PlacedThing>& objects,
                        std::vector<LevelFinding>& warnings) {
    for (auto&& found :
         {CheckPlayerPlacement(project, placed), CheckOpenings(project), CheckPortalViews(project),
          CheckRoomCapacities(project, level), CheckSectorTextures(project, level),
          CheckObjects(project, level, objects)}) {
        warnings.insert(warnings.end(), found.begin(), found.end());
    }
    const std::vector<LevelFinding> found = CheckLevel(level, CheckOptions(project));
    warnings.insert(warnings.end(), found.begin(), found.end());
}

// What would break the level in the game (a finding of severity error) stops the write: the
// errors, each naming its room, sector, portal, item or box, go into one message (the editor
// shows it in one box); the warnings stay warnings.
void StopOnErrors(BuildResult& result) {
    std::vector<LevelFinding> warnings;
    std::string errors;
    std::size_t count = 0;
    for (LevelFinding& finding : result.Warnings) {
        if (finding.Severity == FindingSeverity::Error) {
            errors += "\n" + FormatFinding(finding);
            ++count;
        } else {
            warnings.push_back(std::move(finding));
        }
    }
    result.Warnings = std::move(warnings);
    if (count > 0) {
        throw BuildError("The level was not written: " + std::to_string(count) +
                         (count == 1 ? " error would" : " errors would") +
                         " break it in the game:" + errors);
    }
}

// An items table or a script after the objects may bring a Lara of its own; the game starts her
// at the last one it meets.
void SecondLara(const TLevelData& level, const LevelCheckOptions& options,
                std::vector<std::string>& messages) {
    const int own = options.CheckedItems.First + options.CheckedItems.Count;
    for (uint32_t i = std::max(own, 1); i < level.NumItems && i < MaxItems; ++i) {
        if (GetLevelItem(level, static_cast<int>(i)).Type == LaraItemType) {
            messages.push_back("Item " + std::to_string(i + 1) +
                               " of the level, from the items table or the script, is a second "
                               "Lara: the game starts her there rather than at the project's. "
                               "Remove one of them.");
            return;
        }
    }
}

std::string BuildReport(const TLevelData& level, const std::string& file, std::size_t warnings) {
    long vertices = 0;
    for (int r = 0; r < level.NumRooms; ++r) {
        vertices += level.Rooms[r].NumVertices;
    }
    return "Level written: " + file + " \u2014 " + std::to_string(level.NumRooms) + " rooms, " +
           std::to_string(vertices) + " vertices, " + std::to_string(level.NumBoxes) + " boxes, " +
           std::to_string(level.NumOverlaps) + " overlap words, " +
           std::to_string(level.NumFloorData) + " floor-data words, " + std::to_string(warnings) +
           " warnings";
}

void Build(const TEditorProject& project, TLevelData& level, const BuildNames& names,
           const std::string& programFolder, TScriptState& script, BuildResult& result) {
    if (IsBlank(names.BaseLevel)) {
        result.Messages.push_back(PleaseTypeBaseLevel);
        return;
    }
    if (!FileExists(names.BaseLevel)) {
        result.Messages.push_back("Base Level file " + names.BaseLevel + " not found");
        return;
    }
    if (IsBlank(names.OutputLevel)) {
        result.Messages.push_back("Please type the name of the level file to build.");
        return;
    }
    CheckProject(project);
    if (names.BaseLevel != level.LastBaseLevelName) {
        result.BaseLevelRead = true;
        if (!ReadLevelFile(level, names.BaseLevel).Done()) {
            result.Messages.push_back("Base Level file " + names.BaseLevel +
                                      " is not a level of the supported games");
            return;
        }
        level.LastBaseLevelName = names.BaseLevel;
    }

    // The level from the project alone; built again when a side file is taken back out.
    PlayerPlacement placed;
    std::vector<PlacedThing> objects;
    const auto buildFromProject = [&] {
        level.NumRooms = project.RoomCount;
        auto scratchRooms = std::make_unique<RoomScratch>();
        RoomScratch& scratch = *scratchRooms;
        for (int r = 1; r <= project.RoomCount; ++r) {
            BuildRoom(project, r, level.Rooms[r - 1], level.FormatKind >= FormatTR1, scratch);
        }
        // The project's alternate rooms, before the boxes: the zones of the flipped state come
        // from them.
        for (const FlipLink& link : FlipLinks(project)) {
            if (link.Room <= project.RoomCount && link.Alternate <= project.RoomCount) {
                level.Rooms[link.Room - 1].AlternateRoom = static_cast<int16_t>(link.Alternate - 1);
            }
        }
        LoadFloorData(level, programFolder);
        AddWallPortals(level, scratch.WallPortals);
        AddTriggerFloorData(project, level);
        // Lara stands on the floor as the game finds it, so she is placed once the floor data
        // is complete.
        // Her own object places her once the level is prepared, with the other objects.
        placed = LaraStartIndex(project) < 0 ? PlacePlayer(level, project.CurrentRoom - 1)
                                             : PlayerPlacement{};
        GenerateBoxes(level);
        PrepareLevelForWrite(level);
        level.NumCameras = 0;
        objects = PlaceObjects(project, level);
    };
    buildFromProject();
    const LevelCheckOptions options = CheckOptions(project);
    SideFileMerger merger(level, options, buildFromProject, result.Messages);
    MergeSideFiles(level, names, script, merger, project.Objects.Count > 0, result.Messages);
    // A script's alternate rooms change which boxes are there while the flip is on.
    if (RoomFlipStates(level).AnyAlternate) {
        RenumberZones(level);
    }
    if (project.Objects.Count > 0) {
        SecondLara(level, options, result.Messages);
    }
    CheckBeforeWriting(project, level, placed, objects, result.Warnings);
    StopOnErrors(result);
    if (WriteLevelFile(level, names.OutputLevel) == LevelWritten) {
        result.Written = true;
        result.Report = BuildReport(level, names.OutputLevel, result.Warnings.size());
    } else {
        result.Messages.push_back("Level file " + names.OutputLevel +
                                  " was not written: the base level's layout is not one of the "
                                  "supported games.");
    }
}

} // namespace

BuildResult BuildLevel(const TEditorProject& project, TLevelData& level, const BuildNames& names,
                       const std::string& programFolder, TScriptState& script) {
    BuildResult result;
    try {
        Build(project, level, names, programFolder, script, result);
    } catch (const BuildError& e) {
        result.Messages.push_back(e.what());
    } catch (const IoError& e) {
        result.Messages.push_back(e.what());
    }
    return result;
}

ReadResult OpenBaseLevel(TLevelData& level, const std::string& fileName) {
    ReadResult read = ReadLevelFile(level, fileName);
    switch (read.Status) {
    case ReadStatus::Done:
        level.LastBaseLevelName = fileName;
        break;
    case ReadStatus::Missing:
        read.Text = "Base Level file " + fileName + " not found";
        break;
    default:
        read.Text = "Base Level file " + fileName + " is not a level of the supported games";
        break;
    }
    return read;
}

} // namespace morvane
