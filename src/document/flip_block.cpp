#include "document/flip_block.h"

#include "io/binary_reader.h"
#include "io/binary_writer.h"
#include "io/io_error.h"

namespace morvane {

namespace {

constexpr std::size_t CountBytes = 4;
// Tag, version and length.
constexpr std::size_t HeaderBytes = 10;

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
    const uint16_t version = in.ReadU16();
    if (version != FlipMapsBlockVersion) {
        throw IoError(FlipMapsBlockAt(start) + " has version " + std::to_string(version) +
                      ", which this program does not read (it reads version " +
                      std::to_string(FlipMapsBlockVersion) + ").");
    }
    const uint32_t length = in.ReadU32();
    if (length > in.Remaining()) {
        throw IoError(FlipMapsBlockAt(start) + " is truncated: it is " +
                      std::to_string(HeaderBytes + uint64_t{length}) +
                      " bytes long, the file ends after " +
                      std::to_string(HeaderBytes + in.Remaining()) + " of them.");
    }
    if (length < CountBytes) {
        throw IoError(FlipMapsBlockAt(start) + " has a length of " + std::to_string(length) +
                      " bytes, too short for its count.");
    }
    const uint32_t count = in.ReadU32();
    if (count > static_cast<uint32_t>(MaxFlipLinks)) {
        throw IoError(FlipMapsBlockAt(start) + " holds " + std::to_string(count) +
                      " links, above the limit of " + std::to_string(MaxFlipLinks) + ".");
    }
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
