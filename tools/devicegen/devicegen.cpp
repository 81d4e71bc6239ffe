// Draws the device pictures: the built-in 450 x 311 pair (eight keys) as
// generated C++ data, and the 549 x 348 pair with the combination keys and
// test buttons as Device.bmp / Device1.bmp. Each pair is checked against its
// key table with the simulator's own region scan before anything is written.
//
//   devicegen BUILTIN.cpp ASSET_DIR [PREVIEW_DIR]
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "gui/GUI_Font.h"
#include "sim/desktop/Hardkeys.h"
#include "sim/desktop/Picture.h"

// The drawing layer draws glyphs on the panel; here we only read them.
void GUI_FontDrawChar(const GUI_FONTDEF*, std::uint16_t) {}

namespace {

constexpr std::uint32_t kTransparent = 0x00FF00;
constexpr std::uint32_t kBody = 0x3C434C;
constexpr std::uint32_t kBodyLight = 0x59626D;
constexpr std::uint32_t kBodyDark = 0x262B31;
constexpr std::uint32_t kBezel = 0x16191C;
constexpr std::uint32_t kLcd = 0xCECECE;
constexpr std::uint32_t kPrint = 0xB9C2CC;
constexpr std::uint32_t kCap = 0xD5DADF;
constexpr std::uint32_t kCapEdge = 0x6C747D;
constexpr std::uint32_t kCapLight = 0xF2F4F6;
constexpr std::uint32_t kCapDown = 0x98A1AA;
constexpr std::uint32_t kCapDownEdge = 0x464D55;
constexpr std::uint32_t kSymbol = 0x1E2226;
constexpr std::uint32_t kTestCap = 0xE6C36A;
constexpr std::uint32_t kTestCapDown = 0xB8923A;
constexpr std::uint32_t kComboCap = 0x9CC3E6;
constexpr std::uint32_t kComboCapDown = 0x6C93B8;

enum class Symbol { Back, Up, Left, Ok, Right, Down, Help, Menu, Label };

struct Key {
    int x, y, w, h; // key window: (x, y), w x h; the cap is one column narrower
    Symbol symbol;
    std::string label;
    std::uint32_t cap, capDown;
};

class Canvas {
  public:
    explicit Canvas(Picture& p) : p_(p) {}

    void fill(int x0, int y0, int x1, int y1, std::uint32_t c)
    {
        for (int y = std::max(y0, 0); y <= std::min(y1, p_.height - 1); ++y) {
            for (int x = std::max(x0, 0); x <= std::min(x1, p_.width - 1); ++x) {
                p_.set(x, y, c);
            }
        }
    }

    // Inset of a row of a rounded rectangle: every row stays one run.
    static int Inset(int row, int rows, int r)
    {
        const int d = std::min(row, rows - 1 - row);
        if (d >= r) {
            return 0;
        }
        const double dy = r - d - 0.5;
        return r - static_cast<int>(std::lround(std::sqrt(r * r - dy * dy)));
    }

    void round(int x0, int y0, int x1, int y1, int r, std::uint32_t c)
    {
        const int rows = y1 - y0 + 1;
        for (int y = y0; y <= y1; ++y) {
            const int in = Inset(y - y0, rows, r);
            fill(x0 + in, y, x1 - in, y, c);
        }
    }

    void glyph(const GUI_FONTDEF& font, std::uint16_t code, int x, int y, std::uint32_t c)
    {
        const GUI_GLYPH* g = GUI_FontGlyph(&font, code);
        if (g == nullptr) {
            return;
        }
        for (int row = 0; row < font.height; ++row) {
            for (int col = 0; col < g->width; ++col) {
                const std::uint8_t bits = g->rows[row * g->bytesPerRow + col / 8];
                if ((bits & (0x80 >> (col % 8))) != 0) {
                    fill(x + col, y + row, x + col, y + row, c);
                }
            }
        }
    }

