#include "capture/picture_win.h"

#include <cstring>

namespace qorvic {

bool Picture::Create(int width, int height) {
    Clear();
    if (width <= 0 || height <= 0)
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_)
        return false;
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

void Picture::Clear() {
    bitmap_.reset();
    bits_ = nullptr;
    width_ = height_ = 0;
}

std::uint32_t Picture::PixelAt(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    ::GdiFlush();
    return bits_[static_cast<std::size_t>(y) * width_ + x] & 0x00FFFFFFu;
}

std::uint32_t* Picture::Pixels() {
    ::GdiFlush();
    return bits_;
}

std::string Picture::ToPackedDib() const {
    if (!bits_)
        return {};
    ::GdiFlush();
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width_;
    header.biHeight = height_; // bottom-up, the form every reader accepts
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    const std::size_t row = static_cast<std::size_t>(width_) * 4;
    header.biSizeImage = static_cast<DWORD>(row * height_);
    std::string dib(sizeof header + row * height_, '\0');
    std::memcpy(dib.data(), &header, sizeof header);
    for (int y = 0; y < height_; ++y)
        std::memcpy(dib.data() + sizeof header + row * (height_ - 1 - y),
                    bits_ + static_cast<std::size_t>(y) * width_, row);
    return dib;
}

std::string Picture::ToRgb() const {
    if (!bits_)
        return {};
    ::GdiFlush();
    std::string rgb(static_cast<std::size_t>(width_) * height_ * 3, '\0');
    for (std::size_t i = 0, n = static_cast<std::size_t>(width_) * height_; i < n; ++i) {
        const std::uint32_t p = bits_[i];
        rgb[i * 3] = static_cast<char>((p >> 16) & 0xFF);
        rgb[i * 3 + 1] = static_cast<char>((p >> 8) & 0xFF);
        rgb[i * 3 + 2] = static_cast<char>(p & 0xFF);
    }
    return rgb;
}

} // namespace qorvic
