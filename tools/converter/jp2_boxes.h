// The JP2 file format around a codestream: signature, file type ("jp2 "), the
// header box with image header and sRGB colour box, and the
// contiguous codestream box.
#pragma once

#include <cstdint>
#include <vector>

namespace conv {

std::vector<std::uint8_t> WrapJp2(std::uint32_t width, std::uint32_t height, int components,
                                  const std::vector<std::uint8_t>& codestream);

} // namespace conv
