#include "import/random_project.h"

#include "document/portal_views.h"
#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "document/sector_tools.h"

namespace morvane::test {

namespace {

constexpr int HighestTop = 56;

class Maker {
public:
    Maker(TEditorProject& project, std::mt19937& random, int textureCount)
        : project_(project), random_(random), textures_(textureCount) {}

    void Make() {
        project_.Clear();
        const int rooms = Between(1, 6);
        for (int r = 0; r < rooms; ++r) {
            if (r > 0 && Chance(15)) {
                CloneRoom(project_);
                continue;
            }
            AddRandomRoom();
            if (r > 0 && Chance(30)) {
                const SendDirection directions[] = {SendDirection::Front, SendDirection::Back,
                                                    SendDirection::Left, SendDirection::Right,
                                                    SendDirection::Down};
                SendRoomTo(project_, directions[Between(0, 4)], Between(1, project_.RoomCount));
            }
        }
        for (int r = 1; r <= project_.RoomCount; ++r) {
            SelectRoom(project_, scene_, r - 1);
            const int clicks = Between(3, 40);
            for (int c = 0; c < clicks; ++c) {
                RandomClick();
            }
            const int views = project_.RoomCount > 1 ? Between(0, 3) : 0;
            for (int v = 0; v < views; ++v) {
                AddRandomView();
            }
        }
        ClearLinksThatMissTheirRoom();
        SelectRoom(project_, scene_, Between(0, project_.RoomCount - 1));
    }

private:
    int Between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    bool Chance(int percent) { return Between(1, 100) <= percent; }
    int Texture() { return Between(0, textures_); }
    // Another room than the current one, or 0 when there is none.
    int OtherRoom() {
        if (project_.RoomCount < 2) {
            return 0;
        }
        int room = Between(1, project_.RoomCount - 1);
        return room >= project_.CurrentRoom ? room + 1 : room;
    }

    void AddRandomRoom() {
        const int height = Between(2, 8);
        auto side = [&] { return Chance(10) ? Between(15, 31) : Between(1, 12); };
        RoomDialogValues values = RoomAt(side(), side(), Between(0, 200),
                                         Between(1, HighestTop - height), Between(0, 200), height);
        values.Name = NextRoomName(project_);
        values.AmbientLight = Between(0, 31);
        values.FloorTop = Texture();
        values.FloorWalls = Texture();
        values.CeilingTop = Texture();
        values.CeilingWalls = Texture();
        values.Water = Chance(20);
        values.Quicksand = Chance(10);
        values.WindRain = Chance(10);
        values.Sky = Chance(10);
        AddRoom(project_, scene_, values);
    }

    void RandomClick() {
        const TEditorRoom& room = project_.Current();
        SectorToolState tools;
        tools.SelectedShape = Between(0, 10);
        tools.ShapeMirror = Chance(50) ? 0 : 6;
        tools.ReplicationCount = Chance(70) ? 1 : Between(2, 5);
        tools.PutShapes = Chance(85);
        tools.PutTextures = Chance(70);
        tools.PutPortals = Chance(25);
        tools.FloorTexture = Texture();
        tools.FloorWalls = Texture();
        tools.CeilingTexture = Texture();
        tools.CeilingWalls = Texture();
        if (tools.PutPortals) {
            switch (Between(0, 3)) {
            case 0:
                tools.SetRoomAbove(OtherRoom());
                break;
            case 1:
                tools.SetRoomSide(OtherRoom());
                break;
            case 2:
                tools.SetRoomBelow(OtherRoom());
                break;
            default:
                break; // clears the links
            }
        }
        scene_.HeightSelector = Between(0, room.Height - 1);
        EditClick(project_, scene_, tools, ViewHit::OfSector(Between(1, room.SectorCount())),
                  Chance(40), Chance(30));
    }

    // The build refuses a level whose floor or ceiling link names a room that does not reach the
    // sector (the game would read outside that room's sectors): such random links are cleared as
    // a click without a room would clear them.
    void ClearLinksThatMissTheirRoom() {
        for (int r = 1; r <= project_.RoomCount; ++r) {
            TEditorRoom& room = project_.Room(r);
            for (int n = 1; n <= room.SectorCount(); ++n) {
                TGameSector& game = room.GameSector(n);
                const int x = room.PosX + SectorColumn(n, room.ZSectors) - 1;
                const int z = room.PosZ + SectorRow(n, room.ZSectors) - 1;
                auto misses = [&](uint8_t link) {
                    if (link == NoRoom || link >= project_.RoomCount) {
                        return false;
                    }
                    const TEditorRoom& other = project_.Room(link + 1);
                    return x < other.PosX || x >= other.PosX + other.XSectors || z < other.PosZ ||
                           z >= other.PosZ + other.ZSectors;
                };
                if (misses(game.RoomBelow)) {
                    game.RoomBelow = NoRoom;
                }
                if (room.Sector(n).PortalKind == PortalKindAbove && misses(game.RoomAbove)) {
                    game.RoomAbove = NoRoom;
                }
            }
        }
    }

    void AddRandomView() {
        const int target = OtherRoom();
        if (AddPortalView(project_, {target, Between(1, 4), Between(1, 4), Between(0, 5)})
                .Message.empty()) {
            PortalOriginClick(project_,
                              ViewHit::OfSector(Between(1, project_.Current().SectorCount())),
                              project_.Current().PortalViewCount);
        }
    }

    TEditorProject& project_;
    std::mt19937& random_;
    int textures_;
    SceneRooms scene_;
};

} // namespace

void MakeRandomProject(TEditorProject& project, std::mt19937& random, int textureCount) {
    Maker(project, random, textureCount).Make();
}

} // namespace morvane::test
