// Clipped primitives into the frame buffer: fills, frames, lines, arcs,
// bitmaps.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "gui/GUI.h"
#include "gui/GUI_Bitmap.h"
#include "gui/GUI_Private.h"
#include "gui/LCD.h"

namespace {

constexpr double kPi = 3.1415926;
constexpr int kFar = 4095;

std::uint32_t& Cell(int x, int y)
{
    return LCD_FRAMEBUFFER[x * LCD_YSIZE + y];
}

// Clip box of the context, cut to the screen.
GUI_BOX Clip()
{
    const GUI_BOX& c = GUI_Context.clip;
    return GUI_BOX{static_cast<std::int16_t>(std::max<int>(c.x0, 0)), static_cast<std::int16_t>(std::max<int>(c.y0, 0)),
                   static_cast<std::int16_t>(std::min<int>(c.x1, LCD_XSIZE - 1)),
                   static_cast<std::int16_t>(std::min<int>(c.y1, LCD_YSIZE - 1))};
}

bool Inside(int x, int y)
{
    const GUI_BOX c = Clip();
    return x >= c.x0 && x <= c.x1 && y >= c.y0 && y <= c.y1;
}

// Writes one clipped cell in the current mode.
void Put(int x, int y)
{
    std::uint32_t& cell = Cell(x, y);
    cell = (GUI_Context.drawMode & GUI_MODE_XOR) != 0 ? 0xFFFFFF - cell : GUI_Context.foreground;
}

void PutIfInside(int x, int y)
{
    if (Inside(x, y)) {
        Put(x, y);
    }
}

// Dash patterns: period and the positions drawn, as a bit mask.
struct Dash {
    int period;
    std::uint32_t drawn;
};

constexpr Dash kDash[5] = {
    {1, 1},         // solid
    {16, 0x3C0},    // 6..9
    {4, 0xC},       // 2, 3
    {20, 0xCF000},  // 12..15, 18, 19
    {24, 0xCCF000}, // 12..15, 18, 19, 22, 23
};

bool DashDraws(int counter)
{
    const Dash& d = kDash[GUI_Context.lineStyle < 5 ? GUI_Context.lineStyle : 0];
    return ((d.drawn >> (counter % d.period)) & 1U) != 0;
}

void ThinLine(int x0, int y0, int x1, int y1)
{
    const bool solid = GUI_Context.lineStyle == 0;
    if (y0 == y1 || x0 == x1) {
        if (solid) {
            if (y0 == y1) {
                GUI_LineH(y0, std::min(x0, x1), std::max(x0, x1));
            } else {
                GUI_LineV(x0, std::min(y0, y1), std::max(y0, y1));
            }
            return;
        }
        // Dashed: the pattern runs from the first point; its counter advances after each pixel.
        const int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        const int sx = x1 > x0 ? 1 : x1 < x0 ? -1 : 0;
        const int sy = y1 > y0 ? 1 : y1 < y0 ? -1 : 0;
        for (int i = 0; i <= n; ++i) {
            if (DashDraws(i)) {
                PutIfInside(x0 + sx * i, y0 + sy * i);
            }
        }
        return;
    }
    const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
    int a0 = steep ? y0 : x0; // major axis
    int b0 = steep ? x0 : y0; // minor axis
    int a1 = steep ? y1 : x1;
    int b1 = steep ? x1 : y1;
    const bool swapped = a1 < a0;
    if (swapped) {
        std::swap(a0, a1);
        std::swap(b0, b1);
    }
    const int dMajor = a1 - a0;
    const int dMinor = b1 - b0;
    const int off = dMinor < 0 ? -(dMajor / 2) : dMajor / 2;
    for (int i = 0; i <= dMajor; ++i) {
        // The pattern counts from the line's first point and advances before each test.
        const int counter = (swapped ? dMajor - i : i) + 1;
        if (!solid && !DashDraws(counter)) {
            continue;
        }
        const int a = a0 + i;
        const int b = b0 + (dMinor * i + off) / dMajor;
        PutIfInside(steep ? b : a, steep ? a : b);
    }
}

void FillDot(int xc, int yc, int diameter)
{
    const int r = diameter / 2;
    for (int dy = -r; dy <= r; ++dy) {
        for (int dx = -r; dx <= r; ++dx) {
            if (dx * dx + dy * dy <= r * r + r) {
                PutIfInside(xc + dx, yc + dy);
            }
        }
    }
}

// Fills a convex polygon, edges included.
void FillPolygon(const int (&px)[4], const int (&py)[4])
{
    const int top = *std::min_element(py, py + 4);
    const int bottom = *std::max_element(py, py + 4);
    for (int y = top; y <= bottom; ++y) {
        double left = 1e9;
        double right = -1e9;
        for (int i = 0; i < 4; ++i) {
            const int j = (i + 1) % 4;
            const int ya = py[i];
            const int yb = py[j];
            if (y < std::min(ya, yb) || y > std::max(ya, yb)) {
                continue;
            }
            if (ya == yb) {
                left = std::min<double>(left, std::min(px[i], px[j]));
                right = std::max<double>(right, std::max(px[i], px[j]));
                continue;
            }
            const double x = px[i] + static_cast<double>(px[j] - px[i]) * (y - ya) / (yb - ya);
            left = std::min(left, x);
            right = std::max(right, x);
        }
        if (left > right) {
            continue;
        }
        const GUI_BOX c = Clip();
        if (y < c.y0 || y > c.y1) {
            continue;
        }
        const int xs = std::max<int>(static_cast<int>(std::lround(left)), c.x0);
        const int xe = std::min<int>(static_cast<int>(std::lround(right)), c.x1);
        for (int x = xs; x <= xe; ++x) {
            Put(x, y);
        }
    }
}

void ThickLine(int x0, int y0, int x1, int y1, int pen)
{
    // Direction quantised to 1/4096 of a turn, as the device's table gives it.
    const double turn = std::atan2(static_cast<double>(y1 - y0), static_cast<double>(x1 - x0)) / (2 * kPi);
    const double angle = std::lround(turn * 4096) * 2 * kPi / 4096;
    const int ox = static_cast<int>(std::lround(-std::sin(angle) * pen / 2.0));
    const int oy = static_cast<int>(std::lround(std::cos(angle) * pen / 2.0));
    const int px[4] = {x0 + ox, x1 + ox, x1 - ox, x0 - ox};
    const int py[4] = {y0 + oy, y1 + oy, y1 - oy, y0 - oy};
    FillPolygon(px, py);
    if (GUI_Context.penEnd == 0) {
        FillDot(x0, y0, pen);
        FillDot(x1, y1, pen);
    }
}

// Value of pixel x of a row at the given depth.
std::uint32_t PixelValue(const std::uint8_t* row, int x, int bpp)
{
    switch (bpp) {
    case 1:
    case 2:
    case 4:
    case 8: {
        const int bit = x * bpp;
        const int shift = 8 - bpp - bit % 8;
        return (row[bit / 8] >> shift) & ((1U << bpp) - 1);
    }
    case 16:
        return static_cast<std::uint32_t>(row[x * 2] << 8 | row[x * 2 + 1]);
    case 24:
        return static_cast<std::uint32_t>(row[x * 3] << 16 | row[x * 3 + 1] << 8 | row[x * 3 + 2]);
    case 32:
        return static_cast<std::uint32_t>(row[x * 4 + 1] << 16 | row[x * 4 + 2] << 8 | row[x * 4 + 3]);
    default:
        return 0;
    }
}

// The dx range of a row (y up) between the start ray (s0, c0) and the end
// ray (s1, c1) of a segment of at most half a turn, widened by a pixel.
bool RowBetweenRays(double s0, double c0, double s1, double c1, int py, int& first, int& last)
{
    constexpr double kEpsilon = 1e-9;
    double lo = -1e9;
    double hi = 1e9;
    // After the start ray: s0 * dx <= c0 * py.
    if (s0 > kEpsilon) {
        hi = std::min(hi, c0 * py / s0);
    } else if (s0 < -kEpsilon) {
        lo = std::max(lo, c0 * py / s0);
    } else if (c0 * py < -kEpsilon) {
        return false;
    }
    // Before the end ray: s1 * dx >= c1 * py.
    if (s1 > kEpsilon) {
        lo = std::max(lo, c1 * py / s1);
    } else if (s1 < -kEpsilon) {
        hi = std::min(hi, c1 * py / s1);
    } else if (c1 * py > kEpsilon) {
        return false;
    }
    if (lo > hi + 2) {
        return false;
    }
    first = static_cast<int>(std::max(std::floor(lo) - 1, -1e6));
    last = static_cast<int>(std::min(std::ceil(hi) + 1, 1e6));
    return true;
}

} // namespace

