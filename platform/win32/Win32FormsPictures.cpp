// Pictures on real windows: files decoded by the Windows Imaging Component (built into
// Vista and later, an installable component on XP) or, without it, read as bitmaps by the
// system; the program's own pictures by its PNG decoder; drawn with GDI; and the canvas
// that Paint handlers draw on.
#include <windows.h>

#include <commctrl.h>
#include <wincodec.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/RunTimeError.h"
#include "platform/win32/IconPixels.h"
#include "platform/win32/ImagingGuids.h"
#include "platform/win32/PictureRows.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32FormsWindows.h"
#include "platform/win32/Win32Services.h"

namespace pellmark::win32 {

namespace {

using formwindows::DrawBitmap;

// Written out, so that nothing links to the imaging component's own library: the program
// must start where the component is missing, and only pictures from files then fail.

[[noreturn]] void InvalidPicture() {
    throw RunTimeError(481, "Invalid picture");
}

// A blue, green, red, alpha pixel of a DIB as a COLORREF with its opacity on top.
std::uint32_t FromBgra(std::uint32_t pixel, bool opaque) {
    const std::uint32_t blue = pixel & 0xFF;
    const std::uint32_t green = (pixel >> 8) & 0xFF;
    const std::uint32_t red = (pixel >> 16) & 0xFF;
    const std::uint32_t alpha = opaque ? 0xFF : pixel >> 24;
    return red | (green << 8) | (blue << 16) | (alpha << 24);
}

constexpr UINT kMostPixelsASide = 16384;

// The decoder's own shrinking, which the cross compiler's headers do not declare.
constexpr GUID kSourceTransform = {
    0x3b16811b, 0x6a43, 0x4ec9, {0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9, 0x40}};
struct IWICBitmapSourceTransform : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                                 WICPixelFormatGUID* format,
                                                 WICBitmapTransformOptions transform, UINT stride,
                                                 UINT size, BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                           BOOL* supported) = 0;
};

// Wine's decoders decode the whole picture as soon as it is opened, and offer the transform
// but shrink only afterwards.
bool DecodersHoldWhole() {
    const HMODULE system = ::GetModuleHandleW(L"ntdll.dll");
    return system != nullptr && ::GetProcAddress(system, "wine_get_version") != nullptr;
}

// Where the decoder itself decodes at a smaller size (JPEG on Windows, in its transform),
// the whole picture at the smallest of its sizes that still has the pixels the cut asks
// for, shrunk to the cut; none where it cannot.
std::optional<forms::Bitmap> FromSmallerDecode(IWICBitmapFrameDecode& frame,
                                               const forms::PictureCut& part, int width, int height,
                                               const std::string& source) {
    ComPtr<IWICBitmapSourceTransform> transform;
    auto smallWidth = static_cast<UINT>(
        (static_cast<long long>(width) * part.width + part.source.width - 1) / part.source.width);
    auto smallHeight =
        static_cast<UINT>((static_cast<long long>(height) * part.height + part.source.height - 1) /
                          part.source.height);
    WICPixelFormatGUID format = kBgra32;
    if ((smallWidth >= static_cast<UINT>(width) && smallHeight >= static_cast<UINT>(height)) ||
        DecodersHoldWhole()) {
        return std::nullopt;
    }
    if (FAILED(frame.QueryInterface(kSourceTransform, transform.put_void())) ||
        FAILED(transform->GetClosestSize(&smallWidth, &smallHeight)) || smallWidth == 0 ||
        smallHeight == 0 || smallWidth > static_cast<UINT>(width) ||
        smallHeight > static_cast<UINT>(height) ||
        std::uint64_t{smallWidth} * smallHeight > kMostPixelsReadWhole ||
        FAILED(transform->GetClosestPixelFormat(&format))) {
        return std::nullopt;
    }
    const UINT bytes = format == kBgra32 || format == kBgr32 ? 4
                       : format == kBgr24                    ? 3
                       : format == kGrey8                    ? 1
                                                             : 0;
    if (bytes == 0) {
        return std::nullopt;
    }
    const UINT stride = (smallWidth * bytes + 3) / 4 * 4;
    std::vector<BYTE> decoded(static_cast<std::size_t>(stride) * smallHeight);
    if (FAILED(transform->CopyPixels(nullptr, smallWidth, smallHeight, &format,
                                     WICBitmapTransformRotate0, stride,
                                     static_cast<UINT>(decoded.size()), decoded.data()))) {
        return std::nullopt;
    }
    RowScaler scaler(part, width, height, static_cast<int>(smallWidth),
                     static_cast<int>(smallHeight));
    std::vector<std::uint32_t> row(smallWidth);
    for (int y = scaler.NextRow(); !scaler.Done(); ++y) {
        const BYTE* from = decoded.data() + static_cast<std::size_t>(y) * stride;
        for (UINT x = 0; x < smallWidth; ++x, from += bytes) {
            row[x] = bytes == 1 ? FromBgra(from[0] * 0x010101u, true)
                                : FromBgra(from[0] | (from[1] << 8) | (from[2] << 16), true);
        }
        scaler.Add(y, row.data());
    }
    return scaler.Take(source);
}

