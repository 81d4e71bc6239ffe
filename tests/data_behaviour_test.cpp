// The data side's behaviour at its edges: which day a day group reads, and
// the widths of the identification strings in the data flash.
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "data/DAT.h"
#include "data/FLS.h"
#include "support/Harness.h"

namespace {

TEST(SwitchingTimes, ADayGroupReadsItsFirstDay)
{
    // Selectors: 0 Monday to Sunday, 1..7 one day each, 8 Monday to Friday, 9 the weekend.
    const std::uint8_t day[10] = {0, 0, 1, 2, 3, 4, 5, 6, 0, 5};
    for (std::uint8_t s = 0; s < 10; ++s) {
        EXPECT_EQ(DAT_DayOfSelector(s), day[s]) << "selector " << int(s);
    }
    EXPECT_EQ(DAT_DayOfSelector(10), 0);

    Harness h;
    DAT_InitDefaults(0);
    DAT_SelectCircuit(2);
    DAT_SelectProgram(1);
    DAT_SelectDay(9);
    EXPECT_EQ(DAT_Phases(), DAT_image.switching[1][1][5]);
    DAT_SelectCircuit(0); // none selected: the first present circuit
    DAT_SelectProgram(2);
    DAT_SelectDay(7);
    EXPECT_EQ(DAT_Phases(), DAT_image.switching[0][2][6]);
}

TEST(CircuitLabels, AShorterLabelLeavesNothingOfTheLongerOneBefore)
{
    std::uint16_t units[25];
    for (std::uint16_t i = 0; i < 25; ++i) {
        units[i] = static_cast<std::uint16_t>('a' + i);
    }
    DAT_SetCircuitLabel(2, units, 25, 3); // twenty units at most
    std::uint16_t got[DAT_LABEL_UNITS];
    std::uint8_t language = 0;
    DAT_GetCircuitLabel(2, got, language);
    EXPECT_EQ(got[DAT_LABEL_UNITS - 1], 't');
    EXPECT_EQ(language, 3);
    const std::uint16_t xy[2] = {'X', 'Y'};
    DAT_SetCircuitLabel(2, xy, 2, 4);
    DAT_GetCircuitLabel(2, got, language);
    EXPECT_EQ(got[1], 'Y');
    for (std::uint8_t i = 2; i < DAT_LABEL_UNITS; ++i) {
        EXPECT_EQ(got[i], 0) << "unit " << int(i);
    }
    EXPECT_EQ(language, 4);
    DAT_SetCircuitLabel(3, units, 5, 1); // no such circuit: nothing changes
    DAT_GetCircuitLabel(2, got, language);
    EXPECT_EQ(got[0], 'X');
    DAT_GetCircuitLabel(1, got, language);
    EXPECT_NE(got[0], 'a');
}

class FlashStrings : public ::testing::Test {
  protected:
    void SetUp() override
    {
        FLS_PowerOn();
        FLS_Init(); // the delivered image
    }
    void TearDown() override { FLS_PowerOn(); }
    static std::string get(FLS_String which)
    {
        char b[40];
        std::memset(b, '#', sizeof b);
        const std::uint8_t n = FLS_GetString(which, b, sizeof b);
        EXPECT_EQ(b[n], '#') << "written beyond the " << int(n) << " bytes it reported";
        return std::string(b, n);
    }
    Harness h; // the host that delivers the image
};

TEST_F(FlashStrings, EachStringKeepsToItsWidthAndLeavesItsNeighbourAlone)
{
    EXPECT_EQ(get(FLS_IDENTIFICATION), "5170791000000000");
    EXPECT_EQ(get(FLS_IDENTIFICATION_2), "0000000");
    EXPECT_EQ(get(FLS_IDENTIFICATION_3), "0000000");

    EXPECT_EQ(FLS_SetString(FLS_IDENTIFICATION, "ABCDEFGHIJKLMNOPQRST", 20), 16);
    EXPECT_EQ(FLS_SetString(FLS_IDENTIFICATION_2, "abcdefghij", 10), 7);
    EXPECT_EQ(get(FLS_IDENTIFICATION), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(get(FLS_IDENTIFICATION_2), "abcdefg");
    EXPECT_EQ(get(FLS_IDENTIFICATION_3), "0000000");
    EXPECT_EQ(FLS_SetString(FLS_IDENTIFICATION_3, "XY", 2), 2);
    EXPECT_EQ(get(FLS_IDENTIFICATION_3), "XY00000");

    char shortBuffer[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(FLS_GetString(FLS_IDENTIFICATION, shortBuffer, 3), 3);
    EXPECT_EQ(std::string(shortBuffer, 4), "ABC#");
}

TEST_F(FlashStrings, ReadsReachTheLastByteOfTheImageAndNoFurther)
{
    std::uint8_t b[2] = {};
    const std::uint32_t size = FLS_Size();
    ASSERT_GT(size, 2U);
    EXPECT_EQ(FLS_Read(size - 1, b, 1), 1U);
    EXPECT_EQ(FLS_Read(size - 2, b, 2), 2U);
    EXPECT_EQ(FLS_Read(size - 1, b, 2), 0U);
    EXPECT_EQ(FLS_Read(size, b, 1), 0U);
}

} // namespace
