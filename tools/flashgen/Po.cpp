#include "Po.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace po {

namespace {

struct Fault {
    int line;
    std::string what;
};

enum class Key { None, Ctxt, Id, Str };

// One logical entry while it is read.
struct Pending {
    bool hasCtxt = false, hasId = false, hasStr = false;
    std::string ctxt, id, str;
    int line = 0, ctxtLine = 0;
    bool fuzzy = false;
};

std::string Decode(std::string_view lit, int line)
{
    // lit is the text after the keyword, trimmed: must be one "..." literal.
    if (lit.size() < 2 || lit.front() != '"' || lit.back() != '"') {
        throw Fault{line, "expected a string in double quotes"};
    }
    std::string out;
    for (std::size_t i = 1; i + 1 < lit.size(); ++i) {
        const char c = lit[i];
        if (c == '"') {
            throw Fault{line, "unescaped '\"' inside a string"};
        }
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            throw Fault{line, "control character inside a string"};
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i + 2 >= lit.size()) {
            throw Fault{line, "string ends in a backslash"};
        }
        switch (lit[++i]) {
        case 'n':
            out += '\n';
            break;
        case '"':
            out += '"';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            throw Fault{line, std::string("bad escape '\\") + lit[i] + "' (only \\n, \\\" and \\\\)"};
        }
    }
    if (!ValidUtf8(out)) {
        throw Fault{line, "bad UTF-8"};
    }
    return out;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

std::uint16_t ParseId(const std::string& ctxt, std::uint16_t idCount, int line)
{
    const bool digits = !ctxt.empty() && ctxt.size() <= 5 &&
                        ctxt.find_first_not_of("0123456789") == std::string::npos &&
                        (ctxt.size() == 1 || ctxt[0] != '0');
    if (!digits || std::stoul(ctxt) >= idCount) {
        throw Fault{line,
                    "unknown text id \"" + ctxt + "\" (msgctxt must be 0 to " + std::to_string(idCount - 1) + ")"};
    }
    return static_cast<std::uint16_t>(std::stoul(ctxt));
}

} // namespace