void GUI_EraseScreen()
{
    GUI_SetTextPos(0, 0);
    GUI_EraseArea(-kFar, -kFar, kFar, kFar);
}

void GUI_EraseArea(int x0, int y0, int x1, int y1)
{
    const std::uint8_t old = GUI_SelectDrawMode(GUI_MODE_REV);
    GUI_FillArea(x0, y0, x1, y1);
    GUI_SelectDrawMode(old);
}

void GUI_EraseBox(const GUI_BOX* box)
{
    GUI_EraseArea(box->x0, box->y0, box->x1, box->y1);
}

void GUI_InvertArea(int x0, int y0, int x1, int y1)
{
    const std::uint8_t old = GUI_SelectDrawMode(GUI_MODE_XOR);
    GUI_FillArea(x0, y0, x1, y1);
    GUI_SelectDrawMode(old);
}

void GUI_FillArea(int x0, int y0, int x1, int y1)
{
    const GUI_BOX c = Clip();
    x0 = std::max<int>(x0, c.x0);
    y0 = std::max<int>(y0, c.y0);
    x1 = std::min<int>(x1, c.x1);
    y1 = std::min<int>(y1, c.y1);
    if (x0 > x1 || y0 > y1) {
        return;
    }
    const bool xorMode = (GUI_Context.drawMode & GUI_MODE_XOR) != 0;
    for (int x = x0; x <= x1; ++x) {
        std::uint32_t* column = &Cell(x, y0);
        if (!xorMode) {
            std::fill(column, column + (y1 - y0 + 1), GUI_Context.foreground); // columns are contiguous
            continue;
        }
        for (int y = 0; y <= y1 - y0; ++y) {
            column[y] = 0xFFFFFF - column[y];
        }
    }
}

