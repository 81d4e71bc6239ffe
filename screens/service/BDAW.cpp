// One list of the diagnosis family; the family is in DL.
#include "screens/service/BDAW.h"

#include <iterator>

#include "screens/common/ML.h"
#include "screens/service/BDA1.h"
#include "screens/service/BDM.h"
#include "screens/service/DL.h"

namespace {

constexpr DL_Row kRows[] = {
    {302, DL_Format::None, DAT_Field::Count, DL_Detail::TimeProgram, nullptr, DL_HotWaterVariant1},
    {306, DL_Format::None, DAT_Field::Count, DL_Detail::TimeProgram, nullptr, DL_HotWaterVariant2},
    {303, DL_Format::None, DAT_Field::Count, DL_Detail::TimeProgram, nullptr, DL_HotWaterVariant1},
    {307, DL_Format::None, DAT_Field::Count, DL_Detail::TimeProgram, nullptr, DL_HotWaterVariant2},
    {285, DL_Format::None, DAT_Field::Count, DL_Detail::HotWater},
    {250, DL_Format::OnOff, DAT_Field::StoragePump},
    {309, DL_Format::OnOff, DAT_Field::CirculationPump},
    {261, DL_Format::OnOff, DAT_Field::FlowSwitch},
};

SCR_Menu memory{0, 0, HINT_CHOOSE};

const DL_List kList{"BDAW_DiagnoseWarmwasserMenue",
                    kRows,
                    std::size(kRows),
                    285,
                    0,
                    BDAW_DiagnoseWarmwasserMenue,
                    BDM_DiagnoseMenue,
                    BDA1_DiagnoseShowMenue,
                    &memory,
                    98};

} // namespace

SM_State BDAW_DiagnoseWarmwasserMenue(SM_Hsm* me, const SM_Event* e)
{
    return DL_ListState(me, e, kList);
}

void BDAW_PowerOn()
{
    memory = SCR_Menu{0, 0, HINT_CHOOSE};
}
