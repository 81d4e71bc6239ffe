#include "Capture.h"

#include <algorithm>
#include <cstring>

#include "data/TXT.h"

// The wrapped functions, by their linker names (ld --wrap=SYMBOL sends the
// panel's calls to __wrap_SYMBOL; __real_SYMBOL is the function itself).
extern "C" {
const char* __real__Z11TXT_GetTextt(std::uint16_t id);
std::uint16_t __real__Z12TXT_CopyTexttPct(std::uint16_t id, char* buffer, std::uint16_t size);
void __real__Z13GUI_TextInBoxPKcPK7GUI_BOXi(const char* text, const GUI_BOX* box, int align);
void __real__Z14GUI_TextInBoxNPKcPK7GUI_BOXii(const char* text, const GUI_BOX* box, int align, int maxChars);
void __real__Z20GUI_TextInBoxWrappedPKcPK7GUI_BOXii(const char* text, const GUI_BOX* box, int align, int wrapMode);
void __real__Z15GUI_EraseScreenv();
void __real__Z12GUI_EraseBoxPK7GUI_BOX(const GUI_BOX* box);
void __real__Z13GUI_EraseAreaiiii(int x0, int y0, int x1, int y1);
}

namespace atlas::capture {

namespace {

struct Record {
    Fetched what;
    const char* buffer; // where the text went
    std::size_t length;
};

struct State {
    std::vector<Record> fetches;
    std::vector<Fetched> fetched;
    std::size_t screenStart = 0; // fetches from here on count for the screen being drawn
    std::vector<Drawn> drawn;
};

State state;

// Shorter texts match too much ("OK", a unit) when searched for in a composed line.
constexpr std::size_t kShortestSearched = 3;

void Took(std::uint16_t id, const char* buffer, std::size_t length)
{
    state.fetches.push_back({{id, std::string(buffer, length)}, buffer, length});
    state.fetched.push_back(state.fetches.back().what);
}

// The texts a drawn string shows: the fetch whose buffer it points into, as
// long as that buffer still holds the fetched text; else every text of this
// screen that it contains (a composed line such as "Code 5A").
// A fetch's buffer may be a caller's stack buffer whose frame has ended since,
// its bytes now another frame's: they are only compared, never trusted, and
// the address sanitizer is told so.
__attribute__((no_sanitize("address"))) bool StillHolds(const char* buffer, const std::string& text, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i) {
        if (buffer[i] != text[i]) {
            return false;
        }
    }
    return true;
}

std::vector<std::uint16_t> Sources(const char* text, std::size_t length)
{
    for (auto f = state.fetches.rbegin(); f != state.fetches.rend(); ++f) {
        if (text >= f->buffer && text <= f->buffer + f->length) {
            if (StillHolds(f->buffer, f->what.text, f->length)) {
                return {f->what.id};
            }
            break;
        }
    }
    std::vector<std::uint16_t> ids;
    const std::string drawn(text, length);
    for (std::size_t i = state.fetches.size(); i > state.screenStart; --i) {
        const Record& f = state.fetches[i - 1];
        if (f.length >= kShortestSearched && drawn.find(f.what.text) != std::string::npos &&
            std::find(ids.begin(), ids.end(), f.what.id) == ids.end()) {
            ids.push_back(f.what.id);
        }
    }
    return ids;
}

bool Inside(const GUI_BOX& inner, const GUI_BOX& outer)
{
    return inner.x0 >= outer.x0 && inner.x1 <= outer.x1 && inner.y0 >= outer.y0 && inner.y1 <= outer.y1;
}

void Erased(const GUI_BOX& area)
{
    std::erase_if(state.drawn, [&](const Drawn& d) { return Inside(d.box, area); });
}

void Draw(const char* text, const GUI_BOX* box, int align, std::size_t length)
{
    if (text == nullptr || box == nullptr) {
        return;
    }
    // A text drawn in the same box with the same alignment replaces the one there.
    std::erase_if(state.drawn, [&](const Drawn& d) {
        return d.align == align && d.box.x0 == box->x0 && d.box.y0 == box->y0 && d.box.x1 == box->x1 &&
               d.box.y1 == box->y1;
    });
    state.drawn.push_back({std::string(text, length), *box, align, Sources(text, length)});
}

// Bytes of the first `chars` UTF-8 characters.
std::size_t Prefix(const char* text, int chars)
{
    std::size_t n = 0;
    for (; text[n] != '\0'; ++n) {
        if ((static_cast<unsigned char>(text[n]) & 0xC0) != 0x80 && chars-- == 0) {
            break;
        }
    }
    return n;
}

} // namespace

void Reset()
{
    state = State{};
}

std::vector<Drawn> OnScreen()
{
    return state.drawn;
}

const std::vector<Fetched>& Fetches()
{
    return state.fetched;
}

} // namespace atlas::capture

using namespace atlas::capture;

extern "C" {

const char* __wrap__Z11TXT_GetTextt(std::uint16_t id)
{
    const char* text = __real__Z11TXT_GetTextt(id);
    Took(id, text, std::strlen(text));
    return text;
}

std::uint16_t __wrap__Z12TXT_CopyTexttPct(std::uint16_t id, char* buffer, std::uint16_t size)
{
    const std::uint16_t n = __real__Z12TXT_CopyTexttPct(id, buffer, size);
    if (buffer != nullptr && size > 0) {
        Took(id, buffer, n);
    }
    return n;
}

void __wrap__Z13GUI_TextInBoxPKcPK7GUI_BOXi(const char* text, const GUI_BOX* box, int align)
{
    Draw(text, box, align, text != nullptr ? std::strlen(text) : 0);
    __real__Z13GUI_TextInBoxPKcPK7GUI_BOXi(text, box, align);
}

void __wrap__Z14GUI_TextInBoxNPKcPK7GUI_BOXii(const char* text, const GUI_BOX* box, int align, int maxChars)
{
    Draw(text, box, align, text != nullptr ? Prefix(text, maxChars) : 0);
    __real__Z14GUI_TextInBoxNPKcPK7GUI_BOXii(text, box, align, maxChars);
}

void __wrap__Z20GUI_TextInBoxWrappedPKcPK7GUI_BOXii(const char* text, const GUI_BOX* box, int align, int wrapMode)
{
    Draw(text, box, align, text != nullptr ? std::strlen(text) : 0);
    __real__Z20GUI_TextInBoxWrappedPKcPK7GUI_BOXii(text, box, align, wrapMode);
}

void __wrap__Z15GUI_EraseScreenv()
{
    state.drawn.clear();
    state.screenStart = state.fetches.size();
    __real__Z15GUI_EraseScreenv();
}

void __wrap__Z12GUI_EraseBoxPK7GUI_BOX(const GUI_BOX* box)
{
    if (box != nullptr) {
        Erased(*box);
    }
    __real__Z12GUI_EraseBoxPK7GUI_BOX(box);
}

void __wrap__Z13GUI_EraseAreaiiii(int x0, int y0, int x1, int y1)
{
    Erased(GUI_BOX{static_cast<std::int16_t>(x0), static_cast<std::int16_t>(y0), static_cast<std::int16_t>(x1),
                   static_cast<std::int16_t>(y1)});
    __real__Z13GUI_EraseAreaiiii(x0, y0, x1, y1);
}

} // extern "C"
