// Text database. Only the German texts drawn so far are here; the database
// of all texts and languages replaces this table.
#include "data/TXT.h"

#include <cstring>

namespace {

struct Entry {
    std::uint16_t id;
    const char* text;
};

constexpr Entry kGerman[] = {
    {58, "Code"},
    {218, "Reset"},
};

char buffer[1212];

} // namespace

const char* TXT_GetText(std::uint16_t id)
{
    buffer[0] = '\0';
    for (const Entry& e : kGerman) {
        if (e.id == id) {
            std::strncpy(buffer, e.text, sizeof buffer - 1);
        }
    }
    return buffer;
}
