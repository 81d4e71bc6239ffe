// Diagnosis and information lists: values as the image holds them, at the
// edges of their encodings, and menus that show only what the plant has.
#include <gtest/gtest.h>
#include <string>

#include "core/SM.h"
#include "data/DAT.h"
#include "screens/base/BGM.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/service/BDM.h"
#include "screens/service/BTR.h"
#include "screens/service/DL.h"
#include "screens/user/BEIM.h"
#include "sim/PowerOn.h"
#include "support/PanelRun.h"
#include "support/Script.h"

namespace {

std::string Value(DL_Format format, DAT_Field field = DAT_Field::Count)
{
    char text[40];
    DL_ValueText(DL_Row{1, format, field}, text, sizeof text);
    return text;
}

class DiagnosisValues : public ::testing::Test {
  protected:
    void SetUp() override
    {
        SIM_PowerOn();
        DAT_InitDefaults(0);
    }
};

TEST_F(DiagnosisValues, TemperaturesRoundHalfAwayFromZeroAndFollowTheUnit)
{
    DAT_image.solar[8] = 0xFB; // -5 half kelvin, i16
    DAT_image.solar[9] = 0xFF;
    EXPECT_EQ(Value(DL_Format::SignedTemperature, DAT_Field::Collector), "-3°C");
    DAT_image.solar[8] = 0x2C; // 300: 150 °C, beyond any i8
    DAT_image.solar[9] = 0x01;
    EXPECT_EQ(Value(DL_Format::SignedTemperature, DAT_Field::Collector), "150°C");
    DAT_image.status[DAT_STATUS_OUTSIDE] = 0xEC; // -10 °C
    DAT_SetStatusWordFlag(DAT_SW_FAHRENHEIT, true);
    EXPECT_EQ(Value(DL_Format::SignedTemperature, DAT_Field::Outside), "14°F");
    DAT_SetStatusWordFlag(DAT_SW_FAHRENHEIT, false);
    DAT_image.status[DAT_STATUS_BOILER] = 101;
    EXPECT_EQ(Value(DL_Format::Temperature, DAT_Field::Boiler), "51°C");
}

TEST_F(DiagnosisValues, ASensorFaultShowsNoValue)
{
    DAT_image.system[DAT_SYSTEM_SENSORS] = DAT_SENSOR_BOILER;
    EXPECT_EQ(Value(DL_Format::Temperature, DAT_Field::Boiler), "---°C");
    EXPECT_NE(Value(DL_Format::Temperature, DAT_Field::BoilerSet), "---°C") << "a set value has no sensor";
    DAT_image.solar[7] |= 0x20;
    EXPECT_EQ(Value(DL_Format::SignedTemperature, DAT_Field::Collector), "---°C");
}

TEST_F(DiagnosisValues, CountersStatesAndTheMixer)
{
    EXPECT_EQ(Value(DL_Format::Hours, DAT_Field::HoursStage1), "900h");
    EXPECT_EQ(Value(DL_Format::Number, DAT_Field::BurnerStarts), "2193");
    EXPECT_EQ(Value(DL_Format::KWh, DAT_Field::SolarEnergy), "1260kWh");
    for (std::uint8_t i = 0; i < 4; ++i) {
        DAT_image.counters[14 + i] = 0xFF; // beyond what the row can be asked to show
    }
    EXPECT_EQ(Value(DL_Format::Number, DAT_Field::BurnerStarts), "2147483647");
    EXPECT_EQ(Value(DL_Format::OnOff, DAT_Field::BurnerOn), "Ein");
    EXPECT_EQ(Value(DL_Format::OnOff, DAT_Field::FlowSwitch), "Aus");
    DAT_SelectCircuit(2);
    const char* mixer[] = {"Reg.Betr.", "Zu", "Auf", "Reg.Betr."};
    for (std::uint8_t m = 0; m < 4; ++m) {
        DAT_image.status[DAT_STATUS_CIRCUIT2 + 2] = static_cast<std::uint8_t>(m << 4);
        EXPECT_EQ(Value(DL_Format::Mixer, DAT_Field::Mixer), mixer[m]) << int{m};
    }
}

TEST_F(DiagnosisValues, AnUnsetHolidayShowsNoDate)
{
    DAT_SelectCircuit(1);
    EXPECT_EQ(Value(DL_Format::Departure), "---");
}

// The menus offer only what the plant has.
TEST(DiagnosisMenus, AbsentCircuitsHotWaterAndSolarAreHidden)
{
    PanelRun p;
    Script s;
    s.early([] { DAT_image.service[1] = 0x03; })
        .then([] {
            DAT_image.plant[DAT_CFG_OPTIONS] = 0x01; // circuit 1 alone, no hot water, no solar
            OpenScreen(BDM_DiagnoseMenue, SCR_FROM_PARENT);
        })
        .then([] {
            EXPECT_EQ(ML_VisibleCount(), 4);
            EXPECT_FALSE(ML_IsEntryVisible(2));
            EXPECT_FALSE(ML_IsEntryVisible(4));
        })
        .then([] { OpenScreen(BEIM_ExpertInfoMenue, SCR_FROM_PARENT); })
        .then([] { EXPECT_EQ(ML_VisibleCount(), 3); });
    s.run(p);
}

TEST_F(DiagnosisValues, TheShortQueryShowsFlagsAsCodes)
{
    DAT_image.service[1] = 0x08; // lock without demand
    EXPECT_EQ(Value(DL_Format::Number, DAT_Field::ExternalDemand), "0");
    EXPECT_EQ(Value(DL_Format::Number, DAT_Field::ExternalLock), "1");
    DAT_image.status[0] = 0x20;
    EXPECT_EQ(Value(DL_Format::Number, DAT_Field::FlowSwitch), "1");
}

TEST(EventQueueView, EveryQueueAgainstItsSizeAndBackToTheMainMenu)
{
    PanelRun p;
    Script s;
    s.early([] { DAT_image.service[1] = 0x03; })
        .then([] { OpenScreen(BTR_FifoBufferMenue, SCR_FROM_PARENT); })
        .then([] {
            EXPECT_EQ(ML_VisibleCount(), 8);
            char text[12];
            BTR_ValueText(1, text, sizeof text);
            EXPECT_EQ(std::to_string(SM_QueueHighWater(1)) + "/" + std::to_string(SM_QueueSize(1)), text);
            // A short buffer is cut, never overrun; a task beyond the table has no value.
            char cut[5] = {'x', 'x', 'x', 'x', '#'};
            BTR_ValueText(1, cut, 4);
            EXPECT_EQ(cut[3], '\0');
            EXPECT_EQ(cut[4], '#');
            BTR_ValueText(200, text, sizeof text);
            EXPECT_STREQ(text, "-");
        })
        .key(SIG_KEY_OK)
        .then([] { EXPECT_EQ(SM_TaskState(BED_Task), BGM_Grundmenue); });
    s.run(p);
}

} // namespace
