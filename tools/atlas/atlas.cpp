// panel-atlas: every screen state a person can reach, in every language, as
// pictures and one page, for technical writers and translators.
//
//   panel-atlas --out DIR [--languages de,gb,ru] [--states NAME,...] [--jobs N]
//               [--paths FILE] [--screens DIR]
//        walks every path of the table (tools/atlas/paths.txt) in each
//        language and writes DIR/<language>/<state>.png (1x) and
//        <state>@3x.png, with texts that overflow their place framed, and
//        DIR/index.html; one process per core
//   panel-atlas --check [--languages ...] [--states ...]   the same walks, no files
//   panel-atlas --coverage [--paths FILE] [--screens DIR]
//        fails naming each state the screen sources define without a path
//
// Exit status: 0 fine, 1 a state without a path or a path that misses its
// state, 2 bad usage or a bad table.
#include "Atlas.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Capture.h"
#include "Fit.h"
#include "Paths.h"
#include "Picture.h"
#include "States.h"
#include "Walk.h"
#include "data/TXT.h"
#include "data/TXT_Generated.h"

namespace fs = std::filesystem;
using namespace atlas;

namespace {

constexpr std::uint32_t kBeyondGerman = 0xE00000; // overflows where German fits
constexpr std::uint32_t kGermanToo = 0xF0A000;    // German overflows there too
constexpr char kHelpState[] = "BHA_Hilfeanzeige";

struct Options {
    std::string paths = PANEL_SOURCE_DIR "/tools/atlas/paths.txt";
    std::string screens = PANEL_SOURCE_DIR "/screens";
    std::string places = PANEL_SOURCE_DIR "/tools/textfit/places.txt";
    std::string out;
    std::vector<std::string> languages;
    std::vector<std::string> states;
    int jobs = 0;
    bool coverage = false;
    bool check = false;
};

int Usage()
{
    std::fputs("usage: panel-atlas --out DIR [--languages de,gb,...] [--states NAME,...] [--jobs N]\n"
               "                   [--paths FILE] [--screens DIR]\n"
               "       panel-atlas --check [--languages ...] [--states ...] [--jobs N]\n"
               "       panel-atlas --coverage [--paths FILE] [--screens DIR]\n",
               stderr);
    return 2;
}

std::vector<std::string> Split(const std::string& list)
{
    std::vector<std::string> out;
    std::istringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) {
        if (!item.empty()) {
            out.push_back(item);
        }
    }
    return out;
}

struct Context {
    const Table* table;
    std::set<std::string> screenStates; // what "the screen shown" may name
    std::vector<textfit::Place> places;
    std::string out; // empty: no files
    std::string lockDirectory;
    std::FILE* err;
};

std::string Innermost(const std::vector<std::string>& active, const std::set<std::string>& screens)
{
    for (auto s = active.rbegin(); s != active.rend(); ++s) {
        if (screens.count(*s) != 0) {
            return *s;
        }
    }
    return {};
}

std::string LatestText(const std::vector<capture::Fetched>& fetched, std::uint16_t id)
{
    for (auto f = fetched.rbegin(); f != fetched.rend(); ++f) {
        if (f->id == id) {
            return f->text;
        }
    }
    return {};
}

// The help page on screen: its headline in the title row, its body below.
void TakeHelp(const std::vector<capture::Drawn>& drawn, const std::vector<capture::Fetched>& fetched, Shot& shot)
{
    constexpr int kTitleBottom = 27;
    std::vector<std::uint16_t> body;
    for (const capture::Drawn& d : drawn) {
        if (d.ids.empty()) {
            continue;
        }
        if (d.box.y1 <= kTitleBottom) {
            if ((d.align & GUI_ALIGN_HORIZONTAL) == GUI_ALIGN_LEFT) {
                shot.helpTitle = LatestText(fetched, d.ids.front());
            }
        } else if (d.box.y1 <= 131 && std::find(body.begin(), body.end(), d.ids.front()) == body.end()) {
            body.push_back(d.ids.front());
        }
    }
    for (std::uint16_t id : body) {
        shot.helpBody += (shot.helpBody.empty() ? "" : "\n") + LatestText(fetched, id);
    }
    shot.hasHelp = true;
}

