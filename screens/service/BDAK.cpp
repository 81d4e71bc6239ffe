// One list of the diagnosis family; the family is in DL.
#include "screens/service/BDAK.h"

#include <iterator>

#include "screens/common/ML.h"
#include "screens/service/BDM.h"
#include "screens/service/DL.h"

namespace {

// Flags as their codes 0 and 1: the technician reads them off against the
// control unit's own display.
constexpr DL_Row kRows[] = {
    {63, DL_Format::Number, DAT_Field::CodingPlug},     {266, DL_Format::Number, DAT_Field::OwnParticipant},
    {163, DL_Format::Percent, DAT_Field::MaxPower},     {261, DL_Format::Number, DAT_Field::FlowSwitch},
    {20, DL_Format::Number, DAT_Field::ExternalDemand}, {254, DL_Format::Number, DAT_Field::ExternalLock},
    {87, DL_Format::Percent, DAT_Field::External010V},  {223, DL_Format::Number, DAT_Field::CollectiveFault},
};

SCR_Menu memory{0, 0, HINT_CHOOSE};

const DL_List kList{"BDAK_DiagnoseKurzabfrageMenue",
                    kRows,
                    std::size(kRows),
                    155,
                    0,
                    BDAK_DiagnoseKurzabfrageMenue,
                    BDM_DiagnoseMenue,
                    nullptr,
                    &memory,
                    98};

} // namespace

SM_State BDAK_DiagnoseKurzabfrageMenue(SM_Hsm* me, const SM_Event* e)
{
    return DL_ListState(me, e, kList);
}

void BDAK_PowerOn()
{
    memory = SCR_Menu{0, 0, HINT_CHOOSE};
}
