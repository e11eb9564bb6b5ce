#pragma once

#include "document/object_operations.h"
#include "document/project.h"
#include "document/scene_rooms.h"
#include "document/tool_bar_view.h"
#include "io/read_result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

class BinaryReader;

inline constexpr uint8_t ProjectFileVersion = 5;
// How messages name a project file: Project file "X" refused: ...
inline constexpr const char* ProjectFileKind = "Project file";
inline constexpr const char* ProjectMagic = "Quillon Mvn file";

BuildSettings BuildSettingsOf(const TEditorProject& project);
// Stores the settings in the document, each cut to its capacity (250 for the comments, 100 for
// the others).
void StoreBuildSettings(TEditorProject& project, const BuildSettings& settings);

// The outcome of a project read: Done, OldVersion (below 4: Project file "X" refused:  Old 2D
// file format not supported ) or OtherKind (not a project file: Project file "X" refused: Error
// Opening the file!), and the version stored in the file.
struct ProjectReadOutcome : ReadResult {
    uint8_t Version = 0;
};

// Reads a project file into the document, all or nothing: the file is read into a scratch
// record that replaces the document only when the whole file was read. Versions 4 and 5 are read
// (any version above 4 as 5). Every IoError names the file (Project file "X" refused: ...): a
// file that ends early ("Read beyond end of file"), a room count, grid or portal-view count
// beyond the document's capacities, a room that breaks the room limits (see room_limits.h), a
// damaged or unknown block after the rooms, objects or triggers that break a field or a limit of
// their layer (see object_block.h), a path that is not a regular file. In every case but Done the
// document is untouched.
ProjectReadOutcome ReadProjectFile(TEditorProject& project, const std::string& path);
ProjectReadOutcome ReadProject(TEditorProject& project, BinaryReader& in, const std::string& name);

// A project file's settings and each room's own fields, without the sectors and portal views:
// what a summary of the file shows, for a fraction of the cost of reading the whole document.
struct RoomOutline {
    int32_t PosX = 0;
    int32_t PosZ = 0;
    TShortString<40> Name{};
    uint8_t PosY = 0;
    uint8_t Height = 0;
    int32_t DefaultTextures[10] = {};
    uint8_t SectorLight = 0;
    int32_t AmbientIntensity = 0;
    uint8_t Water = 0;
    uint8_t WindRain = 0;
    uint8_t Quicksand = 0;
    uint8_t Sky = 0;
    uint8_t Reserved[2] = {};
    uint16_t ZSectors = 0;
    uint16_t XSectors = 0;
    int32_t PortalViewCount = 0;

    bool operator==(const RoomOutline&) const = default;
};

struct ProjectOutline {
    uint8_t Version = 0; // as stored in the file
    TBuildSettings Settings{};
    uint8_t CurrentRoom = 1;
    uint8_t RoomCount = 0;
    std::vector<RoomOutline> Rooms; // RoomCount of them
    ObjectCounts Objects;           // the objects block's, by kind
    int AlternateRooms = 0;         // the alternate-rooms block's links (see flip_block.h)
    int Triggers = 0;               // the triggers block's

    RoomOutline& Room(int r) { return Rooms[static_cast<std::size_t>(r - 1)]; }
    const RoomOutline& Room(int r) const { return Rooms[static_cast<std::size_t>(r - 1)]; }
    bool operator==(const ProjectOutline&) const = default;
};

// Reads a project file's outline with the checks and outcomes of ReadProjectFile (the same
// refusals, the same IoError texts), skipping the sectors and portal views; all or nothing.
ProjectReadOutcome ReadProjectOutlineFile(ProjectOutline& outline, const std::string& path);
ProjectReadOutcome ReadProjectOutline(ProjectOutline& outline, BinaryReader& in,
                                      const std::string& name);
// The outline of a document in memory.
ProjectOutline OutlineOf(const TEditorProject& project, uint8_t version);

// Writes the document as a version-5 project file, followed by the objects block when the layer
// has objects (see object_block.h) and the alternate-rooms block when a room has an alternate
// (see flip_block.h); the target is replaced only by a complete
// file. Throws IoError naming the file when it cannot be written (Project file "X" not written:
// ...), also when the target is refused (see AtomicFileWriter).
void WriteProjectFile(const TEditorProject& project, const std::string& path);

// Opening a project as the editor does it: read the file, then reset the view's rooms and give
// the windows what they show.
struct OpenProjectOutcome {
    ProjectReadOutcome Read; // its Text is shown when the project was not opened
    DocumentOutcome Window;  // tool bar, redraw (when opened)
    std::string Caption;     // main window caption (when opened)
    BuildSettings Settings;  // for the build dialog's edits (when opened)
    // The base level named by the project, when that file exists: the caller reads it and
    // reloads the textures.
    std::optional<std::string> BaseLevelToRead;
};

OpenProjectOutcome OpenProject(TEditorProject& project, SceneRooms& scene, const std::string& path);

// Saving as the editor does it: the dialog's settings go into the document, the file being
// replaced is kept as its backup (NAME.mvn.bak, one generation), then the file is written.
// Returns the caption for the main window. Throws IoError; the previous file is then intact.
std::string SaveProject(TEditorProject& project, const BuildSettings& settings,
                        const std::string& path);

} // namespace morvane
