#include "levelbuild/build_checks.h"

#include "document/doorways.h"
#include "document/flip_map_operations.h"
#include "document/sector_heights.h"
#include "document/sector_numbering.h"
#include "level/world_units.h"

#include <algorithm>
#include <string>

namespace morvane {

namespace {

constexpr const char* FacingNames[] = {"", "Front", "Back", "Left", "Right", "Ceiling", "Floor"};
constexpr int UsualColumn = 4; // Lara's usual spot: 3072 and 1536 units into the room
constexpr int UsualRow = 2;

LevelFinding Warning(const TEditorProject& project, int room, std::string text) {
    LevelFinding finding;
    finding.Room = room;
    finding.RoomName = project.Room(room).Name.Str();
    finding.Text = std::move(text);
    return finding;
}

LevelFinding SectorWarning(const TEditorProject& project, int room, int column, int row,
                           std::string text) {
    LevelFinding finding = Warning(project, room, std::move(text));
    finding.Column = column;
    finding.Row = row;
    return finding;
}

std::string Room(const TEditorProject& project, int room) {
    return RoomLabel(room, project.Room(room).Name.Str());
}

std::string Place(int column, int row) {
    return "column " + std::to_string(column) + ", row " + std::to_string(row);
}

// The sector of room `other` over the world cell (x, z) in sectors, or 0 outside its grid.
int SectorAtCell(const TEditorRoom& other, int x, int z, int& column, int& row) {
    column = x - other.PosX + 1;
    row = z - other.PosZ + 1;
    if (column < 1 || column > other.XSectors || row < 1 || row > other.ZSectors ||
        other.SectorCount() > MaxSectors) {
        return 0;
    }
    return SectorNumber(column, row, other.ZSectors);
}

// Whether a link to `target` comes back to room r: to r itself or, for an alternate room, to the
// original it stands in for while the flip is on (its neighbours link to the original).
bool ComesBackTo(const TEditorProject& project, int target, int r) {
    return target == r || (target != 0 && target == OriginalOf(project, r));
}

class OpeningChecker {
public:
    explicit OpeningChecker(const TEditorProject& project) : project_(project) {}

    std::vector<LevelFinding> Run() {
        for (int r = 1; r <= project_.RoomCount; ++r) {
            const TEditorRoom& room = project_.Room(r);
            if (room.SectorCount() > MaxSectors) {
                continue;
            }
            for (int n = 1; n <= room.SectorCount(); ++n) {
                const TGameSector& g = room.GameSector(n);
                const bool side = room.Sector(n).PortalKind == PortalKindSide;
                if (side && g.RoomAbove != NoRoom) {
                    WallPortal(r, n, g.RoomAbove + 1);
                }
                if (g.RoomBelow != NoRoom) {
                    Link(r, n, g.RoomBelow + 1, true);
                }
                if (!side && g.RoomAbove != NoRoom) {
                    Link(r, n, g.RoomAbove + 1, false);
                }
            }
        }
        return std::move(found_);
    }

private:
    bool Valid(int target) const { return target >= 1 && target <= project_.RoomCount; }

    // A wall portal from a border sector answers when the room beside has a wall portal back in
    // the sector that lies over this room's sector inside, next to it.
    void WallPortal(int r, int n, int target) {
        const TEditorRoom& room = project_.Room(r);
        const int column = SectorColumn(n, room.ZSectors), row = SectorRow(n, room.ZSectors);
        if (!Valid(target) || target == r) {
            return; // the build refuses links to missing rooms; the level check reports the rest
        }
        const TEditorRoom& other = project_.Room(target);
        std::vector<std::pair<int, int>> steps; // toward the room's inside
        if (column == 1) {
            steps.push_back({1, 0});
        }
        if (column == room.XSectors) {
            steps.push_back({-1, 0});
        }
        if (row == 1) {
            steps.push_back({0, 1});
        }
        if (row == room.ZSectors) {
            steps.push_back({0, -1});
        }
        if (steps.empty()) {
            return; // a portal inside the room: no side to answer from
        }
        const int x = room.PosX + column - 1, z = room.PosZ + row - 1;
        int backColumn = 0, backRow = 0;
        for (const auto& [dx, dz] : steps) {
            int c = 0, w = 0;
            const int back = SectorAtCell(other, x + dx, z + dz, c, w);
            if (back != 0 && other.Sector(back).PortalKind == PortalKindSide &&
                ComesBackTo(project_, other.GameSector(back).RoomAbove + 1, r)) {
                return;
            }
            if (backColumn == 0) {
                backColumn = c;
                backRow = w;
            }
        }
        found_.push_back(SectorWarning(
            project_, r, column, row,
            "its wall portal to " + Room(project_, target) + " has no wall portal back: " +
                Room(project_, target) + " needs one at " + Place(backColumn, backRow) +
                ", where it overlaps this room's sector inside, or Lara cannot walk back. "
                "Give that sector a wall portal to room " +
                std::to_string(r) + ", or place the rooms so that they overlap by two sectors."));
    }

