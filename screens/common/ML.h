// The one menu list of the panel, the key-hint line and the title bar: the
// frame every screen shares.
#pragma once

#include <cstdint>

#include "gui/GUI.h"

struct GUI_PICTURE;

inline constexpr std::uint8_t ML_MAX_ENTRIES = 39;
inline constexpr std::uint16_t ML_NO_TEXT = 0xFFFF;

// An entry draws its name left and its value right in the row rectangle.
using ML_DrawFn = void (*)(const GUI_BOX* row);

struct MenuEntry {
    ML_DrawFn draw;
    std::uint8_t visible;
};

struct MenuList {
    std::uint8_t firstRow;
    std::uint8_t cursor;
    std::uint8_t x0, x1;
    std::uint8_t y0;
    std::uint8_t rowHeight;
    std::uint8_t rowGap;
    std::uint8_t visibleRows;
    std::uint8_t highlight;
};

// Entry table.
void ML_SetEntry(std::uint8_t index, ML_DrawFn draw);
void ML_SetEntryVisibleRaw(std::uint8_t index, std::uint8_t visible);
std::uint8_t ML_IsEntryVisible(std::uint8_t index);
const MenuEntry* ML_GetEntryTable();
void ML_SetCount(std::uint8_t n);
std::uint8_t ML_GetCount();
void ML_ShowEntry(std::uint8_t index, std::uint8_t visible);

// Visible-entry arithmetic; hidden entries are skipped.
std::uint8_t ML_FirstVisible();
std::uint8_t ML_LastVisible();
std::uint8_t ML_NextVisible(std::uint8_t i);
std::uint8_t ML_PrevVisible(std::uint8_t i);
std::uint8_t ML_CountVisible(std::uint8_t from, std::uint8_t to);
std::uint8_t ML_VisibleCount();

// The list record.
void ML_Init(std::uint8_t x0, std::uint8_t x1, std::uint8_t y0, std::uint8_t rowHeight, std::uint8_t rowGap,
             std::uint8_t visibleRows);
void ML_Draw();
bool ML_CursorDown();
bool ML_CursorUp();
std::uint8_t ML_GetCursor();
void ML_SetCursor(std::uint8_t i);
std::uint8_t ML_GetFirstRow();
void ML_SetFirstRow(std::uint8_t i);
void ML_SetHighlight(std::uint8_t on);
void ML_RestorePosition(std::uint8_t firstRow, std::uint8_t cursor);
void ML_CursorRowRect(GUI_BOX* rect);
MenuList* ML_GetRecord();

// Entry drawing helpers: a text left, a text right, a choice mark right.
void ML_DrawName(const GUI_BOX* row, std::uint16_t textId);
void ML_DrawValue(const GUI_BOX* row, const char* text);
void ML_DrawChoiceMark(const GUI_BOX* row, bool selected);
// A left text never runs into the right one: it ends at its last whole
// character that leaves a small gap before rightWidth pixels at the right.
inline constexpr int ML_TEXT_GAP = 4;
void ML_DrawLeftBeside(const GUI_BOX* box, const char* left, int rightWidth);
// Ends text (UTF-8) after its whole characters that fit width pixels.
void ML_CutToWidth(char* text, int width);
void ML_DrawLeftRight(const GUI_BOX* box, const char* left, const char* right);
// Short label of the current heating circuit ("HK1"/"HK2") when the plant has
// two or more circuits, else ML_NO_TEXT.
std::uint16_t ML_CircuitLabel();

// Key-hint line: an index of the hint table; HINT_COUNT or more draws an empty hint.
enum HINT_Index : std::uint8_t {
    HINT_CHOOSE,          // "Wählen mit ♯"
    HINT_CHOOSE_LR,       // "Wählen mit ♮"
    HINT_CHANGE,          // "Ändern mit ♯"
    HINT_CHANGE_LR,       // "Ändern mit ♮"
    HINT_CHANGE_ALL,      // "Ändern mit ♰"
    HINT_CONTINUE_OK,     // "Weiter mit OK"
    HINT_END_OK,          // "Beenden mit OK"
    HINT_TAKEN_OVER,      // "Übernommen"
    HINT_NOT_TAKEN_OVER,  // "Nicht übernommen"
    HINT_TAKE_OVER_OK,    // "Übernehmen mit OK"
    HINT_IS_SET,          // "Ist eingestellt"
    HINT_SEE_REMOTE,      // "Siehe Fernbedienung"
    HINT_CIRCUIT_CHANGED, // "Heizkreis gewechselt"
    HINT_CHOSEN,          // "Wurde gewählt"
    HINT_UNLOCK_RESET,    // "Entriegeln mit Reset"
    HINT_PLEASE_WAIT,     // "Bitte warten"
    HINT_BACK,            // "Zurück mit ♳"
    HINT_ACKNOWLEDGE_OK,  // "Quittieren mit OK"
    HINT_CONTINUE,        // "Weiter mit ♯"
    HINT_COUNT
};
void HINT_SetText(std::uint8_t index);
void HINT_Refresh();
std::uint16_t HINT_TextId(std::uint8_t index);

// Title bar.
void TITLE_DrawLine();
void TITLE_SetText(const char* text);
void TITLE_SetTextCentred(const char* text);
void TITLE_DrawRight(const char* text);
void TITLE_SetTextAndRight(const char* left, const char* right);
void TITLE_SetTextBeside(const char* left, int rightWidth);
void TITLE_SetTwoTexts(std::uint16_t leftId, std::uint16_t centreId);
void TITLE_SetIcon(const GUI_PICTURE* icon, const char* text, const char* rightText);
void TITLE_SetIconCentred(const GUI_PICTURE* icon, const char* text);
void TITLE_Refresh();
// The usual title of a screen: text, the circuit label on the right where
// the plant has two circuits, the line.
void TITLE_Draw(std::uint16_t textId);

// Static memory as at power-on (hosts that run several panels in one process).
void ML_PowerOn();
