// Benchmarks of the drawing layer and the refresh into the host's LCD.
#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

#include "gui/GUI.h"
#include "gui/LCD.h"
#include "sim/VirtualTime.h"
#include "sim/headless/HeadlessHost.h"

namespace {

struct Panel {
    VirtualTime time;
    HeadlessHost host{time, HeadlessHost::Options{}};
    Panel()
    {
        GUI_Start();
        GUI_UseUtf8();
    }
};

// Eight lines of the normal font fill the screen.
constexpr char kText[] =
    "Die Warmwassertemperatur wird mit den Tasten eingestellt und mit OK übernommen. Außentemperatur, "
    "Vorlauftemperatur und Kesseltemperatur werden im Informationsmenü angezeigt, Störungen mit Datum, "
    "Uhrzeit und Hinweis zur Behebung.";

void FullScreenWrappedText(benchmark::State& state)
{
    Panel panel;
    const GUI_BOX box{0, 0, 239, 159};
    for (auto _ : state) {
        GUI_EraseScreen();
        GUI_TextInBoxWrapped(kText, &box, GUI_ALIGN_LEFT, GUI_WRAP_WORD);
        LCD_Refresh();
    }
    state.SetLabel("erase + 8 wrapped lines (20 px) + refresh");
}
BENCHMARK(FullScreenWrappedText)->Unit(benchmark::kMicrosecond);

void Refresh(benchmark::State& state)
{
    Panel panel;
    LCD_TestChecker();
    for (auto _ : state) {
        LCD_Refresh();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Refresh)->Unit(benchmark::kMicrosecond);

// What a refresh cannot beat: one copy of the same 240 x 160 x 4 bytes.
void PlainCopy(benchmark::State& state)
{
    std::vector<std::uint32_t> from(240 * 160, 0xCECECE);
    std::vector<std::uint32_t> to(240 * 160);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size() * sizeof(std::uint32_t));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PlainCopy)->Unit(benchmark::kMicrosecond);

} // namespace
