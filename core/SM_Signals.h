// Signal numbers shared by every task. The numbers are fixed: the control
// unit's telegram types, the key table and the timer table all map onto them.
#pragma once

#include <cstdint>

// X(name, number) for every signal, in numeric order within each group.
#define SM_SIGNAL_LIST(X)                                                                                              \
    /* Reserved for the engine. */                                                                                     \
    X(SIG_NONE, 0)                                                                                                     \
    X(SIG_EMPTY, 1)                                                                                                    \
    X(SIG_ENTRY, 2)                                                                                                    \
    X(SIG_INIT, 3)                                                                                                     \
    X(SIG_EXIT, 4)                                                                                                     \
    X(SIG_SET_RETURN_STATE, 6)                                                                                         \
    X(SIG_SET_NEXT_STATE, 7)                                                                                           \
    /* Key task control (task 3). */                                                                                   \
    X(SIG_KEY_REPEAT_RATE, 9)                                                                                          \
    X(SIG_KEY_FLUSH, 10)                                                                                               \
    X(SIG_KEY_RAW_DOWN, 12)                                                                                            \
    X(SIG_KEY_RAW_UP, 13)                                                                                              \
    /* Key reports (task 1): press/release pairs. */                                                                   \
    X(SIG_KEY_ANY, 15)                                                                                                 \
    X(SIG_KEY_RELEASED, 16)                                                                                            \
    X(SIG_KEY_BACK, 17)                                                                                                \
    X(SIG_KEY_BACK_RELEASE, 18)                                                                                        \
    X(SIG_KEY_UP, 20)                                                                                                  \
    X(SIG_KEY_UP_RELEASE, 21)                                                                                          \
    X(SIG_KEY_LEFT, 23)                                                                                                \
    X(SIG_KEY_LEFT_RELEASE, 24)                                                                                        \
    X(SIG_KEY_DOWN, 26)                                                                                                \
    X(SIG_KEY_DOWN_RELEASE, 27)                                                                                        \
    X(SIG_KEY_RIGHT, 29)                                                                                               \
    X(SIG_KEY_RIGHT_RELEASE, 30)                                                                                       \
    X(SIG_KEY_OK, 32)                                                                                                  \
    X(SIG_KEY_OK_RELEASE, 33)                                                                                          \
    X(SIG_KEY_MENU, 35)                                                                                                \
    X(SIG_KEY_MENU_RELEASE, 36)                                                                                        \
    X(SIG_KEY_HELP, 38)                                                                                                \
    X(SIG_KEY_HELP_RELEASE, 39)                                                                                        \
    X(SIG_KEY_OK_UP, 65)                                                                                               \
    X(SIG_KEY_OK_UP_RELEASE, 66)                                                                                       \
    X(SIG_KEY_OK_DOWN, 68)                                                                                             \
    X(SIG_KEY_OK_DOWN_RELEASE, 69)                                                                                     \
    X(SIG_KEY_MENU_OK, 71)                                                                                             \
    X(SIG_KEY_MENU_OK_RELEASE, 72)                                                                                     \
    X(SIG_KEY_MENU_DOWN, 74)                                                                                           \
    X(SIG_KEY_MENU_DOWN_RELEASE, 75)                                                                                   \
    X(SIG_KEY_OK_BACK, 77)                                                                                             \
    X(SIG_KEY_OK_BACK_RELEASE, 78)                                                                                     \
    X(SIG_KEY_FAST_REPEAT, 83)                                                                                         \
    /* Backlight task (task 2). */                                                                                     \
    X(SIG_LIGHT_OFF, 86)                                                                                               \
    X(SIG_LIGHT_DIM, 87)                                                                                               \
    X(SIG_LIGHT_DIM_NOW, 88)                                                                                           \
    X(SIG_LIGHT_ON, 89)                                                                                                \
    X(SIG_LIGHT_ON_NOW, 90)                                                                                            \
    X(SIG_LIGHT_LEVEL, 91)                                                                                             \
    X(SIG_LIGHT_HOLD, 92)                                                                                              \
    X(SIG_LIGHT_AUTO, 93)                                                                                              \
    X(SIG_CONTRAST_UP, 94)                                                                                             \
    X(SIG_CONTRAST_DOWN, 95)                                                                                           \
    X(SIG_CONTRAST_CHANGED, 96)                                                                                        \
    X(SIG_CONTRAST_SET, 97)                                                                                            \
    /* Timer task (task 4). */                                                                                         \
    X(SIG_TIMERS_ON, 98)                                                                                               \
    X(SIG_TIMERS_OFF, 99)                                                                                              \
    X(SIG_CLOCK_SET, 103)                                                                                              \
    X(SIG_TMR_DATA_SET, 104)                                                                                           \
    X(SIG_TMR_DATA_TIMEOUT, 105)                                                                                       \
    X(SIG_TMR_LIGHT_SET, 106)                                                                                          \
    X(SIG_TMR_LIGHT_TIMEOUT, 107)                                                                                      \
    X(SIG_TMR_HINT_SET, 108)                                                                                           \
    X(SIG_TMR_HINT_TIMEOUT, 109)                                                                                       \
    X(SIG_TMR_FAST_SET, 110)                                                                                           \
    X(SIG_TMR_FAST_TIMEOUT, 111)                                                                                       \
    X(SIG_TMR_KEY_SET, 112)                                                                                            \
    X(SIG_TMR_KEY_TIMEOUT, 113)                                                                                        \
    X(SIG_TMR_WAIT_SET, 114)                                                                                           \
    X(SIG_TMR_WAIT_TIMEOUT, 115)                                                                                       \
    X(SIG_TMR_SERVICE_SET, 116)                                                                                        \
    X(SIG_TMR_SERVICE_TIMEOUT, 117)                                                                                    \
    X(SIG_TMR_IDLE_SET, 118)                                                                                           \
    X(SIG_TMR_IDLE_TIMEOUT, 119)                                                                                       \
    X(SIG_BEEP, 120)                                                                                                   \
    X(SIG_TMR_HWQC_SET, 121)                                                                                           \
    X(SIG_TMR_HWQC_TIMEOUT, 122)                                                                                       \
    X(SIG_TMR_START_SET, 123)                                                                                          \
    X(SIG_TMR_START_TIMEOUT, 124)                                                                                      \
    X(SIG_TICK_5S, 125)                                                                                                \
    X(SIG_DIS_TICK, 126)                                                                                               \
    X(SIG_DIS_TICK_30S, 127)                                                                                           \
    X(SIG_DIS_TICK_60S, 128)                                                                                           \
    X(SIG_DIS_CYCLE, 130) /* bus driver: a transfer ended */                                                           \
    X(SIG_TICK_ADC, 131)                                                                                               \
    X(SIG_TICK_KEYSCAN, 132)                                                                                           \
    X(SIG_TICK_10MS, 133)                                                                                              \
    X(SIG_TICK_100MS, 134)                                                                                             \
    X(SIG_UART_RX, 136)                                                                                                \
    X(SIG_UART_TX_DONE, 137)                                                                                           \
    X(SIG_DIS_MASTER_READ, 140) /* bus driver: the master read from the panel */                                       \
    X(SIG_COMM_STOP, 141)                                                                                              \
    X(SIG_DIS_LINK_RESET, 142)                                                                                         \
    X(SIG_COMM_START, 143)                                                                                             \
    X(SIG_SERVICE_END, 144)                                                                                            \
    X(SIG_TIMEOUT_LONG, 145)                                                                                           \
    X(SIG_TIMEOUT_NORMAL, 146)                                                                                         \
    X(SIG_HELP, 147)                                                                                                   \
    X(SIG_3UHR_RESTART, 148)                                                                                           \
    X(SIG_REG_RESET, 149)                                                                                              \
    X(SIG_DATA_REQUEST, 150)                                                                                           \
    X(SIG_STATUS_BIT_SET, 154)                                                                                         \
    X(SIG_STATUS_BIT_CLEAR, 155)                                                                                       \
    X(SIG_COMMISSIONING_END, 161)                                                                                      \
    X(SIG_TELEGRAM_ACK, 165)                                                                                           \
    X(SIG_COMM_STARTED, 166)                                                                                           \
    X(SIG_DIS_REFRESH_ALL, 167)                                                                                        \
    X(SIG_DIS_POLL_ON, 168)                                                                                            \
    X(SIG_DIS_POLL_OFF, 169)                                                                                           \
    X(SIG_STATUS_UPDATED, 170)                                                                                         \
    /* Data-changed signals, named after the control unit's telegram type. */                                          \
    X(SIG_DATA_TYPE_17, 171)                                                                                           \
    X(SIG_DATA_TYPE_16, 172)                                                                                           \
    X(SIG_DATA_TYPE_18, 173)                                                                                           \
    X(SIG_DATA_TYPE_14, 174)                                                                                           \
    X(SIG_DATA_TYPE_13, 175)                                                                                           \
    X(SIG_DATA_TYPE_2, 176)                                                                                            \
    X(SIG_DATA_TYPE_0, 178)                                                                                            \
    X(SIG_DATA_TYPE_10, 179)                                                                                           \
    X(SIG_DATA_TYPE_1, 180)                                                                                            \
    X(SIG_DATA_TYPE_15, 181)                                                                                           \
    X(SIG_DATA_TYPE_3, 182)                                                                                            \
    X(SIG_DATA_TYPE_4, 183)                                                                                            \
    X(SIG_DATA_TYPE_5, 184)                                                                                            \
    X(SIG_DATA_TYPE_6, 185)                                                                                            \
    X(SIG_DATA_TYPE_7, 186)                                                                                            \
    X(SIG_DATA_TYPE_8, 187)                                                                                            \
    X(SIG_DATA_TYPE_9, 188)                                                                                            \
    X(SIG_DATA_TYPE_22, 193)                                                                                           \
    X(SIG_DATA_TYPE_23, 194)                                                                                           \
    X(SIG_DATA_TYPE_24, 195)                                                                                           \
    X(SIG_DATA_TYPE_25, 196)                                                                                           \
    X(SIG_DATA_TYPE_26, 197)                                                                                           \
    X(SIG_PARTICIPANT_WINK, 198)                                                                                       \
    X(SIG_BED_ERROR_RESET, 199)                                                                                        \
    X(SIG_MENU_TEST, 218)

enum : std::uint16_t {
#define SM_SIGNAL_ENUM(name, number) name = number,
    SM_SIGNAL_LIST(SM_SIGNAL_ENUM)
#undef SM_SIGNAL_ENUM
};

// First and last signal that the key flush removes from the screen task.
inline constexpr std::uint16_t SIG_KEY_FIRST = 14;
inline constexpr std::uint16_t SIG_KEY_LAST = 84;

// Name of a signal for traces and scenario output; "SIG_?" for unused numbers.
const char* SIG_Name(std::uint16_t sig);

// Data-changed signal of a telegram type, or SIG_NONE for types without one.
std::uint16_t SIG_DataTypeSignal(std::uint8_t type);
