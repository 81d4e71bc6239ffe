// The base display's choice and list visibility, the operation timeout and
// the contrast keys of the screen root.
#include <cstring>
#include <gtest/gtest.h>

#include "core/SM.h"
#include "data/DAT.h"
#include "gui/LCD.h"
#include "screens/base/BAP.h"
#include "screens/base/BEE.h"
#include "screens/base/BGA.h"
#include "screens/base/BGM.h"
#include "screens/base/BMA.h"
#include "screens/base/BRA.h"
#include "screens/base/PLH.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/PNL.h"
#include "screens/common/SCR.h"
#include "screens/service/BIA.h"
#include "support/PanelRun.h"
#include "support/Screen.h"
#include "support/Script.h"

namespace {

// The simulation's plant without the commissioning request.
struct Plant : Screen {
    Plant() { DAT_image.service[1] = 0x03; }
};

// A status telegram as the link stores it, with its edges.
void Status(std::uint8_t word0, std::uint8_t word1, std::uint8_t byte5, std::uint8_t byte7)
{
    std::uint8_t raw[DAT_STATUS_BLOCK_SIZE];
    std::memcpy(raw, DAT_image.status, sizeof raw);
    raw[0] = word0;
    raw[1] = word1;
    raw[5] = byte5;
    raw[7] = byte7;
    DAT_StoreStatus(raw);
}

constexpr std::uint8_t kHeizung = 1U << 2, kWarmwasser = 1U << 3, kSolar = 1U << 4, kInformation = 1U << 5,
                       kPruefbetrieb = 1U << 6, kHilfe = 1U << 7, kStoerung = 1U << 0, kWartung = 1U << 1;

TEST(BaseDisplayChoice, EachConditionWinsOverEverythingBelowIt)
{
    Plant p;
    // Everything at once; then take the winner away, one after the other.
    Status(0x02, 0x40, 0x03, 0x30 | 0x43);
    DAT_image.service[1] = 0x23;
    DAT_image.service[13] = 0x60;
    DAT_image.service[0] = 0xC2;
    const SM_Handler order[] = {
        BIA_InbetriebnahmeAssistent, BMA_Stoerung,        BMA_Feuerungsautomat, BMA_KalibrationAktiv,
        BMA_ParametrierungFaAktiv,   BMA_BefuellungAktiv, BMA_EntlueftungAktiv, BAP_Abgaspruefung,
        BMA_UhrzeitStellen,          BMA_Wartung,         BGA_GrundanzeigeMenue};
    const auto clear = [](int i) {
        switch (i) {
        case 0:
            DAT_image.service[1] = 0x03;
            break;
        case 1:
            DAT_ClearMessageFlags(true, false);
            break;
        case 2:
            DAT_SetStatusFlag(7, 0x20, false);
            break;
        case 3:
            DAT_SetStatusFlag(5, 0x02, false);
            break;
        case 4:
            DAT_SetStatusFlag(5, 0x01, false);
            break;
        case 5:
            DAT_EndFilling();
            break;
        case 6:
            DAT_EndVenting();
            break;
        case 7:
            DAT_SetStatusFlag(7, 0x10, false);
            break;
        case 8:
            DAT_image.service[0] = 0x42;
            break;
        case 9:
            DAT_ClearMessageFlags(false, true);
            break;
        default:
            break;
        }
    };
    for (int i = 0; i < 11; ++i) {
        const BGA_Choice c = BGA_Choose(5);
        EXPECT_EQ(c.target, order[i]) << "row " << i + 1;
        EXPECT_EQ(c.light, SIG_LIGHT_ON);
        EXPECT_EQ(c.par, i == 0 ? 6U : i == 8 ? 10U : i == 10 ? 5U : 0U) << "row " << i + 1;
        clear(i);
    }
}

TEST(BaseDisplayChoice, TheScreensaverGivesWayOnlyToFaultsLockAndMaintenance)
{
    Plant p;
    PNL_flags.screensaver = true;
    DAT_image.service[1] = 0x23;
    DAT_image.service[13] = 0x60;
    DAT_image.service[0] = 0xC2;
    Status(0x00, 0x00, 0x03, 0x53);
    BGA_Choice c = BGA_Choose(3);
    EXPECT_EQ(c.target, BRA_RuheAnimation);
    EXPECT_EQ(c.light, SIG_LIGHT_DIM);
    EXPECT_EQ(c.par, 0U);
    Status(0x00, 0x40, 0x00, 0x43); // maintenance message: a rising edge
    EXPECT_EQ(BGA_Choose(3).target, BMA_Wartung);
    Status(0x00, 0x40, 0x00, 0x63);
    EXPECT_EQ(BGA_Choose(3).target, BMA_Feuerungsautomat);
    Status(0x02, 0x40, 0x00, 0x63);
    EXPECT_EQ(BGA_Choose(3).target, BMA_Stoerung);
    Status(0x02, 0x40, 0x00, 0x63); // still set: the message stays latched
    EXPECT_EQ(BGA_Choose(3).target, BMA_Stoerung);
    Status(0x00, 0x40, 0x00, 0x63); // cleared with the bit
    EXPECT_EQ(BGA_Choose(3).target, BMA_Feuerungsautomat);
}

TEST(BaseDisplayChoice, LockSettingChoosesTheLockedListUnlessInServiceMode)
{
    Plant p;
    EXPECT_EQ(BGA_Choose(4).target, BGA_GrundanzeigeMenue);
    EXPECT_TRUE(BGA_MenuAllowed());
    DAT_image.plant[5] = 0x1F;
    EXPECT_EQ(BGA_Choose(4).target, BGA_GrundanzeigeMenueGesperrt);
    EXPECT_EQ(BGA_Choose(4).par, 4U);
    EXPECT_FALSE(BGA_MenuAllowed());
    PNL_flags.serviceMode = true;
    EXPECT_EQ(BGA_Choose(4).target, BGA_GrundanzeigeMenue);
    EXPECT_TRUE(BGA_MenuAllowed());
    PNL_flags.serviceMode = false;
    DAT_image.plant[5] = 0x20; // the normal list, but no menu
    EXPECT_EQ(BGA_Choose(4).target, BGA_GrundanzeigeMenue);
    EXPECT_FALSE(BGA_MenuAllowed());
}

TEST(BaseDisplayList, VisibilityFollowsThePlantAndTheLock)
{
    Plant p;
    // Solar needs the option bit and the solar block's marker 99.
    EXPECT_EQ(BGA_VisibleEntries(), kHeizung | kWarmwasser | kSolar | kInformation | kPruefbetrieb | kHilfe);
    DAT_image.solar[11] = 98;
    EXPECT_EQ(BGA_VisibleEntries() & kSolar, 0);
    DAT_image.plant[23] = 0x01;
    EXPECT_EQ(BGA_VisibleEntries(), kHeizung | kInformation | kPruefbetrieb | kHilfe);
    DAT_SetStatusFlag(7, 0x80, true);
    DAT_SetStatusFlag(1, 0x08, true); // maintenance by time interval
    EXPECT_EQ(BGA_VisibleEntries(), kStoerung | kWartung | kHeizung | kInformation | kPruefbetrieb | kHilfe);
    DAT_image.plant[23] = 0xC9;
    DAT_image.plant[5] = 0x10;
    EXPECT_EQ(BGA_VisibleEntries(), kStoerung | kWartung | kPruefbetrieb | kHilfe);
}

TEST(ScreenRoot, OperationTimeoutIsLongInServiceModeOrOnRequest)
{
    Plant p;
    EXPECT_EQ(BKE_OperationTimeout(), 1200);
    PNL_flags.longTimeout = true;
    EXPECT_EQ(BKE_OperationTimeout(), 18000);
    PNL_flags.longTimeout = false;
    PNL_flags.serviceMode = true;
    EXPECT_EQ(BKE_OperationTimeout(), 18000);
}

TEST(ScreenRoot, ContrastKeysWrapAndStoreTheContrast)
{
    PanelRun p;
    ASSERT_TRUE(p.run({{11000,
                        [] {
                            LCD_SetContrast(99);
                            SM_Post(BED_Task, SIG_KEY_OK_UP, 0);
                        }},
                       {11300,
                        [] {
                            EXPECT_EQ(LCD_GetContrast(), 0);
                            EXPECT_EQ(DAT_Contrast(), 0);
                            SM_Post(BED_Task, SIG_KEY_OK_DOWN, 0);
                        }},
                       {11600,
                        [] {
                            EXPECT_EQ(LCD_GetContrast(), 99);
                            EXPECT_EQ(DAT_Contrast(), 99);
                            SM_Post(BED_Task, SIG_CONTRAST_DOWN, 0);
                            SM_Post(BED_Task, SIG_CONTRAST_SET, 42);
                        }},
                       {11900,
                        [] {
                            EXPECT_EQ(LCD_GetContrast(), 98);
                            EXPECT_EQ(DAT_Contrast(), 42); // stored only, the display keeps its contrast
                        }}},
                      12000));
}

// The locked message interrupts a screen on its third row with "Weiter mit
// OK": the screen comes back as it was, and the hint still runs out.
struct Interrupted {
    const char* name;
    SM_Handler screen;
    std::uint16_t openingKey; // from the base display
    std::uint8_t row;         // the cursor after two DOWN
};

class LockedMessage : public ::testing::TestWithParam<Interrupted> {};

TEST_P(LockedMessage, ReturnsInPlaceAndTheHintRunsOut)
{
    const Interrupted c = GetParam();
    PanelRun p;
    Script s;
    s.early([] { DAT_image.service[1] = 0x03; });
    if (c.openingKey != SIG_NONE) {
        s.key(c.openingKey);
    }
    s.key(SIG_KEY_DOWN).key(SIG_KEY_DOWN).then([] {
        DAT_image.plant[5] = 0x20; // the menu is no longer allowed
    });
    s.key(SIG_KEY_MENU).expect(BMA_BedienungGesperrtAnzeige, "locked").key(SIG_KEY_OK).then([=] {
        EXPECT_EQ(SM_TaskState(BED_Task), c.screen);
        EXPECT_EQ(ML_GetCursor(), c.row) << "the cursor where it was";
        EXPECT_EQ(ShownHint(), HINT_CONTINUE_OK);
    });
    s.wait(4000).then([=] {
        EXPECT_EQ(SM_TaskState(BED_Task), c.screen);
        EXPECT_EQ(ShownHint(), HINT_CHOOSE) << "the hint ran out";
    });
    ASSERT_TRUE(s.run(p));
}

INSTANTIATE_TEST_SUITE_P(Screens, LockedMessage,
                         ::testing::Values(Interrupted{"BaseDisplay", BGA_GrundanzeigeMenue, SIG_NONE, 4},
                                           Interrupted{"EndUserMenu", BEE_Endbenutzermenue, SIG_KEY_OK, 2},
                                           Interrupted{"MainMenu", BGM_Grundmenue, SIG_KEY_MENU, 4}),
                         [](const auto& param) { return std::string(param.param.name); });

// Every message that opens the main menu with MENU keeps it shut while
// operation is locked, as the locked base display does.
struct MessageCase {
    const char* name;
    SM_Handler message;
    void (*raise)();
};

class LockedOperation : public ::testing::TestWithParam<MessageCase> {};

TEST_P(LockedOperation, MenuOnAMessageShowsTheLockedMessage)
{
    const MessageCase c = GetParam();
    PanelRun p;
    Script s;
    s.early([] { DAT_image.service[1] = 0x03; })
        .then([=] {
            DAT_image.plant[5] = 0x10;
            c.raise();
            SM_Post(BED_Task, SIG_STATUS_UPDATED, 0);
        })
        .expect(c.message, "the message")
        .key(SIG_KEY_MENU)
        .expect(BMA_BedienungGesperrtAnzeige, "MENU: operation is locked")
        .key(SIG_KEY_OK)
        .expect(c.message, "the message again")
        .then([] { PNL_flags.serviceMode = true; }) // service mode lifts the lock
        .key(SIG_KEY_MENU)
        .expect(BGM_Grundmenue, "MENU in service mode");
    ASSERT_TRUE(s.run(p));
}

INSTANTIATE_TEST_SUITE_P(
    Messages, LockedOperation,
    ::testing::Values(MessageCase{"Fault", BMA_Stoerung, [] { Status(0x02, 0x00, 0x00, 0x83); }},
                      MessageCase{"BurnerControl", BMA_Feuerungsautomat, [] { Status(0x00, 0x00, 0x00, 0x23); }},
                      MessageCase{"Filling", BMA_BefuellungAktiv, [] { DAT_image.service[13] = 0x40; }},
                      MessageCase{"Venting", BMA_EntlueftungAktiv, [] { DAT_image.service[13] = 0x20; }},
                      MessageCase{"Clock", BMA_UhrzeitStellen, [] { DAT_image.service[0] = 0x82; }},
                      MessageCase{"Maintenance", BMA_Wartung, [] { Status(0x00, 0x40, 0x00, 0x03); }}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
