// The icons as the drawing layer and the screens rely on them.
#include <cstddef>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <utility>

#include "gui/GUI_Bitmap.h"

namespace {

struct Icon {
    const char* name;
    const GUI_PICTURE* pic;
};

#define ICON(n)                                                                                                        \
    Icon                                                                                                               \
    {                                                                                                                  \
#n, &n                                                                                                         \
    }
const Icon icons[] = {
    ICON(bmFault45),
    ICON(bmMaintenance45),
    ICON(bmHeating45),
    ICON(bmHotWater45),
    ICON(bmSolar45),
    ICON(bmInfo45),
    ICON(bmFlueGasTest45),
    ICON(bmHelp45),
    ICON(bmRoomTemp45),
    ICON(bmProgramOff45),
    ICON(bmParty45),
    ICON(bmEconomy45),
    ICON(bmHeatingHotWater45x77),
    ICON(bmFault22),
    ICON(bmMaintenance22),
    ICON(bmHeating22),
    ICON(bmHotWater22),
    ICON(bmInfo22),
    ICON(bmSettings22),
    ICON(bmService22),
    ICON(bmDiagnosis22),
    ICON(bmCalibration22),
    ICON(bmLink24),
    ICON(bmMarkerDownActive23),
    ICON(bmMarkerDownIdle23),
    ICON(bmMarkerUpActive23),
    ICON(bmMarkerUpIdle23),
    ICON(bmFault58),
    ICON(bmMaintenance58),
    ICON(bmHourglass00),
    ICON(bmHourglass01),
    ICON(bmHourglass02),
    ICON(bmHourglass03),
    ICON(bmHourglass04),
    ICON(bmHourglass05),
    ICON(bmHourglass06),
    ICON(bmHourglass07),
    ICON(bmHourglass08),
    ICON(bmHourglass09),
    ICON(bmHourglass10),
    ICON(bmHourglass11),
    ICON(bmHourglass12),
    ICON(bmHourglass13),
    ICON(bmHourglass14),
    ICON(bmHourglass15),
    ICON(bmHourglass16),
    ICON(bmPhase1_18),
    ICON(bmPhase2_18),
    ICON(bmPhase3_18),
    ICON(bmPhase4_18),
    ICON(bmPhaseEnd17),
    ICON(bmBurner28),
    ICON(bmSeparator19),
    ICON(bmSeparatorDotted19),
    ICON(bmRoomTemp30),
    ICON(bmSettings26),
};
#undef ICON

bool Ink(const GUI_PICTURE& p, int x, int y)
{
    return (p.data[y * p.bytesPerRow + x / 8] & (0x80 >> (x % 8))) != 0;
}

int InkIn(const GUI_PICTURE& p, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            n += Ink(p, x, y) ? 1 : 0;
    return n;
}

int InkAll(const GUI_PICTURE& p)
{
    return InkIn(p, 0, 0, p.width - 1, p.height - 1);
}

TEST(GuiIcons, SizesAndCountsAreWhatTheScreensDraw)
{
    const std::map<std::pair<int, int>, int> expected = {
        {{45, 45}, 12}, {{45, 77}, 1}, {{22, 22}, 9}, {{24, 24}, 1}, {{23, 13}, 4}, {{58, 58}, 2}, {{16, 36}, 16},
        {{36, 16}, 1},  {{18, 18}, 4}, {{17, 17}, 1}, {{28, 22}, 1}, {{19, 1}, 2},  {{30, 24}, 1}, {{26, 20}, 1},
    };
    std::map<std::pair<int, int>, int> counted;
    for (const Icon& i : icons)
        ++counted[{i.pic->width, i.pic->height}];
    EXPECT_EQ(counted, expected);
    EXPECT_EQ(std::size(icons), 56u);
}

TEST(GuiIcons, AreOneBitRowsWithoutDrawingMethod)
{
    for (const Icon& i : icons) {
        SCOPED_TRACE(i.name);
        EXPECT_EQ(i.pic->bitsPerPixel, 1);
        EXPECT_EQ(i.pic->bytesPerRow, (i.pic->width + 7) / 8);
        EXPECT_NE(i.pic->data, nullptr);
        EXPECT_EQ(i.pic->method, nullptr);
    }
}

// A set padding bit would paint outside the icon when it is clipped or drawn in XOR mode.
TEST(GuiIcons, PaddingBitsBeyondTheWidthAreClear)
{
    for (const Icon& i : icons) {
        const GUI_PICTURE& p = *i.pic;
        if (p.width % 8 == 0)
            continue;
        const unsigned padMask = 0xFFu >> (p.width % 8);
        for (int y = 0; y < p.height; ++y)
            EXPECT_EQ(p.data[y * p.bytesPerRow + p.bytesPerRow - 1] & padMask, 0u) << i.name << " row " << y;
    }
}

// No transparency: an icon must paint its whole rectangle, so that it erases what was there.
TEST(GuiIcons, ShareOneTwoEntryPaletteWithoutColoursOrTransparency)
{
    const GUI_PALETTE* shared = icons[0].pic->palette;
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->numEntries, 2);
    EXPECT_EQ(shared->hasTransparency, 0);
    EXPECT_EQ(shared->colors, nullptr);
    for (const Icon& i : icons)
        EXPECT_EQ(i.pic->palette, shared) << i.name;
}

