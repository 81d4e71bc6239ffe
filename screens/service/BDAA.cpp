// One list of the diagnosis family; the family is in DL.
#include "screens/service/BDAA.h"

#include <iterator>

#include "screens/common/ML.h"
#include "screens/service/BDA1.h"
#include "screens/service/BDM.h"
#include "screens/service/DL.h"

namespace {

constexpr DL_Row kRows[] = {
    {29, DL_Format::None, DAT_Field::Count, DL_Detail::Outside},
    {150, DL_Format::None, DAT_Field::Count, DL_Detail::Boiler},
    {106, DL_Format::Temperature, DAT_Field::CommonFlow},
    {105, DL_Format::Temperature, DAT_Field::CommonDemand},
    {50, DL_Format::OnOff, DAT_Field::BurnerOn},
    {45, DL_Format::Hours, DAT_Field::HoursStage1},
    {53, DL_Format::OnOff, DAT_Field::BurnerStage2, DL_Detail::None, nullptr, DL_TwoStages},
    {45, DL_Format::Hours, DAT_Field::HoursStage2, DL_Detail::None, nullptr, DL_TwoStages},
    {54, DL_Format::Number, DAT_Field::BurnerStarts},
    {63, DL_Format::Number, DAT_Field::CodingPlug},
    {55, DL_Format::Number, DAT_Field::Fuel},
    {163, DL_Format::Percent, DAT_Field::MaxPower},
    {136, DL_Format::OnOff, DAT_Field::InternalPump},
    {137, DL_Format::OnOff, DAT_Field::InternalOutput},
    {223, DL_Format::OnOff, DAT_Field::CollectiveFault},
    {266, DL_Format::Number, DAT_Field::OwnParticipant},
    {86, DL_Format::None, DAT_Field::Count, DL_Detail::External},
    {272, DL_Format::Time},
    {65, DL_Format::Date},
    {103, DL_Format::OnOff, DAT_Field::RadioClock},
};

SCR_Menu memory{0, 0, HINT_CHOOSE};

const DL_List kList{"BDAA_DiagnoseAllgemeinMenue",
                    kRows,
                    std::size(kRows),
                    15,
                    0,
                    BDAA_DiagnoseAllgemeinMenue,
                    BDM_DiagnoseMenue,
                    BDA1_DiagnoseShowMenue,
                    &memory,
                    98};

} // namespace

SM_State BDAA_DiagnoseAllgemeinMenue(SM_Hsm* me, const SM_Event* e)
{
    return DL_ListState(me, e, kList);
}

void BDAA_PowerOn()
{
    memory = SCR_Menu{0, 0, HINT_CHOOSE};
}
