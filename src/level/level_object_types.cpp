#include "level/level_object_types.h"

#include <algorithm>
#include <cstring>

namespace morvane {

namespace {

// Each of these records starts with its id, 32 bits.
template <int N> int32_t IdOf(const TOpaque<N>& record) {
    int32_t id = 0;
    std::memcpy(&id, record.Bytes, sizeof(id));
    return id;
}

template <int N>
void AppendIds(std::vector<int>& ids, const TOpaque<N>* records, uint32_t count,
               uint32_t capacity) {
    for (uint32_t i = 0; i < count && i < capacity; ++i) {
        ids.push_back(IdOf(records[i]));
    }
}

std::vector<int> SortedOnce(std::vector<int> ids) {
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

} // namespace

std::vector<int> ModelledItemTypes(const TLevelData& level) {
    std::vector<int> ids;
    AppendIds(ids, level.Moveables, level.NumMoveables, MaxMoveables);
    AppendIds(ids, level.SpriteSequences, level.NumSpriteSequences, MaxSpriteSequences);
    return SortedOnce(std::move(ids));
}

std::vector<int> StaticMeshIds(const TLevelData& level) {
    std::vector<int> ids;
    AppendIds(ids, level.StaticMeshes, level.NumStaticMeshes, MaxStaticMeshes);
    return SortedOnce(std::move(ids));
}

bool IsSpriteType(const TLevelData& level, int type) {
    for (uint32_t i = 0; i < level.NumSpriteSequences && i < MaxSpriteSequences; ++i) {
        if (IdOf(level.SpriteSequences[i]) == type) {
            return true;
        }
    }
    return false;
}

} // namespace morvane
