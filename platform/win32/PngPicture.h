// The program's own pictures are built in as PNG files and decoded here, by a small decoder
// linked into the program: it works on every Windows the program runs on (the imaging
// component is missing on 95/98/Me and on XP without it) and loads no library at start-up.
#pragma once

#include <cstddef>
#include <string>

#include "platform/forms/Canvas.h"

namespace pellmark::win32 {

// The picture in a PNG file's bytes, with its opacity when the file has one (else opaque);
// throws run-time error 481 "Invalid picture" when the bytes are no PNG it can read.
[[nodiscard]] forms::Bitmap DecodePng(const void* bytes, std::size_t size,
                                      const std::string& source);

}  // namespace pellmark::win32