    void Link(int r, int n, int target, bool below) {
        const TEditorRoom& room = project_.Room(r);
        if (!Valid(target) || target == r) {
            return;
        }
        const int column = SectorColumn(n, room.ZSectors), row = SectorRow(n, room.ZSectors);
        const TEditorRoom& other = project_.Room(target);
        int c = 0, w = 0;
        const int there = SectorAtCell(other, room.PosX + column - 1, room.PosZ + row - 1, c, w);
        if (there == 0) {
            return; // the level check reports a link outside its room
        }
        const TGameSector& g = other.GameSector(there);
        const bool answers = below ? ComesBackTo(project_, g.RoomAbove + 1, r) &&
                                         other.Sector(there).PortalKind != PortalKindSide
                                   : ComesBackTo(project_, g.RoomBelow + 1, r);
        const char* where = below ? "below" : "above";
        if (!answers) {
            found_.push_back(SectorWarning(
                project_, r, column, row,
                std::string("its link to ") + Room(project_, target) + " " + where +
                    " has no link back: " + Room(project_, target) + " needs a room " +
                    (below ? "above" : "below") + " link to room " + std::to_string(r) + " at " +
                    Place(c, w) + ", or the doorway works one way only. Set it there."));
            return;
        }
        const int mine = below ? FloorY(room, n) : CeilingY(room, n);
        const int theirs = below ? CeilingY(other, there) : FloorY(other, there);
        if (mine != theirs) {
            found_.push_back(SectorWarning(
                project_, r, column, row,
                std::string(below ? "its floor" : "its ceiling") + " (y " + std::to_string(mine) +
                    ") does not meet the " + (below ? "ceiling" : "floor") + " of " +
                    Room(project_, target) + " " + where + " (y " + std::to_string(theirs) + ", " +
                    Place(c, w) + "): passing through jumps " +
                    std::to_string(std::abs(mine - theirs)) +
                    " units. Move one of the rooms so that they meet (Send to " +
                    (below ? "Down" : "Up") + ")."));
        }
    }

