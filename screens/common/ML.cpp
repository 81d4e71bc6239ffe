// Menu list, key-hint line and title bar.
#include "screens/common/ML.h"

#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI_Bitmap.h"
#include "gui/LCD.h"

namespace {

constexpr GUI_BOX kTitleText{1, 0, 238, 26};
constexpr GUI_BOX kTitleArea{0, 0, 239, 27};
constexpr GUI_BOX kHintArea{0, 132, 239, 159};
constexpr GUI_BOX kHintText{1, 133, 238, 159};
constexpr std::uint16_t kCheckOff = 0x2671;
constexpr std::uint16_t kCheckOn = 0x2672;

constexpr std::uint16_t kHintTexts[HINT_COUNT] = {284, 283, 18,  17,  16, 295, 35,  270, 189, 269,
                                                  140, 233, 118, 299, 83, 49,  311, 207, 296};

struct Menu {
    MenuEntry entries[ML_MAX_ENTRIES];
    std::uint8_t count;
    MenuList list;
};

Menu menu;

bool Visible(std::uint8_t i)
{
    return i < menu.count && menu.entries[i].visible != 0;
}

bool AnyVisible()
{
    for (std::uint8_t i = 0; i < menu.count; ++i) {
        if (Visible(i)) {
            return true;
        }
    }
    return false;
}

std::uint8_t StepUp(std::uint8_t f, int times)
{
    for (int n = 0; n < times; ++n) {
        f = ML_PrevVisible(f);
    }
    return f;
}

std::uint8_t StepDown(std::uint8_t f, int times)
{
    for (int n = 0; n < times; ++n) {
        f = ML_NextVisible(f);
    }
    return f;
}

void ShowEntry(std::uint8_t i)
{
    MenuList& l = menu.list;
    menu.entries[i].visible = 1;
    if (ML_VisibleCount() == 1) {
        l.firstRow = l.cursor = i;
    } else if (i >= l.firstRow && i < l.cursor) {
        if (ML_CountVisible(l.firstRow, ML_LastVisible()) > l.visibleRows) {
            l.firstRow = ML_NextVisible(l.firstRow); // the cursor keeps its row
        }
    } else if (i < l.firstRow) {
        if (ML_CountVisible(l.firstRow, ML_LastVisible()) < l.visibleRows) {
            l.firstRow = ML_PrevVisible(l.firstRow); // fill the window from above
        }
    }
}

void HideEntry(std::uint8_t i)
{
    MenuList& l = menu.list;
    std::uint8_t f = l.firstRow;
    std::uint8_t c = l.cursor;
    menu.entries[i].visible = 0;
    if (!AnyVisible()) {
        f = c = 0;
    } else if (i == l.cursor) {
        c = ML_NextVisible(l.cursor);
        if (c != l.cursor) {
            if (ML_CountVisible(f, ML_LastVisible()) < l.visibleRows) {
                f = ML_PrevVisible(f);
            }
        } else {
            c = ML_PrevVisible(l.cursor);
            if (c != l.cursor) {
                f = ML_PrevVisible(f);
            }
        }
        if (l.firstRow == l.cursor) {
            f = c;
        }
    } else if (i != l.firstRow) {
        if (i > l.firstRow && i < l.cursor) {
            f = ML_PrevVisible(l.firstRow);
        } else if (ML_CountVisible(f, ML_LastVisible()) < l.visibleRows) {
            f = ML_PrevVisible(f);
        }
    } else {
        const std::uint8_t up = ML_PrevVisible(f);
        f = up != f ? up : ML_NextVisible(f);
    }
    l.firstRow = f;
    l.cursor = c;
}

void ClearHint()
{
    GUI_EraseBox(&kHintArea);
    GUI_LineH(132, 0, 239);
}

} // namespace

void ML_SetEntry(std::uint8_t index, ML_DrawFn draw)
{
    if (index < ML_MAX_ENTRIES) {
        menu.entries[index] = MenuEntry{draw, 1};
    }
}

void ML_SetEntryVisibleRaw(std::uint8_t index, std::uint8_t visible)
{
    if (index < ML_MAX_ENTRIES) {
        menu.entries[index].visible = visible;
    }
}

std::uint8_t ML_IsEntryVisible(std::uint8_t index)
{
    return index < ML_MAX_ENTRIES ? menu.entries[index].visible : 0;
}

