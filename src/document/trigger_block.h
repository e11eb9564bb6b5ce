#pragma once

// The trigger layer in the project file: a tagged, versioned block after the objects block. A
// project without triggers has no block at all (its file is byte-identical to one written before
// the layer existed).
//
//   tag      4 bytes  "TRIG"
//   version  u16      1
//   length   u32      bytes that follow: 4 + the records' bytes
//   count    u32      0..MaxTriggers
//   count records, little-endian, each:
//     room u8, column u8, row u8, kind u8, timer u8, once u8, mask u8, death u8,
//     object i16, action count u8 (0..16), setup bits u8,
//     then per action: kind u8, seconds u8, once u8, camera bits u8, value i16, reserved u16
//   (12 bytes and 8 per action).
#include "document/object_block.h"
#include "document/triggers.h"

#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

class BinaryReader;
class BinaryWriter;

inline constexpr char TriggersBlockTag[5] = "TRIG";
inline constexpr uint16_t TriggersBlockVersion = 1;
inline constexpr std::size_t TriggerRecordBytes = 12; // without its actions
inline constexpr std::size_t TriggerActionBytes = 8;

// Writes the layer's block; nothing at all for an empty layer.
void WriteTriggersBlock(BinaryWriter& out, const TTriggerLayer& layer);

// Reads the block's content after its tag (version, length, count, records) into `triggers`.
// A block of another version, cut short, whose length does not fit its records or with a record
// of too many actions throws IoError naming the block ("the triggers block at byte 812 ...").
void ReadTriggersPayload(BinaryReader& in, uint64_t start, std::vector<TEditorTrigger>& triggers);

// The triggers read against the rooms and objects read, with the checks of ReplaceTriggerLayer
// (any kind the third game has: the layout is the build's to know): the problem's text ("in the
// triggers block, triggers[3].row: ..."), or empty.
std::string TriggersBlockProblem(const std::vector<TEditorTrigger>& triggers,
                                 const std::vector<RoomGrid>& rooms,
                                 const std::vector<TEditorObject>& objects);

} // namespace morvane
