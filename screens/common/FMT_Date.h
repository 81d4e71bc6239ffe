// Date and time texts of the clock and the date screens.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/DTM.h"

// Formats: 0 "Mo 01.02.2026", 1 "Mo 01.02.26", 2 "Mo 01.02.", 3 "01.02.2026",
// 4 "01.02.26", 5 "07:05", 6 "07:05 Uhr". Returns the bytes written (cut to size - 1).
int FMT_DateTime(const DTM_Clock& record, std::uint8_t format, char* out, std::size_t size);