    const TEditorProject& project_;
    std::vector<LevelFinding> found_;
};

// The view's plane agrees with the doorway's: the same facing and, for walls, the same border.
bool OnPlane(const TPortalView& view, const Doorway& door) {
    if (view.Facing != door.View.Facing) {
        return false;
    }
    switch (view.Facing) {
    case PortalFacingLeft:
    case PortalFacingRight:
        return view.OriginX == door.FirstColumn;
    case PortalFacingFront:
    case PortalFacingBack:
        return view.OriginZ == door.FirstRow;
    default:
        return true;
    }
}

bool Overlaps(const ViewSpan& s, const Doorway& d) {
    return s.FirstColumn <= d.LastColumn && d.FirstColumn <= s.LastColumn &&
           s.FirstRow <= d.LastRow && d.FirstRow <= s.LastRow;
}

bool Covers(const ViewSpan& s, const Doorway& d) {
    return s.FirstColumn <= d.FirstColumn && s.LastColumn >= d.LastColumn &&
           s.FirstRow <= d.FirstRow && s.LastRow >= d.LastRow;
}

std::string ViewFor(const Doorway& door) {
    const TPortalView& v = door.View;
    return "a " + std::string(FacingNames[v.Facing]) + " view with its origin at " +
           Place(v.OriginX, v.OriginZ) + ", " + std::to_string(v.WidthTiles) + " wide and " +
           std::to_string(v.HeightTiles) + " high";
}

constexpr const char* MakeViewsAdvice = " (Make Portal Views makes it).";

// What is wrong with a view on its doorway's plane, or an empty text.
std::string OnDoorwayProblem(const TEditorProject& project, int r, const TPortalView& view,
                             const Doorway& d) {
    const TEditorRoom& room = project.Room(r);
    const ViewSpan span = SpanOfView(view);
    if (!Covers(span, d)) {
        return "covers only part of its doorway (columns " + std::to_string(d.FirstColumn) +
               " to " + std::to_string(d.LastColumn) + ", rows " + std::to_string(d.FirstRow) +
               " to " + std::to_string(d.LastRow) + "): the rest of the doorway shows nothing. " +
               "It should be " + ViewFor(d) + MakeViewsAdvice;
    }
    if (d.Kind == DoorwayKind::Wall) {
        // The level's view stands on the opening's floor and reaches as high as its height
        // from its origin sector's floor.
        const int bottom = d.BottomY;
        const int top =
            BuiltFloorY(project, r, SectorNumber(view.OriginX, view.OriginZ, room.ZSectors)) -
            view.HeightTiles * SectorSize;
        if (top > d.TopY) {
            return "spans y " + std::to_string(top) + " to " + std::to_string(bottom) +
                   " but its doorway opens from y " + std::to_string(d.TopY) + " to " +
                   std::to_string(d.BottomY) + ": the rest shows nothing. It should be " +
                   ViewFor(d) + MakeViewsAdvice;
        }
        return "";
    }
    const int plane = d.Kind == DoorwayKind::Floor ? RoomBottomY(room) : RoomTopY(room);
    // Linked sectors that meet the other room's at one height carry the view.
    if ((d.TopY != plane || d.BottomY != plane) && LinkViewY(project, r, view) == plane) {
        return std::string("lies on the room's ") +
               (d.Kind == DoorwayKind::Floor ? "bottom" : "top") + " (y " + std::to_string(plane) +
               ") but its linked sectors' " +
               (d.Kind == DoorwayKind::Floor ? "floors" : "ceilings") + " lie at y " +
               std::to_string(d.TopY) +
               (d.TopY != d.BottomY ? " to " + std::to_string(d.BottomY) : std::string()) +
               ": the view is off the opening. Put those " +
               (d.Kind == DoorwayKind::Floor ? "floors at the room's bottom."
                                             : "ceilings at the room's top.");
    }
    return "";
}

} // namespace

std::vector<LevelFinding> CheckOpenings(const TEditorProject& project) {
    return OpeningChecker(project).Run();
}

std::vector<LevelFinding> CheckPortalViews(const TEditorProject& project) {
    std::vector<LevelFinding> found;
    for (int r = 1; r <= project.RoomCount; ++r) {
        const TEditorRoom& room = project.Room(r);
        const int count = std::clamp(room.PortalViewCount, 0, MaxPortalViews);
        if (count == 0) {
            continue;
        }
        const std::vector<Doorway> doorways = FindDoorways(project, r);
        for (int d = 1; d <= count; ++d) {
            const TPortalView& view = room.PortalView(d);
            const int target = view.TargetRoom;
            if (target < 1 || target > project.RoomCount) {
                continue; // the build refuses it
            }
            auto add = [&](const std::string& text) {
                LevelFinding finding = Warning(project, r, "the view " + text);
                finding.View = d;
                found.push_back(std::move(finding));
            };
            std::vector<const Doorway*> toTarget;
            for (const Doorway& door : doorways) {
                if (door.TargetRoom == target) {
                    toTarget.push_back(&door);
                }
            }
            if (view.Facing < PortalFacingFront || view.Facing > PortalFacingFloor) {
                add("has no facing (" + std::to_string(view.Facing) +
                    "): the game gets no portal. Choose one of Front, Back, Left, Right, "
                    "Ceiling, Floor.");
            } else if (toTarget.empty()) {
                add("shows " + Room(project, target) + ", but this room has no opening to it " +
                    "(no wall portal along a side, no floor or ceiling link): the view shows "
                    "the room through a wall. Remove the view or open a doorway.");
            } else {
                const ViewSpan span = SpanOfView(view);
                const Doorway* on = nullptr;
                for (const Doorway* door : toTarget) {
                    if (OnPlane(view, *door) && Overlaps(span, *door)) {
                        on = door;
                        break;
                    }
                }
                if (on == nullptr) {
                    add("to " + Room(project, target) + " lies off the doorway" +
                        (toTarget.size() > 1 ? "s" : "") + " to that room: the doorway shows " +
                        "nothing. It should be " + ViewFor(*toTarget.front()) + MakeViewsAdvice);
                } else if (const std::string problem = OnDoorwayProblem(project, r, view, *on);
                           !problem.empty()) {
                    add("to " + Room(project, target) + " " + problem);
                }
            }
            const TEditorRoom& other = project.Room(target);
            bool back = false;
            for (int b = 1; b <= std::clamp(other.PortalViewCount, 0, MaxPortalViews); ++b) {
                back = back || ComesBackTo(project, other.PortalView(b).TargetRoom, r);
            }
            if (!back) {
                add("to " + Room(project, target) + " has no view back from that room: seen " +
                    "from there the doorway shows nothing. Give " + Room(project, target) +
                    " a view toward room " + std::to_string(r) + MakeViewsAdvice);
            }
        }
    }
    return found;
}

std::vector<LevelFinding> CheckPlayerPlacement(const TEditorProject& project,
                                               const PlayerPlacement& placed) {
    if (!placed.Fallback) {
        return {};
    }
    const int r = project.CurrentRoom;
    const TEditorRoom& room = project.Room(r);
    const bool inside = UsualColumn <= room.XSectors && UsualRow <= room.ZSectors;
    const std::string usual = "Lara's usual start in the current room, " +
                              Place(UsualColumn, UsualRow) +
                              (inside ? ", is not an open sector"
                                      : ", lies outside this " + std::to_string(room.XSectors) +
                                            " x " + std::to_string(room.ZSectors) + " room");
    if (placed.NoOpenSector) {
        return {SectorWarning(project, r, placed.Column, placed.Row,
                              usual + ", and the room has no open sector: she starts in a "
                                      "wall. Open a sector of this room, or make current the "
                                      "room she should start in.")};
    }
    return {SectorWarning(project, r, placed.Column, placed.Row,
                          usual + ": she starts in the middle of " +
                              Place(placed.Column, placed.Row) + " instead. Open " +
                              Place(UsualColumn, UsualRow) +
                              " or make current the room she should start in.")};
}

std::vector<LevelFinding> CheckRoomCapacities(const TEditorProject& project,
                                              const TLevelData& level) {
    std::vector<LevelFinding> found;
    for (int r = 1; r <= project.RoomCount && r <= level.NumRooms; ++r) {
        const TLevelRoom& room = level.Rooms[r - 1];
        const struct {
            int Used, Limit;
            const char* What;
        } counts[] = {{room.NumVertices, MaxRoomVertices, "vertices"},
                      {room.NumRectangles, MaxRoomRectangles, "rectangles"},
                      {room.NumTriangles, MaxRoomTriangles, "triangles"}};
        for (const auto& count : counts) {
            if (count.Used * 10 >= count.Limit * 9) {
                found.push_back(Warning(
                    project, r,
                    "the room uses " + std::to_string(count.Used) + " of the " +
                        std::to_string(count.Limit) + " " + count.What +
                        " a room can have: a little more detail and the build stops. Split the "
                        "room or make it simpler."));
            }
        }
    }
    return found;
}

std::vector<LevelFinding> CheckSectorTextures(const TEditorProject& project,
                                              const TLevelData& level) {
    std::vector<LevelFinding> found;
    const int64_t textures = level.NumObjectTextures;
    for (int r = 1; r <= project.RoomCount; ++r) {
        const TEditorRoom& room = project.Room(r);
        int sectors = 0, first = 0;
        int64_t firstTexture = 0;
        for (int n = 1; n <= room.SectorCount() && n <= MaxSectors; ++n) {
            const TEditorSector& sector = room.Sector(n);
            // The records are packed: their textures are read as values, one by one.
            for (const TSectorSurface* side : {&sector.FloorSurface, &sector.CeilingSurface}) {
                int64_t beyond = -1;
                for (int slot = 0; slot < 5 && beyond < 0; ++slot) {
                    const int32_t texture = side->Textures[slot];
                    if (texture >= textures) {
                        beyond = texture;
                    }
                }
                if (beyond >= 0) {
                    if (sectors++ == 0) {
                        first = n;
                        firstTexture = beyond;
                    }
                    break;
                }
            }
        }
        if (sectors > 0) {
            found.push_back(SectorWarning(
                project, r, SectorColumn(first, room.ZSectors), SectorRow(first, room.ZSectors),
                "texture " + std::to_string(firstTexture + 1) + " is beyond the level's " +
                    std::to_string(textures) + " object textures" +
                    (sectors > 1 ? " (and so are textures of " + std::to_string(sectors - 1) +
                                       " more sectors of the room)"
                                 : "") +
                    ": give them textures of the base level."));
        }
    }
    return found;
}

} // namespace morvane
