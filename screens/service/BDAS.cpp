// One list of the diagnosis family; the family is in DL.
#include "screens/service/BDAS.h"

#include <iterator>

#include "screens/common/ML.h"
#include "screens/service/BDA1.h"
#include "screens/service/BDM.h"
#include "screens/service/DL.h"

namespace {

constexpr DL_Row kRows[] = {
    {152, DL_Format::SignedTemperature, DAT_Field::Collector},
    {287, DL_Format::Temperature, DAT_Field::SolarHotWater},
    {238, DL_Format::Hours, DAT_Field::SolarPumpHours},
    {237, DL_Format::KWh, DAT_Field::SolarEnergy},
    {241, DL_Format::Number, DAT_Field::SolarPumpStarts},
    {243, DL_Format::Hours, DAT_Field::Stagnation},
    {182, DL_Format::Number, DAT_Field::NightCirculation},
    {69, DL_Format::Number, DAT_Field::DiffTMonitoring},
    {238, DL_Format::OnOff, DAT_Field::SolarPump},
    {73, DL_Format::Percent, DAT_Field::SolarSpeed},
    {181, DL_Format::OnOff, DAT_Field::Reheat},
};

SCR_Menu memory{0, 0, HINT_CHOOSE};

const DL_List kList{"BDAS_DiagnoseSolarMenue",
                    kRows,
                    std::size(kRows),
                    235,
                    0,
                    BDAS_DiagnoseSolarMenue,
                    BDM_DiagnoseMenue,
                    BDA1_DiagnoseShowMenue,
                    &memory,
                    98};

} // namespace

SM_State BDAS_DiagnoseSolarMenue(SM_Hsm* me, const SM_Event* e)
{
    return DL_ListState(me, e, kList);
}

void BDAS_PowerOn()
{
    memory = SCR_Menu{0, 0, HINT_CHOOSE};
}
