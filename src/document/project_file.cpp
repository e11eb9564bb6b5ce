#include "document/project_file.h"

#include "document/editor_texts.h"
#include "document/flip_block.h"
#include "document/object_block.h"
#include "document/room_limits.h"
#include "document/trigger_block.h"
#include "io/atomic_file.h"
#include "io/backup_copy.h"
#include "io/binary_reader.h"
#include "io/binary_writer.h"
#include "io/io_error.h"
#include "io/zeroed_pages.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace morvane {

namespace {

constexpr int TrailerBytes = 40;
constexpr uint8_t OldestReadVersion = 4;

template <int N> void ReadString(BinaryReader& in, TShortString<N>& text) {
    in.ReadBytes(&text, sizeof(text));
}

template <int N> void WriteString(BinaryWriter& out, const TShortString<N>& text) {
    out.WriteBytes(&text, sizeof(text));
}

// What a project file holds, read in full before the document is touched. Only the rooms the
// file has are kept: a whole document is 14 MB, nearly all of it rooms that are not there.
struct ProjectScratch {
    TBuildSettings Settings{};
    uint8_t CurrentRoom = 0;
    std::vector<TEditorRoom> Rooms;
    std::vector<TEditorObject> Objects;
    TFlipMaps FlipMaps{};
    std::vector<TEditorTrigger> Triggers;

