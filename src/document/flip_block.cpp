#include "document/flip_block.h"

#include "document/object_block.h"
#include "io/binary_reader.h"
#include "io/binary_writer.h"
#include "io/io_error.h"

namespace morvane {

namespace {

constexpr std::size_t CountBytes = 4;

} // namespace

std::string FlipMapsBlockAt(uint64_t start) {
    return "the alternate-rooms block at byte " + std::to_string(start);
}

void WriteFlipMapsBlock(BinaryWriter& out, const TFlipMaps& maps) {
    uint32_t count = 0;
    for (const uint8_t alternate : maps.Alternate) {
        count += alternate != 0 ? 1 : 0;
    }
    if (count == 0) {
        return;
    }
    out.WriteBytes(FlipMapsBlockTag, 4);
    out.WriteU16(FlipMapsBlockVersion);
    out.WriteU32(static_cast<uint32_t>(CountBytes + count * FlipLinkBytes));
    out.WriteU32(count);
    for (int r = 1; r <= FlipMapSlots; ++r) {
        if (maps.Alternate[r - 1] != 0) {
            out.WriteU8(static_cast<uint8_t>(r));
            out.WriteU8(maps.Alternate[r - 1]);
        }
    }
}

std::vector<FlipLink> ReadFlipMapsPayload(BinaryReader& in, uint64_t start) {
    const auto [length, count] =
        ReadBlockHeader(in, FlipMapsBlockAt(start), FlipMapsBlockVersion, MaxFlipLinks, "links");
    const uint64_t expected = CountBytes + uint64_t{count} * FlipLinkBytes;
    if (length != expected) {
        throw IoError(FlipMapsBlockAt(start) + " has a length of " + std::to_string(length) +
                      " bytes, which does not fit its count of " + std::to_string(count) +
                      " links (" + std::to_string(expected) + " bytes).");
    }
    std::vector<FlipLink> links(count);
    for (FlipLink& link : links) {
        link.Room = in.ReadU8();
        link.Alternate = in.ReadU8();
    }
    return links;
}

std::string FlipMapsBlockProblem(const std::vector<FlipLink>& links, int roomCount,
                                 TFlipMaps& maps) {
    const std::string problem = FlipMapsOfLinks(links, roomCount, maps);
    if (!problem.empty()) {
        maps = TFlipMaps{};
        return "in the alternate-rooms block, " + problem + ".";
    }
    return {};
}

} // namespace morvane
