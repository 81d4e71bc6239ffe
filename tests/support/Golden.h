// Compares what the LCD shows with a reviewed golden picture in
// tests/goldens/. On a mismatch the actual and a diff picture are written to
// the build's lcd-output/ folder and named in the failure; PANEL_UPDATE_GOLDENS=1
// rewrites the goldens on purpose.
#pragma once

#include <gtest/gtest.h>

#include "sim/headless/HeadlessHost.h"

::testing::AssertionResult LcdMatchesGolden(HeadlessHost& host, const char* name);
