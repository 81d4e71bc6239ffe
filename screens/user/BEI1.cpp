// One list of the information family; the family is in DL.
#include "screens/user/BEI1.h"

#include <iterator>

#include "screens/common/ML.h"
#include "screens/service/DL.h"
#include "screens/user/BEIM.h"

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
    {95, DL_Format::None, DAT_Field::Count, DL_Detail::Holiday},
};

SCR_Menu memory{0, 0, HINT_CHOOSE};

const DL_List kList{"BEI1_ExpertInfoHeizkreis1Menue",
                    kRows,
                    std::size(kRows),
                    116,
                    1,
                    BEI1_ExpertInfoHeizkreis1Menue,
                    BEIM_ExpertInfoMenue,
                    BEI1_ExpertInfoShowMenue,
                    &memory,
                    96};

} // namespace

SM_State BEI1_ExpertInfoHeizkreis1Menue(SM_Hsm* me, const SM_Event* e)
{
    return DL_ListState(me, e, kList);
}

SM_State BEI1_ExpertInfoShowMenue(SM_Hsm* me, const SM_Event* e)
{
    return DL_DetailState(me, e, "BEI1_ExpertInfoShowMenue");
}

void BEI1_PowerOn()
{
    memory = SCR_Menu{0, 0, HINT_CHOOSE};
}
