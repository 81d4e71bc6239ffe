// The circuit label: the character sets, and the editor's bounds on what it
// takes from the image and what it files.
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "core/SM.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI_Font.h"
#include "screens/user/BBHK.h"
#include "screens/user/BHKW.h"
#include "sim/ControlUnit.h"
#include "support/PanelRun.h"
#include "support/Screen.h"
#include "support/Script.h"

namespace {

TEST(LabelCharacters, EachLanguageHasItsSetAndTheFontDrawsEveryCharacter)
{
    Screen s;
    const std::uint8_t sizes[TXT_LANGUAGES] = {75, 98, 74, 68, 70, 80, 82, 78, 68, 90,
                                               86, 84, 68, 86, 82, 78, 74, 74, 80};
    for (std::uint8_t l = 0; l < TXT_LANGUAGES; ++l) {
        ASSERT_EQ(BBHK_SetSize(l), sizes[l]) << "language " << int(l);
        for (std::uint8_t i = 0; i < sizes[l]; ++i) {
            EXPECT_TRUE(GUI_FontHasGlyph(TXT_FontNormal(), BBHK_SetChar(l, i)))
                << "language " << int(l) << " character " << int(i);
        }
        EXPECT_EQ(BBHK_SetChar(l, sizes[l] - 1), u' ') << "every set ends with the space";
    }
    EXPECT_EQ(BBHK_SetChar(0, 0), u'a');
    EXPECT_EQ(BBHK_SetChar(0, 75), u' ') << "past the set";
    EXPECT_EQ(BBHK_SetChar(0, 255), u' ');
    EXPECT_EQ(BBHK_SetSize(TXT_LANGUAGES), 0) << "no such language";
    EXPECT_EQ(BBHK_SetChar(TXT_LANGUAGES, 0), u' ');
}

// The whole panel with a control unit answering every 100 ms.
class Label : public ::testing::Test {
  public:
    Label()
    {
        steps.push_back({1000, [] { DAT_image.service[1] = 0x03; }});
    }
    Label& then(std::function<void()> action)
    {
        steps.push_back({at, std::move(action)});
        at += 300;
        return *this;
    }
    Label& key(std::uint16_t sig, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            then([sig] { SM_Post(BED_Task, sig, 0); });
        }
        return *this;
    }
    void Run()
    {
        steps.push_back({1500, [this] {
                             static ControlUnit* unit = nullptr;
                             delete unit;
                             unit = new ControlUnit();
                             cu = unit;
                         }});
        for (std::uint64_t t = 1600; t < at + 1000; t += 100) {
            steps.push_back({t, [this] { cu->round(); }});
        }
        ASSERT_TRUE(p.run(steps, at + 1000));
    }
    std::vector<std::vector<std::uint8_t>> LongRecords() const
    {
        std::vector<std::vector<std::uint8_t>> out;
        for (const auto& r : cu->records()) {
            if (r[0] == '#') {
                out.push_back(r);
            }
        }
        return out;
    }
    static void SetLabel(std::uint8_t circuit, std::u16string text)
    {
        DAT_SetCircuitLabel(circuit, reinterpret_cast<const std::uint16_t*>(text.data()),
                            static_cast<std::uint8_t>(text.size()), 0);
    }
    static void Open() { BHKW_Open(SM_TaskHsm(BED_Task), BHKW_TO_LABEL); }

    PanelRun p;
    std::vector<PanelStep> steps;
    std::uint64_t at = Script::kStarted + 50;
    ControlUnit* cu = nullptr;
};

TEST_F(Label, ALongerLabelIsKeptUntilEditedAndThenFiledWithinTheEditorsLength)
{
    // 20 units, the second one outside the German set.
    then([] { SetLabel(1, u"Aéxxxxxxxxxxxxxxxyyy"); });
    then(Open).key(SIG_KEY_OK);
    then([] { EXPECT_EQ(SM_TaskState(BED_Task), SM_Handler(BBHK_BeschriftungDialog)); });
    key(SIG_KEY_OK).then([this] {
        EXPECT_EQ(SM_TaskState(BED_Task), SM_Handler(BHKW_HKWahl)) << "unchanged: back to the choice";
        EXPECT_TRUE(LongRecords().empty());
        EXPECT_EQ(DAT_Label(1)[19], u'y') << "the image keeps all 20 units";
    });
    key(SIG_KEY_OK).key(SIG_KEY_UP).key(SIG_KEY_OK);
    then([] { EXPECT_EQ(SM_TaskState(BED_Task), SM_Handler(BBHK_Feedback)); }).then([this] {
        const std::uint16_t* l = DAT_Label(1);
        EXPECT_EQ(l[0], u'B');
        EXPECT_EQ(l[1], u' ') << "a character the set lacks is a space";
        EXPECT_EQ(l[16], u'x');
        EXPECT_EQ(l[17], 0) << "no more than the editor holds";
        EXPECT_EQ(l[19], 0);
        const auto records = LongRecords();
        ASSERT_EQ(records.size(), 2U);
        EXPECT_EQ(records[0][3], 2);
        EXPECT_EQ(records[0][4], 10);
        EXPECT_EQ(records[1][3], 3);
        EXPECT_EQ(records[1][4], 7);
        EXPECT_EQ(records[1][5 + 2 * 6], u'x');
        EXPECT_EQ(records[1][5 + 2 * 7], 0) << "the part's units past the label are empty";
        EXPECT_EQ(cu->model().labels[0][16], u'x') << "the control unit keeps it";
        EXPECT_EQ(cu->model().labels[0][17], 0);
    });
    Run();
}

TEST_F(Label, ALabelOfSpacesIsEmptyAndTheCircuitTakesItsNameAgain)
{
    then([] { SetLabel(2, u"a"); });
    then(Open).key(SIG_KEY_DOWN).key(SIG_KEY_OK);
    key(SIG_KEY_DOWN); // 'a' goes round to the space
    key(SIG_KEY_OK).then([this] {
        EXPECT_EQ(DAT_Label(2)[0], 0);
        EXPECT_STREQ(TXT_GetText(117), "Heizkreis 2");
        const auto records = LongRecords();
        ASSERT_EQ(records.size(), 2U);
        EXPECT_EQ(records[0][2], 2) << "circuit 2's";
        EXPECT_EQ(records[0][4], 0);
        EXPECT_EQ(records[1][4], 0);
    });
    key(SIG_KEY_RIGHT).then([] { EXPECT_EQ(SM_TaskState(BED_Task), SM_Handler(BHKW_HKWahl)) << "any key"; });
    Run();
}

} // namespace
