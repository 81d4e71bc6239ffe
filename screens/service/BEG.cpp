// Venting.
#include "screens/service/BEG.h"

#include "data/DAT.h"
#include "screens/service/BBF.h"

namespace {

std::uint8_t answer = 0;

const BBF_Function kVenting{{"BEG_Entlueftung", "BEG_EntlueftungAbfrage", "BEG_EntlueftungAktiv"},
                            81,
                            82,
                            14,
                            DAT_SVC13_VENTING,
                            BEG_Entlueftung,
                            BEG_EntlueftungAbfrage,
                            BEG_EntlueftungAktiv,
                            &answer};

} // namespace

SM_State BEG_Entlueftung(SM_Hsm* me, const SM_Event* e)
{
    return BBF_WaitState(me, e, kVenting);
}

SM_State BEG_EntlueftungAbfrage(SM_Hsm* me, const SM_Event* e)
{
    return BBF_QuestionState(me, e, kVenting);
}

SM_State BEG_EntlueftungAktiv(SM_Hsm* me, const SM_Event* e)
{
    return BBF_ActiveState(me, e, kVenting);
}

void BEG_PowerOn()
{
    answer = 0;
}