    static int TextWidth(const GUI_FONTDEF& font, const std::string& text)
    {
        int w = 0;
        for (unsigned char ch : text) {
            w += GUI_FontAdvance(&font, ch);
        }
        return w;
    }

    void text(const GUI_FONTDEF& font, const std::string& s, int x, int y, std::uint32_t c)
    {
        for (unsigned char ch : s) {
            glyph(font, ch, x, y, c);
            x += GUI_FontAdvance(&font, ch);
        }
    }

    void textCentered(const GUI_FONTDEF& font, const std::string& s, int cx, int cy, std::uint32_t c)
    {
        text(font, s, cx - TextWidth(font, s) / 2, cy - font.height / 2, c);
    }

    // Filled triangle pointing in a direction, centred at (cx, cy), size s.
    void arrow(int cx, int cy, int s, char dir, std::uint32_t c)
    {
        for (int i = 0; i < s; ++i) {
            const int half = i * 2 / 3;
            switch (dir) {
            case 'u':
                fill(cx - half, cy - s / 2 + i, cx + half, cy - s / 2 + i, c);
                break;
            case 'd':
                fill(cx - half, cy + s / 2 - i, cx + half, cy + s / 2 - i, c);
                break;
            case 'l':
                fill(cx - s / 2 + i, cy - half, cx - s / 2 + i, cy + half, c);
                break;
            default:
                fill(cx + s / 2 - i, cy - half, cx + s / 2 - i, cy + half, c);
                break;
            }
        }
    }

