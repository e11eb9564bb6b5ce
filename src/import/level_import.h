#pragma once

#include "document/project.h"
#include "level/level_data.h"

#include <string>
#include <vector>

namespace morvane {

// How much of a level came over into the project. A room or sector is whole when the project
// builds it back as it was (heights and slopes of floor and ceiling, links, portals), clipped
// when it came over with something cut or made to the nearest the project can hold, skipped when
// it did not come over at all.
struct ImportCounts {
    int RoomsWhole = 0, RoomsClipped = 0, RoomsSkipped = 0;
    int SectorsWhole = 0, SectorsClipped = 0, SectorsSkipped = 0;
    // The faces of the imported rooms, and those that gave a sector slot its texture.
    int Faces = 0, FacesUsed = 0;
    int RoomsImported() const { return RoomsWhole + RoomsClipped; }
};

// One line for the status bar and the command line: "94 rooms imported (3 whole, 91 clipped),
// 0 skipped; 4299 sectors (3511 whole, 788 clipped), 0 skipped; 6861 of 7274 faces used."
std::string ImportSummary(const ImportCounts& counts);

struct ImportResult {
    // What did not come over as it was, each naming the level room and the reason.
    std::vector<std::string> Messages;
    ImportCounts Counts;
    // Project room number (from 1) of each level room (from 0); 0 for a skipped room.
    std::vector<int> ProjectRoomOf;
};

// Makes a project of the level's rooms: the project is cleared, then each level room becomes a
// project room (at most 128), numbered in level order without gaps, named "Room #" and its level
// room number:
// - position: x and z in sectors, PosY and Height from the room's lowest and highest y;
// - the grid (at most 32 sectors a side), each sector's floor and ceiling as a level and a shape
//   (the height gives the level, the slants of the floor data the shape), its links to the rooms
//   below and above and its wall portal from the floor data;
// - portal views from the room's portals (at most 20);
// - each sector slot's texture and light from the level's face there; a slot whose face the
//   sector's shape does not show takes the room's default texture of its kind (the texture most
//   faces of that kind carry), a shown slot without a face in the level keeps no face (-1);
// - the water, wind, quicksand and sky flags and the ambient light;
// - the level's items, cameras, static meshes and lights as the objects layer (x and z from the
//   room's corner, the level's y, not on the floor), Lara's item as her start; what the layer
//   cannot hold (a room not imported, a place outside the room's grid, a limit) is reported;
// - the trigger and kill entries of the sectors as the trigger layer (see trigger_import.h), what
//   the layer cannot hold reported.
// The project's base level is `baseLevelFile`; the output level is left empty.
ImportResult ImportLevelRooms(const TLevelData& level, TEditorProject& project,
                              const std::string& baseLevelFile);

struct LevelFileImport {
    std::string Refusal; // why the file was not read; nothing was imported then
    ImportResult Result;
    bool Imported() const { return Refusal.empty() && Result.Counts.RoomsImported() > 0; }
};

// "Import Rooms from Level": reads the level into the record as the base level (its name becomes
// the record's LastBaseLevelName; a refused file leaves the record empty, as opening a base level
// does) and makes a project of its rooms. The project is replaced only when at least one room
// came over; otherwise it is left as it was.
LevelFileImport ImportLevelFile(const std::string& path, TLevelData& level,
                                TEditorProject& project);

} // namespace morvane
