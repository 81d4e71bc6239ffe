// Counter reset of the information menu: the counters as rows, the question for the
// one chosen, which files its reset records, and the feedback.
#include "screens/user/BEID.h"

#include <array>
#include <iterator>
#include <utility>

#include "data/TXT.h"
#include "screens/base/BMM.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/service/DL.h"
#include "screens/user/BEIM.h"

namespace {

constexpr std::uint16_t kTitle = 64;
// The rows of the diagnosis's reset table this list offers.
constexpr std::uint8_t kResetRow[] = {2, 3, 1, 4, 5, 6, 7, 12};

template <std::size_t... I> constexpr auto MakeRows(std::index_sequence<I...>)
{
    return std::array<DL_Row, sizeof...(I)>{DL_Row{
        DL_RESET_TABLE[kResetRow[I]].label, DL_RESET_TABLE[kResetRow[I]].format, DL_RESET_TABLE[kResetRow[I]].field,
        DL_Detail::None, BEID_LoeschenDialog, DL_RESET_TABLE[kResetRow[I]].visible}...};
}

const auto kRows = MakeRows(std::make_index_sequence<std::size(kResetRow)>{});

struct Reset {
    SCR_Menu memory{0, 0, HINT_CHOOSE};
    std::uint8_t answer = 0;
};

Reset reset;

const DL_List kList{"BEID_ExpertInfoDatenResetMenue", kRows.data(),         kRows.size(), kTitle,        0,
                    BEID_ExpertInfoDatenResetMenue,   BEIM_ExpertInfoMenue, nullptr,      &reset.memory, 96};

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
    return BEID_ExpertInfoDatenResetMenue;
}

SCR_Question question{"BEID_LoeschenDialog", DrawTitle,       ML_NO_TEXT,    &reset.answer,
                      HINT_CONTINUE_OK,      Action,          BEID_Feedback, BEID_ExpertInfoDatenResetMenue,
                      BMM_Menuemonitor,      BMM_Menuemonitor};

SCR_QuestionFeedback feedback{"BEID_Feedback", DrawTitle,        ML_NO_TEXT,      &reset.answer, List,
                              SCR_FROM_CHILD,  BMM_Menuemonitor, BMM_Menuemonitor};

} // namespace

SM_State BEID_ExpertInfoDatenResetMenue(SM_Hsm* me, const SM_Event* e)
{
    return DL_ListState(me, e, kList);
}

SM_State BEID_LoeschenDialog(SM_Hsm* me, const SM_Event* e)
{
    question.question = DL_ResetName(Chosen());
    return SCR_QuestionState(me, e, question);
}

SM_State BEID_Feedback(SM_Hsm* me, const SM_Event* e)
{
    feedback.question = DL_ResetName(Chosen());
    return SCR_QuestionFeedbackState(me, e, feedback);
}

void BEID_PowerOn()
{
    reset = Reset{};
}
