// One list of the information family; the family is in DL.
#include "screens/user/BEIW.h"

#include <iterator>

#include "screens/common/ML.h"
#include "screens/service/DL.h"
#include "screens/user/BEI1.h"
#include "screens/user/BEIM.h"

namespace {

constexpr DL_Row kRows[] = {
    {302, DL_Format::None, DAT_Field::Count, DL_Detail::TimeProgram, nullptr, DL_HotWaterVariant1},
    {306, DL_Format::None, DAT_Field::Count, DL_Detail::TimeProgram, nullptr, DL_HotWaterVariant2},
    {303, DL_Format::None, DAT_Field::Count, DL_Detail::TimeProgram, nullptr, DL_HotWaterVariant1},
    {307, DL_Format::None, DAT_Field::Count, DL_Detail::TimeProgram, nullptr, DL_HotWaterVariant2},
    {286, DL_Format::Temperature, DAT_Field::HotWater},
    {250, DL_Format::OnOff, DAT_Field::StoragePump},
    {309, DL_Format::OnOff, DAT_Field::CirculationPump},
    {261, DL_Format::OnOff, DAT_Field::FlowSwitch},
};

SCR_Menu memory{0, 0, HINT_CHOOSE};

const DL_List kList{"BEIW_ExpertInfoWarmwasserMenue",
                    kRows,
                    std::size(kRows),
                    285,
                    0,
                    BEIW_ExpertInfoWarmwasserMenue,
                    BEIM_ExpertInfoMenue,
                    BEI1_ExpertInfoShowMenue,
                    &memory,
                    96};

} // namespace

SM_State BEIW_ExpertInfoWarmwasserMenue(SM_Hsm* me, const SM_Event* e)
{
    return DL_ListState(me, e, kList);
}

void BEIW_PowerOn()
{
    memory = SCR_Menu{0, 0, HINT_CHOOSE};
}