    // The document becomes what a cleared document holds with the file's content: the rooms in
    // use are written over whole, and only the others cleared.
    void MoveInto(TEditorProject& project) const {
        const std::size_t count = std::min<std::size_t>(Rooms.size(), MaxRooms);
        std::memset(static_cast<void*>(&project), 0, offsetof(TEditorProject, Rooms));
        if (count > 0) { // a file of no rooms leaves no room data to copy
            std::memcpy(static_cast<void*>(project.Rooms), Rooms.data(),
                        count * sizeof(TEditorRoom));
        }
        ZeroBytes(project.Rooms + count, (MaxRooms - count) * sizeof(TEditorRoom));
        project.Settings = Settings;
        project.CurrentRoom = CurrentRoom;
        project.RoomCount = static_cast<uint8_t>(count);
        TObjectLayer& layer = project.Objects;
        const std::size_t objects = std::min<std::size_t>(Objects.size(), MaxObjects);
        std::copy_n(Objects.begin(), objects, layer.Objects);
        ZeroBytes(layer.Objects + objects, (MaxObjects - objects) * sizeof(TEditorObject));
        layer.Count = static_cast<uint32_t>(objects);
        project.FlipMaps = FlipMaps;
        TTriggerLayer& triggers = project.Triggers;
        const std::size_t triggerCount = std::min<std::size_t>(Triggers.size(), MaxTriggers);
        std::copy_n(Triggers.begin(), triggerCount, triggers.Triggers);
        ZeroBytes(triggers.Triggers + triggerCount,
                  (MaxTriggers - triggerCount) * sizeof(TEditorTrigger));
        triggers.Count = static_cast<uint32_t>(triggerCount);
    }
};

// Reads the settings and rooms of a project file into a scratch of the whole document
// (ProjectScratch) or into its outline (ProjectOutline), with the same checks: the outline skips
// the sectors and portal views instead of reading them.
template <class Project> class ProjectFileReader {
public:
    ProjectFileReader(Project& project, BinaryReader& in, const std::string& name)
        : project_(project), in_(in), name_(name) {}

    void ReadSettingsAndRooms(uint8_t version) {
        VisitBuildSettings(
            [&](uint8_t since, auto& text) {
                if (version >= since) {
                    ReadString(in_, text);
                }
            },
            project_.Settings);
        project_.CurrentRoom = in_.ReadU8();
        const int roomCount = in_.ReadU8();
        Check(roomCount, MaxRooms, "the room count");
        project_.Rooms.resize(static_cast<std::size_t>(roomCount)); // zero bytes
        if constexpr (IsOutline) {
            project_.RoomCount = static_cast<uint8_t>(roomCount);
        }
        for (int r = 1; r <= roomCount; ++r) {
            ReadRoom(project_.Rooms[r - 1], r);
        }
        in_.Skip(TrailerBytes);
        // A current room outside the rooms would point past them; the first room stands in.
        if (project_.CurrentRoom < 1 || project_.CurrentRoom > std::max<int>(1, roomCount)) {
            project_.CurrentRoom = 1;
        }
    }

private:
    static constexpr bool IsOutline = std::is_same_v<Project, ProjectOutline>;

    void Check(int64_t value, int64_t limit, const std::string& what) const {
        if (value < 0 || value > limit) {
            throw FileError(ProjectFileKind, name_, RefusedOutcome,
                            what + " is " + std::to_string(value) + ", above the limit of " +
                                std::to_string(limit) + ".");
        }
    }

    template <class Room> void ReadRoom(Room& room, int number) {
        const std::string of = " of room " + std::to_string(number);
        room.PosX = in_.ReadI32();
        room.PosZ = in_.ReadI32();
        ReadString(in_, room.Name);
        room.PosY = in_.ReadU8();
        room.Height = in_.ReadU8();
        // Stored as their low 16 bits; -1 (a face left out) must come back as -1.
        for (int32_t& texture : room.DefaultTextures) {
            texture = in_.ReadI16();
        }
        room.SectorLight = in_.ReadU8();
        room.AmbientIntensity = in_.ReadI32();
        room.Water = in_.ReadU8();
        room.WindRain = in_.ReadU8();
        room.Quicksand = in_.ReadU8();
        room.Sky = in_.ReadU8();
        in_.ReadBytes(room.Reserved, sizeof(room.Reserved));
        room.ZSectors = in_.ReadU16();
        room.XSectors = in_.ReadU16();
        const int64_t sectors = int64_t{room.ZSectors} * room.XSectors;
        Check(sectors, MaxSectors, "the sector grid (ZSectors x XSectors)" + of);
        if constexpr (IsOutline) {
            in_.Skip((sizeof(TGameSector) + sizeof(TEditorSector)) * std::size_t(sectors));
        } else {
            in_.ReadArray(room.GameSectors, static_cast<int>(sectors));
            in_.ReadArray(room.Sectors, static_cast<int>(sectors));
        }
        room.PortalViewCount = in_.ReadI32();
        if (room.PortalViewCount < 0) {
            throw FileError(ProjectFileKind, name_, RefusedOutcome,
                            "the portal view count" + of + " is " +
                                std::to_string(room.PortalViewCount) + ".");
        }
        Check(room.PortalViewCount, MaxPortalViews, "the portal view count" + of);
        if constexpr (IsOutline) {
            NoteRoomLimits(room, number);
        } else {
            in_.ReadArray(room.PortalViews, room.PortalViewCount);
        }
        in_.Skip(TrailerBytes);
    }

public:
    // The outline's rooms against the room limits, as a whole read checks them once the file
    // is read: the first room that breaks one, empty when none does.
    const std::string& RoomLimitsProblemFound() const { return roomProblem_; }

private:
    // One room record carries each outline room's own fields and portal views to the check.
    void NoteRoomLimits(const RoomOutline& from, int number) {
        if (!limitsRoom_) {
            limitsRoom_ = std::make_unique<TEditorRoom>();
        }
        TEditorRoom& room = *limitsRoom_;
        room.PosX = from.PosX;
        room.PosZ = from.PosZ;
        room.Name = from.Name;
        room.PosY = from.PosY;
        room.Height = from.Height;
        room.ZSectors = from.ZSectors;
        room.XSectors = from.XSectors;
        room.PortalViewCount = from.PortalViewCount;
        in_.ReadArray(room.PortalViews, room.PortalViewCount);
        if (roomProblem_.empty()) {
            roomProblem_ = RoomLimitsProblem(room, number, RoomLimits::Placement);
        }
    }

    std::unique_ptr<TEditorRoom> limitsRoom_;
    std::string roomProblem_;

    Project& project_;
    BinaryReader& in_;
    const std::string& name_;
};

// The magic text and the version; Done when the rest of the file is to be read.
ProjectReadOutcome ReadProjectStart(BinaryReader& in, const std::string& name) {
    TShortString<16> magic{};
    ReadString(in, magic);
    ProjectReadOutcome outcome;
    outcome.Version = in.ReadU8();
    if (outcome.Version < OldestReadVersion) {
        outcome.Status = ReadStatus::OldVersion;
        outcome.Text = FileError(ProjectFileKind, name, RefusedOutcome, OldFormatText).what();
    } else if (magic.Length != 16 || std::memcmp(magic.Chars, ProjectMagic, 16) != 0) {
        outcome.Status = ReadStatus::OtherKind;
        outcome.Text = FileError(ProjectFileKind, name, RefusedOutcome, ErrorOpeningText).what();
    }
    return outcome;
}

// A room breaking the limits of its place refuses the file, as it would refuse the build.
void CheckRoomLimits(const TEditorRoom& room, int number, const std::string& name) {
    const std::string problem = RoomLimitsProblem(room, number, RoomLimits::Placement);
    if (!problem.empty()) {
        throw FileError(ProjectFileKind, name, RefusedOutcome, problem + ".");
    }
}

template <class Room> std::vector<RoomGrid> GridsOf(const std::vector<Room>& rooms) {
    std::vector<RoomGrid> grids;
    for (const Room& room : rooms) {
        grids.push_back({room.XSectors, room.ZSectors});
    }
    return grids;
}

// Objects or triggers that break a field or a limit refuse the file, as they would refuse the
// edit.
void CheckObjects(const std::string& problem, const std::string& name) {
    if (!problem.empty()) {
        throw FileError(ProjectFileKind, name, RefusedOutcome, problem);
    }
}

void WriteRoom(BinaryWriter& out, const TEditorRoom& room) {
    out.WriteI32(room.PosX);
    out.WriteI32(room.PosZ);
    WriteString(out, room.Name);
    out.WriteU8(room.PosY);
    out.WriteU8(room.Height);
    for (int32_t texture : room.DefaultTextures) {
        out.WriteU16(static_cast<uint16_t>(texture));
    }
    out.WriteU8(room.SectorLight);
    out.WriteI32(room.AmbientIntensity);
    out.WriteU8(room.Water);
    out.WriteU8(room.WindRain);
    out.WriteU8(room.Quicksand);
    out.WriteU8(room.Sky);
    out.WriteBytes(room.Reserved, sizeof(room.Reserved));
    out.WriteU16(room.ZSectors);
    out.WriteU16(room.XSectors);
    const auto sectors = static_cast<int>(std::min<int64_t>(room.SectorCount(), MaxSectors));
    out.WriteArray(room.GameSectors, sectors);
    out.WriteArray(room.Sectors, sectors);
    const int views = std::clamp(room.PortalViewCount, 0, MaxPortalViews);
    out.WriteI32(views);
    out.WriteArray(room.PortalViews, views);
    out.WriteZeros(TrailerBytes);
}

} // namespace

