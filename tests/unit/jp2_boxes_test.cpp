// The file layout around the codestream, read back field by field.
#include "converter_test_support.h"
#include "jp2_encoder.h"

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

std::string Text(const Bytes& d, std::size_t from, std::size_t to) {
    return std::string(d.begin() + from, d.begin() + to);
}

} // namespace

TEST(Jp2Boxes, SignatureTypeHeaderAndCodestreamInOrder) {
    const Bytes file = EncodeJp2(ScreenLikeImage(321, 123));
    const std::vector<Box> boxes = ReadBoxes(file, 0, file.size());
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].type, "jP  ");
    EXPECT_EQ(boxes[0].end - boxes[0].contentStart, 4u);
    EXPECT_EQ(Be32(file, boxes[0].contentStart), 0x0D0A870Au);

    EXPECT_EQ(boxes[1].type, "ftyp");
    EXPECT_EQ(Text(file, boxes[1].contentStart, boxes[1].contentStart + 4), "jp2 ");
    EXPECT_EQ(Text(file, boxes[1].contentStart + 8, boxes[1].end), "jp2 ")
        << "the compatibility list names jp2";

    EXPECT_EQ(boxes[2].type, "jp2h");
    const std::vector<Box> header = ReadBoxes(file, boxes[2].contentStart, boxes[2].end);
    ASSERT_EQ(header.size(), 2u);
    EXPECT_EQ(header[0].type, "ihdr");
    ASSERT_EQ(header[0].end - header[0].contentStart, 14u);
    const std::size_t ihdr = header[0].contentStart;
    EXPECT_EQ(Be32(file, ihdr), 123u) << "height first";
    EXPECT_EQ(Be32(file, ihdr + 4), 321u);
    EXPECT_EQ(Be16(file, ihdr + 8), 3u) << "components";
    EXPECT_EQ(Be16(file, ihdr + 10), 0x0707u) << "8-bit unsigned, compression type 7";
    EXPECT_EQ(header[1].type, "colr");
    ASSERT_EQ(header[1].end - header[1].contentStart, 7u);
    EXPECT_EQ(file[header[1].contentStart], 1) << "enumerated colour space";
    EXPECT_EQ(Be32(file, header[1].contentStart + 3), 16u) << "sRGB";

    EXPECT_EQ(boxes[3].type, "jp2c");
    EXPECT_EQ(boxes[3].end, file.size());
}

TEST(Jp2Boxes, CodestreamHeaderDescribesThePictureAndTilePartLengthIsExact) {
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{1000, 3}, std::pair{640, 480}}) {
        const Bytes file = EncodeJp2(ScreenLikeImage(w, h));
        const std::vector<Box> boxes = ReadBoxes(file, 0, file.size());
        ASSERT_EQ(boxes.size(), 4u);
        const std::size_t cs = boxes[3].contentStart;
        EXPECT_EQ(Be16(file, cs), 0xFF4Fu) << "SOC";
        ASSERT_EQ(Be16(file, cs + 2), 0xFF51u) << "SIZ";
        EXPECT_EQ(Be32(file, cs + 8), static_cast<std::uint32_t>(w));
        EXPECT_EQ(Be32(file, cs + 12), static_cast<std::uint32_t>(h));
        EXPECT_EQ(Be16(file, cs + 40), 3u) << "components";
        const std::size_t cod = cs + 2 + 2 + Be16(file, cs + 4);
        ASSERT_EQ(Be16(file, cod), 0xFF52u) << "COD";
        EXPECT_EQ(file[cod + 5], 0) << "layer-resolution-component-position";
        EXPECT_EQ(Be16(file, cod + 6), 1u) << "one layer";
        EXPECT_EQ(file[cod + 8], 1) << "colour transform";
        EXPECT_EQ(file[cod + 9], Jp2DecompositionLevels(w, h));
        EXPECT_EQ(Be16(file, cod + 10), 0x0404u) << "64 x 64 code-blocks";
        EXPECT_EQ(file[cod + 13], 1) << "5/3 wavelet";
        const std::size_t qcd = cod + 2 + Be16(file, cod + 2);
        ASSERT_EQ(Be16(file, qcd), 0xFF5Cu) << "QCD";
        EXPECT_EQ(Be16(file, qcd + 2), 3u + 3u * Jp2DecompositionLevels(w, h) + 1u);
        EXPECT_EQ(file[qcd + 4] & 0x1F, 0) << "no quantisation";
        const std::size_t sot = qcd + 2 + Be16(file, qcd + 2);
        ASSERT_EQ(Be16(file, sot), 0xFF90u) << "SOT";
        EXPECT_EQ(sot + Be32(file, sot + 6) + 2, file.size()) << "tile-part ends right before EOC";
        EXPECT_EQ(Be16(file, sot + 12), 0xFF93u) << "SOD";
        EXPECT_EQ(Be16(file, file.size() - 2), 0xFFD9u) << "EOC";
    }
}
