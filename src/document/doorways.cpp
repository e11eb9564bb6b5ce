#include "document/doorways.h"

#include "document/flip_map_operations.h"
#include "document/sector_heights.h"
#include "document/sector_numbering.h"
#include "level/world_units.h"

#include <algorithm>
#include <string>

namespace morvane {

namespace {

// The room (from 1) a sector's wall portal leads to, or 0.
int WallTarget(const TEditorProject& project, int room, const TEditorRoom& r, int n) {
    if (r.Sector(n).PortalKind != PortalKindSide || r.GameSector(n).RoomAbove == NoRoom) {
        return 0;
    }
    const int target = r.GameSector(n).RoomAbove + 1;
    return target != room && target <= project.RoomCount ? target : 0;
}

int LinkTarget(const TEditorProject& project, int room, const TEditorRoom& r, int n, bool below) {
    const TGameSector& g = r.GameSector(n);
    const uint8_t link = below ? g.RoomBelow : g.RoomAbove;
    if (link == NoRoom || (!below && r.Sector(n).PortalKind == PortalKindSide)) {
        return 0;
    }
    const int target = link + 1;
    return target != room && target <= project.RoomCount ? target : 0;
}

class DoorwayFinder {
public:
    DoorwayFinder(const TEditorProject& project, int room)
        : project_(project), number_(room), room_(project.Room(room)), nz_(room_.ZSectors),
          nx_(room_.XSectors) {}

    std::vector<Doorway> Find() {
        if (nz_ < 1 || nx_ < 1 || room_.SectorCount() > MaxSectors) {
            return {};
        }
        WallRuns(PortalFacingLeft, 1, true);
        WallRuns(PortalFacingRight, nx_, true);
        WallRuns(PortalFacingBack, 1, false);
        WallRuns(PortalFacingFront, nz_, false);
        LinkAreas(true);
        LinkAreas(false);
        return std::move(found_);
    }

private:
    int At(int column, int row) const { return SectorNumber(column, row, nz_); }

    // The border sector at position i along a side, and the sector inside next to it.
    void SideSectors(uint8_t facing, int line, int i, int& border, int& inside) const {
        switch (facing) {
        case PortalFacingLeft:
        case PortalFacingRight:
            border = At(line, i);
            inside = At(facing == PortalFacingLeft ? line + 1 : line - 1, i);
            break;
        default:
            border = At(i, line);
            inside = At(i, facing == PortalFacingBack ? line + 1 : line - 1);
            break;
        }
    }

    // A run's sector with the heights the level gives it: those of the sector beyond it.
    int BorderFloorY(int border) const { return BuiltFloorY(project_, number_, border); }
    int BorderCeilingY(int border) const { return BuiltCeilingY(project_, number_, border); }

    void WallRuns(uint8_t facing, int line, bool alongRows) {
        const int length = alongRows ? nz_ : nx_;
        if ((alongRows ? nx_ : nz_) < 2) {
            return; // no sector inside
        }
        std::vector<int> targets(length + 2, 0);
        for (int i = 1; i <= length; ++i) {
            int border = 0, inside = 0;
            SideSectors(facing, line, i, border, inside);
            targets[i] = WallTarget(project_, number_, room_, border);
        }
        // A corner belongs to a side only as part of a longer run along it.
        for (int corner : {1, length}) {
            const int next = corner == 1 ? 2 : length - 1;
            if (length < 2 || targets[next] != targets[corner]) {
                targets[corner] = 0;
            }
        }
        for (int i = 1; i <= length;) {
            if (targets[i] == 0) {
                ++i;
                continue;
            }
            int last = i;
            while (last + 1 <= length && targets[last + 1] == targets[i]) {
                ++last;
            }
            found_.push_back(AddWallRun(facing, line, alongRows, i, last, targets[i]));
            i = last + 1;
        }
    }