BuildSettings BuildSettingsOf(const TEditorProject& project) {
    BuildSettings settings;
    VisitBuildSettings(
        [](uint8_t, const auto& stored, std::string& typed) { typed = stored.Str(); },
        project.Settings, settings);
    return settings;
}

void StoreBuildSettings(TEditorProject& project, const BuildSettings& settings) {
    VisitBuildSettings(
        [](uint8_t, auto& stored, const std::string& typed) { stored.Assign(typed); },
        project.Settings, settings);
}

namespace {

ProjectReadOutcome ReadProjectRecord(TEditorProject& project, BinaryReader& in,
                                     const std::string& name) {
    const ProjectReadOutcome outcome = ReadProjectStart(in, name);
    if (!outcome.Done()) {
        return outcome;
    }
    ProjectScratch scratch;
    ProjectFileReader(scratch, in, name).ReadSettingsAndRooms(outcome.Version);
    ProjectBlocks blocks = ReadProjectBlocks(in);
    scratch.Objects = std::move(blocks.Objects);
    scratch.Triggers = std::move(blocks.Triggers);
    for (std::size_t r = 0; r < scratch.Rooms.size(); ++r) {
        CheckRoomLimits(scratch.Rooms[r], static_cast<int>(r + 1), name);
    }
    ObjectCounts counts;
    CheckObjects(ObjectsBlockProblem(scratch.Objects, GridsOf(scratch.Rooms), counts), name);
    CheckObjects(FlipMapsBlockProblem(blocks.FlipLinks, static_cast<int>(scratch.Rooms.size()),
                                      scratch.FlipMaps),
                 name);
    CheckObjects(TriggersBlockProblem(scratch.Triggers, GridsOf(scratch.Rooms), scratch.Objects),
                 name);
    scratch.MoveInto(project);
    return outcome;
}

ProjectReadOutcome ReadOutlineRecord(ProjectOutline& outline, BinaryReader& in,
                                     const std::string& name) {
    const ProjectReadOutcome outcome = ReadProjectStart(in, name);
    if (!outcome.Done()) {
        return outcome;
    }
    ProjectOutline scratch;
    ProjectFileReader reader(scratch, in, name);
    reader.ReadSettingsAndRooms(outcome.Version);
    const ProjectBlocks blocks = ReadProjectBlocks(in);
    const std::vector<TEditorObject>& objects = blocks.Objects;
    if (!reader.RoomLimitsProblemFound().empty()) {
        throw FileError(ProjectFileKind, name, RefusedOutcome,
                        reader.RoomLimitsProblemFound() + ".");
    }
    CheckObjects(ObjectsBlockProblem(objects, GridsOf(scratch.Rooms), scratch.Objects), name);
    TFlipMaps flipMaps;
    CheckObjects(FlipMapsBlockProblem(blocks.FlipLinks, scratch.RoomCount, flipMaps), name);
    scratch.AlternateRooms = static_cast<int>(blocks.FlipLinks.size());
    CheckObjects(TriggersBlockProblem(blocks.Triggers, GridsOf(scratch.Rooms), objects), name);
    scratch.Triggers = static_cast<int>(blocks.Triggers.size());
    scratch.Version = outcome.Version;
    outline = std::move(scratch);
    return outcome;
}

void WriteProjectRecord(const TEditorProject& project, const std::string& path) {
    AtomicFileWriter file(path);
    BinaryWriter& out = file.Writer();
    TShortString<16> magic{};
    magic.Assign(ProjectMagic);
    WriteString(out, magic);
    out.WriteU8(ProjectFileVersion);
    VisitBuildSettings([&](uint8_t, const auto& text) { WriteString(out, text); },
                       project.Settings);
    out.WriteU8(project.CurrentRoom);
    const int rooms = std::min<int>(project.RoomCount, MaxRooms);
    out.WriteU8(static_cast<uint8_t>(rooms));
    for (int r = 1; r <= rooms; ++r) {
        WriteRoom(out, project.Room(r));
    }
    out.WriteZeros(TrailerBytes);
    WriteObjectsBlock(out, project.Objects);
    WriteTriggersBlock(out, project.Triggers);
    WriteFlipMapsBlock(out, project.FlipMaps);
    file.Commit();
}

} // namespace

