#include "view/texture_upload.h"

#include "image/texture_strip.h"
#include "io/io_error.h"
#include "io/program_folder.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <vector>

namespace morvane {

namespace {

constexpr int ResampledEdge = 64;

int ComponentsOf(uint32_t format) {
    switch (format) {
    case GL_RGB:
    case GL_BGR_EXT:
        return 3;
    case GL_RGBA:
        return 4;
    case GL_RGB16:
        return 2;
    default:
        return 1;
    }
}

void SetUpAndUpload(uint32_t name, int width, int height, uint8_t priority, int components,
                    const uint8_t* pixels, uint32_t format) {
    glBindTexture(GL_TEXTURE_2D, name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_PRIORITY, priority);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, components, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
}

// Rows padded to two bytes, the layout GL is told to expect.
std::vector<uint8_t> PaddedRows(const std::vector<uint8_t>& bgr, int width, int height) {
    const std::size_t row = std::size_t(width) * 3, padded = (row + 1) & ~std::size_t(1);
    if (row == padded) {
        return bgr;
    }
    std::vector<uint8_t> out(padded * height, 0);
    for (int y = 0; y < height; ++y) {
        std::copy_n(&bgr[y * row], row, &out[y * padded]);
    }
    return out;
}

// Any pixel layout to an RGB image, for resampling (components 3 and 4 keep their colours,
// 1 and 2 give greys from their first byte).
RgbImage ToRgb(const uint8_t* pixels, int width, int height, int components, bool bgr) {
    RgbImage image(width, height);
    const std::size_t row = (std::size_t(width) * components + 1) & ~std::size_t(1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = pixels + y * row + std::size_t(x) * components;
            uint8_t* q = image.At(x, y);
            if (components >= 3) {
                q[0] = bgr ? p[2] : p[0];
                q[1] = p[1];
                q[2] = bgr ? p[0] : p[2];
            } else {
                q[0] = q[1] = q[2] = p[0];
            }
        }
    }
    return image;
}

UploadedSize UploadResampled(uint32_t name, const RgbImage& image, uint8_t priority) {
    const RgbImage scaled = ScaleRgb(image, ResampledEdge, ResampledEdge);
    const std::vector<uint8_t> bgr = ToBgr(scaled);
    SetUpAndUpload(name, ResampledEdge, ResampledEdge, priority, 3, bgr.data(), GL_BGR_EXT);
    return {ResampledEdge, ResampledEdge};
}

} // namespace

bool IsAcceptedTextureEdge(int length) {
    return length == 8 || length == 16 || length == 32 || length == 64 || length == 128 ||
           length == 256;
}

UploadedSize UploadPixels(uint32_t name, uint16_t width, uint16_t height, uint8_t priority,
                          const uint8_t* pixels, uint32_t format) {
    const int components = ComponentsOf(format);
    if (IsAcceptedTextureEdge(width) && IsAcceptedTextureEdge(height)) {
        SetUpAndUpload(name, width, height, priority, components, pixels, format);
        return {width, height};
    }
    return UploadResampled(name, ToRgb(pixels, width, height, components, format == GL_BGR_EXT),
                           priority);
}

UploadedSize UploadBitmap(uint32_t name, const RgbImage& bitmap, uint8_t priority) {
    if (IsAcceptedTextureEdge(bitmap.Width) && IsAcceptedTextureEdge(bitmap.Height)) {
        const std::vector<uint8_t> bgr = PaddedRows(ToBgr(bitmap), bitmap.Width, bitmap.Height);
        SetUpAndUpload(name, bitmap.Width, bitmap.Height, priority, 3, bgr.data(), GL_BGR_EXT);
        return {bitmap.Width, bitmap.Height};
    }
    return UploadResampled(name, bitmap, priority);
}

void BuildLevelTextures(const TLevelData& level) {
    const uint32_t count = std::min<uint32_t>(level.NumObjectTextures, MaxObjectTextures);
    for (uint32_t i = 1; i <= count; ++i) {
        UploadBitmap(i, ObjectTextureImage(level, i), 0);
    }
}

std::string LoadSolidTexture(const std::string& programFolder) {
    std::string path = SolidBitmapFileName; // named alone until it is found
    try {
        path = FindProgramDataFile(SolidBitmapFileName, programFolder);
        UploadBitmap(SolidTextureName, ReadBmp(path), 0);
        return "";
    } catch (const IoError& e) {
        RgbImage white(ResampledEdge, ResampledEdge);
        std::fill(white.Pixels.begin(), white.Pixels.end(), 255);
        UploadBitmap(SolidTextureName, white, 0);
        return "The plain texture " + path + " could not be read (" + e.what() +
               "); the solid view uses plain white.";
    }
}

} // namespace morvane
