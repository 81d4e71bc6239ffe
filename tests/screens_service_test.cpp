// The actor descriptors the control unit sends, read within their block, and
// the descriptions of the coding addresses.
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "screens/common/ML.h"
#include "screens/service/BAT.h"
#include "screens/service/BCP.h"

namespace {

std::uint32_t Visible(std::vector<std::uint8_t> descriptors)
{
    return BAT_VisibleActors(descriptors.data(), descriptors.size());
}

std::uint32_t Bit(int entry)
{
    return 1U << entry;
}

TEST(ActorDescriptors, EachNibbleShowsItsEntry)
{
    EXPECT_EQ(Visible({0x02}), Bit(0));
    EXPECT_EQ(Visible({0x03}), Bit(2));
    for (int n = 4; n <= 15; ++n) {
        EXPECT_EQ(Visible({static_cast<std::uint8_t>(n)}), Bit(n)) << n;
    }
    // With a stage bit (either of the top two), 2..6 are the burner stages and the solar pump.
    const int staged[] = {1, 3, 16, 17, 18};
    for (int n = 2; n <= 6; ++n) {
        EXPECT_EQ(Visible({static_cast<std::uint8_t>(0x80 | n)}), Bit(staged[n - 2])) << n;
        EXPECT_EQ(Visible({static_cast<std::uint8_t>(0x40 | n)}), Bit(staged[n - 2])) << n;
    }
    // Nibbles that name nothing.
    EXPECT_EQ(Visible({0x01, 0x10, 0xC1, 0xC7, 0xCF}), 0U);
}

TEST(ActorDescriptors, ZeroEndsTheList)
{
    EXPECT_EQ(Visible({0x00, 0x02, 0x03}), 0U);
    EXPECT_EQ(Visible({0x04, 0x00, 0x05}), Bit(4));
    EXPECT_EQ(Visible({}), 0U);
}

// A full block has no end mark: what lies after it is not read.
TEST(ActorDescriptors, AFullBlockIsReadToItsEndOnly)
{
    constexpr std::size_t kBlock = 25;
    std::vector<std::uint8_t> bytes(kBlock + 1, 0x02);
    bytes[kBlock] = 0x0F; // the next block's byte
    EXPECT_EQ(BAT_VisibleActors(bytes.data(), kBlock), Bit(0));
    // Exactly as long as the block on the heap, so that the sanitizer sees a read past it.
    const auto exact = std::make_unique<std::uint8_t[]>(kBlock);
    for (std::size_t i = 0; i < kBlock; ++i) {
        exact[i] = static_cast<std::uint8_t>(4 + i % 12);
    }
    EXPECT_EQ(BAT_VisibleActors(exact.get(), kBlock), 0xFFF0U);
}

TEST(CodingDescriptions, KnownAddressesOnly)
{
    EXPECT_EQ(BCP_Description(BCP_GROUP_BOILER, 0x01), 77);
    EXPECT_EQ(BCP_Description(BCP_GROUP_BOILER, 0x34), 89);
    EXPECT_EQ(BCP_Description(BCP_GROUP_HOT_WATER, 0x73), 100);
    EXPECT_EQ(BCP_Description(BCP_GROUP_GENERAL, 0x00), 21);
    EXPECT_EQ(BCP_Description(BCP_GROUP_SOLAR, 0x0F), 185);
    // The two heating circuits share their descriptions; F6 and F7 are the pump-switching texts.
    EXPECT_EQ(BCP_Description(BCP_GROUP_CIRCUIT1, 0xF6), 203);
    EXPECT_EQ(BCP_Description(BCP_GROUP_CIRCUIT2, 0xF7), 202);
    EXPECT_EQ(BCP_Description(BCP_GROUP_CIRCUIT2, 0xA2), 290);
    // An address of another group, and one no group describes.
    EXPECT_EQ(BCP_Description(BCP_GROUP_BOILER, 0x00), ML_NO_TEXT);
    EXPECT_EQ(BCP_Description(BCP_GROUP_SOLAR, 0xA2), ML_NO_TEXT);
    EXPECT_EQ(BCP_Description(BCP_GROUP_GENERAL, 0xFF), ML_NO_TEXT);
    EXPECT_EQ(BCP_Description(0, 0x01), ML_NO_TEXT);
}

} // namespace
