#include "document/project_file.h"

#include "document/editor_texts.h"
#include "io/atomic_file.h"
#include "io/backup_copy.h"
#include "io/binary_reader.h"
#include "io/binary_writer.h"
#include "io/io_error.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>

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

// Reads the settings and rooms of a project file into a whole document (TEditorProject) or
// into its outline (ProjectOutline), with the same checks: the outline skips the sectors and
// portal views instead of reading them.
template <class Project> class ProjectFileReader {
public:
    ProjectFileReader(Project& project, BinaryReader& in, const std::string& name)
        : project_(project), in_(in), name_(name) {}

    void ReadSettingsAndRooms(uint8_t version) {
        ReadString(in_, project_.LevelDescription);
        ReadString(in_, project_.Comments);
        ReadString(in_, project_.BaseLevelFile);
        ReadString(in_, project_.ItemsTableFile);
        ReadString(in_, project_.MeshesFile);
        if (version > OldestReadVersion) {
            ReadString(in_, project_.ScriptFile);
        }
        ReadString(in_, project_.OutputLevelFile);
        project_.CurrentRoom = in_.ReadU8();
        project_.RoomCount = in_.ReadU8();
        Check(project_.RoomCount, MaxRooms, "the room count");
        if constexpr (IsOutline) {
            project_.Rooms.resize(project_.RoomCount);
        }
        for (int r = 1; r <= project_.RoomCount; ++r) {
            ReadRoom(project_.Room(r), r);
        }
        in_.Skip(TrailerBytes);
        // A current room outside the rooms would point past them; the first room stands in.
        if (project_.CurrentRoom < 1 ||
            project_.CurrentRoom > std::max<int>(1, project_.RoomCount)) {
            project_.CurrentRoom = 1;
        }
    }

private:
    static constexpr bool IsOutline = std::is_same_v<Project, ProjectOutline>;

    void Check(int64_t value, int64_t limit, const std::string& what) const {
        if (value < 0 || value > limit) {
            throw IoError("Project file \"" + name_ + "\" refused: " + what + " is " +
                          std::to_string(value) + ", above the limit of " + std::to_string(limit) +
                          ".");
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
        const int sectors = int{room.ZSectors} * int{room.XSectors};
        Check(sectors, MaxSectors, "the sector grid (ZSectors x XSectors)" + of);
        if constexpr (IsOutline) {
            in_.Skip((sizeof(TGameSector) + sizeof(TEditorSector)) * std::size_t(sectors));
        } else {
            in_.ReadArray(room.GameSectors, sectors);
            in_.ReadArray(room.Sectors, sectors);
        }
        room.PortalViewCount = in_.ReadI32();
        if (room.PortalViewCount < 0) {
            throw IoError("Project file \"" + name_ + "\" refused: the portal view count" + of +
                          " is " + std::to_string(room.PortalViewCount) + ".");
        }
        Check(room.PortalViewCount, MaxPortalViews, "the portal view count" + of);
        if constexpr (IsOutline) {
            in_.Skip(sizeof(TPortalView) * std::size_t(room.PortalViewCount));
        } else {
            in_.ReadArray(room.PortalViews, room.PortalViewCount);
        }
        in_.Skip(TrailerBytes);
    }

    Project& project_;
    BinaryReader& in_;
    const std::string& name_;
};

// The magic and the version: whether the rest is read.
ProjectReadOutcome ReadProjectStart(BinaryReader& in) {
    TShortString<16> magic{};
    ReadString(in, magic);
    ProjectReadOutcome outcome;
    outcome.Version = in.ReadU8();
    if (outcome.Version < OldestReadVersion) {
        outcome.Result = ProjectReadResult::OldFormat;
    } else if (magic.Length != 16 || std::memcmp(magic.Chars, ProjectMagic, 16) != 0) {
        outcome.Result = ProjectReadResult::WrongMagic;
    }
    return outcome;
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
    const int sectors = std::min(room.SectorCount(), MaxSectors);
    out.WriteArray(room.GameSectors, sectors);
    out.WriteArray(room.Sectors, sectors);
    const int views = std::clamp(room.PortalViewCount, 0, MaxPortalViews);
    out.WriteI32(views);
    out.WriteArray(room.PortalViews, views);
    out.WriteZeros(TrailerBytes);
}

} // namespace

BuildSettings BuildSettingsOf(const TEditorProject& project) {
    return {project.LevelDescription.Str(), project.Comments.Str(),   project.BaseLevelFile.Str(),
            project.ItemsTableFile.Str(),   project.MeshesFile.Str(), project.ScriptFile.Str(),
            project.OutputLevelFile.Str()};
}

