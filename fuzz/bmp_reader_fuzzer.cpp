// Bitmap files and clipboard DIBs from outside. A decoded picture must have
// exactly its pixels, and our own writer's file of it must decode to the same.
#include "fuzz_support.h"

#include "bmp_reader.h"
#include "bmp_writer.h"
#include "dib.h"
#include "formats.h"

#include <span>
#include <vector>

namespace {

void CheckPicture(const conv::Image& image) {
    FUZZ_CHECK(image.width > 0 && image.height > 0);
    FUZZ_CHECK(image.rgb.size() ==
               static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3);
    // Small pictures only: the writer's round trip of a huge one costs too much time.
    if (image.rgb.size() > (1u << 20))
        return;
    const std::vector<std::uint8_t> file = conv::EncodeBmp(image);
    conv::Image again;
    std::string error;
    FUZZ_CHECK(conv::DecodeBmp(file, again, error));
    FUZZ_CHECK(again.width == image.width && again.height == image.height);
    FUZZ_CHECK(again.rgb == image.rgb);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    std::string error;
    conv::Image image;
    const bool decoded = conv::DecodeBmp(bytes, image, error);
    if (decoded)
        CheckPicture(image);
    else
        FUZZ_CHECK(!error.empty());
    // Rows offered for reading in place are exactly the decoded picture's.
    conv::PixelRows rows;
    if (conv::BmpRows(bytes, rows)) {
        FUZZ_CHECK(decoded && rows.width == image.width && rows.height == image.height);
        for (int y = 0; y < rows.height; ++y)
            for (int x = 0; x < rows.width; ++x)
                for (int c = 0; c < 3; ++c)
                    FUZZ_CHECK(rows.row(y)[3 * x + (rows.bgr ? 2 - c : c)] == image.pixel(x, y)[c]);
        // Every encoder writes the same file from them as from the decoded copy.
        std::vector<std::uint8_t> inPlace, copied;
        for (const wchar_t* target : {L"a.bmp", L"a.gif", L"a.jp2", L"a.jpg", L"a.png", L"a.tif"})
            FUZZ_CHECK(image.rgb.size() > (1u << 12) ||
                       (conv::EncodeByExtension(rows, target, inPlace, error) &&
                        conv::EncodeByExtension(conv::RowsOf(image), target, copied, error) &&
                        inPlace == copied));
    }

    // The same bytes without the 14-byte file header are what the clipboard holds.
    conv::Image fromDib;
    if (conv::DecodeDib(bytes, fromDib, error))
        CheckPicture(fromDib);
    return 0;
}