const MenuEntry* ML_GetEntryTable()
{
    return menu.entries;
}

void ML_SetCount(std::uint8_t n)
{
    menu.count = n <= ML_MAX_ENTRIES ? n : ML_MAX_ENTRIES;
}

std::uint8_t ML_GetCount()
{
    return menu.count;
}

void ML_ShowEntry(std::uint8_t index, std::uint8_t visible)
{
    if (index >= menu.count || (menu.entries[index].visible != 0) == (visible != 0)) {
        return;
    }
    if (visible != 0) {
        ShowEntry(index);
    } else {
        HideEntry(index);
    }
}

std::uint8_t ML_FirstVisible()
{
    for (std::uint8_t i = 0; i < menu.count; ++i) {
        if (Visible(i)) {
            return i;
        }
    }
    return 0;
}

std::uint8_t ML_LastVisible()
{
    for (std::uint8_t i = menu.count; i > 0; --i) {
        if (Visible(static_cast<std::uint8_t>(i - 1))) {
            return static_cast<std::uint8_t>(i - 1);
        }
    }
    return 0;
}

std::uint8_t ML_NextVisible(std::uint8_t i)
{
    for (std::uint8_t n = static_cast<std::uint8_t>(i + 1); n < menu.count; ++n) {
        if (Visible(n)) {
            return n;
        }
    }
    return i;
}

std::uint8_t ML_PrevVisible(std::uint8_t i)
{
    for (std::uint8_t n = i; n > 0; --n) {
        if (Visible(static_cast<std::uint8_t>(n - 1))) {
            return static_cast<std::uint8_t>(n - 1);
        }
    }
    return i;
}

std::uint8_t ML_CountVisible(std::uint8_t from, std::uint8_t to)
{
    std::uint8_t n = 0;
    for (std::uint16_t i = from; i <= to && i < menu.count; ++i) {
        n = static_cast<std::uint8_t>(n + (Visible(static_cast<std::uint8_t>(i)) ? 1 : 0));
    }
    return n;
}

std::uint8_t ML_VisibleCount()
{
    return menu.count == 0 ? 0 : ML_CountVisible(0, static_cast<std::uint8_t>(menu.count - 1));
}

void ML_Init(std::uint8_t x0, std::uint8_t x1, std::uint8_t y0, std::uint8_t rowHeight, std::uint8_t rowGap,
             std::uint8_t visibleRows)
{
    MenuList& l = menu.list;
    l.x0 = x0;
    l.x1 = x1;
    l.y0 = y0;
    l.rowHeight = rowHeight;
    l.rowGap = rowGap;
    l.visibleRows = visibleRows;
    l.firstRow = l.cursor = ML_FirstVisible();
    l.highlight = 1;
}

void ML_Draw()
{
    const MenuList& l = menu.list;
    int y = l.y0;
    std::uint8_t i = l.firstRow;
    for (std::uint8_t r = 0; r < l.visibleRows;) {
        const GUI_BOX row{static_cast<std::int16_t>(l.x0), static_cast<std::int16_t>(y),
                          static_cast<std::int16_t>(l.x1), static_cast<std::int16_t>(y + l.rowHeight - 1)};
        if (i >= menu.count) {
            GUI_EraseBox(&row);
        } else if (Visible(i)) {
            GUI_EraseBox(&row);
            const GUI_BOX inner{static_cast<std::int16_t>(l.x0 + 1), row.y0, static_cast<std::int16_t>(l.x1 - 1),
                                row.y1};
            if (menu.entries[i].draw != nullptr) {
                menu.entries[i].draw(&inner);
            }
            if (l.highlight == 1 && i == l.cursor) {
                GUI_InvertArea(row.x0, row.y0, row.x1, row.y1);
            }
            ++i;
        } else {
            ++i;
            continue; // a hidden entry takes no row
        }
        y += l.rowHeight + l.rowGap;
        ++r;
    }
}

bool ML_CursorDown()
{
    MenuList& l = menu.list;
    const std::uint8_t n = ML_NextVisible(l.cursor);
    if (n <= l.cursor) {
        return false;
    }
    l.cursor = n;
    const std::uint8_t k = ML_CountVisible(l.firstRow, l.cursor);
    // The window scrolls one row ahead; only the last entry reaches the bottom row.
    const bool last = n == ML_LastVisible();
    if ((!last && k >= l.visibleRows) || (last && k > l.visibleRows)) {
        l.firstRow = ML_NextVisible(l.firstRow);
    }
    ML_Draw();
    return true;
}