// The first frame, cut and shrunk as asked. Where the decoder cannot shrink it, it is pulled
// through a converter a band of rows at a time, but the decoder may still hold it whole (under
// Wine every decoder does), so then it may have at most kMostPixelsReadWhole pixels.
forms::Bitmap FromFrame(IWICImagingFactory& factory, IWICBitmapDecoder& decoder,
                        const std::string& source, const forms::PictureCutter* cut) {
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(decoder.GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) ||
        width == 0 || height == 0 || width > kMostPixelsASide || height > kMostPixelsASide) {
        InvalidPicture();
    }
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    const forms::PictureCut part = forms::WithinPicture(
        cut != nullptr ? (*cut)(w, h) : forms::PictureCut{{0, 0, w, h}, w, h}, w, h);
    if (std::optional<forms::Bitmap> small = FromSmallerDecode(*frame.get(), part, w, h, source)) {
        return std::move(*small);
    }
    if (std::uint64_t{width} * height > kMostPixelsReadWhole) {
        throw PictureTooLarge(kMostPixelsReadWhole);
    }
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory.CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), kBgra32, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom))) {
        InvalidPicture();
    }
    RowScaler scaler(part, w, h, w, h);
    constexpr int kBand = 32;
    std::vector<std::uint32_t> band(static_cast<std::size_t>(w) * kBand);
    for (int y = scaler.NextRow(); !scaler.Done();) {
        const int rows = std::min(kBand, h - y);
        const WICRect rect{0, y, w, rows};
        if (rows <= 0 ||
            FAILED(converter->CopyPixels(&rect, width * 4,
                                         static_cast<UINT>(band.size() * sizeof(std::uint32_t)),
                                         reinterpret_cast<BYTE*>(band.data())))) {
            InvalidPicture();
        }
        for (int i = 0; i < rows; ++i, ++y) {
            std::uint32_t* row = band.data() + static_cast<std::size_t>(i) * w;
            std::transform(row, row + w, row,
                           [](std::uint32_t pixel) { return FromBgra(pixel, false); });
            scaler.Add(y, row);
        }
    }
    return scaler.Take(source);
}

// Null where the imaging component is missing (Windows XP without it, and older).
ComPtr<IWICImagingFactory> ImagingFactory() {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(ComCreateInstance(kImagingFactory, CLSCTX_INPROC_SERVER,
                                 __uuidof(IWICImagingFactory), factory.put_void()))) {
        factory.Reset();
    }
    return factory;
}

// A GDI bitmap's pixels. A 32-bit bitmap whose fourth bytes are not all zero keeps them as
// its opacity (the menu pictures); any other is opaque.
forms::Bitmap FromHandle(HBITMAP handle, const std::string& source) {
    BITMAP size{};
    if (::GetObjectW(handle, sizeof size, &size) == 0 || size.bmWidth <= 0 || size.bmHeight == 0) {
        InvalidPicture();
    }
    const int width = size.bmWidth;
    const int height = size.bmHeight < 0 ? -size.bmHeight : size.bmHeight;
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, width, -height, 1, 32, BI_RGB};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    UniqueScreenDc screen(::GetDC(nullptr));
    if (::GetDIBits(screen.get(), handle, 0, static_cast<UINT>(height), pixels.data(), &format,
                    DIB_RGB_COLORS) == 0) {
        InvalidPicture();
    }
    const bool opaque =
        size.bmBitsPixel != 32 ||
        std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return p >> 24 == 0; });
    for (std::uint32_t& pixel : pixels) {
        pixel = FromBgra(pixel, opaque);
    }
    return {width, height, std::move(pixels), source};
}

}  // namespace

