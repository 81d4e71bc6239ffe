// Drawing and text layer: one drawing context, clipped primitives, bitmaps
// and UTF-8 text in three fonts, all into the frame buffer (gui/LCD.h).
// Nothing reaches the display before LCD_Refresh / LCD_RefreshBox.
#pragma once

#include <cstdint>

struct GUI_BOX {
    std::int16_t x0, y0, x1, y1; // both corners inclusive
};

struct GUI_FONTDEF;
struct GUI_PICTURE;

// Text encoding: four operations. `avail` is how many bytes may be read at
// p (a text's terminating zero also ends a character).
struct GUI_ENCODING {
    std::uint16_t (*decode)(const char* p, int avail);
    int (*length)(const char* p, int avail);
    int (*encodedSize)(std::uint16_t code);
    int (*encode)(char* out, std::uint16_t code);
};

// Draw modes (flags).
inline constexpr std::uint8_t GUI_MODE_NORMAL = 0;
inline constexpr std::uint8_t GUI_MODE_XOR = 1;
inline constexpr std::uint8_t GUI_MODE_TRANS = 2;
inline constexpr std::uint8_t GUI_MODE_REV = 4;

// Alignment for box text: horizontal part (bits 0-1), vertical part (bits 2-3).
inline constexpr int GUI_ALIGN_LEFT = 0;
inline constexpr int GUI_ALIGN_RIGHT = 1;
inline constexpr int GUI_ALIGN_HCENTER = 2;
inline constexpr int GUI_ALIGN_TOP = 0;
inline constexpr int GUI_ALIGN_BOTTOM = 8;
inline constexpr int GUI_ALIGN_VCENTER = 12;
inline constexpr int GUI_ALIGN_HORIZONTAL = 3;
inline constexpr int GUI_ALIGN_VERTICAL = 12;

inline constexpr int GUI_WRAP_NONE = 0;
inline constexpr int GUI_WRAP_WORD = 1;
inline constexpr int GUI_WRAP_CHAR = 2;

struct GUI_CONTEXT {
    std::uint32_t background;
    std::uint32_t foreground;
    GUI_BOX clip;
    const GUI_BOX* textClip;
    std::uint8_t drawMode;
    std::uint8_t penWidth;
    std::uint8_t penEnd;
    std::uint8_t lineStyle;
    const GUI_FONTDEF* font;
    const GUI_ENCODING* encoding;
    std::int16_t leftMargin;
    std::int16_t textX, textY;
    std::int16_t drawX, drawY;
    std::int16_t textMode;
    std::uint16_t textAlign;
    std::uint32_t requestedForeground, requestedBackground;
};

extern GUI_CONTEXT GUI_Context;

// Set-up and time.
int GUI_Start();
void GUI_Sleep(int ms); // returns after ms milliseconds of the host clock
std::uint32_t GUI_GetTime();
// Reports an error of the layer to the host (log window and error file).
void GUI_ReportError(const char* text);

// Modes and settings; each returns the previous value.
std::uint8_t GUI_SelectDrawMode(std::uint8_t mode);
std::uint8_t GUI_SelectPenWidth(std::uint8_t width);
std::uint8_t GUI_SelectLineStyle(std::uint8_t style);
const GUI_FONTDEF* GUI_SelectFont(const GUI_FONTDEF* font);
int GUI_SelectTextMode(int mode);
int GUI_SelectTextAlign(int align);
void GUI_SetTextPos(int x, int y);
void GUI_SetClip(const GUI_BOX* box); // nullptr: the whole screen

// Primitives, clipped to the context's clip box.
void GUI_EraseScreen();
void GUI_EraseArea(int x0, int y0, int x1, int y1);
void GUI_EraseBox(const GUI_BOX* box);
void GUI_InvertArea(int x0, int y0, int x1, int y1);
void GUI_FillArea(int x0, int y0, int x1, int y1);
void GUI_FillBox(const GUI_BOX* box);
void GUI_FrameArea(int x0, int y0, int x1, int y1);
void GUI_LineH(int y, int x0, int x1);
void GUI_LineV(int x, int y0, int y1);
void GUI_Line(int x0, int y0, int x1, int y1);
void GUI_Pixel(int x, int y);
void GUI_Arc(int xc, int yc, int r, int ry, int a0, int a1);
void GUI_PutBitmap(const GUI_PICTURE* picture, int x, int y);

// Text.
void GUI_TextInBox(const char* text, const GUI_BOX* box, int align);
void GUI_TextInBoxN(const char* text, const GUI_BOX* box, int align, int maxChars);
void GUI_TextInBoxWrapped(const char* text, const GUI_BOX* box, int align, int wrapMode);
void GUI_TextAt(const char* text, int x, int y);
void GUI_TextCenteredAt(const char* text, int x, int y);
void GUI_CharAt(std::uint16_t code, int x, int y);
int GUI_TextWidth(const char* text);
// Whole characters from the start of text that fit in width pixels.
int GUI_CharsThatFit(const char* text, int width);
int GUI_CharWidth(std::uint16_t code);
int GUI_FontHeight();
int GUI_LineDistance();
bool GUI_FontHasChar(const GUI_FONTDEF* font, std::uint16_t code);
// Draws one glyph of the font at the text position and advances it.
void GUI_DrawGlyph(const GUI_FONTDEF* font, std::uint16_t code);

// Encoding.
void GUI_UseUtf8();
void GUI_UseSingleByte();
extern const GUI_ENCODING GUI_EncodingUtf8;
extern const GUI_ENCODING GUI_EncodingSingleByte;
int GUI_Utf8ToCodes(const char* text, int nBytes, std::uint16_t* out, int maxCodes);
int GUI_CodesToUtf8(const std::uint16_t* codes, int nCodes, char* out, int maxBytes);

// Static memory as at power-on (hosts that run several panels in one process).
void GUI_PowerOn();