void GUI_FillBox(const GUI_BOX* box)
{
    GUI_FillArea(box->x0, box->y0, box->x1, box->y1);
}

void GUI_FrameArea(int x0, int y0, int x1, int y1)
{
    GUI_LineH(y0, x0, x1);
    GUI_LineH(y1, x0, x1);
    GUI_LineV(x0, y0 + 1, y1 - 1);
    GUI_LineV(x1, y0 + 1, y1 - 1);
}

void GUI_LineH(int y, int x0, int x1)
{
    GUI_FillArea(x0, y, x1, y);
}

void GUI_LineV(int x, int y0, int y1)
{
    GUI_FillArea(x, y0, x, y1);
}

void GUI_Line(int x0, int y0, int x1, int y1)
{
    GUI_Context.drawX = static_cast<std::int16_t>(x1);
    GUI_Context.drawY = static_cast<std::int16_t>(y1);
    const int pen = GUI_Context.penWidth;
    if (pen <= 1) {
        ThinLine(x0, y0, x1, y1);
        return;
    }
    if (x0 == x1 && y0 == y1) {
        return;
    }
    ThickLine(x0, y0, x1, y1, pen);
}

void GUI_Pixel(int x, int y)
{
    PutIfInside(x, y);
}

void GUI_Arc(int xc, int yc, int r, int, int a0, int a1)
{
    const int turns = a0 / 360;
    a0 -= turns * 360;
    a1 -= turns * 360;
    if (a1 < a0) {
        return; // an empty segment
    }
    const double half = (GUI_Context.penWidth + 1.5) / 2;
    const double ri = r - half;
    const double ro = r + half;
    const int reach = static_cast<int>(ro);
    // Angle test without atan2: a point lies in [a0, a1] (span below 360)
    // when it is not clockwise of the start ray and not counter-clockwise of the end ray.
    const double s0 = std::sin(a0 * kPi / 180);
    const double c0 = std::cos(a0 * kPi / 180);
    const double s1 = std::sin(a1 * kPi / 180);
    const double c1 = std::cos(a1 * kPi / 180);
    const bool wide = a1 - a0 > 180;
    const GUI_BOX c = Clip();
    for (int dy = -reach; dy <= reach; ++dy) {
        const int y = yc + dy;
        if (y < c.y0 || y > c.y1) {
            continue;
        }
        // The row's pixels between the inner and the outer circle.
        const double outer2 = ro * ro - static_cast<double>(dy) * dy;
        if (outer2 < 0) {
            continue;
        }
        const int outer = static_cast<int>(std::sqrt(outer2));
        const double inner2 = ri > 0 ? ri * ri - static_cast<double>(dy) * dy : -1;
        const int inner = inner2 > 0 ? static_cast<int>(std::ceil(std::sqrt(inner2))) : 0;
        // Narrow the row to where both rays allow pixels (a pixel or two of
        // margin); the exact test below decides each one.
        int first = -outer;
        int last = outer;
        if (!wide && !RowBetweenRays(s0, c0, s1, c1, -dy, first, last)) {
            continue;
        }
        first = std::max(first, -outer);
        last = std::min(last, outer);
        for (int dx = first; dx <= last; ++dx) {
            if (dx > -inner && dx < inner) {
                dx = inner - 1; // over the hole
                continue;
            }
            const int x = xc + dx;
            if (x < c.x0 || x > c.x1) {
                continue;
            }
            const double px = dx;
            const double py = -dy;
            const bool afterStart = c0 * py - s0 * px >= 0;
            const bool beforeEnd = c1 * py - s1 * px <= 0;
            if (wide ? (afterStart || beforeEnd) : (afterStart && beforeEnd)) {
                Put(x, y);
            }
        }
    }
}