UniqueGdiObject DibSectionOf(const forms::Bitmap& picture) {
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, picture.Width(), -picture.Height(), 1, 32, BI_RGB};
    void* bits = nullptr;
    UniqueGdiObject bitmap(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) {
        return {};
    }
    auto* out = static_cast<std::uint32_t*>(bits);
    for (const std::uint32_t pixel : picture.Pixels()) {
        const std::uint32_t alpha = pixel >> 24;
        const auto premultiply = [alpha](std::uint32_t channel) { return channel * alpha / 255; };
        *out++ = premultiply(pixel & 0xFF) << 16 | premultiply((pixel >> 8) & 0xFF) << 8 |
                 premultiply((pixel >> 16) & 0xFF) | alpha << 24;
    }
    return bitmap;
}

namespace {

// What GDI keeps of a picture to draw it: a DIB of premultiplied pixels.
struct GdiPicture final : forms::Bitmap::Cache {
    UniqueGdiObject bitmap;
};

HBITMAP GdiBitmapOf(const forms::Bitmap& picture) {
    if (auto* cached = dynamic_cast<GdiPicture*>(picture.DrawingCache())) {
        return static_cast<HBITMAP>(cached->bitmap.get());
    }
    auto made = std::make_unique<GdiPicture>();
    made->bitmap = DibSectionOf(picture);
    const auto handle = static_cast<HBITMAP>(made->bitmap.get());
    if (handle != nullptr) {
        picture.SetDrawingCache(std::move(made));
    }
    return handle;
}

// A Windows metafile with its placeable header (the key 0x9AC6CDD7, the picture's frame
// in units of 1/`inch` inch), which the imaging component has no reader for: GDI draws it
// into a bitmap of the size `cut` asks, on white. Empty when the file is no such metafile.
forms::Bitmap DrawMetafile(const std::wstring& wide, const std::string& path,
                           const forms::PictureCutter& cut) {
    constexpr std::size_t kHeader = 22;
    // A metafile is records of drawing, seldom more than a few megabytes.
    constexpr DWORD kMostBytes = 64u << 20;
    UniqueFile file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    std::uint8_t header[kHeader] = {};
    DWORD read = 0;
    if (!file || ::ReadFile(file.get(), header, kHeader, &read, nullptr) == FALSE ||
        read != kHeader || header[0] != 0xD7 || header[1] != 0xCD || header[2] != 0xC6 ||
        header[3] != 0x9A) {
        return {};
    }
    const auto word = [&header](std::size_t at) {
        return static_cast<std::int16_t>(header[at] | header[at + 1] << 8);
    };
    const int inch = static_cast<std::uint16_t>(word(14));
    const long frameWidth = static_cast<long>(word(10)) - word(6);
    const long frameHeight = static_cast<long>(word(12)) - word(8);
    const DWORD size = ::GetFileSize(file.get(), nullptr);
    if (inch == 0 || frameWidth <= 0 || frameHeight <= 0 || size == INVALID_FILE_SIZE ||
        size <= kHeader || size > kMostBytes) {
        InvalidPicture();
    }
    // Its size at 96 DPI.
    const int width = ::MulDiv(static_cast<int>(frameWidth), 96, inch);
    const int height = ::MulDiv(static_cast<int>(frameHeight), 96, inch);
    if (width <= 0 || height <= 0 || width > static_cast<int>(kMostPixelsASide) ||
        height > static_cast<int>(kMostPixelsASide)) {
        InvalidPicture();
    }
    std::vector<BYTE> records(size - kHeader);
    if (::ReadFile(file.get(), records.data(), static_cast<DWORD>(records.size()), &read,
                   nullptr) == FALSE ||
        read != records.size()) {
        InvalidPicture();
    }
    // In HIMETRIC, so that the enhanced metafile keeps the frame's proportions.
    const METAFILEPICT picture{MM_ANISOTROPIC, ::MulDiv(static_cast<int>(frameWidth), 2540, inch),
                               ::MulDiv(static_cast<int>(frameHeight), 2540, inch), nullptr};
    const UniqueEnhMetaFile enhanced(
        ::SetWinMetaFileBits(static_cast<UINT>(records.size()), records.data(), nullptr, &picture));
    if (!enhanced) {
        InvalidPicture();
    }
    records = {};
    const forms::PictureCut part = forms::WithinPicture(cut(width, height), width, height);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, part.width, -part.height, 1, 32, BI_RGB};
    void* bits = nullptr;
    UniqueScreenDc screen(::GetDC(nullptr));
    UniqueGdiObject target(
        ::CreateDIBSection(screen.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
    if (!target || bits == nullptr || !dc) {
        throw RunTimeError(7, "Out of memory");
    }
    const HGDIOBJ old = ::SelectObject(dc.get(), target.get());
    const RECT all{0, 0, part.width, part.height};
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    // The whole picture at the cut's scale, placed so that the cut's part fills the bitmap.
    const double scaleX = static_cast<double>(part.width) / part.source.width;
    const double scaleY = static_cast<double>(part.height) / part.source.height;
    const RECT placed{static_cast<LONG>(std::lround(-part.source.left * scaleX)),
                      static_cast<LONG>(std::lround(-part.source.top * scaleY)),
                      static_cast<LONG>(std::lround((width - part.source.left) * scaleX)),
                      static_cast<LONG>(std::lround((height - part.source.top) * scaleY))};
    const BOOL played = ::PlayEnhMetaFile(dc.get(), enhanced.get(), &placed);
    ::SelectObject(dc.get(), old);
    ::GdiFlush();
    if (played == FALSE) {
        InvalidPicture();
    }
    const auto* drawn = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(drawn,
                                      drawn + static_cast<std::size_t>(part.width) * part.height);
    for (std::uint32_t& pixel : pixels) {
        pixel = FromBgra(pixel, true);
    }
    return {part.width, part.height, std::move(pixels), path};
}

}  // namespace

namespace formwindows {

void DrawBitmap(HDC dc, const forms::Bitmap& picture, const RECT& area) {
    if (const forms::Bitmap large = picture.Large();
        !large.Empty() &&
        (area.right - area.left > picture.Width() || area.bottom - area.top > picture.Height())) {
        DrawBitmap(dc, large, area);
        return;
    }
    HBITMAP bitmap = picture.Empty() ? nullptr : GdiBitmapOf(picture);
    if (bitmap == nullptr || ::IsRectEmpty(&area) != FALSE) {
        return;
    }
    UniqueMemoryDc source(::CreateCompatibleDC(dc));
    const HGDIOBJ old = ::SelectObject(source.get(), bitmap);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (picture.HasTransparency()) {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        // gdi32's own since XP (msimg32 only forwards to it); 98 and Me have msimg32 alone.
        using Blend =
            BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
        static const auto alphaBlend = [] {
            const auto own = SystemFunction<Blend>(SystemLibrary::Gdi, "GdiAlphaBlend");
            return own != nullptr ? own
                                  : SystemFunction<Blend>(SystemLibrary::Blending, "AlphaBlend");
        }();
        if (alphaBlend != nullptr) {
            alphaBlend(dc, area.left, area.top, width, height, source.get(), 0, 0, picture.Width(),
                       picture.Height(), blend);
        }
    } else if (width == picture.Width() && height == picture.Height()) {
        ::BitBlt(dc, area.left, area.top, width, height, source.get(), 0, 0, SRCCOPY);
    } else {
        const int mode = ::SetStretchBltMode(dc, HALFTONE);
        POINT origin{};
        ::SetBrushOrgEx(dc, 0, 0, &origin);
        ::StretchBlt(dc, area.left, area.top, width, height, source.get(), 0, 0, picture.Width(),
                     picture.Height(), SRCCOPY);
        ::SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
        ::SetStretchBltMode(dc, mode);
    }
    ::SelectObject(source.get(), old);
}

UniqueImageList MakeImageList(const forms::ImageList& images, int width, int size) {
    UniqueImageList list(::ImageList_Create(width, size, ILC_COLOR32 | ILC_MASK, 0,
                                            static_cast<int>(images.images.size())));
    if (!list) {
        return list;
    }
    UniqueScreenDc screen(::GetDC(nullptr));
    // A monochrome mask's rows are padded to 16 bits.
    const int maskRow = (width + 15) / 16 * 2;
    std::vector<std::uint8_t> maskBits(static_cast<std::size_t>(maskRow) * size);
    for (const forms::Bitmap& picture : images.images) {
        // Each picture drawn to the list's size, its transparency kept in the alpha channel.
        BITMAPINFO format{};
        format.bmiHeader = {sizeof format.bmiHeader, width, -size, 1, 32, BI_RGB};
        void* bits = nullptr;
        UniqueGdiObject cell(
            ::CreateDIBSection(screen.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
        std::fill(maskBits.begin(), maskBits.end(), std::uint8_t{0});
        if (cell) {
            UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
            const HGDIOBJ old = ::SelectObject(dc.get(), cell.get());
            DrawBitmap(dc.get(), picture, {0, 0, width, size});
            ::SelectObject(dc.get(), old);
            ::GdiFlush();
            auto* pixel = static_cast<std::uint32_t*>(bits);
            if (!picture.HasTransparency() && bits != nullptr) {
                // GDI leaves the alpha of opaque drawing at 0, which would hide the image.
                for (int i = 0; i < width * size; ++i) {
                    pixel[i] |= 0xFF000000u;
                }
            } else if (bits != nullptr) {
                // A list takes an image whose alpha is all 0 for an opaque one (black), so
                // the mask says which pixels are not there at all.
                for (int y = 0; y < size; ++y) {
                    for (int x = 0; x < width; ++x) {
                        if (pixel[y * width + x] >> 24 == 0) {
                            maskBits[static_cast<std::size_t>(y * maskRow + x / 8)] |=
                                static_cast<std::uint8_t>(0x80 >> (x % 8));
                        }
                    }
                }
            }
        }
        UniqueGdiObject mask(::CreateBitmap(width, size, 1, 1, maskBits.data()));
        ::ImageList_Add(list.get(), static_cast<HBITMAP>(cell.get()),
                        static_cast<HBITMAP>(mask.get()));
    }
    return list;
}

BufferedPaint::BufferedPaint(HDC target, const RECT& area) : target_(target), area_(area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    buffer_.reset(::CreateCompatibleDC(target));
    bitmap_.reset(::CreateCompatibleBitmap(target, width, height));
    if (!buffer_ || !bitmap_) {
        buffer_.reset();
        return;
    }
    old_ = ::SelectObject(buffer_.get(), bitmap_.get());
    ::SetViewportOrgEx(buffer_.get(), -area.left, -area.top, nullptr);
    // What is there already, for drawing that does not cover it all.
    ::BitBlt(buffer_.get(), area.left, area.top, width, height, target, area.left, area.top,
             SRCCOPY);
}

BufferedPaint::~BufferedPaint() {
    if (!buffer_) {
        return;
    }
    ::BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
             buffer_.get(), area_.left, area_.top, SRCCOPY);
    ::SelectObject(buffer_.get(), old_);
}

GdiCanvas::GdiCanvas(HDC dc, FormWindow& form, Map map, const void* context, int width, int height)
    : dc_(dc),
      form_(form),
      map_(map),
      context_(context),
      width_(width),
      height_(height),
      saved_(::SaveDC(dc)) {
    ::SetBkMode(dc, TRANSPARENT);
}

GdiCanvas::~GdiCanvas() {
    ::RestoreDC(dc_, saved_);
}

void GdiCanvas::Fill(const forms::Bounds& area, std::uint32_t colour) {
    const RECT rect = Mapped(area);
    // An opaque empty text fills without a brush to make.
    const COLORREF old = ::SetBkColor(dc_, colour);
    ::ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc_, old);
}

void GdiCanvas::Frame(const forms::Bounds& area, std::uint32_t colour) {
    const RECT rect = Mapped(area);
    const COLORREF old = ::SetBkColor(dc_, colour);
    const RECT sides[] = {{rect.left, rect.top, rect.right, rect.top + 1},
                          {rect.left, rect.bottom - 1, rect.right, rect.bottom},
                          {rect.left, rect.top, rect.left + 1, rect.bottom},
                          {rect.right - 1, rect.top, rect.right, rect.bottom}};
    for (const RECT& side : sides) {
        ::ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &side, nullptr, 0, nullptr);
    }
    ::SetBkColor(dc_, old);
}

void GdiCanvas::Line(int x1, int y1, int x2, int y2, std::uint32_t colour) {
    const RECT from = Mapped({x1, y1, 0, 0});
    const RECT to = Mapped({x2, y2, 0, 0});
    UniqueGdiObject pen(::CreatePen(PS_SOLID, 1, colour));
    const HGDIOBJ old = ::SelectObject(dc_, pen.get());
    ::MoveToEx(dc_, from.left, from.top, nullptr);
    ::LineTo(dc_, to.left, to.top);
    ::SelectObject(dc_, old);
}

void GdiCanvas::Text(const std::string& text, const forms::Bounds& area,
                     const forms::TextStyle& style) {
    RECT rect = Mapped(area);
    Win32FormsBackend::SharedFont font = form_.MakeFont(style.font);
    ::SelectObject(dc_, font->get());
    fonts_.push_back(std::move(font));  // selected until the canvas restores the DC
    ::SetTextColor(dc_, style.colour);
    const UINT align = style.align == forms::TextAlign::Centre  ? DT_CENTER
                       : style.align == forms::TextAlign::Right ? DT_RIGHT
                                                                : DT_LEFT;
    formtext::DrawTextIn(dc_, text, rect,
                         align | DT_NOPREFIX | (style.wrap ? DT_WORDBREAK : DT_SINGLELINE));
}

void GdiCanvas::Draw(const forms::Bitmap& picture, const forms::Bounds& area) {
    DrawBitmap(dc_, picture, Mapped(area));
}

void GdiCanvas::Clip(const forms::Bounds& area) {
    const RECT rect = Mapped(area);
    ::IntersectClipRect(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

}  // namespace formwindows

forms::Bitmap Win32FormsBackend::LoadPicture(const std::string& path) {
    return LoadPicturePart(path, [](int width, int height) {
        return forms::PictureCut{{0, 0, width, height}, width, height};
    });
}

forms::Bitmap Win32FormsBackend::LoadPicturePart(const std::string& path,
                                                 const forms::PictureCutter& cut) {
    const std::wstring wide = Widen(path);
    if (::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
        throw RunTimeError(53, "File not found");
    }
    if (forms::Bitmap drawn = DrawMetafile(wide, path, cut); !drawn.Empty()) {
        return drawn;
    }
    if (std::optional<forms::Bitmap> read =
            ReadPictureByRows(wide, path, cut, DecodersHoldWhole())) {
        return std::move(*read);
    }
    ComScope com;
    ComPtr<IWICImagingFactory> factory = ImagingFactory();
    if (!factory) {
        // Without the imaging component, bitmap files still load, whole.
        UniqueGdiObject bitmap(::LoadImageW(nullptr, wide.c_str(), IMAGE_BITMAP, 0, 0,
                                            LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        if (!bitmap) {
            InvalidPicture();
        }
        return FromHandle(static_cast<HBITMAP>(bitmap.get()), path);
    }
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.put()))) {
        InvalidPicture();
    }
    return FromFrame(*factory.get(), *decoder.get(), path, &cut);
}

forms::Bitmap Win32FormsBackend::LoadResourcePicture(const std::string& name) {
    const std::wstring wide = Widen(name);
    HRSRC found = ::FindResourceW(instance_, wide.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = found != nullptr ? ::LoadResource(instance_, found) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        InvalidPicture();
    }
    return ReadPngBytes(bytes, ::SizeofResource(instance_, found), name);
}

namespace {

// Icon `index` of `file` drawn from the file's own image nearest `size` pixels; empty when
// the file or the icon is missing.
forms::Bitmap FileIconAt(const std::string& file, int index, int size) {
    // user32 has long exported it, but the headers of old systems did not list it: looked up,
    // so that the program still starts where it is missing.
    using PrivateW = UINT(WINAPI*)(LPCWSTR, int, int, int, HICON*, UINT*, UINT, UINT);
    using PrivateA = UINT(WINAPI*)(LPCSTR, int, int, int, HICON*, UINT*, UINT, UINT);
    using ExtractW = UINT(WINAPI*)(LPCWSTR, int, HICON*, HICON*, UINT);
    using ExtractA = UINT(WINAPI*)(LPCSTR, int, HICON*, HICON*, UINT);
    static const HMODULE user = ::GetModuleHandleW(L"user32.dll");
    static const auto privateW = reinterpret_cast<PrivateW>(
        reinterpret_cast<void (*)()>(::GetProcAddress(user, "PrivateExtractIconsW")));
    static const auto privateA = reinterpret_cast<PrivateA>(
        reinterpret_cast<void (*)()>(::GetProcAddress(user, "PrivateExtractIconsA")));
    HICON drawn = nullptr;
    UINT id = 0;
    bool asked = false;
    UINT found = CallWithText(
        file, 0U,
        [&](const wchar_t* wide) {
            asked = privateW != nullptr;
            return asked ? privateW(wide, index, size, size, &drawn, &id, 1, 0) : 0U;
        },
        [&](const char* ansi) {
            asked = privateA != nullptr;
            return asked ? privateA(ansi, index, size, size, &drawn, &id, 1, 0) : 0U;
        });
    if (!asked) {
        // Without it, the shell gives the system's two sizes, and the nearer is stretched.
        static const auto extractW =
            SystemFunction<ExtractW>(SystemLibrary::Shell, "ExtractIconExW");
        static const auto extractA =
            SystemFunction<ExtractA>(SystemLibrary::Shell, "ExtractIconExA");
        HICON large = nullptr;
        HICON small = nullptr;
        const bool small16 = size <= 16;
        // With no icon at that index the call leaves both null; asking for one size only.
        found = CallWithText(
            file, 0U,
            [&](const wchar_t* wide) {
                return extractW == nullptr ? 0U
                                           : extractW(wide, index, small16 ? nullptr : &large,
                                                      small16 ? &small : nullptr, 1);
            },
            [&](const char* ansi) {
                return extractA == nullptr ? 0U
                                           : extractA(ansi, index, small16 ? nullptr : &large,
                                                      small16 ? &small : nullptr, 1);
            });
        drawn = small16 ? small : large;
    }
    const UniqueIcon icon(drawn);
    if (found == 0 || found == UINT_MAX || !icon) {
        return {};
    }
    std::vector<std::uint32_t> pixels = IconPixels(icon.get(), size);
    if (pixels.empty()) {
        return {};
    }
    return {size, size, std::move(pixels), file};
}

}  // namespace

forms::Bitmap Win32FormsBackend::LoadFileIcon(const std::string& file, int index, int size) {
    if (size <= 0) {
        return {};
    }
    forms::Bitmap icon = FileIconAt(file, index, size);
    // On a screen of more dots per inch the icon shows larger: it carries the file's own
    // drawing at that size, sharper than this one stretched.
    if (const int screen = ::MulDiv(size, dpi_, 96); !icon.Empty() && screen > size) {
        if (const forms::Bitmap large = FileIconAt(file, index, screen); !large.Empty()) {
            icon.SetLarge(large);
        }
    }
    return icon;
}

forms::Bitmap Win32FormsBackend::LoadScalablePicture(const std::string& name,
                                                     const std::string& largeName) {
    // From 120 DPI (125 %) up: scaling the large drawing down stays sharper than scaling
    // the small one up.
    constexpr int kLargeFromDpi = 120;
    forms::Bitmap picture = LoadResourcePicture(name);
    if (dpi_ >= kLargeFromDpi) {
        try {
            picture.SetLarge(LoadResourcePicture(largeName));
        } catch (const RunTimeError&) {
            // Without its large drawing the picture is stretched, as any other.
        }
    }
    return picture;
}

}  // namespace pellmark::win32
