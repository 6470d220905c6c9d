#include "platform/win32/PictureRows.h"

#include <windows.h>

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "platform/RunTimeError.h"
#include "platform/win32/Handles.h"

namespace pellmark::win32 {

namespace {

constexpr int kMostPixelsASide = 16384;
constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

[[noreturn]] void InvalidPicture() {
    throw RunTimeError(481, "Invalid picture");
}

std::uint32_t Pixel(std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                    std::uint32_t alpha = 255) {
    return red | (green << 8) | (blue << 16) | (alpha << 24);
}

// [begin, end) of each of `count` parts of [from, from + length) of a picture `size` wide,
// in the fed resolution `fed`; at least one fed pixel each.
void Spans(int from, int length, int count, int size, int fed, std::vector<int>& begin,
           std::vector<int>& end) {
    begin.resize(static_cast<std::size_t>(count));
    end.resize(static_cast<std::size_t>(count));
    const auto toFed = [&](long long at) { return static_cast<int>(at * fed / size); };
    for (int i = 0; i < count; ++i) {
        const long long first = from + static_cast<long long>(i) * length / count;
        const long long last = from + static_cast<long long>(i + 1) * length / count;
        const int b = std::min(toFed(first), fed - 1);
        begin[static_cast<std::size_t>(i)] = b;
        end[static_cast<std::size_t>(i)] = std::clamp(toFed(last), b + 1, fed);
    }
}

// A file read through a buffer, from its start on; or bytes already in memory, read in place.
class FileReader {
  public:
    explicit FileReader(HANDLE file) : file_(file), buffer_(65536), data_(buffer_.data()) {}
    FileReader(const void* bytes, std::size_t size)
        : data_(static_cast<const std::uint8_t*>(bytes)), end_(size) {}
    [[nodiscard]] bool Read(void* out, std::size_t size) {
        auto* to = static_cast<std::uint8_t*>(out);
        while (size > 0) {
            if (at_ == end_ && !Fill()) {
                return false;
            }
            const std::size_t part = std::min(size, end_ - at_);
            std::memcpy(to, data_ + at_, part);
            at_ += part;
            to += part;
            size -= part;
        }
        return true;
    }
    [[nodiscard]] bool Skip(std::uint32_t size) {
        std::uint8_t sink[256];
        while (size > 0) {
            const std::uint32_t part = std::min<std::uint32_t>(size, sizeof sink);
            if (!Read(sink, part)) {
                return false;
            }
            size -= part;
        }
        return true;
    }
    // At most `size` bytes, into `out`; how many.
    std::size_t ReadSome(std::uint8_t* out, std::size_t size) {
        if (at_ == end_ && !Fill()) {
            return 0;
        }
        const std::size_t part = std::min(size, end_ - at_);
        std::memcpy(out, data_ + at_, part);
        at_ += part;
        return part;
    }
    [[nodiscard]] bool ReadAt(std::uint64_t offset, void* out, DWORD size) {
        if (file_ == nullptr) {
            return false;  // only files are read out of order
        }
        // SetFilePointer rather than its 64-bit form, which 95, 98 and Me do not have.
        LONG high = static_cast<LONG>(offset >> 32);
        DWORD read = 0;
        at_ = end_ = 0;
        ::SetLastError(NO_ERROR);
        return !(::SetFilePointer(file_, static_cast<LONG>(offset & 0xFFFFFFFF), &high,
                                  FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
                 ::GetLastError() != NO_ERROR) &&
               ::ReadFile(file_, out, size, &read, nullptr) != FALSE && read == size;
    }

  private:
    bool Fill() {
        DWORD read = 0;
        if (file_ == nullptr ||
            ::ReadFile(file_, buffer_.data(), static_cast<DWORD>(buffer_.size()), &read, nullptr) ==
                FALSE ||
            read == 0) {
            return false;
        }
        at_ = 0;
        end_ = read;
        return true;
    }
    HANDLE file_ = nullptr;             // none: the bytes are in memory
    std::vector<std::uint8_t> buffer_;  // a file's; bytes in memory are read in place
    const std::uint8_t* data_;
    std::size_t at_ = 0;
    std::size_t end_ = 0;
};

std::uint32_t BigEndian(const std::uint8_t* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

std::uint32_t LittleEndian(const std::uint8_t* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count; i-- > 0;) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

// The compressed rows of a PNG file: the data of its IDAT chunks, one after another,
// inflated as they are asked for.
class PngStream {
  public:
    PngStream(FileReader& file, std::uint32_t firstChunk) : file_(file), left_(firstChunk) {
        if (inflateInit(&z_) != Z_OK) {
            throw RunTimeError(7, "Out of memory");
        }
    }
    ~PngStream() { inflateEnd(&z_); }
    PngStream(const PngStream&) = delete;
    PngStream& operator=(const PngStream&) = delete;

    void Read(std::uint8_t* out, std::size_t size) {
        z_.next_out = out;
        z_.avail_out = static_cast<uInt>(size);
        while (z_.avail_out > 0) {
            if (z_.avail_in == 0 && !Refill()) {
                InvalidPicture();
            }
            const int status = inflate(&z_, Z_NO_FLUSH);
            if (status != Z_OK && !(status == Z_STREAM_END && z_.avail_out == 0)) {
                InvalidPicture();
            }
        }
    }

  private:
    bool Refill() {
        while (left_ == 0) {
            // The chunk's check sum, then the next chunk, which must be IDAT too.
            std::uint8_t header[12];
            if (!file_.Read(header, sizeof header) || std::memcmp(header + 8, "IDAT", 4) != 0) {
                return false;
            }
            left_ = BigEndian(header + 4);
        }
        const std::size_t got =
            file_.ReadSome(input_.data(), std::min<std::size_t>(left_, input_.size()));
        left_ -= static_cast<std::uint32_t>(got);
        z_.next_in = input_.data();
        z_.avail_in = static_cast<uInt>(got);
        return got > 0;
    }
    FileReader& file_;
    std::uint32_t left_;
    z_stream z_{};
    std::array<std::uint8_t, 32768> input_{};
};

struct PngHeader {
    int width = 0;
    int height = 0;
    int depth = 0;
    int colourType = 0;
    bool interlaced = false;
    int channels = 0;
    std::array<std::uint32_t, 256> palette{};
    std::array<std::uint32_t, 3> key{};  // tRNS of grey or truecolour pictures
    bool hasKey = false;
};

int PngChannels(int colourType) {
    switch (colourType) {
        case 0:
        case 3:
            return 1;
        case 2:
            return 3;
        case 4:
            return 2;
        case 6:
            return 4;
        default:
            return 0;
    }
}

void Unfilter(std::uint8_t* row, const std::uint8_t* above, std::size_t size, std::size_t step) {
    const std::uint8_t type = row[0];
    ++row;
    ++above;
    // One loop per filter: every byte of a large picture goes through here.
    switch (type) {
        case 0:
            return;
        case 1:
            for (std::size_t i = step; i < size; ++i) {
                row[i] = static_cast<std::uint8_t>(row[i] + row[i - step]);
            }
            return;
        case 2:
            for (std::size_t i = 0; i < size; ++i) {
                row[i] = static_cast<std::uint8_t>(row[i] + above[i]);
            }
            return;
        case 3:
            for (std::size_t i = 0; i < size; ++i) {
                const int left = i >= step ? row[i - step] : 0;
                row[i] = static_cast<std::uint8_t>(row[i] + (left + above[i]) / 2);
            }
            return;
        case 4:
            for (std::size_t i = 0; i < size; ++i) {
                const int left = i >= step ? row[i - step] : 0;
                const int up = above[i];
                const int upLeft = i >= step ? above[i - step] : 0;
                const int p = left + up - upLeft;
                const int pa = std::abs(p - left);
                const int pb = std::abs(p - up);
                const int pc = std::abs(p - upLeft);
                row[i] = static_cast<std::uint8_t>(
                    row[i] + (pa <= pb && pa <= pc ? left : (pb <= pc ? up : upLeft)));
            }
            return;
        default:
            InvalidPicture();
    }
}

// Row `bytes` (after its filter byte) of `count` pixels as forms::Bitmap pixels.
void PngPixels(const PngHeader& png, const std::uint8_t* bytes, int count, std::uint32_t* out) {
    const int depth = png.depth;
    const auto sample = [&](int index) -> std::uint32_t {
        if (depth == 8) {
            return bytes[index];
        }
        if (depth == 16) {
            return (std::uint32_t{bytes[index * 2]} << 8) | bytes[index * 2 + 1];
        }
        const int bit = index * depth;
        return (bytes[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
    };
    const auto level = [&](std::uint32_t value) -> std::uint32_t {
        if (depth == 16) {
            return value >> 8;
        }
        return depth == 8 ? value : value * 255 / ((1u << depth) - 1);
    };
    const int channels = png.channels;
    for (int x = 0; x < count; ++x) {
        const int first = x * channels;
        switch (png.colourType) {
            case 0: {
                const std::uint32_t grey = sample(first);
                const std::uint32_t g = level(grey);
                out[x] = Pixel(g, g, g, png.hasKey && grey == png.key[0] ? 0 : 255);
                break;
            }
            case 2: {
                const std::uint32_t r = sample(first);
                const std::uint32_t g = sample(first + 1);
                const std::uint32_t b = sample(first + 2);
                const bool clear =
                    png.hasKey && r == png.key[0] && g == png.key[1] && b == png.key[2];
                out[x] = Pixel(level(r), level(g), level(b), clear ? 0 : 255);
                break;
            }
            case 3:
                out[x] = png.palette[sample(first)];
                break;
            case 4: {
                const std::uint32_t g = level(sample(first));
                out[x] = Pixel(g, g, g, level(sample(first + 1)));
                break;
            }
            default:
                out[x] = Pixel(level(sample(first)), level(sample(first + 1)),
                               level(sample(first + 2)), level(sample(first + 3)));
                break;
        }
    }
}

// Where each pass of an interlaced picture starts and how far apart its pixels are, and the
// grid that the passes up to each one fill (every `gridX`-th column of every `gridY`-th
// row).
struct Pass {
    int x;
    int y;
    int stepX;
    int stepY;
    int gridX;
    int gridY;
};
constexpr std::array<Pass, 7> kPasses{{{0, 0, 8, 8, 8, 8},
                                       {4, 0, 8, 8, 4, 8},
                                       {0, 4, 4, 8, 4, 4},
                                       {2, 0, 4, 4, 2, 4},
                                       {0, 2, 2, 4, 2, 2},
                                       {1, 0, 2, 2, 1, 2},
                                       {0, 1, 1, 2, 1, 1}}};
// An interlaced picture is read into a grid of its first passes: at most this many bytes.
constexpr std::uint64_t kMostGridBytes = 32u << 20;

class PngRows {
  public:
    PngRows(const PngHeader& png, PngStream& stream) : png_(png), stream_(stream) {}

    // Decodes `count` rows of `pixels` pixels each, handing `take` each row's number and a
    // call that gives its pixels; `take` answers whether more rows are wanted.
    template <typename Take>
    void Rows(int pixels, int count, Take take) {
        const std::size_t bits = static_cast<std::size_t>(png_.channels) * png_.depth;
        const std::size_t size = (static_cast<std::size_t>(pixels) * bits + 7) / 8;
        const std::size_t step = std::max<std::size_t>(1, bits / 8);
        std::vector<std::uint8_t> row(size + 1);
        std::vector<std::uint8_t> above(size + 1);
        out_.resize(static_cast<std::size_t>(pixels));
        for (int i = 0; i < count; ++i) {
            stream_.Read(row.data(), row.size());
            Unfilter(row.data(), above.data(), size, step);
            const auto pixelsOfRow = [&] {
                PngPixels(png_, row.data() + 1, pixels, out_.data());
                return out_.data();
            };
            if (!take(i, pixelsOfRow)) {
                return;
            }
            row.swap(above);
        }
    }

  private:
    const PngHeader& png_;
    PngStream& stream_;
    std::vector<std::uint32_t> out_;
};

forms::Bitmap ReadPng(FileReader& file, const std::string& source,
                      const forms::PictureCutter& cut) {
    PngHeader png;
    std::uint8_t header[8];
    bool seenHeader = false;
    std::uint32_t length = 0;
    for (;;) {
        if (!file.Read(header, 8)) {
            InvalidPicture();
        }
        length = BigEndian(header);
        const std::string_view type(reinterpret_cast<const char*>(header + 4), 4);
        if (type == "IDAT") {
            break;
        }
        std::uint8_t data[768] = {};
        const bool known = type == "IHDR" || type == "PLTE" || type == "tRNS";
        if (!known || length > sizeof data) {
            if (!file.Skip(length) || !file.Skip(4) || type == "IEND" || type == "IHDR") {
                InvalidPicture();
            }
            continue;
        }
        if (!file.Read(data, length) || !file.Skip(4)) {
            InvalidPicture();
        }
        if (type == "IHDR") {
            const std::uint32_t width = BigEndian(data);
            const std::uint32_t height = BigEndian(data + 4);
            png.depth = data[8];
            png.colourType = data[9];
            png.channels = PngChannels(png.colourType);
            png.interlaced = data[12] == 1;
            const bool depthFits = png.colourType == 3   ? png.depth <= 8
                                   : png.colourType == 0 ? true
                                                         : png.depth >= 8;
            if (length != 13 || width == 0 || height == 0 || width > kMostPixelsASide ||
                height > kMostPixelsASide || png.channels == 0 || !depthFits ||
                (png.depth & (png.depth - 1)) != 0 || png.depth > 16 || data[10] != 0 ||
                data[11] != 0 || data[12] > 1) {
                InvalidPicture();
            }
            png.width = static_cast<int>(width);
            png.height = static_cast<int>(height);
            seenHeader = true;
        } else if (type == "PLTE") {
            for (std::uint32_t i = 0; i + 2 < length; i += 3) {
                png.palette[i / 3] = Pixel(data[i], data[i + 1], data[i + 2]);
            }
        } else if (png.colourType == 3) {  // tRNS: the palette's opacities
            for (std::uint32_t i = 0; i < length && i < 256; ++i) {
                png.palette[i] = (png.palette[i] & 0xFFFFFF) | (std::uint32_t{data[i]} << 24);
            }
        } else if (length >= 2) {  // tRNS: the one colour that is see-through
            png.hasKey = true;
            for (std::uint32_t i = 0; i < 3 && i * 2 + 1 < length; ++i) {
                png.key[i] = (std::uint32_t{data[i * 2]} << 8) | data[i * 2 + 1];
            }
        }
    }
    if (!seenHeader) {
        InvalidPicture();
    }
    const int w = png.width;
    const int h = png.height;
    const forms::PictureCut part = forms::WithinPicture(cut(w, h), w, h);
    PngStream stream(file, length);
    PngRows rows(png, stream);
    if (!png.interlaced) {
        RowScaler scaler(part, w, h, w, h);
        rows.Rows(w, h, [&](int y, const auto& pixels) {
            if (y >= scaler.NextRow()) {
                scaler.Add(y, scaler.Samples(y) ? pixels() : nullptr);
            }
            return !scaler.Done();
        });
        return scaler.Take(source);
    }
    // The first passes, as many as the cut has use for and the grid's bytes allow.
    std::size_t last = 0;
    const auto gridBytes = [&](const Pass& pass) {
        return std::uint64_t{4} * ((w + pass.gridX - 1) / pass.gridX) *
               ((h + pass.gridY - 1) / pass.gridY);
    };
    while (last + 1 < kPasses.size() && gridBytes(kPasses[last + 1]) <= kMostGridBytes &&
           (kPasses[last].gridX > std::max(1, part.source.width / part.width) ||
            kPasses[last].gridY > std::max(1, part.source.height / part.height))) {
        ++last;
    }
    const int gridX = kPasses[last].gridX;
    const int gridY = kPasses[last].gridY;
    const int gridWidth = (w + gridX - 1) / gridX;
    const int gridHeight = (h + gridY - 1) / gridY;
    std::vector<std::uint32_t> grid(static_cast<std::size_t>(gridWidth) * gridHeight);
    for (std::size_t p = 0; p <= last; ++p) {
        const Pass& pass = kPasses[p];
        const int across = (w - pass.x + pass.stepX - 1) / pass.stepX;
        const int down = (h - pass.y + pass.stepY - 1) / pass.stepY;
        if (across <= 0 || down <= 0) {
            continue;
        }
        rows.Rows(across, down, [&](int i, const auto& pixelsOfRow) {
            const std::uint32_t* pixels = pixelsOfRow();
            std::uint32_t* into =
                grid.data() +
                static_cast<std::size_t>((pass.y + i * pass.stepY) / gridY) * gridWidth;
            for (int x = 0; x < across; ++x) {
                into[(pass.x + x * pass.stepX) / gridX] = pixels[x];
            }
            return true;
        });
    }
    RowScaler scaler(part, w, h, gridWidth, gridHeight);
    for (int y = scaler.NextRow(); !scaler.Done(); ++y) {
        scaler.Add(y, grid.data() + static_cast<std::size_t>(y) * gridWidth);
    }
    return scaler.Take(source);
}

// A bitmap file whose rows are stored as they are: 1, 4 or 8 bits through a colour table,
// 16 bits (5-5-5 or masks), 24 bits, or 32 bits (with or without masks). None for another
// kind, which the caller hands on.
std::optional<forms::Bitmap> ReadBitmap(FileReader& file, const std::string& source,
                                        const forms::PictureCutter& cut) {
    std::uint8_t head[14 + 124] = {};
    if (!file.ReadAt(0, head, 18)) {
        InvalidPicture();
    }
    const std::uint32_t infoSize = LittleEndian(head + 14, 4);
    if (infoSize != 12 && (infoSize < 40 || infoSize > 124)) {
        return std::nullopt;
    }
    if (!file.Read(head + 18, infoSize - 4)) {
        InvalidPicture();
    }
    const bool core = infoSize == 12;
    const std::uint8_t* info = head + 14;
    const auto width =
        static_cast<std::int32_t>(core ? LittleEndian(info + 4, 2) : LittleEndian(info + 4, 4));
    auto height =
        static_cast<std::int32_t>(core ? LittleEndian(info + 6, 2) : LittleEndian(info + 8, 4));
    const std::uint32_t bits = LittleEndian(info + (core ? 10 : 14), 2);
    const std::uint32_t compression = core ? 0 : LittleEndian(info + 16, 4);
    const bool topDown = height < 0;
    if (height < 0) {
        height = height == INT32_MIN ? 0 : -height;
    }
    if (width <= 0 || height == 0 || width > kMostPixelsASide || height > kMostPixelsASide) {
        InvalidPicture();
    }
    const bool masked = compression == 3 && (bits == 16 || bits == 32);
    if (!(compression == 0 &&
          (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32)) &&
        !masked) {
        // Compressed rows are for the imaging component, which holds the picture whole.
        if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) >
            kMostPixelsReadWhole) {
            throw PictureTooLarge(kMostPixelsReadWhole);
        }
        return std::nullopt;
    }
    // Red, green, blue and opacity; a header of 56 bytes or more may give the opacity's.
    std::array<std::uint32_t, 4> masks{0x7C00, 0x03E0, 0x001F, 0};
    if (bits == 32 && !masked) {
        masks = {0xFF0000, 0xFF00, 0xFF, 0};
    }
    if (masked && infoSize >= 56) {
        masks[3] = LittleEndian(info + 52, 4);
    }
    if (masked) {
        std::uint8_t stored[12];
        if (infoSize >= 52) {
            std::memcpy(stored, info + 40, 12);
        } else if (!file.Read(stored, 12)) {
            InvalidPicture();
        }
        for (int i = 0; i < 3; ++i) {
            masks[static_cast<std::size_t>(i)] = LittleEndian(stored + 4 * i, 4);
        }
    }
    std::array<std::uint32_t, 256> palette{};
    if (bits <= 8) {
        const std::uint32_t used = core ? 0 : LittleEndian(info + 32, 4);
        const std::uint32_t entries = used == 0 || used > (1u << bits) ? 1u << bits : used;
        const std::size_t entrySize = core ? 3 : 4;
        std::uint8_t table[256 * 4];
        if (!file.Read(table, entries * entrySize)) {
            InvalidPicture();
        }
        for (std::uint32_t i = 0; i < entries; ++i) {
            const std::uint8_t* entry = table + i * entrySize;
            palette[i] = Pixel(entry[2], entry[1], entry[0]);
        }
    }
    // Each mask's lowest bit and its width, so a channel of any width comes out as 0-255.
    std::array<int, 4> shift{};
    std::array<std::uint32_t, 4> top{};
    for (std::size_t i = 0; i < 4; ++i) {
        std::uint32_t mask = masks[i];
        while (mask != 0 && (mask & 1) == 0) {
            mask >>= 1;
            ++shift[i];
        }
        top[i] = mask;
    }
    const auto channel = [&](std::uint32_t value, std::size_t i) -> std::uint32_t {
        if (top[i] == 0) {
            return i == 3 ? 255 : 0;
        }
        return static_cast<std::uint32_t>(std::uint64_t{(value >> shift[i]) & top[i]} * 255 /
                                          top[i]);
    };
    const std::uint64_t offset = LittleEndian(head + 10, 4);
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
    const forms::PictureCut part = forms::WithinPicture(cut(width, height), width, height);
    RowScaler scaler(part, width, height, width, height);
    std::vector<std::uint8_t> row(stride);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width));
    for (int y = scaler.NextRow(); !scaler.Done(); ++y) {
        if (!scaler.Samples(y)) {
            scaler.Add(y, nullptr);
            continue;
        }
        const std::uint64_t stored = topDown ? y : height - 1 - y;
        if (!file.ReadAt(offset + stored * stride, row.data(), stride)) {
            InvalidPicture();
        }
        for (int x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(x) * bits / 8;
            if (bits < 8) {
                const int bit = x * static_cast<int>(bits) % 8;
                pixels[static_cast<std::size_t>(x)] =
                    palette[(row[at] >> (8 - static_cast<int>(bits) - bit)) & ((1u << bits) - 1)];
                continue;
            }
            if (bits == 8) {
                pixels[static_cast<std::size_t>(x)] = palette[row[at]];
                continue;
            }
            const std::uint32_t value = LittleEndian(row.data() + at, static_cast<int>(bits / 8));
            if (bits == 24) {
                pixels[static_cast<std::size_t>(x)] =
                    Pixel((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
                continue;
            }
            pixels[static_cast<std::size_t>(x)] =
                Pixel(channel(value, 0), channel(value, 1), channel(value, 2), channel(value, 3));
        }
        scaler.Add(y, pixels.data());
    }
    return scaler.Take(source);
}

}  // namespace

namespace {

constexpr int kMostSamples = 4;

int SampleStep(int begin, int end) {
    return std::max(1, (end - begin) / kMostSamples);
}

// How many of [begin, end) are taken, `step` apart.
std::uint64_t Sampled(int begin, int end, int step) {
    return static_cast<std::uint64_t>((end - begin + step - 1) / step);
}

}  // namespace

RowScaler::RowScaler(const forms::PictureCut& part, int width, int height, int fedWidth,
                     int fedHeight)
    : width_(part.width), height_(part.height) {
    Spans(part.source.left, part.source.width, part.width, width, fedWidth, columnBegin_,
          columnEnd_);
    Spans(part.source.top, part.source.height, part.height, height, fedHeight, rowBegin_, rowEnd_);
    for (std::size_t x = 0; x < columnBegin_.size(); ++x) {
        columnStep_.push_back(SampleStep(columnBegin_[x], columnEnd_[x]));
    }
    const auto single = [](const std::vector<int>& begin, const std::vector<int>& end) {
        for (std::size_t i = 0; i < begin.size(); ++i) {
            if (end[i] != begin[i] + 1 || (i > 0 && begin[i] != begin[i - 1] + 1)) {
                return false;
            }
        }
        return true;
    };
    oneToOne_ = single(columnBegin_, columnEnd_) && single(rowBegin_, rowEnd_);
    sums_.assign(static_cast<std::size_t>(width_) * 4, 0);
    pixels_.reserve(static_cast<std::size_t>(width_) * height_);
}

int RowScaler::NextRow() const noexcept {
    return Done() ? rowEnd_.back() : rowBegin_[static_cast<std::size_t>(next_)];
}

bool RowScaler::Samples(int y) const noexcept {
    if (Done()) {
        return false;
    }
    const auto at = static_cast<std::size_t>(next_);
    const int begin = rowBegin_[at];
    return y >= begin && (y - begin) % SampleStep(begin, rowEnd_[at]) == 0;
}

void RowScaler::Add(int y, const std::uint32_t* row) {
    if (oneToOne_) {
        // Kept at its own size: the row as it is, without sums and divisions per pixel.
        if (row != nullptr && !Done() && y == rowBegin_[static_cast<std::size_t>(next_)]) {
            pixels_.insert(pixels_.end(), row + columnBegin_.front(),
                           row + columnBegin_.front() + width_);
            ++next_;
        }
        return;
    }
    while (!Done()) {
        const auto at = static_cast<std::size_t>(next_);
        if (y < rowBegin_[at]) {
            return;
        }
        for (std::size_t x = 0; x < columnBegin_.size() && Samples(y); ++x) {
            std::uint64_t* sum = &sums_[x * 4];
            for (int from = columnBegin_[x]; from < columnEnd_[x]; from += columnStep_[x]) {
                const std::uint32_t pixel = row[from];
                sum[0] += pixel & 0xFF;
                sum[1] += (pixel >> 8) & 0xFF;
                sum[2] += (pixel >> 16) & 0xFF;
                sum[3] += pixel >> 24;
            }
        }
        if (y + 1 < rowEnd_[at]) {
            return;
        }
        Emit();
    }
}

void RowScaler::Emit() {
    const auto at = static_cast<std::size_t>(next_);
    const std::uint64_t rows =
        Sampled(rowBegin_[at], rowEnd_[at], SampleStep(rowBegin_[at], rowEnd_[at]));
    for (std::size_t x = 0; x < columnBegin_.size(); ++x) {
        const std::uint64_t count = rows * Sampled(columnBegin_[x], columnEnd_[x], columnStep_[x]);
        std::uint64_t* sum = &sums_[x * 4];
        std::uint32_t pixel = 0;
        for (int c = 0; c < 4; ++c) {
            pixel |= static_cast<std::uint32_t>((sum[c] + count / 2) / count) << (8 * c);
            sum[c] = 0;
        }
        pixels_.push_back(pixel);
    }
    ++next_;
}

forms::Bitmap RowScaler::Take(const std::string& source) {
    if (!Done()) {
        InvalidPicture();
    }
    return {width_, height_, std::move(pixels_), source};
}

std::optional<forms::Bitmap> ReadPictureByRows(const std::wstring& path, const std::string& source,
                                               const forms::PictureCutter& cut, bool holdsWhole) {
    UniqueFile handle(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle) {
        return std::nullopt;
    }
    FileReader file(handle.get());
    std::uint8_t signature[10] = {};
    if (!file.Read(signature, 2)) {
        return std::nullopt;
    }
    if (signature[0] == 'B' && signature[1] == 'M') {
        return ReadBitmap(file, source, cut);
    }
    if (signature[0] == 0xFF && signature[1] == 0xD8) {
        // JPEG: its size from the first frame header (SOF0 to SOF15, not DHT, JPG or DAC).
        std::uint8_t marker[9];
        while (holdsWhole && file.Read(marker, 4) && marker[0] == 0xFF) {
            const std::uint32_t length = (std::uint32_t{marker[2]} << 8) | marker[3];
            if (marker[1] >= 0xC0 && marker[1] <= 0xCF && marker[1] != 0xC4 && marker[1] != 0xC8 &&
                marker[1] != 0xCC) {
                if (file.Read(marker, 5) &&
                    std::uint64_t{(std::uint32_t{marker[1]} << 8) | marker[2]} *
                            ((std::uint32_t{marker[3]} << 8) | marker[4]) >
                        kMostPixelsReadWhole) {
                    throw PictureTooLarge(kMostPixelsReadWhole);
                }
                break;
            }
            if (length < 2 || !file.Skip(length - 2)) {
                break;
            }
        }
        return std::nullopt;
    }
    if (!file.Read(signature + 2, 8 - 2)) {
        return std::nullopt;
    }
    if (std::memcmp(signature, "GIF8", 4) == 0) {
        // GIF: the size of its screen.
        if (holdsWhole && file.Read(signature + 8, 2) &&
            std::uint64_t{LittleEndian(signature + 6, 2)} * LittleEndian(signature + 8, 2) >
                kMostPixelsReadWhole) {
            throw PictureTooLarge(kMostPixelsReadWhole);
        }
        return std::nullopt;
    }
    if (std::memcmp(signature, kPngSignature, sizeof kPngSignature) != 0) {
        return std::nullopt;
    }
    return ReadPng(file, source, cut);
}

forms::Bitmap ReadPngBytes(const void* bytes, std::size_t size, const std::string& source) {
    FileReader memory(bytes, size);
    std::uint8_t signature[sizeof kPngSignature] = {};
    if (!memory.Read(signature, sizeof signature) ||
        std::memcmp(signature, kPngSignature, sizeof kPngSignature) != 0) {
        InvalidPicture();
    }
    // Kept at its own size: every pixel comes out as it is stored.
    return ReadPng(memory, source, [](int width, int height) {
        return forms::PictureCut{{0, 0, width, height}, width, height};
    });
}

}  // namespace pellmark::win32