ProjectReadOutcome ReadProject(TEditorProject& project, BinaryReader& in, const std::string& name) {
    try {
        return ReadProjectRecord(project, in, name);
    } catch (const IoError& e) {
        throw FileError(ProjectFileKind, name, RefusedOutcome, e.what());
    }
}

ProjectReadOutcome ReadProjectOutline(ProjectOutline& outline, BinaryReader& in,
                                      const std::string& name) {
    try {
        return ReadOutlineRecord(outline, in, name);
    } catch (const IoError& e) {
        throw FileError(ProjectFileKind, name, RefusedOutcome, e.what());
    }
}

ProjectReadOutcome ReadProjectOutlineFile(ProjectOutline& outline, const std::string& path) {
    try {
        BinaryReader in = BinaryReader::OpenFile(path);
        return ReadProjectOutline(outline, in, path);
    } catch (const IoError& e) {
        throw FileError(ProjectFileKind, path, RefusedOutcome, e.what());
    }
}

ProjectOutline OutlineOf(const TEditorProject& project, uint8_t version) {
    ProjectOutline outline;
    outline.Version = version;
    outline.Settings = project.Settings;
    outline.CurrentRoom = project.CurrentRoom;
    outline.RoomCount = project.RoomCount;
    for (int r = 1; r <= std::min<int>(project.RoomCount, MaxRooms); ++r) {
        const TEditorRoom& room = project.Room(r);
        RoomOutline& o = outline.Rooms.emplace_back();
        o.PosX = room.PosX;
        o.PosZ = room.PosZ;
        o.Name = room.Name;
        o.PosY = room.PosY;
        o.Height = room.Height;
        std::copy(std::begin(room.DefaultTextures), std::end(room.DefaultTextures),
                  std::begin(o.DefaultTextures));
        o.SectorLight = room.SectorLight;
        o.AmbientIntensity = room.AmbientIntensity;
        o.Water = room.Water;
        o.WindRain = room.WindRain;
        o.Quicksand = room.Quicksand;
        o.Sky = room.Sky;
        std::copy(std::begin(room.Reserved), std::end(room.Reserved), std::begin(o.Reserved));
        o.ZSectors = room.ZSectors;
        o.XSectors = room.XSectors;
        o.PortalViewCount = room.PortalViewCount;
    }
    outline.Objects = CountObjects(project);
    outline.AlternateRooms = AlternateRoomCount(project);
    outline.Triggers = static_cast<int>(std::min<uint32_t>(project.Triggers.Count, MaxTriggers));
    return outline;
}

