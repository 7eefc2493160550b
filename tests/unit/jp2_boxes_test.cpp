// The file layout around the codestream, read back box by box: what a viewer
// checks before it decodes a single pixel.
#include "jp2_encoder.h"
#include "pictures.h"

#include <gtest/gtest.h>

using namespace conv;
using namespace conv::testing;

namespace {

struct Box {
    std::string type;
    std::size_t contentStart, end;
};

// Splits [begin, end) into boxes; fails the test on a length that does not fit.
std::vector<Box> ReadBoxes(const Bytes& d, std::size_t begin, std::size_t end) {
    std::vector<Box> boxes;
    for (std::uint32_t length; begin < end; begin += length) {
        length = Be32(d, begin);
        if (length < 8 || begin + length > end) {
            ADD_FAILURE() << "box length " << length << " at " << begin;
            break;
        }
        boxes.push_back({std::string(&d[begin + 4], &d[begin + 8]), begin + 8, begin + length});
    }
    return boxes;
}

} // namespace

// The sizes in the image header and the codestream are the reference decoder's
// to check: it refuses a file where they disagree, and the decoded size is compared.
TEST(Jp2Boxes, SignatureTypeHeaderAndCodestreamDescribeThePicture) {
    const Bytes file = EncodeJp2(ScreenLikeImage(321, 123));
    const std::vector<Box> boxes = ReadBoxes(file, 0, file.size());
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].type + boxes[1].type + boxes[2].type + boxes[3].type, "jP  ftypjp2hjp2c");
    EXPECT_EQ(Be32(file, boxes[0].contentStart), 0x0D0A870Au);
    EXPECT_EQ(std::string(&file[boxes[1].contentStart], &file[boxes[1].contentStart + 4]), "jp2 ");
    const std::vector<Box> header = ReadBoxes(file, boxes[2].contentStart, boxes[2].end);
    ASSERT_EQ(header.size(), 2u);
    ASSERT_EQ(header[0].type, "ihdr");
    EXPECT_EQ(Be16(file, header[0].contentStart + 8), 3u) << "components";
    EXPECT_EQ(Be16(file, header[0].contentStart + 10), 0x0707u)
        << "8-bit unsigned, compression type 7";
    ASSERT_EQ(header[1].type, "colr");
    EXPECT_EQ(Be32(file, header[1].contentStart + 3), 16u) << "sRGB";

    // The codestream: a tile-part ending right before EOC, at the end of the file.
    const std::size_t cs = boxes[3].contentStart;
    EXPECT_EQ(Be32(file, cs), 0xFF4FFF51u) << "SOC, SIZ";
    const std::size_t cod = cs + 2 + 2 + Be16(file, cs + 4);
    ASSERT_EQ(Be16(file, cod), 0xFF52u) << "COD";
    const std::size_t qcd = cod + 2 + Be16(file, cod + 2);
    ASSERT_EQ(Be16(file, qcd), 0xFF5Cu) << "QCD";
    const std::size_t sot = qcd + 2 + Be16(file, qcd + 2);
    ASSERT_EQ(Be16(file, sot), 0xFF90u) << "SOT";
    EXPECT_EQ(sot + Be32(file, sot + 6) + 2, file.size());
    EXPECT_EQ(Be16(file, file.size() - 2), 0xFFD9u) << "EOC";
    EXPECT_EQ(boxes[3].end, file.size());
}
