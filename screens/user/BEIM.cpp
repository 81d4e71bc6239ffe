// One list of the information family; the family is in DL.
#include "screens/user/BEIM.h"

#include <iterator>

#include "screens/base/BGM.h"
#include "screens/base/PLH.h"
#include "screens/common/ML.h"
#include "screens/service/DL.h"
#include "screens/user/BEI1.h"
#include "screens/user/BEI2.h"
#include "screens/user/BEIA.h"
#include "screens/user/BEID.h"
#include "screens/user/BEIS.h"
#include "screens/user/BEIW.h"

namespace {

constexpr DL_Row kRows[] = {
    {15, DL_Format::None, DAT_Field::Count, DL_Detail::None, BEIA_ExpertInfoAllgemeinMenue},
    {116, DL_Format::None, DAT_Field::Count, DL_Detail::None, BEI1_ExpertInfoHeizkreis1Menue, DL_Circuit1},
    {117, DL_Format::None, DAT_Field::Count, DL_Detail::None, BEI2_ExpertInfoHeizkreis2Menue, DL_Circuit2},
    {285, DL_Format::None, DAT_Field::Count, DL_Detail::None, BEIW_ExpertInfoWarmwasserMenue, DL_HotWater},
    {235, DL_Format::None, DAT_Field::Count, DL_Detail::None, BEIS_ExpertInfoSolarMenue, DL_Solar},
    {64, DL_Format::None, DAT_Field::Count, DL_Detail::None, BEID_ExpertInfoDatenResetMenue},
};

SCR_Menu memory{0, 0, HINT_CHOOSE};

const DL_List kList{"BEIM_ExpertInfoMenue", kRows,          std::size(kRows), 135,     0,
                    BEIM_ExpertInfoMenue,   BGM_Grundmenue, nullptr,          &memory, 96};

} // namespace

SM_State BEIM_ExpertInfoMenue(SM_Hsm* me, const SM_Event* e)
{
    return DL_ListState(me, e, kList);
}

void BEIM_PowerOn()
{
    memory = SCR_Menu{0, 0, HINT_CHOOSE};
}
