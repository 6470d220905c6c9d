// Pictures and the surface a form or a picture box paints on, written once: the win32
// backend draws with GDI into a buffer shown in one step, the sim backend records what was
// drawn so that tests can read it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Control.h"

namespace pellmark::forms {

// A picture in memory: its pixels row by row from the top, each a COLORREF (red in the low
// byte) with its opacity in the top byte (255 opaque). Its size is in pixels at 96 DPI; it
// is drawn larger on a screen of more dots per inch.
class Bitmap {
  public:
    Bitmap() = default;
    Bitmap(int width, int height, std::vector<std::uint32_t> pixels, std::string source = {});

    [[nodiscard]] bool Empty() const noexcept { return data_ == nullptr; }
    [[nodiscard]] int Width() const noexcept { return data_ ? data_->width : 0; }
    [[nodiscard]] int Height() const noexcept { return data_ ? data_->height : 0; }
    // Where it came from: a file's path or a resource's name.
    [[nodiscard]] const std::string& Source() const noexcept;
    [[nodiscard]] const std::vector<std::uint32_t>& Pixels() const noexcept;
    // The colour at a point, opacity left out; 0 outside the picture.
    [[nodiscard]] std::uint32_t ColourAt(int x, int y) const noexcept;
    [[nodiscard]] bool HasTransparency() const noexcept { return data_ && data_->transparent; }
    // Two bitmaps are the same when they share their pixels (copies do).
    friend bool operator==(const Bitmap& a, const Bitmap& b) noexcept { return a.data_ == b.data_; }

    // What a backend keeps with the pixels to draw them fast (a GDI bitmap); made on first use.
    struct Cache {
        virtual ~Cache() = default;
    };
    [[nodiscard]] Cache* DrawingCache() const noexcept {
        return data_ ? data_->cache.get() : nullptr;
    }
    void SetDrawingCache(std::unique_ptr<Cache> cache) const;

    // The same picture drawn larger, for high DPI: a backend draws it instead wherever the
    // picture shows larger than its own size. Size, pixels and outline stay this picture's.
    [[nodiscard]] Bitmap Large() const noexcept;
    void SetLarge(const Bitmap& large) const;

  private:
    struct Data;
    explicit Bitmap(std::shared_ptr<const Data> data) noexcept : data_(std::move(data)) {}

    struct Data {
        int width = 0;
        int height = 0;
        bool transparent = false;
        std::vector<std::uint32_t> pixels;
        std::string source;
        mutable std::unique_ptr<Cache> cache;
        mutable std::shared_ptr<const Data> large;
    };
    std::shared_ptr<const Data> data_;
};

enum class TextAlign { Left, Centre, Right };

// How much room a text takes, in pixels at 96 DPI.
struct TextSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const TextSize&, const TextSize&) = default;
};

struct TextStyle {
    Font font;
    std::uint32_t colour = 0;  // COLORREF
    TextAlign align = TextAlign::Left;
    bool wrap = false;
};

// Coordinates are in the painted control's scale: a picture box's units, else pixels at 96
// DPI. A clip lasts until the Paint handler returns.
class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void Fill(const Bounds& area, std::uint32_t colour) = 0;
    // A one-pixel outline just inside the area.
    virtual void Frame(const Bounds& area, std::uint32_t colour) = 0;
    // From the first point up to, but not including, the second.
    virtual void Line(int x1, int y1, int x2, int y2, std::uint32_t colour) = 0;
    virtual void Text(const std::string& text, const Bounds& area, const TextStyle& style) = 0;
    // The picture stretched over the area; its transparent pixels let what is beneath show.
    virtual void Draw(const Bitmap& picture, const Bounds& area) = 0;
    // Further drawing only inside the area (within any clip already set).
    virtual void Clip(const Bounds& area) = 0;
    // The size of the surface in its scale.
    [[nodiscard]] virtual int Width() const = 0;
    [[nodiscard]] virtual int Height() const = 0;
};

}  // namespace pellmark::forms
