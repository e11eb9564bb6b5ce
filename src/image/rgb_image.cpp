#include "image/rgb_image.h"

#include "io/atomic_file.h"
#include "io/binary_reader.h"
#include "io/io_error.h"

#include <png.h>

#include <algorithm>
#include <array>

namespace morvane {

std::array<Rgb, 256> MakeLogicalPalette(const uint8_t* palette) {
    std::array<Rgb, 256> colours{};
    for (int i = 0; i < 256; ++i) {
        colours[i] = {static_cast<uint8_t>(palette[i * 3] * 4),
                      static_cast<uint8_t>(palette[i * 3 + 1] * 4),
                      static_cast<uint8_t>(palette[i * 3 + 2] * 4)};
    }
    return colours;
}

RgbImage IndexedToRgb(const IndexedImage& image) {
    if (!image.Colors || image.Pixels == nullptr) {
        return {};
    }
    const auto colours = MakeLogicalPalette(*image.Colors);
    RgbImage out(image.Width, image.Height);
    for (std::size_t i = 0; i < std::size_t(image.Width) * image.Height; ++i) {
        const Rgb& c = colours[image.Pixels[i]];
        out.Pixels[i * 3] = c.R;
        out.Pixels[i * 3 + 1] = c.G;
        out.Pixels[i * 3 + 2] = c.B;
    }
    return out;
}

RgbImage ScaleRgb(const RgbImage& source, int width, int height) {
    RgbImage out(width, height);
    if (source.Width <= 0 || source.Height <= 0) {
        return out;
    }
    for (int y = 0; y < height; ++y) {
        const int sy = static_cast<int>(int64_t(y) * source.Height / height);
        for (int x = 0; x < width; ++x) {
            const int sx = static_cast<int>(int64_t(x) * source.Width / width);
            std::copy_n(source.At(sx, sy), 3, out.At(x, y));
        }
    }
    return out;
}

std::vector<uint8_t> ToBgr(const RgbImage& image) {
    std::vector<uint8_t> bgr(image.Pixels.size());
    for (std::size_t i = 0; i + 2 < image.Pixels.size(); i += 3) {
        bgr[i] = image.Pixels[i + 2];
        bgr[i + 1] = image.Pixels[i + 1];
        bgr[i + 2] = image.Pixels[i];
    }
    return bgr;
}

void WritePng(const RgbImage& image, const std::string& path) {
    const auto refuse = [&](const std::string& why) {
        throw IoError("\"" + path + "\" could not be written as a PNG image (" + why + ")");
    };
    if (image.Width <= 0 || image.Height <= 0 ||
        image.Pixels.size() != std::size_t(image.Width) * image.Height * 3) {
        refuse("no pixels");
    }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.Width);
    png.height = static_cast<png_uint_32>(image.Height);
    png.format = PNG_FORMAT_RGB;
    // Encoded in memory, then written like every other file: the target is replaced only by a
    // complete file, and a failed write reports the system's reason.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(png);
    std::vector<uint8_t> encoded(size);
    if (png_image_write_to_memory(&png, encoded.data(), &size, 0, image.Pixels.data(), 0,
                                  nullptr) == 0) {
        const std::string why = png.message;
        png_image_free(&png);
        refuse(why);
    }
    AtomicFileWriter file(path);
    file.Writer().WriteBytes(encoded.data(), size);
    file.Commit();
}

RgbImage ReadBmp(const std::string& path) {
    BinaryReader in = BinaryReader::OpenFile(path);
    auto refuse = [&](const char* why) -> RgbImage {
        throw IoError("\"" + path + "\" is not a bitmap this program reads (" + why + ")");
    };
    if (in.ReadU16() != 0x4D42) {
        return refuse("no BM signature");
    }
    in.Skip(8);
    const uint32_t dataOffset = in.ReadU32();
    const uint32_t headerSize = in.ReadU32();
    if (headerSize < 40) {
        return refuse("old header");
    }
    const int32_t width = in.ReadI32();
    int32_t height = in.ReadI32();
    in.ReadU16(); // planes
    const uint16_t bits = in.ReadU16();
    const uint32_t compression = in.ReadU32();
    in.Skip(12);
    uint32_t colours = in.ReadU32();
    in.Skip(4);
    in.Skip(headerSize - 40);
    const bool bottomUp = height > 0;
    height = height < 0 ? -height : height;
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192 || compression != 0 ||
        (bits != 24 && bits != 8)) {
        return refuse("only uncompressed 8-bit and 24-bit bitmaps");
    }
    std::array<Rgb, 256> palette{};
    if (bits == 8) {
        colours = colours == 0 ? 256 : std::min<uint32_t>(colours, 256);
        for (uint32_t i = 0; i < colours; ++i) {
            const uint8_t b = in.ReadU8(), g = in.ReadU8(), r = in.ReadU8();
            in.ReadU8();
            palette[i] = {r, g, b};
        }
    }
    if (dataOffset < in.Position()) {
        return refuse("pixel data inside the header");
    }
    in.Skip(dataOffset - in.Position());
    const std::size_t rowBytes = (std::size_t(width) * bits / 8 + 3) & ~std::size_t(3);
    std::vector<uint8_t> row(rowBytes);
    RgbImage image(width, height);
    for (int r = 0; r < height; ++r) {
        in.ReadBytes(row.data(), rowBytes);
        const int y = bottomUp ? height - 1 - r : r;
        for (int x = 0; x < width; ++x) {
            uint8_t* p = image.At(x, y);
            if (bits == 24) {
                p[0] = row[x * 3 + 2];
                p[1] = row[x * 3 + 1];
                p[2] = row[x * 3];
            } else {
                const Rgb& c = palette[row[x]];
                p[0] = c.R;
                p[1] = c.G;
                p[2] = c.B;
            }
        }
    }
    return image;
}

void WriteBmp(const RgbImage& image, const std::string& path) {
    const uint32_t rowBytes = (uint32_t(image.Width) * 3 + 3) & ~3u;
    const uint32_t dataBytes = rowBytes * uint32_t(image.Height);
    AtomicFileWriter file(path);
    BinaryWriter& out = file.Writer();
    out.WriteU16(0x4D42);
    out.WriteU32(54 + dataBytes);
    out.WriteU32(0);
    out.WriteU32(54);
    out.WriteU32(40);
    out.WriteI32(image.Width);
    out.WriteI32(image.Height);
    out.WriteU16(1);
    out.WriteU16(24);
    out.WriteU32(0);
    out.WriteU32(dataBytes);
    out.WriteI32(2835);
    out.WriteI32(2835);
    out.WriteU32(0);
    out.WriteU32(0);
    std::vector<uint8_t> row(rowBytes, 0);
    for (int y = image.Height - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width; ++x) {
            const uint8_t* p = image.At(x, y);
            row[x * 3] = p[2];
            row[x * 3 + 1] = p[1];
            row[x * 3 + 2] = p[0];
        }
        out.WriteBytes(row.data(), row.size());
    }
    file.Commit();
}

} // namespace morvane
