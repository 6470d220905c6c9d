#include "platform/win32/PngPicture.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/RunTimeError.h"

// Only the PNG reader, from memory: no files, no other formats, no messages kept per thread.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_NO_THREAD_LOCALS
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>

namespace pellmark::win32 {

forms::Bitmap DecodePng(const void* bytes, std::size_t size, const std::string& source) {
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> rgba(
        size > INT_MAX
            ? nullptr
            : stbi_load_from_memory(static_cast<const stbi_uc*>(bytes), static_cast<int>(size),
                                    &width, &height, &channels, 4),
        &stbi_image_free);
    if (!rgba || width <= 0 || height <= 0) {
        throw RunTimeError(481, "Invalid picture");
    }
    // Red, green, blue, alpha bytes are a COLORREF with its opacity on top, read as one
    // little-endian word; a file without alpha comes out opaque.
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    std::memcpy(pixels.data(), rgba.get(), pixels.size() * sizeof(std::uint32_t));
    return {width, height, std::move(pixels), source};
}

}  // namespace pellmark::win32