bool ML_CursorUp()
{
    MenuList& l = menu.list;
    const std::uint8_t p = ML_PrevVisible(l.cursor);
    if (p >= l.cursor) {
        return false;
    }
    l.cursor = p;
    if (p == ML_FirstVisible()) {
        l.firstRow = p;
    } else if (l.cursor <= l.firstRow) {
        l.firstRow = ML_PrevVisible(l.firstRow);
    }
    ML_Draw();
    return true;
}

std::uint8_t ML_GetCursor()
{
    return menu.list.cursor;
}

void ML_SetCursor(std::uint8_t i)
{
    menu.list.cursor = i;
}

std::uint8_t ML_GetFirstRow()
{
    return menu.list.firstRow;
}

void ML_SetFirstRow(std::uint8_t i)
{
    menu.list.firstRow = i;
}

void ML_SetHighlight(std::uint8_t on)
{
    menu.list.highlight = on;
}

void ML_RestorePosition(std::uint8_t f, std::uint8_t c)
{
    MenuList& l = menu.list;
    if (!Visible(c)) {
        l.firstRow = l.cursor = ML_FirstVisible();
        return;
    }
    if (Visible(f)) {
        const std::uint8_t k = ML_CountVisible(f, c);
        if (k <= l.visibleRows) {
            const std::uint8_t m = ML_CountVisible(f, ML_LastVisible());
            if (m < l.visibleRows) {
                f = StepUp(f, l.visibleRows - m); // fill the window
            }
        } else {
            f = StepDown(f, k - l.visibleRows);
        }
    } else {
        f = StepUp(c, l.visibleRows - 1);
    }
    l.firstRow = f;
    l.cursor = c;
}

void ML_CursorRowRect(GUI_BOX* rect)
{
    const MenuList& l = menu.list;
    const int k = ML_CountVisible(l.firstRow, l.cursor);
    const int y0 = l.y0 + (l.rowHeight + l.rowGap) * (k - 1);
    *rect = GUI_BOX{1, static_cast<std::int16_t>(y0), 238, static_cast<std::int16_t>(y0 + l.rowHeight - 1)};
}

MenuList* ML_GetRecord()
{
    return &menu.list;
}

