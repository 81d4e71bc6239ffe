// Every screen state drawn from a hostile data-flash image, in every
// language: a path of the screen atlas's table (tools/atlas/paths.txt, built
// in, so that every state with a path joins), walked from power-on in
// virtual time, HELP pressed at its end, with every text slot of every
// flash language holding a text of the input's making. The path must still
// reach its state: texts may look wrong, never change where the keys lead.
//
// Input: byte 0 the language, byte 1 the path (each modulo its count),
// bytes 2 to 9 the factory settings, then text recipes (HostileFlash.h).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "HostileFlash.h"
#include "Paths.h"
#include "Walk.h"
#include "data/TXT.h"

extern const char kAtlasPaths[]; // tools/atlas/paths.txt

namespace {

struct Setup {
    atlas::Table table;
    std::vector<const atlas::Block*> walks;
    std::string lockDirectory;
    std::FILE* err = nullptr;
};

// The lock directory goes when the fuzzer ends normally.
std::string lockDirectoryToRemove;

void RemoveLockDirectory()
{
    std::error_code ec;
    std::filesystem::remove_all(lockDirectoryToRemove, ec);
}

const Setup& Once()
{
    static const Setup setup = [] {
        Setup s;
        std::string error;
        if (!atlas::ParseTable("paths.txt", kAtlasPaths, s.table, error)) {
            std::fprintf(stderr, "screens_fuzz: %s\n", error.c_str());
            std::abort();
        }
        s.walks = s.table.walks();
        char pattern[] = "/tmp/screens-fuzz-XXXXXX";
        const char* dir = mkdtemp(pattern);
        s.lockDirectory = dir != nullptr ? dir : "/tmp";
        if (dir != nullptr) {
            lockDirectoryToRemove = dir;
            std::atexit(RemoveLockDirectory);
        }
        s.err = std::fopen("/dev/null", "w"); // the drawing layer reports every bad byte
        return s;
    }();
    return setup;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kHead = 2 + hostile::kSettingBytes;
    if (size < kHead) {
        return 0;
    }
    const Setup& s = Once();
    const auto language = static_cast<std::uint8_t>(data[0] % TXT_LANGUAGES);
    const atlas::Block& path = *s.walks[data[1] % s.walks.size()];
    std::uint8_t settings[hostile::kSettingBytes];
    std::copy(data + 2, data + kHead, settings);

    atlas::WalkOptions options;
    options.lockDirectory = s.lockDirectory;
    options.err = s.err;
    options.flash = hostile::Image(settings, hostile::Texts(data + kHead, size - kHead));
    options.traceLimit = std::size_t{1} << 20;

    const std::string script = atlas::ExpandPath(s.table, path, language);
    bool reached = false;
    const atlas::WalkResult r =
        atlas::Walk(script + "click HELP\nwait 400\n", options,
                    {{atlas::ScriptDuration(script), [&](HeadlessHost& host) {
                          const auto active = atlas::ActiveStates(host.traceLines());
                          reached = std::find(active.begin(), active.end(), path.name) != active.end();
                      }}});
    if (!r.completed || !reached) {
        std::fprintf(stderr, "screens_fuzz: %s in language %u does not reach its state%s%s\n", path.title().c_str(),
                     language, r.failure.empty() ? "" : ": ", r.failure.c_str());
        __builtin_trap();
    }
    return 0;
}