void GUI_PutBitmap(const GUI_PICTURE* picture, int x, int y)
{
    if (picture == nullptr) {
        return;
    }
    const GUI_PALETTE* palette = picture->palette;
    const bool transparent = palette != nullptr && palette->hasTransparency != 0;
    const std::uint8_t oldMode = GUI_Context.drawMode;
    GUI_Context.drawMode = transparent ? (oldMode | GUI_MODE_TRANS) : (oldMode & ~GUI_MODE_TRANS);
    if (picture->method != nullptr) {
        picture->method(x, y, picture->width, picture->height, picture->bytesPerRow, picture->bitsPerPixel,
                        picture->data, palette, 1, 1);
        GUI_Context.drawMode = oldMode;
        return;
    }
    const int bpp = picture->bitsPerPixel;
    if (bpp == 1 && (palette == nullptr || palette->colors == nullptr)) {
        GUI_DrawBits1(picture->data, picture->bytesPerRow, picture->width, picture->height, x, y);
        GUI_Context.drawMode = oldMode;
        return;
    }
    const GUI_BOX c = Clip();
    const bool xorMode = (GUI_Context.drawMode & GUI_MODE_XOR) != 0;
    const bool transMode = (GUI_Context.drawMode & GUI_MODE_TRANS) != 0;
    for (int row = 0; row < picture->height; ++row) {
        const int yy = y + row;
        if (yy < c.y0 || yy > c.y1) {
            continue;
        }
        const std::uint8_t* data = picture->data + row * picture->bytesPerRow;
        for (int col = std::max(0, c.x0 - x); col < picture->width && x + col <= c.x1; ++col) {
            const std::uint32_t value = PixelValue(data, col, bpp);
            if (value == 0 && transMode) {
                continue;
            }
            std::uint32_t& cell = Cell(x + col, yy);
            if (xorMode) {
                if (value != 0) {
                    cell = 0xFFFFFF - cell;
                }
                continue;
            }
            if (palette != nullptr && palette->colors != nullptr && bpp <= 8) {
                cell = value < static_cast<std::uint32_t>(palette->numEntries) ? palette->colors[value] : 0;
            } else {
                cell = value;
            }
        }
    }
    GUI_Context.drawMode = oldMode;
}

void GUI_DrawBits1(const std::uint8_t* rows, int bytesPerRow, int width, int height, int x, int y)
{
    const GUI_BOX c = Clip();
    const bool xorMode = (GUI_Context.drawMode & GUI_MODE_XOR) != 0;
    const bool transMode = (GUI_Context.drawMode & GUI_MODE_TRANS) != 0;
    for (int row = 0; row < height; ++row) {
        const int yy = y + row;
        if (yy < c.y0 || yy > c.y1) {
            continue;
        }
        const std::uint8_t* data = rows + row * bytesPerRow;
        for (int col = std::max(0, c.x0 - x); col < width && x + col <= c.x1; ++col) {
            const bool set = ((data[col / 8] >> (7 - col % 8)) & 1U) != 0;
            std::uint32_t& cell = Cell(x + col, yy);
            if (xorMode) {
                if (set) {
                    cell = 0xFFFFFF - cell;
                }
            } else if (set) {
                cell = GUI_Context.foreground;
            } else if (!transMode) {
                cell = GUI_Context.background;
            }
        }
    }
}

void GUI_FillBackground(int x0, int y0, int x1, int y1)
{
    const GUI_BOX c = Clip();
    for (int x = std::max<int>(x0, c.x0); x <= std::min<int>(x1, c.x1); ++x) {
        for (int y = std::max<int>(y0, c.y0); y <= std::min<int>(y1, c.y1); ++y) {
            Cell(x, y) = GUI_Context.background;
        }
    }
}