TEST(GuiIcons, EveryIconHasInk)
{
    for (const Icon& i : icons)
        EXPECT_GT(InkAll(*i.pic), 0) << i.name;
}

// The animation cycles through the table: every step must show a change, the sand must run
// from the upper into the lower bulb, and the last picture lies on its side.
TEST(GuiIcons, HourglassRunsDownThenTurns)
{
    const GUI_PICTURE* frames[] = {
        &bmHourglass00, &bmHourglass01, &bmHourglass02, &bmHourglass03, &bmHourglass04, &bmHourglass05,
        &bmHourglass06, &bmHourglass07, &bmHourglass08, &bmHourglass09, &bmHourglass10, &bmHourglass11,
        &bmHourglass12, &bmHourglass13, &bmHourglass14, &bmHourglass15, &bmHourglass16,
    };
    for (std::size_t k = 0; k + 1 < std::size(frames); ++k) {
        const GUI_PICTURE& a = *frames[k];
        const GUI_PICTURE& b = *frames[k + 1];
        bool same = a.width == b.width && a.height == b.height;
        for (int y = 0; same && y < a.height; ++y)
            for (int x = 0; same && x < a.width; ++x)
                same = Ink(a, x, y) == Ink(b, x, y);
        EXPECT_FALSE(same) << "frames " << k << " and " << k + 1 << " are the same picture";
    }
    int lastUpper = 1 << 30;
    for (std::size_t k = 0; k < 16; ++k) {
        const GUI_PICTURE& f = *frames[k];
        const int upper = InkIn(f, 0, 0, f.width - 1, f.height / 2 - 1);
        EXPECT_LE(upper, lastUpper) << "the upper bulb fills up again in frame " << k;
        lastUpper = upper;
    }
    const GUI_PICTURE& first = *frames[0];
    const GUI_PICTURE& full = *frames[15];
    EXPECT_GT(InkIn(first, 0, 0, 15, 17), InkIn(first, 0, 18, 15, 35));
    EXPECT_LT(InkIn(full, 0, 0, 15, 17), InkIn(full, 0, 18, 15, 35));
    EXPECT_GT(frames[16]->width, frames[16]->height);
}

// The markers are drawn centred on the bar's end: their point must lie on the middle column,
// and it must point at the bar (down above it, up below it).
TEST(GuiIcons, BarMarkersPointAtTheBarFromTheMiddleColumn)
{
    struct Marker {
        const GUI_PICTURE* pic;
        bool down;
    };
    for (const Marker m : {Marker{&bmMarkerDownActive23, true}, Marker{&bmMarkerDownIdle23, true},
                           Marker{&bmMarkerUpActive23, false}, Marker{&bmMarkerUpIdle23, false}}) {
        const GUI_PICTURE& p = *m.pic;
        const int tipRow = m.down ? p.height - 1 : 0;
        const int baseRow = m.down ? 0 : p.height - 1;
        EXPECT_EQ(InkIn(p, 0, tipRow, p.width - 1, tipRow), 1);
        EXPECT_TRUE(Ink(p, p.width / 2, tipRow));
        EXPECT_EQ(InkIn(p, 0, baseRow, p.width - 1, baseRow), p.width);
    }
    EXPECT_GT(InkAll(bmMarkerDownActive23), InkAll(bmMarkerDownIdle23));
    EXPECT_GT(InkAll(bmMarkerUpActive23), InkAll(bmMarkerUpIdle23));
}

} // namespace
