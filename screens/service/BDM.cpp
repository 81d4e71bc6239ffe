// One list of the diagnosis family; the family is in DL.
#include "screens/service/BDM.h"

#include <iterator>

#include "screens/common/ML.h"
#include "screens/service/BDA1.h"
#include "screens/service/BDA2.h"
#include "screens/service/BDAA.h"
#include "screens/service/BDAK.h"
#include "screens/service/BDAS.h"
#include "screens/service/BDAW.h"
#include "screens/service/BGZ.h"
#include "screens/service/BSVM.h"
#include "screens/service/DL.h"

namespace {

constexpr DL_Row kRows[] = {
    {15, DL_Format::None, DAT_Field::Count, DL_Detail::None, BDAA_DiagnoseAllgemeinMenue},
    {116, DL_Format::None, DAT_Field::Count, DL_Detail::None, BDA1_DiagnoseHeizkreis1Menue, DL_Circuit1},
    {117, DL_Format::None, DAT_Field::Count, DL_Detail::None, BDA2_DiagnoseHeizkreis2Menue, DL_Circuit2},
    {285, DL_Format::None, DAT_Field::Count, DL_Detail::None, BDAW_DiagnoseWarmwasserMenue, DL_HotWater},
    {235, DL_Format::None, DAT_Field::Count, DL_Detail::None, BDAS_DiagnoseSolarMenue, DL_Solar},
    {155, DL_Format::None, DAT_Field::Count, DL_Detail::None, BDAK_DiagnoseKurzabfrageMenue},
    {64, DL_Format::None, DAT_Field::Count, DL_Detail::None, BGZ_GrundstellungZaehlerMenue},
};

SCR_Menu memory{0, 0, HINT_CHOOSE};

const DL_List kList{"BDM_DiagnoseMenue", kRows,   std::size(kRows), 67, 0, BDM_DiagnoseMenue,
                    BSVM_Servicemenue,   nullptr, &memory,          98};

} // namespace

SM_State BDM_DiagnoseMenue(SM_Hsm* me, const SM_Event* e)
{
    return DL_ListState(me, e, kList);
}

void BDM_PowerOn()
{
    memory = SCR_Menu{0, 0, HINT_CHOOSE};
}
