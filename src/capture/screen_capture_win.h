// Taking the picture: the frame is hidden, the screen gets time to redraw what
// lay under it, the pixels are copied and scaled, and the frame comes back.
#pragma once

#include "capture/capture_geometry.h"
#include "capture/picture_win.h"

#include <windows.h>

#include <cstdint>

namespace qorvic {

class ScreenCapture {
public:
    // Copies `area` (screen pixels) while `frame` is hidden and scales it by
    // scaleStep / 10. An area of 4 pixels or less gives an empty picture.
    void Take(HWND frame, const Box& area, std::int16_t scaleStep);

    // The copy as taken and the scaled picture every command delivers; at
    // 100 % they are one picture, so nothing is copied twice.
    const Picture& Raw() const { return raw_; }
    const Picture& Output() const { return unscaled_ ? raw_ : output_; }

private:
    Picture raw_;
    Picture output_;
    bool unscaled_ = false;
};

} // namespace qorvic