void MarkOverflows(const Context& c, const std::vector<capture::Drawn>& drawn,
                   const std::vector<capture::Fetched>& fetched, Shot& shot)
{
    for (const capture::Drawn& d : drawn) {
        for (std::uint16_t id : d.ids) {
            if (id >= TXT_COUNT) {
                continue;
            }
            const auto codes = textfit::Decode(LatestText(fetched, id));
            OverflowMark worst{id, 0, false, false, d.box, LatestText(fetched, id)};
            for (const textfit::Place* p : textfit::PlacesOf(c.places, id)) {
                const int over = textfit::Overflow(*p, codes);
                if (over > worst.over) {
                    worst.over = over;
                    worst.lines = p->wrapLines > 0;
                    worst.germanToo = textfit::Overflow(*p, textfit::Decode(TXT_GERMAN[id])) > 0;
                }
            }
            if (worst.over > 0) {
                shot.overflows.push_back(worst);
            }
        }
    }
}

bool WritePictures(const Context& c, const LcdPicture& screen, const Shot& shot, const std::string& id)
{
    const fs::path folder = fs::path(c.out) / shot.language;
    std::error_code ec;
    fs::create_directories(folder, ec);
    for (int scale : {1, 3}) {
        Picture p = Scaled(screen, scale);
        for (const OverflowMark& m : shot.overflows) {
            Frame(p, m.box, scale, scale == 1 ? 1 : 2, m.germanToo ? kGermanToo : kBeyondGerman);
        }
        const fs::path file = folder / (id + (scale == 1 ? ".png" : "@3x.png"));
        if (!WritePng(file.string(), p)) {
            std::fprintf(stderr, "panel-atlas: cannot write %s\n", file.string().c_str());
            return false;
        }
    }
    return true;
}

Shot TakeShot(const Context& c, const Block& block, const LanguageInfo& language)
{
    Shot shot;
    shot.language = language.code;
    shot.block = block.id();
    const std::string path = ExpandPath(*c.table, block, language.index);
    const std::uint64_t pathEnd = ScriptDuration(path);

    LcdPicture screen;
    std::vector<capture::Drawn> drawn;
    std::vector<capture::Fetched> fetched;
    std::vector<std::string> active;
    std::vector<capture::Drawn> helpDrawn;
    std::vector<std::string> helpActive;
    const std::vector<Observer> observers = {
        {pathEnd,
         [&](HeadlessHost& host) {
             screen = host.lcdPicture();
             drawn = capture::OnScreen();
             fetched = capture::Fetches();
             active = ActiveStates(host.traceLines());
         }},
        {Observer::kEnd,
         [&](HeadlessHost& host) {
             helpDrawn = capture::OnScreen();
             helpActive = ActiveStates(host.traceLines());
         }},
    };
    capture::Reset();
    WalkOptions wo;
    wo.lockDirectory = c.lockDirectory;
    wo.err = c.err;
    const WalkResult r = Walk(path + "click HELP\nwait 400\n", wo, observers);

    shot.reached = std::find(active.begin(), active.end(), block.name) != active.end();
    shot.shown = Innermost(active, c.screenStates);
    if (!r.completed) {
        shot.failure = r.failure;
        shot.reached = false;
    }
    if (shot.shown == kHelpState) {
        TakeHelp(drawn, fetched, shot);
    } else if (Innermost(helpActive, c.screenStates) == kHelpState) {
        TakeHelp(helpDrawn, capture::Fetches(), shot);
    }
    MarkOverflows(c, drawn, fetched, shot);
    if (!c.out.empty() && !WritePictures(c, screen, shot, block.id())) {
        shot.failure = "cannot write its pictures";
    }
    return shot;
}

struct Job {
    const Block* block;
    const LanguageInfo* language;
};

// Runs every `count`-th job from `first` on; the shots as Serialise text.
std::string RunJobs(const Context& c, const std::vector<Job>& jobs, std::size_t first, std::size_t count)
{
    std::string text;
    for (std::size_t i = first; i < jobs.size(); i += count) {
        text += Serialise(TakeShot(c, *jobs[i].block, *jobs[i].language));
    }
    return text;
}