    Doorway AddWallRun(uint8_t facing, int line, bool alongRows, int first, int last,
                       int target) const {
        Doorway door;
        door.Kind = DoorwayKind::Wall;
        door.TargetRoom = target;
        door.FirstColumn = alongRows ? line : first;
        door.LastColumn = alongRows ? line : last;
        door.FirstRow = alongRows ? first : line;
        door.LastRow = alongRows ? last : line;
        door.TopY = 32767;
        door.BottomY = -32768;
        for (int i = first; i <= last; ++i) {
            int border = 0, inside = 0;
            SideSectors(facing, line, i, border, inside);
            const int bottom = std::min(BorderFloorY(border), FloorY(room_, inside));
            const int top = std::max(BorderCeilingY(border), CeilingY(room_, inside));
            door.TopY = std::min(door.TopY, top);
            door.BottomY = std::max(door.BottomY, bottom);
        }
        // Right and Front views grow from their origin toward lower rows and higher columns:
        // Right's origin is the run's last row, the others' origin its first sector.
        TPortalView& view = door.View;
        view.Facing = facing;
        view.TargetRoom = static_cast<uint16_t>(target);
        view.WidthTiles = last - first + 1;
        view.OriginX = door.FirstColumn;
        view.OriginZ = facing == PortalFacingRight ? door.LastRow : door.FirstRow;
        const int originFloor = BorderFloorY(At(view.OriginX, view.OriginZ));
        view.HeightTiles = std::max(1, (originFloor - door.TopY + SectorSize - 1) / SectorSize);
        return door;
    }

public:
    // A floor or ceiling doorway cut to the given columns and rows.
    static Doorway CutArea(Doorway door, int firstColumn, int lastColumn, int firstRow,
                           int lastRow) {
        door.FirstColumn = firstColumn;
        door.LastColumn = lastColumn;
        door.FirstRow = firstRow;
        door.LastRow = lastRow;
        door.View.WidthTiles = lastColumn - firstColumn + 1;
        door.View.HeightTiles = lastRow - firstRow + 1;
        door.View.OriginX = firstColumn;
        door.View.OriginZ = lastRow;
        return door;
    }

    // A wall doorway cut to the positions first..last along its side.
    Doorway CutWallRun(const Doorway& door, int first, int last) const {
        const uint8_t facing = door.View.Facing;
        const bool alongRows = facing == PortalFacingLeft || facing == PortalFacingRight;
        const int line = alongRows ? door.FirstColumn : door.FirstRow;
        return AddWallRun(facing, line, alongRows, first, last, door.TargetRoom);
    }

private:
    void LinkAreas(bool below) {
        const auto count = static_cast<int>(room_.SectorCount()); // within MaxSectors, see above
        std::vector<int> targets(count + 1, 0);
        for (int n = 1; n <= count; ++n) {
            targets[n] = LinkTarget(project_, number_, room_, n, below);
        }
        std::vector<bool> seen(count + 1, false);
        for (int n = 1; n <= count; ++n) {
            if (targets[n] != 0 && !seen[n]) {
                AddLinkArea(below, targets, seen, n);
            }
        }
    }

    // The area of sectors linked to the same room around sector `start`, joined side to side.
    void AddLinkArea(bool below, const std::vector<int>& targets, std::vector<bool>& seen,
                     int start) {
        Doorway door;
        door.Kind = below ? DoorwayKind::Floor : DoorwayKind::Ceiling;
        door.TargetRoom = targets[start];
        door.FirstColumn = door.LastColumn = SectorColumn(start, nz_);
        door.FirstRow = door.LastRow = SectorRow(start, nz_);
        door.TopY = 32767;
        door.BottomY = -32768;
        seen[start] = true;
        std::vector<int> stack{start};
        while (!stack.empty()) {
            const int s = stack.back();
            stack.pop_back();
            const int column = SectorColumn(s, nz_), row = SectorRow(s, nz_);
            door.FirstColumn = std::min(door.FirstColumn, column);
            door.LastColumn = std::max(door.LastColumn, column);
            door.FirstRow = std::min(door.FirstRow, row);
            door.LastRow = std::max(door.LastRow, row);
            const int y = below ? FloorY(room_, s) : CeilingY(room_, s);
            door.TopY = std::min(door.TopY, y);
            door.BottomY = std::max(door.BottomY, y);
            const int around[4][2] = {
                {column - 1, row}, {column + 1, row}, {column, row - 1}, {column, row + 1}};
            for (const auto& a : around) {
                if (a[0] < 1 || a[0] > nx_ || a[1] < 1 || a[1] > nz_) {
                    continue;
                }
                const int m = At(a[0], a[1]);
                if (!seen[m] && targets[m] == door.TargetRoom) {
                    seen[m] = true;
                    stack.push_back(m);
                }
            }
        }
        TPortalView& view = door.View;
        view.Facing = below ? PortalFacingFloor : PortalFacingCeiling;
        view.TargetRoom = static_cast<uint16_t>(door.TargetRoom);
        view.WidthTiles = door.LastColumn - door.FirstColumn + 1;
        view.HeightTiles = door.LastRow - door.FirstRow + 1;
        view.OriginX = door.FirstColumn;
        view.OriginZ = door.LastRow;
        found_.push_back(door);
    }