void ML_DrawName(const GUI_BOX* row, std::uint16_t textId)
{
    GUI_TextInBox(TXT_GetText(textId), row, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
}

void ML_DrawValue(const GUI_BOX* row, const char* text)
{
    GUI_TextInBox(text, row, GUI_ALIGN_RIGHT | GUI_ALIGN_VCENTER);
}

void ML_DrawLeftBeside(const GUI_BOX* box, const char* left, int rightWidth)
{
    // A half character reads as a different one; a few pixels keep the two texts apart.
    const int room = box->x1 - box->x0 + 1 - (rightWidth > 0 ? rightWidth + ML_TEXT_GAP : 0);
    GUI_TextInBoxN(left, box, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER, GUI_CharsThatFit(left, room));
}

void ML_CutToWidth(char* text, int width)
{
    int chars = GUI_CharsThatFit(text, width);
    for (char* p = text; *p != '\0'; ++p) {
        // Continuation bytes belong to the character before.
        if ((static_cast<unsigned char>(*p) & 0xC0) != 0x80 && chars-- == 0) {
            *p = '\0';
            return;
        }
    }
}

void ML_DrawLeftRight(const GUI_BOX* box, const char* left, const char* right)
{
    ML_DrawLeftBeside(box, left, GUI_TextWidth(right));
    if (right != nullptr) {
        GUI_TextInBox(right, box, GUI_ALIGN_RIGHT | GUI_ALIGN_VCENTER);
    }
}

void ML_DrawChoiceMark(const GUI_BOX* row, bool selected)
{
    char mark[4];
    const std::uint16_t code = selected ? kCheckOn : kCheckOff;
    const int n = GUI_CodesToUtf8(&code, 1, mark, 3);
    mark[n] = '\0';
    ML_DrawValue(row, mark);
}

std::uint16_t ML_CircuitLabel()
{
    if (DAT_CircuitCount() < 2) {
        return ML_NO_TEXT;
    }
    const std::uint8_t c = DAT_SelectedCircuit() != 0 ? DAT_SelectedCircuit() : DAT_FirstCircuit();
    return c == 2 ? 131 : 130;
}

std::uint16_t HINT_TextId(std::uint8_t index)
{
    return index < HINT_COUNT ? kHintTexts[index] : ML_NO_TEXT;
}

void HINT_SetText(std::uint8_t index)
{
    ClearHint();
    if (index < HINT_COUNT) {
        GUI_TextInBox(TXT_GetText(kHintTexts[index]), &kHintText, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
    }
}

void HINT_Refresh()
{
    LCD_RefreshBox(&kHintArea);
}

void TITLE_DrawLine()
{
    GUI_LineH(27, 0, 239);
}

void TITLE_SetText(const char* text)
{
    GUI_EraseBox(&kTitleText);
    GUI_TextInBox(text, &kTitleText, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
}

void TITLE_SetTextCentred(const char* text)
{
    GUI_EraseBox(&kTitleText);
    GUI_TextInBox(text, &kTitleText, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
}

void TITLE_DrawRight(const char* text)
{
    GUI_TextInBox(text, &kTitleText, GUI_ALIGN_RIGHT | GUI_ALIGN_VCENTER);
}

void TITLE_SetTextAndRight(const char* left, const char* right)
{
    GUI_EraseBox(&kTitleText);
    ML_DrawLeftRight(&kTitleText, left, right);
}

void TITLE_SetTextBeside(const char* left, int rightWidth)
{
    GUI_EraseBox(&kTitleText);
    ML_DrawLeftBeside(&kTitleText, left, rightWidth);
}

void TITLE_SetTwoTexts(std::uint16_t leftId, std::uint16_t centreId)
{
    GUI_EraseBox(&kTitleText);
    const char* left = TXT_GetText(leftId);
    const int leftWidth = GUI_TextWidth(left);
    GUI_TextInBox(left, &kTitleText, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    const std::uint16_t label = ML_CircuitLabel();
    int right = kTitleText.x1;
    if (label != ML_NO_TEXT) {
        const char* text = TXT_GetText(label);
        right -= GUI_TextWidth(text);
        TITLE_DrawRight(text);
    }
    const GUI_BOX between{static_cast<std::int16_t>(kTitleText.x0 + leftWidth), kTitleText.y0,
                          static_cast<std::int16_t>(right), kTitleText.y1};
    GUI_TextInBox(TXT_GetText(centreId), &between,
                  (label != ML_NO_TEXT ? GUI_ALIGN_HCENTER : GUI_ALIGN_RIGHT) | GUI_ALIGN_VCENTER);
}

void TITLE_SetIcon(const GUI_PICTURE* icon, const char* text, const char* rightText)
{
    GUI_EraseBox(&kTitleText);
    GUI_PutBitmap(icon, 1, 0);
    const GUI_BOX rest{static_cast<std::int16_t>(1 + icon->width), kTitleText.y0, kTitleText.x1, kTitleText.y1};
    ML_DrawLeftRight(&rest, text, rightText);
}

void TITLE_SetIconCentred(const GUI_PICTURE* icon, const char* text)
{
    GUI_EraseBox(&kTitleText);
    const int x = 1 + (237 - GUI_TextWidth(text) - icon->width) / 2;
    GUI_PutBitmap(icon, x, 0);
    GUI_SetTextPos(x + icon->width, 0);
    const GUI_BOX rest{static_cast<std::int16_t>(x + icon->width), kTitleText.y0, kTitleText.x1, kTitleText.y1};
    GUI_TextInBox(text, &rest, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
}

void TITLE_Refresh()
{
    LCD_RefreshBox(&kTitleArea);
}

void TITLE_Draw(std::uint16_t textId)
{
    // One text at a time: the texts share one buffer.
    char text[128];
    TXT_CopyText(textId, text, sizeof text);
    const std::uint16_t label = ML_CircuitLabel();
    TITLE_SetTextAndRight(text, label != ML_NO_TEXT ? TXT_GetText(label) : nullptr);
    TITLE_DrawLine();
}

void ML_PowerOn()
{
    menu = Menu{};
}
