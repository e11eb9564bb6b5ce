#include "demo/demo_project.h"

#include "document/doorways.h"
#include "document/object_operations.h"
#include "document/project_file.h"
#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "document/sector_tools.h"
#include "level/world_units.h"

namespace morvane::demo {

namespace {

// Texture numbers as the tool bar shows them: the demo level's first sixteen 64 x 64 textures.
enum Texture {
    Bricks = 1,
    StoneBlocks,
    Cobbles,
    Planks,
    Grass,
    Dirt,
    Sand,
    Water,
    Metal,
    Tiles,
    Marble,
    MossyStone,
    Lava,
    Ice,
    GoldPanel,
    Crate,
};

constexpr int16_t LaraType = 0;
constexpr uint16_t FacingEast = 0x4000; // a quarter turn from north (+z) to +x

struct Builder {
    TEditorProject& project;
    SceneRooms scene;
    SectorToolState tools;

    TEditorRoom& Room(const std::string& name, int length, int width, int x, int y, int z,
                      int height, int floor, int walls, int ceiling, int ceilingWalls) {
        RoomDialogValues values = RoomAt(length, width, x, y, z, height);
        values.Name = name;
        values.AmbientLight = 12;
        values.FloorTop = floor;
        values.FloorWalls = walls;
        values.CeilingTop = ceiling;
        values.CeilingWalls = ceilingWalls;
        AddRoom(project, scene, values);
        return project.Current();
    }
    void Select(int room) { SelectRoom(project, scene, room - 1); }
    void Floor(int x, int z, int shape, int level, int texture, bool turned = false) {
        tools.SelectedShape = shape;
        tools.FloorTexture = texture;
        scene.HeightSelector = level;
        EditClick(project, scene, tools,
                  ViewHit::OfSector(SectorNumber(x, z, project.Current().ZSectors)), false, turned);
    }
    void Ceiling(int x, int z, int shape, int below, int texture) {
        tools.SelectedShape = shape;
        tools.CeilingTexture = texture;
        scene.HeightSelector = below;
        EditClick(project, scene, tools,
                  ViewHit::OfSector(SectorNumber(x, z, project.Current().ZSectors)), true, false);
    }
};

} // namespace

void MakeDemoProject(TEditorProject& project, const std::string& baseLevel,
                     const std::string& outputLevel) {
    project.Clear();
    Builder b{project, {}, {}};
    b.tools.PutPortals = false;

    // 1: the hall.
    b.Room("Great Hall", 10, 12, 20, 20, 20, 5, Cobbles, Bricks, StoneBlocks, Bricks);
    b.tools.FloorWalls = Bricks;
    b.tools.CeilingWalls = Bricks;
    for (int x = 8; x <= 11; ++x) { // a dais one level up, reached by a ramp
        for (int z = 2; z <= 4; ++z) {
            b.Floor(x, z, 4, 1, Tiles);
        }
        b.Floor(x, 5, 7, 0, Marble); // shape 7 rises toward the dais
    }
    b.tools.FloorWalls = StoneBlocks;
    b.Floor(5, 5, 0, 2, StoneBlocks); // a pillar
    b.Floor(5, 6, 0, 2, StoneBlocks);
    for (int x = 2; x <= 4; ++x) { // steps down the other side
        b.Floor(x, 8, 3, 0, Planks);
        b.Floor(x, 9, 1, 0, Planks);
    }
    b.tools.CeilingWalls = GoldPanel;
    for (int x = 2; x <= 11; ++x) { // the ceiling slopes down along the first row
        b.Ceiling(x, 2, 9, 1, GoldPanel);
    }
    b.Floor(3, 3, 5, 0, Crate, true);
    b.Floor(4, 3, 6, 0, Crate, true);

    // 2: a water room beside the hall.
    b.Room("Pool", 8, 8, 0, 20, 0, 4, Water, MossyStone, StoneBlocks, MossyStone);
    project.Current().Water = 1;
    SendRoomTo(project, SendDirection::Right, 1);
    project.Current().PosZ += 1;

    // 3: a gallery on top of the hall.
    b.Room("Gallery", 8, 8, 0, 30, 0, 3, Planks, GoldPanel, Marble, GoldPanel);
    SendRoomTo(project, SendDirection::Up, 1);
    project.Current().PosX += 2;
    project.Current().PosZ += 1;

    // Wall portals between the hall's last column and the pool's first open one: the border
    // sectors there are opened and linked.
    b.tools.PutPortals = true;
    b.Select(1);
    b.tools.SetRoomSide(2);
    for (int z = 3; z <= 8; ++z) {
        b.Floor(12, z, 0, 0, Cobbles);
    }
    b.tools.SetRoomSide(0);
    b.tools.SetRoomAbove(3);
    b.tools.PutShapes = false;
    b.Ceiling(6, 6, 0, 0, StoneBlocks);
    b.Ceiling(7, 6, 0, 0, StoneBlocks);

    b.Select(2);
    b.tools.PutShapes = true;
    b.tools.SetRoomAbove(0);
    b.tools.SetRoomSide(1);
    for (int z = 2; z <= 7; ++z) {
        b.Floor(1, z, 0, 0, Water);
    }

    b.Select(3);
    b.tools.PutShapes = false;
    b.tools.SetRoomSide(0);
    b.tools.SetRoomBelow(1);
    b.Floor(4, 5, 0, 0, Planks);
    b.Floor(5, 5, 0, 0, Planks);

    // The portal views lie on the doorways: the plane between each wall-portal run and its
    // room's inside, and the floor and ceiling links.
    MakePortalViews(project, PortalViewScope::AllRooms);

    // Lara starts on the hall's open floor, facing the doorway to the pool: a walk ahead takes
    // her past the dais's ramp into the water.
    TEditorObject lara = NewObject(ObjectKind::Item, 1, 6 * SectorSize + SectorSize / 2,
                                   6 * SectorSize + SectorSize / 2, LaraType);
    lara.Angle = FacingEast;
    PlaceObject(project, lara);

    b.Select(1);
    BuildSettings settings;
    settings.LevelDescription = "Morvane3D demo: a hall, a pool and a gallery";
    settings.Comments = "Made by morvane3d-cli make-demo-project";
    settings.BaseLevelFile = baseLevel;
    settings.OutputLevelFile = outputLevel;
    StoreBuildSettings(project, settings);
}

} // namespace morvane::demo
