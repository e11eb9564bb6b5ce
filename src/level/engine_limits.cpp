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

struct Row {
    int32_t Engine; // the layout whose engine it is; the add-on's levels use the first game's
    EngineMeasure Measure;
    EngineLimit Limit;
};

// The one table. A measure a layout has no row for has no public source for that engine.
constexpr Row Table[] = {
    {FormatTR1, EngineMeasure::RoomVertices, {1500, FirstGameList}},
    {FormatTR1, EngineMeasure::Items, {256, FirstGameList}},
    {FormatTR1, EngineMeasure::ObjectTextures, {2048, FirstGameList}},
    {FormatTR1, EngineMeasure::SpriteTextures, {512, FirstGameList}},
    {FormatTR1, EngineMeasure::TexturePages, {32, FirstGameList}},
    {FormatTR2, EngineMeasure::RoomVertices, {1500, SecondGameRooms}},
    {FormatTR2, EngineMeasure::Items, {256, SecondGameList}},
    {FormatTR2, EngineMeasure::ObjectTextures, {2048, SecondGameList}},
    {FormatTR2, EngineMeasure::SpriteTextures, {512, SecondGameList}},
    {FormatTR2, EngineMeasure::TexturePages, {32, SecondGameList}},
    {FormatTR3, EngineMeasure::Items, {256, ThirdGameItems}},
};

} // namespace

std::optional<EngineLimit> FindEngineLimit(int32_t formatKind, EngineMeasure measure) {
    const int32_t engine = formatKind == FormatTUB ? FormatTR1 : formatKind; // the add-on
    for (const Row& row : Table) {
        if (row.Engine == engine && row.Measure == measure) {
            return row.Limit;
        }
    }
    return std::nullopt;
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
