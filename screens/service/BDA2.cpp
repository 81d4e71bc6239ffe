// One list of the diagnosis family; the family is in DL.
#include "screens/service/BDA2.h"

#include <iterator>

#include "screens/common/ML.h"
#include "screens/service/BDA1.h"
#include "screens/service/BDM.h"
#include "screens/service/DL.h"

namespace {

constexpr DL_Row kRows[] = {
    {41, DL_Format::None, DAT_Field::Count, DL_Detail::Program},
    {44, DL_Format::None, DAT_Field::Count, DL_Detail::OperatingState},
    {304, DL_Format::None, DAT_Field::Count, DL_Detail::TimeProgram},
    {209, DL_Format::Celsius, DAT_Field::RoomSet},
    {211, DL_Format::SignedTemperature, DAT_Field::RoomActual},
    {214, DL_Format::Celsius, DAT_Field::ReducedSet},
    {92, DL_Format::Celsius, DAT_Field::ExternalRoomSet},
    {183, DL_Format::Slope},
    {190, DL_Format::Level},
    {120, DL_Format::OnOff, DAT_Field::CircuitPump},
    {169, DL_Format::Mixer, DAT_Field::Mixer},
    {282, DL_Format::None, DAT_Field::Count, DL_Detail::Flow},
    {219, DL_Format::None, DAT_Field::Count, DL_Detail::ReturnFlow},
    {95, DL_Format::None, DAT_Field::Count, DL_Detail::Holiday},
};

SCR_Menu memory{0, 0, HINT_CHOOSE};

const DL_List kList{"BDA2_DiagnoseHeizkreis2Menue",
                    kRows,
                    std::size(kRows),
                    117,
                    2,
                    BDA2_DiagnoseHeizkreis2Menue,
                    BDM_DiagnoseMenue,
                    BDA1_DiagnoseShowMenue,
                    &memory,
                    98};

} // namespace

SM_State BDA2_DiagnoseHeizkreis2Menue(SM_Hsm* me, const SM_Event* e)
{
    return DL_ListState(me, e, kList);
}

void BDA2_PowerOn()
{
    memory = SCR_Menu{0, 0, HINT_CHOOSE};
}
