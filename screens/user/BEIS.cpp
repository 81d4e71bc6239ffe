// One list of the information family; the family is in DL.
#include "screens/user/BEIS.h"

#include <iterator>

#include "screens/common/ML.h"
#include "screens/service/DL.h"
#include "screens/user/BEI1.h"
#include "screens/user/BEIM.h"

namespace {

constexpr DL_Row kRows[] = {
    {152, DL_Format::SignedTemperature, DAT_Field::Collector},
    {287, DL_Format::Temperature, DAT_Field::SolarHotWater},
    {238, DL_Format::Hours, DAT_Field::SolarPumpHours},
    {237, DL_Format::KWh, DAT_Field::SolarEnergy},
    {238, DL_Format::OnOff, DAT_Field::SolarPump},
    {73, DL_Format::Percent, DAT_Field::SolarSpeed},
    {181, DL_Format::OnOff, DAT_Field::Reheat},
};

SCR_Menu memory{0, 0, HINT_CHOOSE};

const DL_List kList{"BEIS_ExpertInfoSolarMenue",
                    kRows,
                    std::size(kRows),
                    235,
                    0,
                    BEIS_ExpertInfoSolarMenue,
                    BEIM_ExpertInfoMenue,
                    BEI1_ExpertInfoShowMenue,
                    &memory,
                    96};

} // namespace

SM_State BEIS_ExpertInfoSolarMenue(SM_Hsm* me, const SM_Event* e)
{
    return DL_ListState(me, e, kList);
}

void BEIS_PowerOn()
{
    memory = SCR_Menu{0, 0, HINT_CHOOSE};
}