    const TEditorProject& project_;
    int number_;
    const TEditorRoom& room_;
    int nz_, nx_;
    std::vector<Doorway> found_;
};

// Where a doorway lies in the world, in sectors: the facing of its view, the line its plane
// stands on (for a wall run: the boundary between the run and the room's inside) and the world
// cells it spans.
struct DoorwayPlace {
    uint8_t Facing = 0;
    int Plane = 0;
    int X0 = 0, X1 = 0, Z0 = 0, Z1 = 0;
};

DoorwayPlace PlaceOf(const TEditorRoom& room, const Doorway& door) {
    DoorwayPlace place;
    place.Facing = door.View.Facing;
    place.X0 = room.PosX + door.FirstColumn - 1;
    place.X1 = room.PosX + door.LastColumn - 1;
    place.Z0 = room.PosZ + door.FirstRow - 1;
    place.Z1 = room.PosZ + door.LastRow - 1;
    switch (place.Facing) {
    case PortalFacingLeft:
        place.Plane = place.X0 + 1;
        break;
    case PortalFacingRight:
        place.Plane = place.X0;
        break;
    case PortalFacingBack:
        place.Plane = place.Z0 + 1;
        break;
    case PortalFacingFront:
        place.Plane = place.Z0;
        break;
    default:
        break;
    }
    return place;
}

bool AlongX(uint8_t facing) {
    return facing == PortalFacingFront || facing == PortalFacingBack;
}
bool AlongZ(uint8_t facing) {
    return facing == PortalFacingLeft || facing == PortalFacingRight;
}

// Whether two doorways of neighbouring rooms face each other on one plane.
bool FaceEachOther(const DoorwayPlace& a, const DoorwayPlace& b) {
    const auto pair = [&](uint8_t one, uint8_t two) {
        return (a.Facing == one && b.Facing == two) || (a.Facing == two && b.Facing == one);
    };
    if (pair(PortalFacingFloor, PortalFacingCeiling)) {
        return true;
    }
    return (pair(PortalFacingLeft, PortalFacingRight) ||
            pair(PortalFacingFront, PortalFacingBack)) &&
           a.Plane == b.Plane;
}

// Whether a link to `target` comes back to `room`: to it or, for an alternate room, to the
// original whose place it takes (the neighbours link to the original).
bool LeadsBackTo(const TEditorProject& project, int target, int room) {
    return target == room || (target != 0 && target == OriginalOf(project, room));
}

std::vector<TPortalView> ViewsOf(const std::vector<Doorway>& doorways, int target = 0) {
    std::vector<TPortalView> views;
    for (const Doorway& door : doorways) {
        if (target == 0 || door.TargetRoom == target) {
            views.push_back(door.View);
        }
    }
    return views;
}

void SetViews(TEditorRoom& room, const std::vector<TPortalView>& views) {
    room.PortalViewCount = static_cast<int32_t>(views.size());
    std::copy(views.begin(), views.end(), room.PortalViews);
}

std::string TooManyViews(const TEditorProject& project, int room, std::size_t views) {
    return "Room " + std::to_string(room) + " (" + project.Room(room).Name.Str() + ") would need " +
           std::to_string(views) + " portal views, more than the 20 a room can hold. No view " +
           "was changed.";
}

} // namespace

std::vector<Doorway> FindDoorways(const TEditorProject& project, int room) {
    if (room < 1 || room > std::min<int>(project.RoomCount, MaxRooms)) {
        return {};
    }
    DoorwayFinder finder(project, room);
    const std::vector<Doorway> own = finder.Find();
    const TEditorRoom& here = project.Room(room);
    std::vector<Doorway> shared;
    for (const Doorway& door : own) {
        const int target = door.TargetRoom;
        const DoorwayPlace mine = PlaceOf(here, door);
        bool answered = false;
        for (const Doorway& back : DoorwayFinder(project, target).Find()) {
            if (!LeadsBackTo(project, back.TargetRoom, room)) {
                continue;
            }
            const DoorwayPlace theirs = PlaceOf(project.Room(target), back);
            if (!FaceEachOther(mine, theirs)) {
                continue;
            }
            // The cells both cover, along the plane for a wall run.
            const bool alongZ = AlongZ(mine.Facing), alongX = AlongX(mine.Facing);
            const int x0 = alongZ ? mine.X0 : std::max(mine.X0, theirs.X0);
            const int x1 = alongZ ? mine.X1 : std::min(mine.X1, theirs.X1);
            const int z0 = alongX ? mine.Z0 : std::max(mine.Z0, theirs.Z0);
            const int z1 = alongX ? mine.Z1 : std::min(mine.Z1, theirs.Z1);
            if (x0 > x1 || z0 > z1) {
                continue;
            }
            answered = true;
            const int c0 = x0 - here.PosX + 1, c1 = x1 - here.PosX + 1;
            const int r0 = z0 - here.PosZ + 1, r1 = z1 - here.PosZ + 1;
            if (door.Kind != DoorwayKind::Wall) {
                shared.push_back(DoorwayFinder::CutArea(door, c0, c1, r0, r1));
            } else {
                shared.push_back(alongZ ? finder.CutWallRun(door, r0, r1)
                                        : finder.CutWallRun(door, c0, c1));
            }
        }
        if (!answered) {
            shared.push_back(door);
        }
    }
    return shared;
}

RoomSector SectorBeyond(const TEditorProject& project, int room, int n) {
    if (room < 1 || room > std::min<int>(project.RoomCount, MaxRooms)) {
        return {};
    }
    const TEditorRoom& here = project.Room(room);
    if (n < 1 || n > here.SectorCount() || here.SectorCount() > MaxSectors) {
        return {};
    }
    const int target = WallTarget(project, room, here, n);
    if (target == 0) {
        return {};
    }
    const TEditorRoom& other = project.Room(target);
    const int column = SectorColumn(n, here.ZSectors) + here.PosX - other.PosX;
    const int row = SectorRow(n, here.ZSectors) + here.PosZ - other.PosZ;
    if (column < 1 || column > other.XSectors || row < 1 || row > other.ZSectors ||
        other.SectorCount() > MaxSectors) {
        return {};
    }
    const int beyond = SectorNumber(column, row, other.ZSectors);
    if (other.Sector(beyond).PortalKind == PortalKindSide &&
        other.GameSector(beyond).RoomAbove != NoRoom) {
        return {};
    }
    return {target, beyond};
}

ViewSpan SpanOfView(const TPortalView& view) {
    ViewSpan span{view.OriginX, view.OriginX, view.OriginZ, view.OriginZ};
    switch (view.Facing) {
    case PortalFacingFront:
    case PortalFacingBack:
        span.LastColumn = view.OriginX + view.WidthTiles - 1;
        break;
    case PortalFacingLeft:
        span.LastRow = view.OriginZ + view.WidthTiles - 1;
        break;
    case PortalFacingRight:
        span.FirstRow = view.OriginZ - view.WidthTiles + 1;
        break;
    case PortalFacingCeiling:
    case PortalFacingFloor:
        span.LastColumn = view.OriginX + view.WidthTiles - 1;
        span.FirstRow = view.OriginZ - view.HeightTiles + 1;
        break;
    default:
        break;
    }
    return span;
}

DocumentOutcome MakePortalViews(TEditorProject& project, PortalViewScope scope) {
    DocumentOutcome outcome;
    if (!project.HasCurrentRoom()) {
        return outcome;
    }
    // Every room's new views, worked out before anything changes.
    const int rooms = project.RoomCount;
    std::vector<std::vector<TPortalView>> views(rooms + 1);
    std::vector<bool> changed(rooms + 1, false);
    const int current = project.CurrentRoom;
    for (int r = 1; r <= rooms; ++r) {
        const std::vector<Doorway> doorways = FindDoorways(project, r);
        if (scope == PortalViewScope::AllRooms || r == current) {
            views[r] = ViewsOf(doorways);
            changed[r] = true;
            continue;
        }
        const std::vector<TPortalView> toCurrent = ViewsOf(doorways, current);
        if (toCurrent.empty()) {
            continue;
        }
        const TEditorRoom& room = project.Room(r);
        for (int d = 1; d <= std::clamp(room.PortalViewCount, 0, MaxPortalViews); ++d) {
            if (room.PortalView(d).TargetRoom != current) {
                views[r].push_back(room.PortalView(d));
            }
        }
        views[r].insert(views[r].end(), toCurrent.begin(), toCurrent.end());
        changed[r] = true;
    }
    for (int r = 1; r <= rooms; ++r) {
        if (changed[r] && views[r].size() > MaxPortalViews) {
            return DocumentOutcome::Refusal(TooManyViews(project, r, views[r].size()));
        }
    }
    // The wall-portal sectors of the doorways whose views are made, with the sectors beyond
    // them: all found before any changes.
    std::vector<std::pair<std::pair<int, int>, RoomSector>> beyond;
    for (int r = 1; r <= rooms; ++r) {
        if (!changed[r]) {
            continue;
        }
        const TEditorRoom& room = project.Room(r);
        for (const Doorway& door : FindDoorways(project, r)) {
            if (door.Kind != DoorwayKind::Wall || (scope == PortalViewScope::CurrentRoom &&
                                                   r != current && door.TargetRoom != current)) {
                continue;
            }
            for (int column = door.FirstColumn; column <= door.LastColumn; ++column) {
                for (int row = door.FirstRow; row <= door.LastRow; ++row) {
                    const int n = SectorNumber(column, row, room.ZSectors);
                    if (const RoomSector b = SectorBeyond(project, r, n); b.Room != 0) {
                        beyond.push_back({{r, n}, b});
                    }
                }
            }
        }
    }
    for (int r = 1; r <= rooms; ++r) {
        if (changed[r]) {
            SetViews(project.Room(r), views[r]);
        }
    }
    std::vector<std::pair<TEditorSector, TGameSector>> heights;
    for (const auto& [at, b] : beyond) {
        heights.emplace_back(project.Room(b.Room).Sector(b.Sector),
                             project.Room(b.Room).GameSector(b.Sector));
    }
    for (std::size_t i = 0; i < beyond.size(); ++i) {
        const auto& [r, n] = beyond[i].first;
        TEditorSector& sector = project.Room(r).Sector(n);
        TGameSector& game = project.Room(r).GameSector(n);
        const TEditorRoom& from = project.Room(beyond[i].second.Room);
        const TEditorSector& shapes = heights[i].first;
        // The other room's heights in this room's levels (the same world y), kept within the
        // room: beyond its bottom or top the other room's own faces frame the opening.
        const int shift = from.PosY - project.Room(r).PosY;
        const int height = project.Room(r).Height;
        sector.FloorShape = shapes.FloorShape;
        sector.CeilingShape = shapes.CeilingShape;
        game.FloorHeight =
            static_cast<int8_t>(std::clamp(heights[i].second.FloorHeight + shift, 0, height));
        game.CeilingHeight =
            static_cast<int8_t>(std::clamp(heights[i].second.CeilingHeight + shift, 0, height));
        game.FloorDataIndex = heights[i].second.FloorDataIndex;
    }
    outcome.ToolBar = ToolBarValues(project);
    outcome.Redraw = true;
    return outcome;
}

int BuiltFloorY(const TEditorProject& project, int room, int n) {
    const RoomSector beyond = SectorBeyond(project, room, n);
    return beyond.Room != 0 ? FloorY(project.Room(beyond.Room), beyond.Sector)
                            : FloorY(project.Room(room), n);
}

int BuiltCeilingY(const TEditorProject& project, int room, int n) {
    const RoomSector beyond = SectorBeyond(project, room, n);
    return beyond.Room != 0 ? CeilingY(project.Room(beyond.Room), beyond.Sector)
                            : CeilingY(project.Room(room), n);
}

int LinkViewY(const TEditorProject& project, int room, const TPortalView& view) {
    const bool floor = view.Facing == PortalFacingFloor;
    const TEditorRoom& here = project.Room(room);
    const int own = floor ? RoomBottomY(here) : RoomTopY(here);
    const int target = view.TargetRoom;
    if ((!floor && view.Facing != PortalFacingCeiling) || target < 1 ||
        target > std::min<int>(project.RoomCount, MaxRooms) || here.SectorCount() > MaxSectors) {
        return own;
    }
    const TEditorRoom& other = project.Room(target);
    if (other.SectorCount() > MaxSectors) {
        return own;
    }
    const ViewSpan span = SpanOfView(view);
    bool found = false;
    int plane = 0;
    for (int column = std::max(span.FirstColumn, 1);
         column <= std::min<int>(span.LastColumn, here.XSectors); ++column) {
        for (int row = std::max(span.FirstRow, 1);
             row <= std::min<int>(span.LastRow, here.ZSectors); ++row) {
            const int n = SectorNumber(column, row, here.ZSectors);
            if (LinkTarget(project, room, here, n, floor) != target) {
                continue;
            }
            const int c = column + here.PosX - other.PosX, r = row + here.PosZ - other.PosZ;
            if (c < 1 || c > other.XSectors || r < 1 || r > other.ZSectors) {
                return own;
            }
            const int m = SectorNumber(c, r, other.ZSectors);
            const int mine = floor ? FloorY(here, n) : CeilingY(here, n);
            const int theirs = floor ? CeilingY(other, m) : FloorY(other, m);
            if (mine != theirs || (found && mine != plane)) {
                return own;
            }
            found = true;
            plane = mine;
        }
    }
    return found ? plane : own;
}

bool WallViewOpening(const TEditorProject& project, int room, const TPortalView& view, int& top,
                     int& bottom) {
    int stepX = 0, stepZ = 0, acrossX = 0, acrossZ = 0;
    switch (view.Facing) {
    case PortalFacingFront:
        stepX = 1, acrossZ = -1;
        break;
    case PortalFacingBack:
        stepX = 1, acrossZ = 1;
        break;
    case PortalFacingLeft:
        stepZ = 1, acrossX = 1;
        break;
    case PortalFacingRight:
        stepZ = -1, acrossX = -1;
        break;
    default:
        return false;
    }
    if (room < 1 || room > std::min<int>(project.RoomCount, MaxRooms) ||
        project.Room(room).SectorCount() > MaxSectors) {
        return false;
    }
    const TEditorRoom& here = project.Room(room);
    const auto inGrid = [&](int column, int row) {
        return column >= 1 && column <= here.XSectors && row >= 1 && row <= here.ZSectors;
    };
    top = 32767;
    bottom = -32768;
    for (int i = 0; i < view.WidthTiles && i < MaxSectors; ++i) {
        const int column = view.OriginX + i * stepX, row = view.OriginZ + i * stepZ;
        if (!inGrid(column, row) || !inGrid(column + acrossX, row + acrossZ)) {
            continue;
        }
        const int own = SectorNumber(column, row, here.ZSectors);
        const int across = SectorNumber(column + acrossX, row + acrossZ, here.ZSectors);
        const int pairTop =
            std::max(BuiltCeilingY(project, room, own), BuiltCeilingY(project, room, across));
        const int pairBottom =
            std::min(BuiltFloorY(project, room, own), BuiltFloorY(project, room, across));
        if (pairTop < pairBottom) {
            top = std::min(top, pairTop);
            bottom = std::max(bottom, pairBottom);
        }
    }
    return top < bottom;
}

bool WallViewSpanY(const TEditorProject& project, int room, const TPortalView& view, int& top,
                   int& bottom) {
    if (view.Facing < PortalFacingFront || view.Facing > PortalFacingRight || room < 1 ||
        room > std::min<int>(project.RoomCount, MaxRooms)) {
        return false;
    }
    const TEditorRoom& here = project.Room(room);
    if (view.OriginX < 1 || view.OriginX > here.XSectors || view.OriginZ < 1 ||
        view.OriginZ > here.ZSectors || here.SectorCount() > MaxSectors) {
        return false;
    }
    const int floor = FloorY(here, SectorNumber(view.OriginX, view.OriginZ, here.ZSectors));
    const int ownTop = floor - view.HeightTiles * SectorSize;
    int openTop = 0, openBottom = 0;
    if (!WallViewOpening(project, room, view, openTop, openBottom)) {
        top = ownTop;
        bottom = floor;
        return true;
    }
    top = ownTop > openTop && ownTop < openBottom ? ownTop : openTop;
    bottom = openBottom;
    return true;
}

} // namespace morvane
