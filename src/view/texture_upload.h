#pragma once

#include "image/rgb_image.h"
#include "level/level_data.h"

#include <cstdint>
#include <string>

namespace morvane {

// GL texture names: object texture t (from 0) is name t + 1; the plain texture is 4000.
inline constexpr uint32_t SolidTextureName = 4000;

// Whether GL takes an edge of this length directly; other sizes are resampled to 64 x 64.
bool IsAcceptedTextureEdge(int length);

// Uploads raw pixels (GL_BGR_EXT, GL_RGB: 3 components; GL_RGBA: 4; GL_RGB16: 2; else 1) as
// texture `name`, resampled to 64 x 64 when an edge is not 8, 16, 32, 64, 128 or 256.
// Returns the size that was uploaded.
struct UploadedSize {
    int Width, Height;
};
UploadedSize UploadPixels(uint32_t name, uint16_t width, uint16_t height, uint8_t priority,
                          const uint8_t* pixels, uint32_t format);
UploadedSize UploadBitmap(uint32_t name, const RgbImage& bitmap, uint8_t priority);

// GL textures 1..NumObjectTextures from the level's object textures.
void BuildLevelTextures(const TLevelData& level);

inline constexpr const char* SolidBitmapFileName = "solid.bmp";

// Uploads the plain texture of the wireframe and solid modes from the program's data file
// "solid.bmp" (found by FindProgramDataFile from the program's folder). When the file is found
// nowhere or cannot be read a plain white texture is uploaded and the message to show is
// returned: it names the file read, or the folders looked in.
std::string LoadSolidTexture(const std::string& programFolder);

} // namespace morvane
