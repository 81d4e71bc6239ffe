// index.html of the atlas: one static page, no server needed. Screens are
// grouped by their place in the menu tree; a language chooser switches the
// pictures, help texts and overflow lists; "All languages" opens every
// language's picture side by side.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "Atlas.h"

namespace atlas {

namespace {

std::string Html(const std::string& s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A panel text for the page: the font's key pictograms (U+266C to U+2674)
// become common symbols a browser has.
std::string Text(const std::string& s)
{
    static const char* const kKeys[] = {"\u25C0", "\u25B6", "\u25C0\u25B6", "\u25B2\u25BC", "\u25B2\u25BC\u25C0\u25B6",
                                        "\u2610", "\u2611", "\u21A9",       "\u2630"};
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
        if (i + 2 < s.size() && b(i) == 0xE2 && b(i + 1) == 0x99 && b(i + 2) >= 0xAC && b(i + 2) <= 0xB4) {
            out += std::string("<span class=\"k\">") + kKeys[b(i + 2) - 0xAC] + "</span>";
            i += 2;
        } else {
            out += Html(std::string(1, s[i]));
        }
    }
    return out;
}

constexpr char kStyle[] = R"(body{font-family:sans-serif;margin:0 1.5em 3em;background:#f6f6f4;color:#222}
header{position:sticky;top:0;background:#f6f6f4;padding:.4em 0;border-bottom:1px solid #bbb;z-index:1}
header h1{display:inline;font-size:1.3em;margin-right:1em}
nav ul{columns:3;padding-left:1.2em}
.screen{display:flex;flex-wrap:wrap;gap:1.2em;margin:1em 0;padding:1em;background:#fff;border:1px solid #ddd}
.screen img{image-rendering:pixelated;border:1px solid #999}
.screen h3{margin:0 0 .3em;font-family:monospace;font-size:1.1em}
.where,.note{color:#555;margin:.2em 0}
.help{white-space:pre-wrap;max-width:38em;margin:.3em 0}
.k{border:1px solid #888;border-radius:3px;padding:0 2px;font-size:.85em}
.overflow li{color:#a00}
.overflow li.known{color:#a60}
.t{display:none}
.screen details{flex-basis:100%}
.all{display:grid;grid-template-columns:repeat(auto-fill,minmax(250px,1fr));gap:.6em}
.all figure{margin:0}.all figcaption{font-size:.85em;color:#444}
)";

constexpr char kScript[] = R"(const lang=document.getElementById('language'),scale=document.getElementById('scale');
function show(){const l=lang.value,s=Number(scale.value);document.body.dataset.lang=l;
for(const i of document.querySelectorAll('img.shot')){i.src=l+'/'+i.dataset.id+(s===3?'@3x':'')+'.png';i.width=240*s;i.height=160*s;}}
lang.onchange=show;scale.onchange=show;show();
)";

} // namespace

bool WriteIndex(const std::string& out, const Table& table, const std::vector<LanguageInfo>& languages,
                const std::vector<Shot>& shots, const Summary& summary, std::string& error)
{
    std::map<std::pair<std::string, std::string>, const Shot*> byBlock; // (block id, language)
    for (const Shot& s : shots) {
        byBlock[{s.block, s.language}] = &s;
    }
    const std::string first = languages.empty() ? "de" : languages.front().code;

    // Groups in the order the table first names them.
    std::vector<std::string> groups;
    for (const Block& b : table.blocks) {
        if (b.isWalk() && byBlock.count({b.id(), first}) != 0 &&
            std::find(groups.begin(), groups.end(), b.where) == groups.end()) {
            groups.push_back(b.where);
        }
    }

    std::ostringstream h;
    h << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n<title>Screen atlas</title>\n<style>"
      << kStyle;
    for (const LanguageInfo& l : languages) {
        h << "body[data-lang=" << l.code << "] .t[data-lang=" << l.code << "]{display:block}\n";
    }
    h << "</style></head>\n<body data-lang=\"" << first << "\">\n<header><h1>Screen atlas</h1>\n"
      << "<label>Language <select id=\"language\">";
    for (const LanguageInfo& l : languages) {
        h << "<option value=\"" << l.code << "\">" << l.code << " " << Html(l.name) << "</option>";
    }
    h << "</select></label>\n<label>Size <select id=\"scale\"><option value=\"1\">1x</option>"
      << "<option value=\"3\" selected>3x</option></select></label>\n</header>\n";

    h << "<p>" << summary.reached << " of the " << summary.defined.size()
      << " screen states that the screen sources define, each as the panel draws it at the end of the path that "
         "leads there, with the help page that HELP opens there. Texts that do not fit their place are framed: "
         "<span style=\"color:#a00\">red</span> where German fits, <span style=\"color:#a60\">amber</span> where "
         "German does not either.</p>\n";
    h << "<nav><ul>\n";
    for (std::size_t g = 0; g < groups.size(); ++g) {
        h << "<li><a href=\"#g" << g << "\">" << Html(groups[g]) << "</a></li>\n";
    }
    h << "<li><a href=\"#unreachable\">Not reachable by a person</a></li>\n</ul></nav>\n";

    for (std::size_t g = 0; g < groups.size(); ++g) {
        h << "<section id=\"g" << g << "\"><h2>" << Html(groups[g]) << "</h2>\n";
        for (const Block& b : table.blocks) {
            if (!b.isWalk() || b.where != groups[g] || byBlock.count({b.id(), first}) == 0) {
                continue;
            }
            const std::string id = b.id();
            const Shot& lead = *byBlock.at({id, first});
            h << "<article class=\"screen\" id=\"" << Html(id) << "\">\n<div><img class=\"shot\" data-id=\"" << Html(id)
              << "\" src=\"" << first << "/" << Html(id) << "@3x.png\" width=\"720\" height=\"480\" alt=\""
              << Html(b.title()) << "\"></div>\n<div><h3>" << Html(b.title()) << "</h3>\n<p class=\"where\">"
              << Html(b.where) << "</p>\n";
            if (!lead.shown.empty() && lead.shown != b.name) {
                h << "<p class=\"note\">A superstate: the screen shows " << Html(lead.shown) << ".</p>\n";
            }
            for (const LanguageInfo& l : languages) {
                const auto it = byBlock.find({id, l.code});
                if (it == byBlock.end()) {
                    continue;
                }
                const Shot& s = *it->second;
                h << "<div class=\"t\" data-lang=\"" << l.code << "\">";
                if (!s.reached) {
                    h << "<p class=\"note\">Not reached in this language: " << Html(s.failure) << "</p>";
                }
                if (s.hasHelp) {
                    h << "<h4>Help: " << Text(s.helpTitle) << "</h4><p class=\"help\">" << Text(s.helpBody) << "</p>";
                } else {
                    h << "<p class=\"note\">HELP opens no help page here.</p>";
                }
                std::set<std::uint16_t> listed;
                std::string items;
                for (const OverflowMark& m : s.overflows) {
                    if (!listed.insert(m.id).second) {
                        continue;
                    }
                    items += std::string("<li") + (m.germanToo ? " class=\"known\"" : "") + ">text " +
                             std::to_string(m.id) + (m.lines ? " takes " : " is ") + std::to_string(m.over) +
                             (m.lines ? " lines more than its place" : " px too wide") +
                             (m.germanToo ? " (German too)" : "") + ": " + Text(m.text) + "</li>";
                }
                if (!items.empty()) {
                    h << "<ul class=\"overflow\">" << items << "</ul>";
                }
                h << "</div>\n";
            }
            h << "</div>\n<details><summary>All languages</summary><div class=\"all\">\n";
            for (const LanguageInfo& l : languages) {
                if (byBlock.count({id, l.code}) != 0) {
                    h << "<figure><img loading=\"lazy\" src=\"" << l.code << "/" << Html(id)
                      << ".png\" width=\"240\" height=\"160\" alt=\"\"><figcaption>" << l.code << " " << Html(l.name)
                      << "</figcaption></figure>\n";
                }
            }
            h << "</div></details>\n</article>\n";
        }
        h << "</section>\n";
    }

    h << "<section id=\"unreachable\"><h2>Not reachable by a person</h2><ul>\n";
    for (const Block& b : table.blocks) {
        if (b.kind == Block::Kind::State && !b.unreachable.empty()) {
            h << "<li><code>" << Html(b.name) << "</code>: " << Html(b.unreachable) << "</li>\n";
        }
    }
    h << "</ul></section>\n<script>" << kScript << "</script>\n</body></html>\n";

    const std::string path = (std::filesystem::path(out) / "index.html").string();
    std::ofstream file(path, std::ios::binary);
    file << h.str();
    if (!file.flush()) {
        error = path + ": cannot write";
        return false;
    }
    return true;
}

} // namespace atlas
