#pragma once

// The alternate rooms in the project file: a tagged, versioned block after the version-5 data,
// beside the objects block (see object_block.h). A project without alternate rooms has no block
// at all, so its file is byte-identical to one written before alternates could be kept.
//
//   tag      4 bytes  "FLIP"
//   version  u16      1
//   length   u32      bytes that follow: 4 + 2 x count
//   count    u32      1..64 links
//   count links of 2 bytes: room u8, its alternate u8 (rooms from 1), in the order of the rooms
#include "document/flip_map_operations.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

class BinaryReader;
class BinaryWriter;

inline constexpr char FlipMapsBlockTag[5] = "FLIP";
inline constexpr uint16_t FlipMapsBlockVersion = 1;
inline constexpr std::size_t FlipLinkBytes = 2;
// Each link takes two rooms of the project's 128.
inline constexpr int MaxFlipLinks = 64;

// Writes the links' block; nothing at all when no room has an alternate.
void WriteFlipMapsBlock(BinaryWriter& out, const TFlipMaps& maps);

// The block's version, length, count and links, read after its tag (at byte `start` of the
// file). A block of another version, cut short, whose length does not fit its count, or of
// more than 64 links throws IoError naming the block ("the alternate-rooms block at byte 900 is
// truncated ...").
std::vector<FlipLink> ReadFlipMapsPayload(BinaryReader& in, uint64_t start);
// How messages name the block at a byte of the file.
std::string FlipMapsBlockAt(uint64_t start);

// The links read against the number of rooms read: the problem ("in the alternate-rooms block,
// room 3 is its own alternate."), or empty; the record of the links when there is none.
std::string FlipMapsBlockProblem(const std::vector<FlipLink>& links, int roomCount,
                                 TFlipMaps& maps);

} // namespace morvane
