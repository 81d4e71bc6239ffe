// Circuit label dialog. The label is edited as indexes into the language's
// character set; whatever the image holds, the editor takes at most its own
// length, and an index the set does not have shows and stores as a space.
#include "screens/user/BBHK.h"

#include <algorithm>
#include <iterator>

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/user/BHKW.h"

namespace {

constexpr std::uint32_t kHelpPage = 110;
constexpr std::uint8_t kMaxSet = 100;
constexpr std::uint8_t kPartUnits = DAT_LABEL_UNITS / 2;
constexpr GUI_BOX kField{20, 68, 219, 90};
constexpr GUI_BOX kInside{21, 69, 218, 89};
constexpr GUI_BOX kFeedbackArea{0, 28, 239, 131};
constexpr int kTextX = 23;
constexpr int kWheelRows[4] = {30, 48, 92, 110}; // two before the field, two after
constexpr std::uint16_t kSpace = ' ';

// Letters beyond a-z of each language, lower case then upper case, in the
// panel's language order; digits and ".:+-_ " follow in every set.
struct Letters {
    const char* lower;
    const char* upper;
};
constexpr const char* kLatinLower = "abcdefghijklmnopqrstuvwxyz";
constexpr const char* kLatinUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr const char* kCyrillicLower = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
constexpr const char* kCyrillicUpper = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
constexpr const char* kTail = "0123456789.:+-_ ";
constexpr std::uint8_t kRussian = 14;
constexpr Letters kExtras[TXT_LANGUAGES] = {
    {"äöüß", "ÄÖÜ"},                        // DE
    {"áčďéěíňóřšťúůýž", "ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ"}, // CZ
    {"æøå", "ÆØÅ"},                         // DK
    {"", ""},                               // GB
    {"ñ", "Ñ"},                             // ES
    {"äöõüšž", "ÄÖÕÜŠŽ"},                   // EE
    {"àâçéèêô", "ÀÂÇÉÈÊÔ"},                 // FR
    {"čćđšž", "ČĆĐŠŽ"},                     // HR
    {"", ""},                               // IT
    {"āčēģīķļņšūž", "ĀČĒĢĪĶĻŅŠŪŽ"},         // LV
    {"ąčęėįšųūž", "ĄČĘĖĮŠŲŪŽ"},             // LT
    {"áéóöőúüű", "ÁÉÓÖŐÚÜŰ"},               // HU
    {"", ""},                               // NL
    {"ąćęłńóśźż", "ĄĆĘŁŃÓŚŹŻ"},             // PL
    {"", ""},                               // RU (a set of its own)
    {"ăâîşţ", "ĂÂÎŞŢ"},                     // RO
    {"čšž", "ČŠŽ"},                         // SL
    {"åäö", "ÅÄÖ"},                         // SE
    {"çğıöşü", "ÇĞİÖŞÜ"},                   // TR
};

struct CharSet {
    std::uint16_t code[kMaxSet];
    std::uint8_t size;
};

std::uint8_t Append(CharSet& set, const char* utf8)
{
    int n = 0;
    while (utf8[n] != '\0') {
        ++n;
    }
    const int got = GUI_Utf8ToCodes(utf8, n, set.code + set.size, kMaxSet - set.size);
    set.size = static_cast<std::uint8_t>(set.size + got);
    return set.size;
}

CharSet MakeSet(std::uint8_t language)
{
    CharSet set{};
    if (language >= TXT_LANGUAGES) {
        return set;
    }
    if (language == kRussian) {
        Append(set, kCyrillicLower);
        Append(set, kCyrillicUpper);
    } else {
        Append(set, kLatinLower);
        Append(set, kExtras[language].lower);
        Append(set, kLatinUpper);
        Append(set, kExtras[language].upper);
    }
    Append(set, kTail);
    return set;
}

struct Module {
    CharSet set{};
    std::uint8_t index[BBHK_LENGTH] = {};
    std::uint8_t cursor = 0;
    std::uint8_t circuit = 1;
    std::uint8_t hint = HINT_CHANGE_ALL;
    bool changed = false;
};

Module bbhk;

std::uint16_t CharAt(std::uint8_t position)
{
    const std::uint8_t i = bbhk.index[position];
    return i < bbhk.set.size ? bbhk.set.code[i] : kSpace;
}

std::uint8_t IndexOf(std::uint16_t code)
{
    for (std::uint8_t i = 0; i < bbhk.set.size; ++i) {
        if (bbhk.set.code[i] == code) {
            return i;
        }
    }
    return kMaxSet; // not in the set: shown as a space
}

std::uint16_t NameId()
{
    return bbhk.circuit == 2 ? 117 : 116;
}

void Load()
{
    bbhk.set = MakeSet(TXT_GetLanguage());
    bbhk.circuit = DAT_CurrentCircuit() == 2 ? 2 : 1;
    std::uint16_t units[DAT_LABEL_UNITS] = {};
    const char* name = TXT_GetText(NameId());
    int bytes = 0;
    while (name[bytes] != '\0') {
        ++bytes;
    }
    const int n = GUI_Utf8ToCodes(name, bytes, units, BBHK_LENGTH);
    const std::uint8_t space = IndexOf(kSpace);
    for (std::uint8_t p = 0; p < BBHK_LENGTH; ++p) {
        bbhk.index[p] = p < n ? IndexOf(units[p]) : space;
    }
    bbhk.cursor = 0;
    bbhk.changed = false;
    bbhk.hint = HINT_CHANGE_ALL;
}

void DrawTitle()
{
    TITLE_Draw(NameId());
}

// The x of each character and the end of the last, from the field's left edge.
int CharX(std::uint8_t position)
{
    int x = kTextX;
    for (std::uint8_t p = 0; p < position; ++p) {
        x += GUI_CharWidth(CharAt(p));
    }
    return x;
}

void DrawField()
{
    GUI_EraseArea(0, 28, 239, 131);
    GUI_FrameArea(kField.x0, kField.y0, kField.x1, kField.y1);
    const int cursorX = CharX(bbhk.cursor);
    const int cursorW = std::max(GUI_CharWidth(CharAt(bbhk.cursor)), 1);
    // Scrolled so that the cursor's character stays inside the frame.
    const int shift = std::max(0, cursorX + cursorW - (kInside.x1 - 1));
    const int top = kField.y0 + (kField.y1 - kField.y0 + 1 - GUI_FontHeight()) / 2;
    GUI_SetClip(&kInside);
    int x = kTextX - shift;
    for (std::uint8_t p = 0; p < BBHK_LENGTH; ++p) {
        GUI_CharAt(CharAt(p), x, top);
        x += GUI_CharWidth(CharAt(p));
    }
    const int x0 = cursorX - shift;
    GUI_InvertArea(x0 - 1, kInside.y0 + 1, x0 + cursorW, kInside.y1 - 1);
    GUI_SetClip(nullptr);
    // The wheel: the set's neighbours of the cursor's character above and below it.
    const std::uint8_t size = bbhk.set.size;
    if (size == 0) {
        return;
    }
    const int current = bbhk.index[bbhk.cursor] < size ? bbhk.index[bbhk.cursor] : IndexOf(kSpace);
    const int offsets[4] = {-2, -1, 1, 2};
    for (int k = 0; k < 4; ++k) {
        const int i = ((current + offsets[k]) % size + size) % size;
        const std::uint16_t code = bbhk.set.code[i];
        const int centre = x0 + cursorW / 2;
        GUI_CharAt(code, centre - GUI_CharWidth(code) / 2, kWheelRows[k]);
    }
}

void DrawScreen()
{
    GUI_EraseScreen();
    DrawTitle();
    DrawField();
    HINT_SetText(bbhk.hint);
}

void Step(int by)
{
    const std::uint8_t size = bbhk.set.size;
    if (size == 0) {
        return;
    }
    std::uint8_t& i = bbhk.index[bbhk.cursor];
    const int from = i < size ? i : IndexOf(kSpace);
    i = static_cast<std::uint8_t>(((from + by) % size + size) % size);
    bbhk.changed = true;
}

void SetHint(std::uint8_t hint, bool arm)
{
    bbhk.hint = hint;
    SCR_Hint(hint, arm);
}

void Store()
{
    std::uint16_t units[DAT_LABEL_UNITS] = {};
    std::uint8_t n = 0;
    for (std::uint8_t p = 0; p < BBHK_LENGTH; ++p) {
        units[p] = CharAt(p);
        if (units[p] != kSpace) {
            n = static_cast<std::uint8_t>(p + 1); // trailing spaces go
        }
    }
    std::fill(units + n, std::end(units), std::uint16_t{0});
    const std::uint8_t language = TXT_GetLanguage();
    DAT_SetCircuitLabel(bbhk.circuit, units, n, language);
    const std::uint8_t first = std::min(n, kPartUnits);
    DIS_UO_Label(bbhk.circuit, 2, units, first, language);
    DIS_UO_Label(bbhk.circuit, 3, units + kPartUnits, static_cast<std::uint8_t>(n - first), language);
}

void BackToChoice(SM_Hsm* me)
{
    SM_TranParam(me, BKE_Kontrasteinstellung, BHKW_HKWahl, SCR_FROM_CHILD);
}

void Help(SM_Hsm* me)
{
    SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
}

} // namespace

