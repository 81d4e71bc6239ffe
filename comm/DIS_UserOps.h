// Builders of the user-operation records the screens send. Where the
// control unit's answer takes a while, the builder writes the new value into
// the operating data image first, so that the screen shows it at once.
#pragma once

#include <cstdint>

void DIS_UO_ShutDown();                                          // 200, then 221
void DIS_UO_HotWaterOnly();                                      // 201, then 221
void DIS_UO_HeatingAndHotWater();                                // 202
void DIS_UO_PartyOn();                                           // 203, then 221
void DIS_UO_PartyOff();                                          // 204
void DIS_UO_RoomTemperature(bool reduced, std::uint8_t celsius); // 205 / 206
void DIS_UO_PartyTemperature(std::uint8_t celsius);              // 207
void DIS_UO_HotWaterTemperature(std::uint8_t celsius);           // 208
void DIS_UO_Slope(std::uint8_t tenths);                          // 210
void DIS_UO_Level(std::int8_t level);                            // 211
void DIS_UO_Time(std::uint32_t seconds);                         // 212
void DIS_UO_Date(std::uint32_t seconds);                         // 213
void DIS_UO_SwitchingTime(std::uint8_t type, std::uint8_t edge, std::uint8_t phase, std::uint8_t programKind,
                          std::uint32_t dayCode, std::uint8_t tenMinuteSteps); // 214
void DIS_UO_HotWaterAutomatic(bool automatic);                                 // 215 / 237
void DIS_UO_CirculationAutomatic(bool automatic);                              // 216 / 238
void DIS_UO_HolidayDeparture(std::uint32_t daySeconds);                        // 217 (23:59:59 of the day)
void DIS_UO_HolidayReturn(std::uint32_t daySeconds);                           // 218 (00:00:00 of the day)
void DIS_UO_HolidayEnded();                                                    // 219
void DIS_UO_EconomyOn();                                                       // 220, then 204
void DIS_UO_EconomyOff();                                                      // 221
void DIS_UO_ActorTest(std::uint8_t actor);                                     // 222
void DIS_UO_Plain(std::uint8_t code);                                          // 223..226, 232 (type 0)
void DIS_UO_CodingValue(std::uint8_t selectors, std::uint8_t index, std::uint16_t value, std::uint8_t flag); // 228
void DIS_UO_Reset(std::uint8_t selector);                                                                    // 229
void DIS_UO_CodingRead(std::uint8_t selectors, std::uint8_t index, std::uint8_t flag);                       // 230
void DIS_UO_Request(std::uint8_t index, std::uint8_t part); // 231 (index: type or per-circuit index)
void DIS_UO_RequestCircuit(std::uint8_t type, std::uint8_t circuit, std::uint8_t part);       // 231 for a named circuit
void DIS_UO_DisplaySettings(std::uint8_t contrast, std::uint8_t language, std::uint8_t flag); // 234
void DIS_UO_Faults(std::uint8_t function);                                                    // 235
void DIS_UO_ClearFaultHistory();                                                              // 239
void DIS_UO_StartOfCommunication(std::uint8_t restartReason);                                 // 240
void DIS_UO_Maintenance(std::uint8_t function);                   // 242: 0x55 acknowledge, 0xAA reset
void DIS_UO_Participant(std::uint8_t index, std::uint32_t value); // 243
void DIS_UO_ServicePin();                                         // 245
void DIS_UO_Function(std::uint8_t function, std::uint8_t value);  // 247
// Trial values: flag 0x55 tries, 0xAA stores (also into the image), 0 ends the trial.
void DIS_UO_HeatingPower(std::uint8_t value, std::uint8_t flag);                 // 248
void DIS_UO_FanSpeed(std::uint8_t stage, std::uint8_t value, std::uint8_t flag); // 250
void DIS_UO_Brightness(bool operating, std::uint8_t value);                      // 252
// Long record: a heating-circuit label part (2 or 3) of up to ten units.
void DIS_UO_Label(std::uint8_t circuit, std::uint8_t part, const std::uint16_t* units, std::uint8_t count,
                  std::uint8_t language);
