// Pictures read a few rows at a time and shrunk while they arrive, so that a picture of
// many pixels costs what is kept of it, not what it holds: PNG files and uncompressed
// bitmap files by the program's own readers, whatever the system's imaging component
// would do with them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/forms/Canvas.h"
#include "platform/forms/Form.h"

namespace pellmark::win32 {

// Shrinks a picture of `width` by `height` to the cut `part` while its rows arrive top to
// bottom, each as pixels the way forms::Bitmap holds them, holding one row of sums. The
// rows may come at a lower resolution, `fedWidth` by `fedHeight`, each pixel standing for
// a block of the picture (a grid read from the first passes of an interlaced picture, or a
// picture the decoder shrank). Each pixel of the result is the mean of the block it covers,
// taken over at most four rows and four columns of it spread evenly, so that shrinking a
// picture of many pixels costs little more than reading it.
class RowScaler {
  public:
    RowScaler(const forms::PictureCut& part, int width, int height, int fedWidth, int fedHeight);
    // The fed row the next result row starts at; rows above it can be left out.
    [[nodiscard]] int NextRow() const noexcept;
    [[nodiscard]] bool Done() const noexcept { return next_ >= height_; }
    // Whether row `y` is one the mean is taken over; only those need their pixels.
    [[nodiscard]] bool Samples(int y) const noexcept;
    // Rows must come in order, each row from NextRow on; `row` holds the whole fed width
    // (or anything, for a row that is not sampled).
    void Add(int y, const std::uint32_t* row);
    [[nodiscard]] forms::Bitmap Take(const std::string& source);

  private:
    void Emit();

    int width_;
    int height_;
    std::vector<int> columnBegin_;
    std::vector<int> columnEnd_;
    std::vector<int> columnStep_;
    std::vector<int> rowBegin_;
    std::vector<int> rowEnd_;
    std::vector<std::uint64_t> sums_;
    std::vector<std::uint32_t> pixels_;
    int next_ = 0;
    bool oneToOne_ = false;  // each result pixel is one fed pixel
};

// The most pixels a picture may have where only the imaging component reads it, which holds
// a picture whole on some systems (under Wine every format).
inline constexpr std::uint64_t kMostPixelsReadWhole = 24'000'000;

// A PNG file, or a bitmap file with uncompressed rows, read by rows and cut as `cut` says;
// none when the file is of another kind (then the imaging component reads it). Throws
// run-time error 481 "Invalid picture" for a damaged file, and PictureTooLarge for a picture
// with more than kMostPixelsReadWhole pixels that would be read whole: a bitmap file of
// another compression, or, where the imaging component `holdsWhole` every picture it opens
// (a JPEG or GIF file even to tell its size), a JPEG or GIF file by its header.
[[nodiscard]] std::optional<forms::Bitmap> ReadPictureByRows(const std::wstring& path,
                                                             const std::string& source,
                                                             const forms::PictureCutter& cut,
                                                             bool holdsWhole);

// A PNG file held in memory, as the program's own pictures are built in: read whole, on
// every Windows, with or without the imaging component. Throws run-time error 481
// "Invalid picture" for anything else.
[[nodiscard]] forms::Bitmap ReadPngBytes(const void* bytes, std::size_t size,
                                         const std::string& source);

}  // namespace pellmark::win32
