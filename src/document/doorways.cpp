#include "document/doorways.h"

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
            AddWallRun(facing, line, alongRows, i, last, targets[i]);
            i = last + 1;
        }
    }

    void AddWallRun(uint8_t facing, int line, bool alongRows, int first, int last, int target) {
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
            const int bottom = std::min(FloorY(room_, border), FloorY(room_, inside));
            const int top = std::max(CeilingY(room_, border), CeilingY(room_, inside));
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
        const int originFloor = FloorY(room_, At(view.OriginX, view.OriginZ));
        view.HeightTiles = std::max(1, (originFloor - door.TopY + SectorSize - 1) / SectorSize);
        found_.push_back(door);
    }

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
    return DoorwayFinder(project, room).Find();
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
    for (int r = 1; r <= rooms; ++r) {
        if (changed[r]) {
            SetViews(project.Room(r), views[r]);
        }
    }
    outcome.ToolBar = ToolBarValues(project);
    outcome.Redraw = true;
    return outcome;
}

} // namespace morvane