void StoreBuildSettings(TEditorProject& project, const BuildSettings& settings) {
    project.LevelDescription.Assign(settings.LevelDescription);
    project.Comments.Assign(settings.Comments);
    project.BaseLevelFile.Assign(settings.BaseLevelFile);
    project.ItemsTableFile.Assign(settings.ItemsTableFile);
    project.MeshesFile.Assign(settings.MeshesFile);
    project.ScriptFile.Assign(settings.ScriptFile);
    project.OutputLevelFile.Assign(settings.OutputLevelFile);
}

ProjectReadOutcome ReadProject(TEditorProject& project, BinaryReader& in, const std::string& name) {
    const ProjectReadOutcome outcome = ReadProjectStart(in);
    if (outcome.Result != ProjectReadResult::Done) {
        return outcome;
    }
    auto scratch = std::make_unique<TEditorProject>();
    ProjectFileReader(*scratch, in, name).ReadSettingsAndRooms(outcome.Version);
    project.ReplaceWith(*scratch);
    return outcome;
}

ProjectReadOutcome ReadProjectOutline(ProjectOutline& outline, BinaryReader& in,
                                      const std::string& name) {
    const ProjectReadOutcome outcome = ReadProjectStart(in);
    if (outcome.Result != ProjectReadResult::Done) {
        return outcome;
    }
    ProjectOutline scratch;
    ProjectFileReader(scratch, in, name).ReadSettingsAndRooms(outcome.Version);
    scratch.Version = outcome.Version;
    outline = std::move(scratch);
    return outcome;
}

ProjectReadOutcome ReadProjectOutlineFile(ProjectOutline& outline, const std::string& path) {
    BinaryReader in = BinaryReader::OpenFile(path);
    return ReadProjectOutline(outline, in, path);
}

ProjectOutline OutlineOf(const TEditorProject& project, uint8_t version) {
    ProjectOutline outline;
    outline.Version = version;
    outline.LevelDescription = project.LevelDescription;
    outline.Comments = project.Comments;
    outline.BaseLevelFile = project.BaseLevelFile;
    outline.ItemsTableFile = project.ItemsTableFile;
    outline.MeshesFile = project.MeshesFile;
    outline.ScriptFile = project.ScriptFile;
    outline.OutputLevelFile = project.OutputLevelFile;
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
    return outline;
}

ProjectReadOutcome ReadProjectFile(TEditorProject& project, const std::string& path) {
    BinaryReader in = BinaryReader::OpenFile(path);
    return ReadProject(project, in, path);
}

void WriteProjectFile(const TEditorProject& project, const std::string& path) {
    AtomicFileWriter file(path);
    BinaryWriter& out = file.Writer();
    TShortString<16> magic{};
    magic.Assign(ProjectMagic);
    WriteString(out, magic);
    out.WriteU8(ProjectFileVersion);
    WriteString(out, project.LevelDescription);
    WriteString(out, project.Comments);
    WriteString(out, project.BaseLevelFile);
    WriteString(out, project.ItemsTableFile);
    WriteString(out, project.MeshesFile);
    WriteString(out, project.ScriptFile);
    WriteString(out, project.OutputLevelFile);
    out.WriteU8(project.CurrentRoom);
    const int rooms = std::min<int>(project.RoomCount, MaxRooms);
    out.WriteU8(static_cast<uint8_t>(rooms));
    for (int r = 1; r <= rooms; ++r) {
        WriteRoom(out, project.Room(r));
    }
    out.WriteZeros(TrailerBytes);
    file.Commit();
}

OpenProjectOutcome OpenProject(TEditorProject& project, SceneRooms& scene,
                               const std::string& path) {
    OpenProjectOutcome outcome;
    outcome.Read = ReadProjectFile(project, path);
    switch (outcome.Read.Result) {
    case ProjectReadResult::OldFormat:
        outcome.Message = OldFormatText;
        return outcome;
    case ProjectReadResult::WrongMagic:
        outcome.Message = ErrorOpeningText;
        return outcome;
    case ProjectReadResult::Done:
        break;
    }
    scene = SceneRooms{project.CurrentRoom, 0, 0};
    outcome.Window.ToolBar = ToolBarValues(project);
    outcome.Window.Redraw = true;
    outcome.Caption = CaptionWithFile(path);
    outcome.Settings = BuildSettingsOf(project);
    const std::string base = project.BaseLevelFile.Str();
    if (FileExists(base)) {
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
