#include "support/Golden.h"

#include <filesystem>

#include "gui/LCD.h"
#include "sim/LcdPng.h"

::testing::AssertionResult LcdMatchesGolden(HeadlessHost& host, const char* name)
{
    LCD_Refresh();
    std::filesystem::create_directories(PANEL_OUTPUT_DIR);
    const std::string golden = std::string(PANEL_GOLDEN_DIR) + "/" + name + ".png";
    const std::string output = std::string(PANEL_OUTPUT_DIR) + "/" + name;
    std::string message;
    if (LcdMatchesGolden(host.lcdPicture(), golden, output, message)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << message;
}
