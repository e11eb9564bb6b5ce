#include "level/engine_limits.h"

#include "level/level_format.h"

namespace morvane {

namespace {

// Where the numbers are reported. The first and second games' limits are those an open-source
// re-implementation of both engines lists as raised over the originals (and the crashes it
// traced to rooms of more vertices); the third game's item limit is the one a randomiser of all
// three games keeps to. A discussion thread is named as GitHub writes it: repository, number.
constexpr const char* FirstGameList =
    "https://github.com/LostArtefacts/TRX/blob/HEAD/docs/tr1/IMPROVEMENTS.md";
constexpr const char* SecondGameList =
    "https://github.com/LostArtefacts/TRX/blob/HEAD/docs/tr2/IMPROVEMENTS.md";
constexpr const char* SecondGameRooms = "github.com/LostArtefacts/TRX #2749";
constexpr const char* ThirdGameItems = "github.com/LostArtefacts/TR-Rando #614";

struct Entry {
    EngineMeasure Measure;
    EngineLimit Limit;
};

// One row a layout. A measure a row lacks has no public source for that engine.
constexpr Entry FirstGame[] = {
    {EngineMeasure::RoomVertices, {1500, FirstGameList}},
    {EngineMeasure::Items, {256, FirstGameList}},
    {EngineMeasure::ObjectTextures, {2048, FirstGameList}},
    {EngineMeasure::SpriteTextures, {512, FirstGameList}},
    {EngineMeasure::TexturePages, {32, FirstGameList}},
};
constexpr Entry SecondGame[] = {
    {EngineMeasure::RoomVertices, {1500, SecondGameRooms}},
    {EngineMeasure::Items, {256, SecondGameList}},
    {EngineMeasure::ObjectTextures, {2048, SecondGameList}},
    {EngineMeasure::SpriteTextures, {512, SecondGameList}},
    {EngineMeasure::TexturePages, {32, SecondGameList}},
};
constexpr Entry ThirdGame[] = {
    {EngineMeasure::Items, {256, ThirdGameItems}},
};

template <std::size_t N>
std::optional<EngineLimit> Find(const Entry (&rows)[N], EngineMeasure measure) {
    for (const Entry& row : rows) {
        if (row.Measure == measure) {
            return row.Limit;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<EngineLimit> FindEngineLimit(int32_t formatKind, EngineMeasure measure) {
    switch (formatKind) {
    case FormatTR1:
    case FormatTUB: // the add-on shipped on the first game's engine
        return Find(FirstGame, measure);
    case FormatTR2:
        return Find(SecondGame, measure);
    case FormatTR3:
        return Find(ThirdGame, measure);
    default:
        return std::nullopt;
    }
}

std::string EngineName(int32_t formatKind) {
    switch (formatKind) {
    case FormatTR1:
    case FormatTUB:
        return "the first game's engine";
    case FormatTR2:
        return "the second game's engine";
    case FormatTR3:
        return "the third game's engine";
    default:
        return "the game's engine";
    }
}

std::string EngineLimitText(int32_t formatKind, const EngineLimit& limit) {
    return "the " + std::to_string(limit.Value) + " " + EngineName(formatKind) +
           " holds (source: " + limit.Source + ")";
}

} // namespace morvane