ProjectReadOutcome ReadProjectFile(TEditorProject& project, const std::string& path) {
    try {
        BinaryReader in = BinaryReader::OpenFile(path);
        return ReadProject(project, in, path);
    } catch (const IoError& e) {
        throw FileError(ProjectFileKind, path, RefusedOutcome, e.what());
    }
}

void WriteProjectFile(const TEditorProject& project, const std::string& path) {
    try {
        WriteProjectRecord(project, path);
    } catch (const IoError& e) {
        throw FileError(ProjectFileKind, path, NotWrittenOutcome, e.what());
    }
}

OpenProjectOutcome OpenProject(TEditorProject& project, SceneRooms& scene,
                               const std::string& path) {
    OpenProjectOutcome outcome;
    outcome.Read = ReadProjectFile(project, path);
    if (!outcome.Read.Done()) {
        return outcome;
    }
    scene = SceneRooms{project.CurrentRoom, 0, 0};
    outcome.Window.ToolBar = ToolBarValues(project);
    outcome.Window.Redraw = true;
    outcome.Caption = CaptionWithFile(path);
    outcome.Settings = BuildSettingsOf(project);
    const std::string base = project.Settings.BaseLevelFile.Str();
    if (IsRegularFile(base)) {
        outcome.BaseLevelToRead = base;
    }
    return outcome;
}

std::string SaveProject(TEditorProject& project, const BuildSettings& settings,
                        const std::string& path) {
    StoreBuildSettings(project, settings);
    KeepBackupCopy(path);
    WriteProjectFile(project, path);
    return CaptionWithFile(path);
}

} // namespace morvane
