// Manufacturer end test: the two halves of the display lit in turn, the keys
// shown by number, the program-memory checksum. Up and down walk the ring of
// test screens; the test ends with a restart on BACK or a minute without keys.
#include "screens/service/BHE.h"

#include <cstdio>

#include "core/MAIN_Record.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/TOP.h"
#include "screens/common/VD.h"

namespace {

constexpr std::uint16_t kOperationTicks = 600; // 60 s
constexpr std::uint16_t kAlternateTicks = 100; // 10 s
constexpr GUI_BOX kBox{74, 54, 164, 104};
constexpr std::uint16_t kTextKey = 262;
constexpr std::uint16_t kTextChecksum = 57;

struct KeyNumber {
    std::uint16_t sig;
    std::uint8_t number;
};
// Up and down are not here: they walk the ring.
constexpr KeyNumber kKeyNumbers[] = {{SIG_KEY_BACK, 0x01},  {SIG_KEY_LEFT, 0x03}, {SIG_KEY_OK, 0x04},
                                     {SIG_KEY_RIGHT, 0x05}, {SIG_KEY_MENU, 0x08}, {SIG_KEY_HELP, 0x07}};

constexpr SM_Handler kRing[] = {BHE_Displaytest_1, BHE_Displaytest_2, BHE_Keyboardtest, BHE_RomChecksum};
constexpr int kRingSize = sizeof kRing / sizeof kRing[0];

void EndTest(SM_Hsm* me)
{
    SM_Post(DTM_Task, SIG_TIMERS_OFF, 0);
    MAIN_GetResetRecord().magic = 0; // the next start is a first start
    SM_Tran(me, SM_Top, TOP_SystemReset());
}

// UP and DOWN move along the ring from the screen at `index`.
bool RingKeys(SM_Hsm* me, const SM_Event* e, int index)
{
    int step = 0;
    if (e->sig == SIG_KEY_DOWN) {
        step = 1;
    } else if (e->sig == SIG_KEY_UP) {
        step = kRingSize - 1;
    } else {
        return false;
    }
    SM_Tran(me, BHE_HerstellerEndkontrolle, kRing[(index + step) % kRingSize]);
    return true;
}

void ShowHalf(int y0, int y1)
{
    GUI_EraseScreen();
    GUI_InvertArea(0, y0, 239, y1);
    LCD_Refresh();
    SM_Post(DTM_Task, SIG_TMR_HINT_SET, kAlternateTicks);
}

void DrawTitle(std::uint16_t text)
{
    TITLE_SetText(TXT_GetText(text));
    TITLE_DrawLine();
}

// The text dark on the lit box: drawn on the cleared box, then inverted.
void ShowInBox(const char* text)
{
    GUI_EraseBox(&kBox);
    const GUI_FONTDEF* previous = TXT_UseFontLarge();
    GUI_TextInBox(text, &kBox, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
    GUI_SelectFont(previous);
    GUI_InvertArea(kBox.x0, kBox.y0, kBox.x1, kBox.y1);
    LCD_RefreshBox(&kBox);
}

SM_State DisplayTest(SM_Hsm* me, const SM_Event* e, int index, int y0, int y1)
{
    switch (e->sig) {
    case SIG_ENTRY:
        return nullptr;
    case SIG_INIT:
        ShowHalf(y0, y1);
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SM_Tran(me, BHE_HerstellerEndkontrolle, kRing[index == 0 ? 1 : 0]);
        return nullptr;
    default:
        return RingKeys(me, e, index) ? nullptr : SM_State(BHE_HerstellerEndkontrolle);
    }
}

void AddFont(std::uint16_t& crc, const GUI_FONTDEF& font)
{
    for (const GUI_GLYPH_RANGE* r = font.firstRange; r != nullptr; r = r->next) {
        for (int i = 0; i <= r->last - r->first; ++i) {
            const GUI_GLYPH& g = r->glyphs[i];
            const std::uint8_t head[] = {g.width, g.advance, g.bytesPerRow};
            crc = BHE_Crc16(crc, head, sizeof head);
            crc = BHE_Crc16(crc, g.rows, static_cast<std::size_t>(g.bytesPerRow) * font.height);
        }
    }
}

} // namespace

std::uint16_t BHE_Crc16(std::uint16_t crc, const std::uint8_t* data, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        crc = static_cast<std::uint16_t>(crc ^ (data[i] << 8));
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<std::uint16_t>((crc & 0x8000) != 0 ? (crc << 1) ^ 0x1021 : crc << 1);
        }
    }
    return crc;
}

std::uint16_t BHE_ProgramChecksum()
{
    std::uint16_t crc = 0xFFFF;
    AddFont(crc, GUI_Font8);
    AddFont(crc, GUI_Font20);
    AddFont(crc, GUI_Font32);
    return crc;
}

SM_State BHE_HerstellerEndkontrolle(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHE_HerstellerEndkontrolle", e);
    switch (e->sig) {
    case SIG_ENTRY:
        SM_Post(DTM_Task, SIG_TMR_LIGHT_SET, kOperationTicks);
        return nullptr;
    case SIG_INIT:
        SM_Init(me, BHE_Displaytest_1);
        return nullptr;
    case SIG_EXIT:
        return nullptr;
    case SIG_KEY_ANY:
        SM_Post(DTM_Task, SIG_TMR_LIGHT_SET, kOperationTicks);
        return nullptr;
    case SIG_KEY_OK_UP:
        LCD_ContrastUp(); // not stored: the end test leaves nothing behind
        return nullptr;
    case SIG_KEY_OK_DOWN:
        LCD_ContrastDown();
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_TMR_LIGHT_TIMEOUT:
        EndTest(me);
        return nullptr;
    default:
        return TOP_SystemMonitor();
    }
}

SM_State BHE_Displaytest_1(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHE_Displaytest_1", e);
    return DisplayTest(me, e, 0, 0, 79);
}

SM_State BHE_Displaytest_2(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHE_Displaytest_2", e);
    return DisplayTest(me, e, 1, 79, 159);
}

SM_State BHE_Keyboardtest(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHE_Keyboardtest", e);
    switch (e->sig) {
    case SIG_ENTRY:
        return nullptr;
    case SIG_INIT:
        GUI_EraseScreen();
        DrawTitle(kTextKey);
        GUI_InvertArea(kBox.x0, kBox.y0, kBox.x1, kBox.y1);
        HINT_SetText(HINT_CHOOSE);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    default:
        break;
    }
    for (const KeyNumber& k : kKeyNumbers) {
        if (k.sig == e->sig) {
            char text[4];
            std::snprintf(text, sizeof text, "%02X", k.number);
            ShowInBox(text);
            return nullptr;
        }
    }
    return RingKeys(me, e, 2) ? nullptr : SM_State(BHE_HerstellerEndkontrolle);
}

SM_State BHE_RomChecksum(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHE_RomChecksum", e);
    switch (e->sig) {
    case SIG_ENTRY:
        return nullptr;
    case SIG_INIT: {
        GUI_EraseScreen();
        DrawTitle(kTextChecksum);
        LCD_Refresh();
        ShowInBox("0xFFFF"); // while the checksum runs
        const std::uint16_t sum = BHE_ProgramChecksum();
        MAIN_SetRomChecksum(sum); // the start of communication reports it
        char text[8];
        std::snprintf(text, sizeof text, "0x%04X", sum);
        ShowInBox(text);
        return nullptr;
    }
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    default:
        return RingKeys(me, e, 3) ? nullptr : SM_State(BHE_HerstellerEndkontrolle);
    }
}

// The end test keeps nothing between visits.
void BHE_PowerOn() {}
