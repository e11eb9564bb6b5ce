#pragma once

#include "document/project.h"
#include "document/scene_rooms.h"
#include "document/tool_bar_view.h"

#include <cstdint>
#include <optional>
#include <string>

namespace morvane {

class BinaryReader;

inline constexpr uint8_t ProjectFileVersion = 5;
inline constexpr const char* ProjectMagic = "Quillon Mvn file";

// The seven build settings as the "Build Level File" dialog edits them.
struct BuildSettings {
    std::string LevelDescription;
    std::string Comments;
    std::string BaseLevelFile;
    std::string ItemsTableFile;
    std::string MeshesFile;
    std::string ScriptFile;
    std::string OutputLevelFile;

    bool operator==(const BuildSettings&) const = default;
};

BuildSettings BuildSettingsOf(const TEditorProject& project);
// Stores the settings in the document, each cut to its capacity (250 for the comments, 100 for
// the others).
void StoreBuildSettings(TEditorProject& project, const BuildSettings& settings);

enum class ProjectReadResult {
    Done,
    OldFormat,  // version below 4: " Old 2D file format not supported "
    WrongMagic, // not a project file: the caller shows "Error Opening the file!"
};

struct ProjectReadOutcome {
    ProjectReadResult Result = ProjectReadResult::Done;
    uint8_t Version = 0; // as stored in the file
};

// Reads a project file into the document, all or nothing: the file is read into a scratch
// record that replaces the document only when the whole file was read. Versions 4 and 5 are read
// (any version above 4 as 5). A file that ends early throws IoError "Read beyond end of file"; a
// room count, grid or portal-view count beyond the document's capacities throws IoError naming
// the file and the limit. In every case but Done the document is untouched.
ProjectReadOutcome ReadProjectFile(TEditorProject& project, const std::string& path);
ProjectReadOutcome ReadProject(TEditorProject& project, BinaryReader& in, const std::string& name);

// Writes the document as a version-5 project file; the target is replaced only by a complete
// file. Throws IoError when it cannot be written.
void WriteProjectFile(const TEditorProject& project, const std::string& path);

// Opening a project as the editor does it: read the file, then reset the view's rooms and give
// the windows what they show.
struct OpenProjectOutcome {
    ProjectReadOutcome Read;
    std::string Message;    // to show; empty when the project was opened
    DocumentOutcome Window; // tool bar, redraw (when opened)
    std::string Caption;    // main window caption (when opened)
    BuildSettings Settings; // for the build dialog's edits (when opened)
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
