#include "core/SM_Signals.h"

namespace {

struct Names {
    const char* byNumber[256] = {};
    constexpr Names()
    {
#define SM_SIGNAL_NAME(name, number) byNumber[number] = #name;
        SM_SIGNAL_LIST(SM_SIGNAL_NAME)
#undef SM_SIGNAL_NAME
    }
};

constexpr Names kNames;

} // namespace

const char* SIG_Name(std::uint16_t sig)
{
    if (sig < 256 && kNames.byNumber[sig] != nullptr) {
        return kNames.byNumber[sig];
    }
    return "SIG_?";
}

std::uint16_t SIG_DataTypeSignal(std::uint8_t type)
{
    static constexpr std::uint16_t kByType[27] = {
        SIG_DATA_TYPE_0,  SIG_DATA_TYPE_1,  SIG_DATA_TYPE_2,  SIG_DATA_TYPE_3,  SIG_DATA_TYPE_4,  SIG_DATA_TYPE_5,
        SIG_DATA_TYPE_6,  SIG_DATA_TYPE_7,  SIG_DATA_TYPE_8,  SIG_DATA_TYPE_9,  SIG_DATA_TYPE_10, SIG_NONE,
        SIG_NONE,         SIG_DATA_TYPE_13, SIG_DATA_TYPE_14, SIG_DATA_TYPE_15, SIG_DATA_TYPE_16, SIG_DATA_TYPE_17,
        SIG_DATA_TYPE_18, SIG_NONE,         SIG_NONE,         SIG_NONE,         SIG_DATA_TYPE_22, SIG_DATA_TYPE_23,
        SIG_DATA_TYPE_24, SIG_DATA_TYPE_25, SIG_DATA_TYPE_26,
    };
    return type < 27 ? kByType[type] : std::uint16_t{SIG_NONE};
}
