// Text: glyphs, box text with alignment, wrapped text, positioned text.
#include <algorithm>
#include <climits>

#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/GUI_Private.h"
#include "gui/LCD.h"

namespace {

// Walks a zero-terminated text with the context's encoding.
struct Walker {
    const char* p;

    std::uint16_t peek() const { return *p == '\0' ? 0 : GUI_Context.encoding->decode(p, INT_MAX); }
    std::uint16_t next()
    {
        if (*p == '\0') {
            return 0;
        }
        const std::uint16_t code = GUI_Context.encoding->decode(p, INT_MAX);
        p += GUI_Context.encoding->length(p, INT_MAX);
        return code;
    }
};

int Advance(std::uint16_t code)
{
    return GUI_CharWidth(code);
}

// Draws one character at the text position: line feeds move to the next
// line, carriage returns are ignored.
void DrawChar(std::uint16_t code)
{
    if (code == '\n') {
        GUI_Context.textX = GUI_Context.leftMargin;
        GUI_Context.textY = static_cast<std::int16_t>(GUI_Context.textY + GUI_LineDistance());
        return;
    }
    if (code == '\r') {
        return;
    }
    const GUI_FONTDEF* font = GUI_Context.font;
    if (font != nullptr && font->drawChar != nullptr) {
        font->drawChar(font, code);
    }
}

// Width of the characters from w up to (not including) end or a line feed.
int LineWidth(Walker w, const char* end)
{
    int width = 0;
    while (w.p < end) {
        const std::uint16_t code = w.next();
        if (code == 0 || code == '\n') {
            break;
        }
        width += Advance(code);
    }
    return width;
}

int AlignedX(int align, int x0, int x1, int w)
{
    switch (align & GUI_ALIGN_HORIZONTAL) {
    case GUI_ALIGN_RIGHT:
        return x1 - w + 1;
    case GUI_ALIGN_HCENTER:
        return x0 + (x1 - x0 - w) / 2; // x1 - x0, not the width: one pixel left of true centre
    default:
        return x0;
    }
}

int AlignedY(int align, int y0, int y1, int lines, int h)
{
    switch (align & GUI_ALIGN_VERTICAL) {
    case 4:
    case GUI_ALIGN_BOTTOM:
        return y1 - lines * h + 1;
    case GUI_ALIGN_VCENTER:
        return y0 + (y1 - y0 + 1 - lines * h) / 2;
    default:
        return y0;
    }
}

bool MeetsTextClip(int x, int y, int w, int h)
{
    const GUI_BOX* c = GUI_Context.textClip != nullptr ? GUI_Context.textClip : &GUI_Context.clip;
    return x <= c->x1 && x + w - 1 >= c->x0 && y <= c->y1 && y + h - 1 >= c->y0;
}

// Draws the characters from `from` up to `end` (exclusive) at (x, y).
void DrawRun(Walker w, const char* end, int x, int y)
{
    GUI_SetTextPos(x, y);
    while (w.p < end) {
        const std::uint16_t code = w.next();
        if (code == 0) {
            break;
        }
        DrawChar(code);
    }
}

GUI_BOX Intersect(const GUI_BOX& a, const GUI_BOX& b)
{
    return GUI_BOX{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

constexpr GUI_BOX kScreen{0, 0, LCD_XSIZE - 1, LCD_YSIZE - 1};

// One wrapped line: [start, end) drawn, then `next` continues.
struct WrappedLine {
    const char* start;
    const char* end;
    const char* next;
    int width;
};

WrappedLine CutLine(const char* text, int available, int wrapMode)
{
    Walker w{text};
    const char* breakAt = nullptr;
    int breakWidth = 0;
    int width = 0;
    bool lastWasSpace = true;
    const char* end = text;
    while (true) {
        const char* before = w.p;
        const std::uint16_t code = w.next();
        if (code == 0 || code == '\n') {
            end = before;
            break;
        }
        const int adv = Advance(code);
        if (wrapMode != GUI_WRAP_NONE && before != text && width + adv > available) {
            end = before;
            if (wrapMode == GUI_WRAP_WORD && breakAt != nullptr) {
                end = breakAt;
                width = breakWidth;
            }
            break;
        }
        width += adv;
        if (code == ' ' && !lastWasSpace) {
            breakAt = w.p;
            breakWidth = width;
        }
        lastWasSpace = code == ' ';
    }
    // After the cut: a line feed is consumed; in word mode so are spaces
    // while they would still fit.
    Walker rest{end};
    int restWidth = width;
    if (wrapMode == GUI_WRAP_WORD) {
        while (rest.peek() == ' ' && restWidth + Advance(' ') <= available) {
            restWidth += Advance(' ');
            rest.next();
        }
    }
    if (rest.peek() == '\n') {
        rest.next();
    }
    return WrappedLine{text, end, rest.p, width};
}

} // namespace

void GUI_DrawGlyph(const GUI_FONTDEF* font, std::uint16_t code)
{
    const GUI_GLYPH* glyph = GUI_FontGlyph(font, code);
    if (glyph == nullptr) {
        return;
    }
    const std::uint8_t oldMode = GUI_SelectDrawMode(static_cast<std::uint8_t>(GUI_Context.textMode));
    const int x = GUI_Context.textX;
    const int y = GUI_Context.textY;
    GUI_DrawBits1(glyph->rows, glyph->bytesPerRow, glyph->width, font->height, x, y);
    if (font->lineDistance > font->height && (GUI_Context.textMode & GUI_MODE_TRANS) == 0) {
        GUI_FillBackground(x, y + font->height, x + glyph->width - 1, y + font->lineDistance - 1);
    }
    GUI_SelectDrawMode(oldMode);
    GUI_Context.textX = static_cast<std::int16_t>(x + glyph->advance * font->xMag);
}

int GUI_CharWidth(std::uint16_t code)
{
    return GUI_Context.font != nullptr ? GUI_FontAdvance(GUI_Context.font, code) : 0;
}

int GUI_TextWidth(const char* text)
{
    if (text == nullptr) {
        return 0;
    }
    int width = 0;
    Walker w{text};
    for (std::uint16_t code = w.next(); code != 0; code = w.next()) {
        width += Advance(code);
    }
    return width;
}

int GUI_CharsThatFit(const char* text, int width)
{
    if (text == nullptr) {
        return 0;
    }
    int chars = 0;
    Walker w{text};
    for (std::uint16_t code = w.next(); code != 0; code = w.next()) {
        width -= Advance(code);
        if (width < 0) {
            break;
        }
        ++chars;
    }
    return chars;
}

int GUI_FontHeight()
{
    return GUI_Context.font != nullptr ? GUI_Context.font->height : 0;
}

int GUI_LineDistance()
{
    return GUI_Context.font != nullptr ? GUI_Context.font->lineDistance * GUI_Context.font->yMag : 0;
}

bool GUI_FontHasChar(const GUI_FONTDEF* font, std::uint16_t code)
{
    const GUI_FONTDEF* f = font != nullptr ? font : GUI_Context.font;
    return f != nullptr && GUI_FontHasGlyph(f, code);
}

void GUI_TextInBox(const char* text, const GUI_BOX* box, int align)
{
    GUI_TextInBoxN(text, box, align, 32767);
}

void GUI_TextInBoxN(const char* text, const GUI_BOX* box, int align, int maxChars)
{
    if (text == nullptr || box == nullptr) {
        return;
    }
    const GUI_BOX oldClip = GUI_Context.clip;
    GUI_Context.clip = Intersect(Intersect(*box, oldClip), kScreen);
    const int h = GUI_LineDistance();

    // Count lines: a line feed followed by more text (within maxChars) adds one.
    int lines = 1;
    {
        Walker w{text};
        int left = maxChars;
        while (left > 0) {
            const std::uint16_t code = w.next();
            if (code == 0) {
                break;
            }
            --left;
            if (code == '\n' && left > 0 && w.peek() != 0) {
                ++lines;
            }
        }
    }

    int y = AlignedY(align, box->y0, box->y1, lines, h);
    Walker w{text};
    int left = maxChars;
    while (left > 0 && w.peek() != 0) {
        // The line: up to a line feed, the end, or the characters still allowed.
        Walker scan = w;
        int chars = 0;
        while (chars < left) {
            const std::uint16_t code = scan.peek();
            if (code == 0 || code == '\n') {
                break;
            }
            scan.next();
            ++chars;
        }
        const int width = LineWidth(w, scan.p);
        const int x = AlignedX(align, box->x0, box->x1, width);
        if (MeetsTextClip(x, y, width, h)) {
            DrawRun(w, scan.p, x, y);
        }
        w = scan;
        left -= chars;
        y += h;
        if (left > 0 && w.peek() == '\n') {
            w.next();
            --left;
        } else {
            break;
        }
    }
    GUI_Context.clip = oldClip;
}

void GUI_TextInBoxWrapped(const char* text, const GUI_BOX* box, int align, int wrapMode)
{
    if (text == nullptr || box == nullptr) {
        return;
    }
    GUI_Context.clip = Intersect(*box, kScreen);
    const int available = box->x1 - box->x0 + 1;
    const int h = GUI_LineDistance();

    int lines = 0;
    // The loops end on the decoded terminator: an overlong zero would
    // otherwise never be passed.
    for (const char* p = text; Walker{p}.peek() != 0;) {
        const WrappedLine line = CutLine(p, available, wrapMode);
        if (line.end != line.start) {
            ++lines;
        }
        p = line.next;
    }
    int y = AlignedY(align, box->y0, box->y1, lines, h);
    for (const char* p = text; Walker{p}.peek() != 0;) {
        const WrappedLine line = CutLine(p, available, wrapMode);
        const int x = AlignedX(align, box->x0, box->x1, line.width);
        if (MeetsTextClip(x, y, line.width, h)) {
            DrawRun(Walker{line.start}, line.end, x, y);
        }
        y += h;
        p = line.next;
    }
    GUI_SetClip(nullptr);
}

void GUI_TextAt(const char* text, int x, int y)
{
    if (text == nullptr) {
        return;
    }
    const int align = GUI_Context.textAlign;
    switch (align & GUI_ALIGN_VERTICAL) {
    case 4:
        y -= GUI_FontHeight() - 1;
        break;
    case GUI_ALIGN_BOTTOM:
    case GUI_ALIGN_VCENTER:
        y -= GUI_FontHeight() / 2;
        break;
    default:
        break;
    }
    Walker w{text};
    bool firstLine = true;
    while (w.peek() != 0) {
        Walker scan = w;
        while (scan.peek() != 0 && scan.peek() != '\n') {
            scan.next();
        }
        const int width = LineWidth(w, scan.p);
        // Left-aligned lines after a line feed start at the left margin.
        int lx = firstLine ? x : GUI_Context.leftMargin;
        if ((align & GUI_ALIGN_HORIZONTAL) == GUI_ALIGN_RIGHT) {
            lx = x - width;
        } else if ((align & GUI_ALIGN_HORIZONTAL) == GUI_ALIGN_HCENTER) {
            lx = x - width / 2;
        }
        DrawRun(w, scan.p, lx, y);
        w = scan;
        if (w.peek() != '\n') {
            break;
        }
        w.next();
        y += GUI_LineDistance();
        firstLine = false;
    }
    GUI_Context.textAlign = static_cast<std::uint16_t>(align & ~GUI_ALIGN_HORIZONTAL);
}

void GUI_TextCenteredAt(const char* text, int x, int y)
{
    GUI_Context.textAlign =
        static_cast<std::uint16_t>((GUI_Context.textAlign & ~GUI_ALIGN_HORIZONTAL) | GUI_ALIGN_HCENTER);
    GUI_TextAt(text, x, y);
}

void GUI_CharAt(std::uint16_t code, int x, int y)
{
    GUI_SetTextPos(x, y);
    DrawChar(code);
}

void GUI_FontDrawChar(const GUI_FONTDEF* font, std::uint16_t code)
{
    GUI_DrawGlyph(font, code);
}

const GUI_FONTDEF* TXT_UseFontSmall()
{
    return GUI_SelectFont(TXT_FontSmall());
}

const GUI_FONTDEF* TXT_UseFontNormal()
{
    return GUI_SelectFont(TXT_FontNormal());
}

const GUI_FONTDEF* TXT_UseFontLarge()
{
    return GUI_SelectFont(TXT_FontLarge());
}