std::vector<Shot> RunAll(Context& c, const std::vector<Job>& jobs, int processes)
{
    char pattern[] = "/tmp/panel-atlas-XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (dir == nullptr) {
        std::perror("panel-atlas: mkdtemp");
        std::exit(2);
    }
    const fs::path work(dir);
    std::vector<pid_t> children;
    for (int k = 0; k < processes; ++k) {
        std::fflush(nullptr);
        const pid_t pid = processes == 1 ? 0 : fork();
        if (pid < 0) {
            std::perror("panel-atlas: fork");
            std::exit(2);
        }
        if (pid == 0) {
            // Each process its own lock directory: the panel runs once per directory.
            c.lockDirectory = (work / ("lock" + std::to_string(k))).string();
            fs::create_directories(c.lockDirectory);
            const std::string text = RunJobs(c, jobs, static_cast<std::size_t>(k), static_cast<std::size_t>(processes));
            std::ofstream((work / ("shots" + std::to_string(k))).string(), std::ios::binary) << text;
            if (processes == 1) {
                break;
            }
            std::fflush(nullptr);
            _exit(0);
        }
        children.push_back(pid);
    }
    bool failed = false;
    for (pid_t pid : children) {
        int status = 0;
        failed |= waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    }
    std::vector<Shot> shots;
    for (int k = 0; k < processes; ++k) {
        std::ifstream in((work / ("shots" + std::to_string(k))).string(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        for (Shot& s : Deserialise(text.str())) {
            shots.push_back(std::move(s));
        }
    }
    std::error_code ec;
    fs::remove_all(work, ec);
    if (failed) {
        std::fputs("panel-atlas: a worker process failed\n", stderr);
        std::exit(2);
    }
    return shots;
}

int Coverage(const Table& table, const std::vector<DefinedState>& defined, const Options& o)
{
    int missing = 0;
    int unreachable = 0;
    for (const DefinedState& s : defined) {
        bool walked = false;
        bool excused = false;
        for (const Block& b : table.blocks) {
            if (b.kind == Block::Kind::State && b.name == s.name) {
                walked |= b.isWalk();
                excused |= !b.unreachable.empty();
            }
        }
        if (!walked && !excused) {
            std::printf("%s:%d: %s has no path in %s (give it one, or 'unreachable: WHY')\n", s.file.c_str(), s.line,
                        s.name.c_str(), o.paths.c_str());
            ++missing;
        }
        unreachable += excused ? 1 : 0;
    }
    std::set<std::string> names;
    for (const DefinedState& s : defined) {
        names.insert(s.name);
    }
    for (const Block& b : table.blocks) {
        if (b.kind == Block::Kind::State && names.count(b.name) == 0) {
            std::printf("%s:%d: note: %s is defined outside %s\n", o.paths.c_str(), b.line, b.name.c_str(),
                        o.screens.c_str());
        }
    }
    std::printf("states with a path: %zu / %zu defined in %s (%d unreachable by a person, %d without a path)\n",
                names.size() - static_cast<std::size_t>(missing + unreachable), names.size(), o.screens.c_str(),
                unreachable, missing);
    return missing == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--out" && hasValue) {
            o.out = argv[++i];
        } else if (a == "--paths" && hasValue) {
            o.paths = argv[++i];
        } else if (a == "--screens" && hasValue) {
            o.screens = argv[++i];
        } else if (a == "--places" && hasValue) {
            o.places = argv[++i];
        } else if (a == "--languages" && hasValue) {
            o.languages = Split(argv[++i]);
        } else if (a == "--states" && hasValue) {
            o.states = Split(argv[++i]);
        } else if (a == "--jobs" && hasValue) {
            o.jobs = std::atoi(argv[++i]);
            if (o.jobs < 1 || o.jobs > 64) {
                return Usage();
            }
        } else if (a == "--coverage") {
            o.coverage = true;
        } else if (a == "--check") {
            o.check = true;
        } else {
            return Usage();
        }
    }
    if (o.coverage + o.check + !o.out.empty() != 1) {
        return Usage();
    }
    std::string error;
    Table table;
    std::vector<DefinedState> defined;
    if (!LoadTable(o.paths, table, error) || !DiscoverStates(o.screens, defined, error)) {
        std::fprintf(stderr, "panel-atlas: %s\n", error.c_str());
        return 2;
    }
    if (o.coverage) {
        return Coverage(table, defined, o);
    }

    Context c;
    c.table = &table;
    c.out = o.out;
    c.err = std::tmpfile();
    if (!textfit::ReadPlaces(o.places, c.places, error)) {
        std::fprintf(stderr, "panel-atlas: %s\n", error.c_str());
        return 2;
    }
    for (const DefinedState& s : defined) {
        c.screenStates.insert(s.name);
    }
    for (const Block& b : table.blocks) {
        if (b.kind == Block::Kind::State) {
            c.screenStates.insert(b.name);
        }
    }
    const std::vector<LanguageInfo> all = AllLanguages();
    std::vector<LanguageInfo> languages;
    for (const std::string& code : o.languages) {
        const auto l = std::find_if(all.begin(), all.end(), [&](const LanguageInfo& x) { return x.code == code; });
        if (l == all.end()) {
            std::fprintf(stderr, "panel-atlas: no language '%s'\n", code.c_str());
            return 2;
        }
        languages.push_back(*l);
    }
    if (languages.empty()) {
        languages = all;
    }
    std::vector<const Block*> walks;
    for (const Block* b : table.walks()) {
        if (o.states.empty() || std::find(o.states.begin(), o.states.end(), b->name) != o.states.end() ||
            std::find(o.states.begin(), o.states.end(), b->id()) != o.states.end()) {
            walks.push_back(b);
        }
    }
    for (const std::string& s : o.states) {
        if (std::none_of(walks.begin(), walks.end(), [&](const Block* b) { return b->name == s || b->id() == s; })) {
            std::fprintf(stderr, "panel-atlas: no path for '%s' in %s\n", s.c_str(), o.paths.c_str());
            return 2;
        }
    }
    std::vector<Job> jobs;
    for (const LanguageInfo& l : languages) {
        for (const Block* b : walks) {
            jobs.push_back({b, &l});
        }
    }
    const int processes = o.jobs > 0 ? o.jobs : static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    const auto start = std::chrono::steady_clock::now();
    const std::vector<Shot> shots = RunAll(c, jobs, std::min<int>(processes, static_cast<int>(jobs.size())));

    Summary summary;
    summary.defined = defined;
    summary.processes = processes;
    summary.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::set<std::string> missed;
    int failures = 0;
    for (const Shot& s : shots) {
        if (!s.reached || !s.failure.empty()) {
            const std::string why = s.failure.empty() ? "" : " (" + s.failure + ")";
            std::printf("%s in %s: the path ends in %s, not in its state%s\n", s.block.c_str(), s.language.c_str(),
                        s.shown.empty() ? "no screen" : s.shown.c_str(), why.c_str());
            missed.insert(s.block.substr(0, s.block.find('.')));
            ++failures;
        }
    }
    std::set<std::string> walked;
    for (const Block* b : walks) {
        walked.insert(b->name);
    }
    std::set<std::string> names;
    for (const DefinedState& s : defined) {
        names.insert(s.name);
    }
    for (const std::string& n : names) {
        if (walked.count(n) != 0 && missed.count(n) == 0) {
            ++summary.reached;
        } else {
            summary.notReached.push_back(n);
        }
    }
    if (!o.out.empty() && !WriteIndex(o.out, table, languages, shots, summary, error)) {
        std::fprintf(stderr, "panel-atlas: %s\n", error.c_str());
        return 2;
    }
    std::printf("states reached: %d / %zu defined in %s\n", summary.reached, names.size(), o.screens.c_str());
    std::printf("walks: %zu paths x %zu languages in %.1f s, %d processes%s%s\n", walks.size(), languages.size(),
                summary.seconds, processes, o.out.empty() ? "" : "; ",
                o.out.empty() ? "" : (o.out + "/index.html").c_str());
    return failures == 0 ? 0 : 1;
}