  private:
    Picture& p_;
};

void DrawKey(Canvas& c, const Key& k, bool down)
{
    const int x0 = k.x;
    const int y0 = k.y;
    const int x1 = k.x + k.w - 2; // the window is one wider than the widest run
    const int y1 = k.y + k.h - 1;
    const int r = std::min(5, std::min(k.w, k.h) / 4);
    c.round(x0, y0, x1, y1, r, down ? kCapDownEdge : kCapEdge);
    c.round(x0 + 1, y0 + 1, x1 - 1, y1 - 1, std::max(r - 1, 0), down ? k.capDown : k.cap);
    if (!down) {
        c.fill(x0 + r, y0 + 1, x1 - r, y0 + 1, kCapLight);
    }
    const int s = down ? 1 : 0; // the pressed cap's print sinks by a pixel
    const int cx = (x0 + x1) / 2 + s;
    const int cy = (y0 + y1) / 2 + s;
    switch (k.symbol) {
    case Symbol::Up:
        c.arrow(cx, cy, 9, 'u', kSymbol);
        break;
    case Symbol::Down:
        c.arrow(cx, cy, 9, 'd', kSymbol);
        break;
    case Symbol::Left:
        c.arrow(cx, cy, 9, 'l', kSymbol);
        break;
    case Symbol::Right:
        c.arrow(cx, cy, 9, 'r', kSymbol);
        break;
    case Symbol::Ok:
        c.textCentered(GUI_Font20, "OK", cx, cy, kSymbol);
        break;
    case Symbol::Help:
        c.textCentered(GUI_Font20, "?", cx, cy, kSymbol);
        break;
    case Symbol::Back:
        c.glyph(GUI_Font20, 0x2673, cx - GUI_FontAdvance(&GUI_Font20, 0x2673) / 2, cy - 10, kSymbol);
        break;
    case Symbol::Menu:
        c.glyph(GUI_Font20, 0x2674, cx - GUI_FontAdvance(&GUI_Font20, 0x2674) / 2, cy - 10, kSymbol);
        break;
    case Symbol::Label:
        c.textCentered(GUI_Font8, k.label, cx, cy, kSymbol);
        break;
    }
}

// The eight keys: where the scan must find them, in scan order.
std::vector<Key> PanelKeys()
{
    return {
        {335, 32, 71, 28, Symbol::Back, "", kCap, kCapDown},  {347, 65, 42, 19, Symbol::Up, "", kCap, kCapDown},
        {319, 90, 25, 45, Symbol::Left, "", kCap, kCapDown},  {346, 90, 47, 45, Symbol::Ok, "", kCap, kCapDown},
        {395, 90, 27, 45, Symbol::Right, "", kCap, kCapDown}, {346, 138, 47, 23, Symbol::Down, "", kCap, kCapDown},
        {332, 164, 74, 32, Symbol::Help, "", kCap, kCapDown}, {332, 202, 74, 28, Symbol::Menu, "", kCap, kCapDown},
    };
}

// Combination keys 8 to 12 and test buttons 13 to 33 below the LCD, in rows
// that the scan meets after the eight keys.
std::vector<Key> ExtraKeys()
{
    std::vector<Key> keys;
    const char* combos[] = {"OK+UP", "OK+DOWN", "MENU+OK", "MENU+DOWN", "OK+BACK"};
    for (int i = 0; i < 5; ++i) {
        keys.push_back({20 + i * 104, 240, 95, 20, Symbol::Label, combos[i], kComboCap, kComboCapDown});
    }
    std::map<int, std::string> names = {{13, "3 o'clock"},  {14, "Reset"},    {15, "FA par on"},
                                        {16, "FA par off"}, {17, "Calib on"}, {18, "Calib off"},
                                        {31, "OK+BACK"},    {32, "MENU+OK"},  {33, "Test menu"}};
    for (int n = 13; n <= 33; ++n) {
        const int i = n - 13;
        const std::string label = std::to_string(n) + (names.count(n) != 0 ? " " + names[n] : "");
        keys.push_back({20 + (i % 7) * 74, 266 + (i / 7) * 26, 67, 20, Symbol::Label, label, kTestCap, kTestCapDown});
    }
    return keys;
}

void DrawBody(Canvas& c, int w, int h)
{
    c.round(4, 4, w - 5, h - 5, 18, kBodyDark);
    c.round(5, 5, w - 6, h - 6, 17, kBodyLight);
    c.round(7, 7, w - 6, h - 6, 16, kBody);
    // The LCD sits in a dark bezel; the LCD window covers the opening.
    c.round(35, 20, 294, 199, 6, kBezel);
    c.fill(45, 30, 284, 189, kLcd);
    c.text(GUI_Font8, "Calovatrix 200 KT2A", 45, 206, kPrint);
}

struct Pair {
    Picture rest, pressed;
};

Pair Draw(int w, int h, const std::vector<Key>& keys, bool testArea)
{
    Pair pair{Picture(w, h, kTransparent), Picture(w, h, kTransparent)};
    Canvas rest(pair.rest);
    Canvas pressed(pair.pressed);
    DrawBody(rest, w, h);
    if (testArea) {
        rest.round(12, 232, w - 13, h - 10, 6, kBodyDark);
    } else {
        for (int y = 238; y < h - 24; y += 6) {
            rest.fill(60, y, w - 61, y + 1, kBodyDark); // loudspeaker grille
        }
    }
    for (const Key& k : keys) {
        DrawKey(rest, k, false);
        DrawKey(pressed, k, true);
    }
    return pair;
}

bool Check(const char* name, const Pair& pair, const std::vector<Key>& keys)
{
    SIM_ScanHardkeys(pair.pressed, kTransparent, [](const char* text) { std::fprintf(stderr, "%s\n", text); });
    bool ok = SIM_HardkeyCount() == static_cast<int>(keys.size());
    for (std::size_t i = 0; ok && i < keys.size(); ++i) {
        const SIM_HARDKEY k = SIM_GetHardkey(static_cast<int>(i));
        const Key& want = keys[i];
        ok = k.x0 == want.x && k.y0 == want.y && k.x1 - k.x0 + 1 == want.w && k.y1 - k.y0 + 1 == want.h;
        if (!ok) {
            std::fprintf(stderr, "%s: region %zu is (%d, %d) %d x %d, wanted (%d, %d) %d x %d\n", name, i, k.x0, k.y0,
                         k.x1 - k.x0 + 1, k.y1 - k.y0 + 1, want.x, want.y, want.w, want.h);
        }
    }
    if (SIM_HardkeyCount() != static_cast<int>(keys.size())) {
        std::fprintf(stderr, "%s: %d regions, wanted %zu\n", name, SIM_HardkeyCount(), keys.size());
    }
    return ok;
}

// Palette and runs of (count, colour index): the art is mostly flat.
void WritePacked(std::ostream& out, const char* name, const Picture& p, std::map<std::uint32_t, int>& palette)
{
    out << "constexpr std::uint16_t " << name << "[] = {";
    int n = 0;
    for (std::size_t i = 0; i < p.rgb.size();) {
        std::size_t j = i;
        while (j < p.rgb.size() && p.rgb[j] == p.rgb[i] && j - i < 65535) {
            ++j;
        }
        out << (n++ % 12 == 0 ? "\n    " : " ") << (j - i) << ", " << palette.at(p.rgb[i]) << ",";
        i = j;
    }
    out << "\n};\n";
}

bool WriteBuiltin(const std::string& path, const Pair& pair, const std::string& command)
{
    std::map<std::uint32_t, int> palette;
    for (const Picture* p : {&pair.rest, &pair.pressed}) {
        for (std::uint32_t c : p->rgb) {
            palette.emplace(c, 0);
        }
    }
    int i = 0;
    for (auto& entry : palette) {
        entry.second = i++;
    }
    std::ostringstream out;
    out << "// Generated by " << command << "; do not edit.\n"
        << "// The built-in device pictures, " << pair.rest.width << " x " << pair.rest.height
        << ": palette and runs of (count, colour index).\n"
        << "#include \"sim/desktop/BuiltinPictures.h\"\n\nnamespace {\n\nconstexpr std::uint32_t kPalette[] = {";
    i = 0;
    for (const auto& entry : palette) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%06X", entry.first);
        out << (i++ % 8 == 0 ? "\n    " : " ") << hex << ",";
    }
    out << "\n};\n\n";
    WritePacked(out, "kRest", pair.rest, palette);
    out << "\n";
    WritePacked(out, "kPressed", pair.pressed, palette);
    out << "\n} // namespace\n\nconst PackedPicture kBuiltinRest = {" << pair.rest.width << ", " << pair.rest.height
        << ", kPalette, sizeof kPalette / sizeof kPalette[0], kRest, sizeof kRest / sizeof kRest[0]};\n"
        << "const PackedPicture kBuiltinPressed = {" << pair.rest.width << ", " << pair.rest.height
        << ", kPalette, sizeof kPalette / sizeof kPalette[0], kPressed, sizeof kPressed / sizeof kPressed[0]};\n";
    std::ofstream file(path, std::ios::trunc);
    file << out.str();
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: devicegen BUILTIN.cpp ASSET_DIR [PREVIEW_DIR]\n");
        return 2;
    }
    const std::vector<Key> small = PanelKeys();
    std::vector<Key> large = PanelKeys();
    for (const Key& k : ExtraKeys()) {
        large.push_back(k);
    }
    const Pair builtin = Draw(450, 311, small, false);
    const Pair assets = Draw(549, 348, large, true);
    if (!Check("built-in pair", builtin, small) || !Check("Device.bmp pair", assets, large)) {
        return 1;
    }
    bool ok = WriteBuiltin(argv[1], builtin, "tools/devicegen/generate.sh") &&
              BmpWriteFile(std::string(argv[2]) + "/Device.bmp", assets.rest) &&
              BmpWriteFile(std::string(argv[2]) + "/Device1.bmp", assets.pressed);
    if (argc > 3) {
        ok = ok && BmpWriteFile(std::string(argv[3]) + "/builtin.bmp", builtin.rest) &&
             BmpWriteFile(std::string(argv[3]) + "/builtin1.bmp", builtin.pressed);
    }
    if (!ok) {
        std::fprintf(stderr, "devicegen: cannot write the pictures\n");
        return 1;
    }
    return 0;
}
