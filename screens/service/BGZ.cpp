// Counter reset of the diagnosis: the counters as rows, the question for the
// one chosen, which files its reset records, and the feedback.
#include "screens/service/BGZ.h"

#include <array>
#include <iterator>
#include <utility>

#include "data/TXT.h"
#include "screens/base/BMM.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/service/BDM.h"
#include "screens/service/DL.h"

namespace {

constexpr std::uint16_t kTitle = 64;
// The rows of the diagnosis's reset table this list offers.
constexpr std::uint8_t kResetRow[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

template <std::size_t... I> constexpr auto MakeRows(std::index_sequence<I...>)
{
    return std::array<DL_Row, sizeof...(I)>{DL_Row{
        DL_RESET_TABLE[kResetRow[I]].label, DL_RESET_TABLE[kResetRow[I]].format, DL_RESET_TABLE[kResetRow[I]].field,
        DL_Detail::None, BGZ_LoeschenDialog, DL_RESET_TABLE[kResetRow[I]].visible}...};
}

const auto kRows = MakeRows(std::make_index_sequence<std::size(kResetRow)>{});

struct Reset {
    SCR_Menu memory{0, 0, HINT_CHOOSE};
    std::uint8_t answer = 0;
};

Reset reset;

const DL_List kList{"BGZ_GrundstellungZaehlerMenue", kRows.data(),      kRows.size(), kTitle,        0,
                    BGZ_GrundstellungZaehlerMenue,   BDM_DiagnoseMenue, nullptr,      &reset.memory, 98};

std::uint8_t Chosen()
{
    return kResetRow[reset.memory.cursor % std::size(kResetRow)];
}

void DrawTitle()
{
    TITLE_SetText(TXT_GetText(kTitle));
    TITLE_DrawLine();
}

void Action()
{
    DL_ResetCounters(Chosen());
}

SM_Handler List()
{
    return BGZ_GrundstellungZaehlerMenue;
}

SCR_Question question{"BGZ_LoeschenDialog", DrawTitle,       ML_NO_TEXT,   &reset.answer,
                      HINT_CONTINUE_OK,     Action,          BGZ_Feedback, BGZ_GrundstellungZaehlerMenue,
                      BMM_Menuemonitor,     BMM_Menuemonitor};

SCR_QuestionFeedback feedback{"BGZ_Feedback", DrawTitle,      ML_NO_TEXT,       &reset.answer,
                              List,           SCR_FROM_CHILD, BMM_Menuemonitor, BMM_Menuemonitor};

} // namespace

SM_State BGZ_GrundstellungZaehlerMenue(SM_Hsm* me, const SM_Event* e)
{
    return DL_ListState(me, e, kList);
}

SM_State BGZ_LoeschenDialog(SM_Hsm* me, const SM_Event* e)
{
    question.question = DL_ResetName(Chosen());
    return SCR_QuestionState(me, e, question);
}

SM_State BGZ_Feedback(SM_Hsm* me, const SM_Event* e)
{
    feedback.question = DL_ResetName(Chosen());
    return SCR_QuestionFeedbackState(me, e, feedback);
}

void BGZ_PowerOn()
{
    reset = Reset{};
}