bool ValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        int more = 0;
        std::uint32_t cp = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            more = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            more = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            more = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(more) >= s.size()) {
            return false;
        }
        for (int k = 1; k <= more; ++k) {
            const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        static constexpr std::uint32_t kLowest[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kLowest[more] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

bool Parse(std::string_view text, const std::string& path, std::uint16_t idCount, Catalogue& out, std::string& error)
{
    out = Catalogue{};
    out.path = path;
    // Some editors start a UTF-8 file with a byte-order mark.
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    std::vector<int> seenAt(idCount, 0);
    Pending p;
    Key last = Key::None;
    bool headerSeen = false;
    bool flagsFuzzy = false;
    int lineNo = 0;

    auto finish = [&]() {
        if (!p.hasCtxt && !p.hasId && !p.hasStr) {
            return;
        }
        if (!p.hasId || !p.hasStr) {
            throw Fault{p.line, "entry without msgid or msgstr"};
        }
        if (!p.hasCtxt) {
            if (!p.id.empty() || headerSeen || !out.entries.empty()) {
                throw Fault{p.line, "entry without msgctxt (the text id)"};
            }
            if (p.str.find("Content-Type:") != std::string::npos && p.str.find("charset=UTF-8") == std::string::npos) {
                throw Fault{p.line, "the header must declare charset=UTF-8"};
            }
            headerSeen = true;
        } else {
            const std::uint16_t id = ParseId(p.ctxt, idCount, p.ctxtLine);
            if (seenAt[id] != 0) {
                throw Fault{p.ctxtLine, "duplicate text id " + std::to_string(id) + " (first at line " +
                                            std::to_string(seenAt[id]) + ")"};
            }
            seenAt[id] = p.ctxtLine;
            out.entries.push_back(Entry{id, p.id, p.str, p.fuzzy, p.ctxtLine});
        }
        p = Pending{};
        last = Key::None;
    };

    try {
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find('\n', pos);
            if (end == std::string_view::npos) {
                end = text.size();
            }
            const std::string_view raw = text.substr(pos, end - pos);
            pos = end + 1;
            ++lineNo;
            const std::string_view line = Trim(raw);
            if (line.empty()) {
                finish();
                flagsFuzzy = false;
                continue;
            }
            if (line.front() == '#') {
                if (line.size() > 1 && line[1] == '~') {
                    throw Fault{lineNo, "obsolete entries (#~) are not kept in these catalogues"};
                }
                if (line.size() > 1 && line[1] == ',') {
                    finish();
                    flagsFuzzy = line.find("fuzzy") != std::string_view::npos;
                }
                continue;
            }
            if (line.front() == '"') {
                std::string more = Decode(line, lineNo);
                switch (last) {
                case Key::Ctxt:
                    p.ctxt += more;
                    break;
                case Key::Id:
                    p.id += more;
                    break;
                case Key::Str:
                    p.str += more;
                    break;
                case Key::None:
                    throw Fault{lineNo, "string continuation without a keyword"};
                }
                continue;
            }
            const std::size_t space = line.find_first_of(" \t");
            const std::string_view key = line.substr(0, space);
            const std::string_view rest =
                space == std::string_view::npos ? std::string_view{} : Trim(line.substr(space));
            if (key == "msgctxt") {
                finish();
                p.hasCtxt = true;
                p.line = p.ctxtLine = lineNo;
                p.fuzzy = flagsFuzzy;
                flagsFuzzy = false;
                p.ctxt = Decode(rest, lineNo);
                last = Key::Ctxt;
            } else if (key == "msgid") {
                if (p.hasId || p.hasStr) {
                    finish();
                }
                if (!p.hasCtxt) {
                    p.line = lineNo;
                    p.fuzzy = flagsFuzzy;
                    flagsFuzzy = false;
                }
                p.hasId = true;
                p.id = Decode(rest, lineNo);
                last = Key::Id;
            } else if (key == "msgstr") {
                if (!p.hasId || p.hasStr) {
                    throw Fault{lineNo, "msgstr without its msgid"};
                }
                p.hasStr = true;
                p.str = Decode(rest, lineNo);
                last = Key::Str;
            } else if (key == "msgid_plural" || key.rfind("msgstr[", 0) == 0) {
                throw Fault{lineNo, "plural forms are not used by the panel"};
            } else {
                throw Fault{lineNo, "unknown keyword '" + std::string(key) + "'"};
            }
        }
        finish();
    } catch (const Fault& f) {
        error = path + ":" + std::to_string(f.line) + ": " + f.what;
        return false;
    }
    out.lines = lineNo;
    return true;
}

namespace {

// Why a catalogue could not be opened.
std::string Unreadable(const std::string& path, int error)
{
    if (error == ELOOP) {
        return "a loop of symbolic links";
    }
    struct stat link {};
    if (error == ENOENT && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        std::error_code ec;
        return "a symbolic link to nothing (" + std::filesystem::read_symlink(path, ec).string() + ")";
    }
    return std::strerror(error);
}

} // namespace

bool ParseFile(const std::string& path, std::uint16_t idCount, Catalogue& out, std::string& error)
{
    // Opened without blocking and checked before reading: a FIFO would
    // otherwise wait for a writer, and a directory read as an empty file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = path + ":0: cannot read the catalogue: " + Unreadable(path, errno);
        return false;
    }
    struct stat st {};
    std::string why;
    if (::fstat(fd, &st) != 0) {
        why = std::strerror(errno);
    } else if (S_ISDIR(st.st_mode)) {
        why = "a directory, not a file";
    } else if (S_ISFIFO(st.st_mode)) {
        why = "a FIFO, not a file";
    } else if (!S_ISREG(st.st_mode)) {
        why = "a device or socket, not a file";
    }
    std::string text;
    char buffer[65536];
    while (why.empty()) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            why = std::strerror(errno);
        }
    }
    ::close(fd);
    if (!why.empty()) {
        error = path + ":0: cannot read the catalogue: " + why;
        return false;
    }
    return Parse(text, path, idCount, out, error);
}

} // namespace po