std::uint8_t BBHK_SetSize(std::uint8_t language)
{
    return MakeSet(language).size;
}

std::uint16_t BBHK_SetChar(std::uint8_t language, std::uint8_t index)
{
    const CharSet set = MakeSet(language);
    return index < set.size ? set.code[index] : kSpace;
}

SM_State BBHK_BeschriftungDialog(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BBHK_BeschriftungDialog", e);
    switch (e->sig) {
    case SIG_ENTRY:
        return nullptr;
    case SIG_INIT:
        if (e->par == SCR_FROM_PARENT) {
            Load();
        }
        DrawScreen();
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_KEY_UP:
    case SIG_KEY_DOWN:
        Step(e->sig == SIG_KEY_UP ? 1 : -1);
        SetHint(HINT_TAKE_OVER_OK, true);
        DrawField();
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_LEFT:
        if (bbhk.cursor > 0) {
            --bbhk.cursor;
        }
        DrawField();
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_RIGHT:
        if (bbhk.cursor + 1 < BBHK_LENGTH) {
            ++bbhk.cursor;
        } else {
            SetHint(HINT_TAKE_OVER_OK, true);
        }
        DrawField();
        LCD_Refresh();
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SetHint(HINT_CHANGE_ALL, false);
        HINT_Refresh();
        return nullptr;
    case SIG_KEY_OK:
        if (!bbhk.changed) {
            BackToChoice(me);
            return nullptr;
        }
        Store();
        SM_TranParam(me, BKE_Kontrasteinstellung, BBHK_Feedback, SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_BACK:
        BackToChoice(me);
        return nullptr;
    case SIG_HELP:
        Help(me);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

SM_State BBHK_Feedback(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BBHK_Feedback", e);
    switch (e->sig) {
    case SIG_INIT: {
        GUI_EraseScreen();
        DrawTitle();
        const GUI_FONTDEF* old = TXT_UseFontLarge();
        GUI_TextInBoxWrapped(TXT_GetText(NameId()), &kFeedbackArea, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER,
                             GUI_WRAP_WORD);
        GUI_SelectFont(old);
        SCR_Hint(HINT_TAKEN_OVER, true);
        LCD_Refresh();
        return nullptr;
    }
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        BackToChoice(me);
        return nullptr;
    case SIG_HELP:
        Help(me);
        return nullptr;
    default:
        if (SCR_IsKey(e->sig) && e->sig != SIG_KEY_MENU && e->sig != SIG_KEY_HELP) {
            BackToChoice(me);
            return nullptr;
        }
        return BMM_Menuemonitor;
    }
}

void BBHK_PowerOn()
{
    bbhk = Module{};
}
