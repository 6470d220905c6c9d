#include "platform/forms/Canvas.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace pellmark::forms {

Bitmap::Bitmap(int width, int height, std::vector<std::uint32_t> pixels, std::string source) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        throw std::invalid_argument("a bitmap's pixels do not match its size");
    }
    auto data = std::make_shared<Data>();
    data->width = width;
    data->height = height;
    data->transparent = std::any_of(pixels.begin(), pixels.end(),
                                    [](std::uint32_t pixel) { return (pixel >> 24) != 0xFF; });
    data->pixels = std::move(pixels);
    data->source = std::move(source);
    data_ = std::move(data);
}

const std::string& Bitmap::Source() const noexcept {
    static const std::string none;
    return data_ ? data_->source : none;
}

const std::vector<std::uint32_t>& Bitmap::Pixels() const noexcept {
    static const std::vector<std::uint32_t> none;
    return data_ ? data_->pixels : none;
}

std::uint32_t Bitmap::ColourAt(int x, int y) const noexcept {
    if (!data_ || x < 0 || y < 0 || x >= data_->width || y >= data_->height) {
        return 0;
    }
    return data_->pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(data_->width) +
                         static_cast<std::size_t>(x)] &
           0xFFFFFFu;
}

Bitmap Bitmap::Large() const noexcept {
    return data_ ? Bitmap(data_->large) : Bitmap();
}

void Bitmap::SetLarge(const Bitmap& large) const {
    if (data_ && large.data_ != data_) {
        data_->large = large.data_;
    }
}

void Bitmap::SetDrawingCache(std::unique_ptr<Cache> cache) const {
    if (data_) {
        data_->cache = std::move(cache);
    }
}

}  // namespace pellmark::forms
