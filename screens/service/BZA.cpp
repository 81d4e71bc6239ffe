// Character-set view: the codes the normal font has, one at a time, each
// glyph drawn in every font that has it, framed by its width and the font's
// height. The small and large fonts cover no code that the normal font lacks,
// so walking the normal font reaches every glyph of all three.
#include "screens/service/BZA.h"

#include <cstdio>

#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BGM.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/service/BTR.h"

namespace {

constexpr std::uint8_t kRepeatRate = 12;
constexpr GUI_BOX kBody{0, 28, 239, 159};
constexpr GUI_BOX kCodeRow{0, 29, 239, 52};
constexpr GUI_BOX kWidthRow{0, 55, 239, 78};
constexpr GUI_BOX kFontRow{0, 132, 239, 159};
constexpr int kGlyphY = 80;

struct Column {
    const GUI_FONTDEF* (*font)();
    int x;     // left edge of the glyph
    int align; // of its width and height in their rows
};
// The normal font left, the small one between, the large one right.
constexpr Column kNormal{TXT_FontNormal, 60, GUI_ALIGN_LEFT};
constexpr Column kSmall{TXT_FontSmall, 127, GUI_ALIGN_HCENTER};
constexpr Column kLarge{TXT_FontLarge, 194, GUI_ALIGN_RIGHT};

struct Module {
    std::uint16_t code;
};

Module bza;

bool Shown(std::uint16_t code)
{
    return GUI_FontHasChar(TXT_FontNormal(), code);
}

// From `code` on in the direction `step` (+1 or -1, wrapping at 16 bits) to
// the first code the normal font has; a font without glyphs leaves it.
std::uint16_t Seek(std::uint16_t code, int step)
{
    for (std::uint32_t n = 0; n <= 0xFFFF; ++n) {
        if (Shown(code)) {
            return code;
        }
        code = static_cast<std::uint16_t>(code + step);
    }
    return code;
}

void Text(const char* text, const GUI_BOX& box, int align)
{
    GUI_TextInBox(text, &box, align | GUI_ALIGN_VCENTER);
}

// The glyph framed by its width and the font's height, its width in the
// width row and the font's height in the bottom row.
void DrawColumn(const Column& c, const char* widthLabel, const char* fontLabel)
{
    const GUI_FONTDEF* font = c.font();
    if (!GUI_FontHasChar(font, bza.code)) {
        return;
    }
    const GUI_FONTDEF* previous = GUI_SelectFont(font);
    const int width = GUI_CharWidth(bza.code);
    const int height = GUI_FontHeight();
    GUI_CharAt(bza.code, c.x, kGlyphY);
    GUI_SelectFont(previous);
    GUI_FrameArea(c.x - 1, kGlyphY - 1, c.x + width, kGlyphY + height);
    char text[24];
    std::snprintf(text, sizeof text, "%s%2d", widthLabel, width);
    Text(text, kWidthRow, c.align);
    std::snprintf(text, sizeof text, "%s%d", fontLabel, height);
    Text(text, kFontRow, c.align);
}

void Draw()
{
    GUI_EraseBox(&kBody);
    char text[16];
    std::snprintf(text, sizeof text, "Code: %u", static_cast<unsigned>(bza.code));
    Text(text, kCodeRow, GUI_ALIGN_LEFT);
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(bza.code));
    Text(text, kCodeRow, GUI_ALIGN_RIGHT);
    DrawColumn(kNormal, "Breite: ", "Font: ");
    DrawColumn(kSmall, "", "");
    DrawColumn(kLarge, "", "");
}

void Step(int step)
{
    bza.code = Seek(static_cast<std::uint16_t>(bza.code + step), step);
    Draw();
    LCD_Refresh();
}

} // namespace

std::uint16_t BZA_Code()
{
    return bza.code;
}

SM_State BZA_ZeichensatzAnzeige(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BZA_ZeichensatzAnzeige", e);
    switch (e->sig) {
    case SIG_ENTRY:
        SM_Post(KEY_Task, SIG_KEY_REPEAT_RATE, kRepeatRate);
        return nullptr;
    case SIG_INIT:
        GUI_EraseScreen();
        TITLE_SetText("Zeichensatzansicht");
        TITLE_DrawLine();
        bza.code = Seek(bza.code, 1);
        Draw();
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SM_Post(KEY_Task, SIG_KEY_REPEAT_RATE, 0);
        SCR_ExitCommon();
        return nullptr;
    case SIG_KEY_UP:
        Step(1);
        return nullptr;
    case SIG_KEY_DOWN:
        Step(-1);
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BGM_Grundmenue, SCR_FROM_CHILD);
        return nullptr;
    case SIG_KEY_MENU_DOWN: // the next developer's screen
        SM_TranParam(me, BKE_Kontrasteinstellung, BTR_FifoBufferMenue, SCR_FROM_PARENT);
        return nullptr;
    case SIG_TMR_LIGHT_TIMEOUT:
        return nullptr; // stays open however long it is studied
    default:
        return BMM_Menuemonitor;
    }
}

void BZA_PowerOn()
{
    bza = Module{};
}
