#include "document/sector_selection.h"

#include "document/sector_numbering.h"

#include <algorithm>

namespace morvane {

bool IsSectorOfCurrentRoom(const TEditorProject& project, const ViewHit& hit) {
    return hit.IsSector() && project.HasCurrentRoom() && hit.Sector >= 1 &&
           hit.Sector <= project.Current().SectorCount() && hit.Sector <= MaxSectors;
}

void SectorSelection::Begin(int room, bool adding) {
    if (!adding || room != room_) {
        chosen_.reset();
    }
    room_ = room;
    kept_ = chosen_;
}

void SectorSelection::Span(const TEditorRoom& room, int fromSector, int toSector) {
    chosen_ = kept_;
    const auto count = static_cast<int>(std::min<int64_t>(room.SectorCount(), MaxSectors));
    if (room.ZSectors == 0 || fromSector < 1 || fromSector > count || toSector < 1 ||
        toSector > count) {
        return;
    }
    const int zs = room.ZSectors;
    const int fromX = SectorColumn(fromSector, zs), toX = SectorColumn(toSector, zs);
    const int fromZ = SectorRow(fromSector, zs), toZ = SectorRow(toSector, zs);
    const int x0 = std::min(fromX, toX), x1 = std::max(fromX, toX);
    const int z0 = std::min(fromZ, toZ), z1 = std::max(fromZ, toZ);
    for (int x = x0; x <= x1; ++x) {
        for (int z = z0; z <= z1; ++z) {
            chosen_.set(SectorNumber(x, z, zs) - 1);
        }
    }
}

void SectorSelection::Clear() {
    chosen_.reset();
    kept_.reset();
}

bool SectorSelection::Contains(int sector) const {
    return sector >= 1 && sector <= MaxSectors && chosen_.test(sector - 1);
}

std::vector<int> SectorSelection::Sectors() const {
    std::vector<int> sectors;
    for (int n = 1; n <= MaxSectors; ++n) {
        if (chosen_.test(n - 1)) {
            sectors.push_back(n);
        }
    }
    return sectors;
}

} // namespace morvane
