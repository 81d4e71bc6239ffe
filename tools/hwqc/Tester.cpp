#include "tools/hwqc/Tester.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr std::uint64_t kByteUs = 11 * 1'000'000 / 4800; // start, 8 data, parity, stop

std::uint64_t NowUs()
{
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

} // namespace

TesterLine::~TesterLine()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::string TesterLine::open(const std::string& path)
{
    // Non-blocking open: a device that waits for a carrier must not hang us.
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        return std::strerror(errno);
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISCHR(st.st_mode) || !::isatty(fd_)) {
        return "not a serial device";
    }
    termios t{};
    if (tcgetattr(fd_, &t) != 0) {
        return std::string("tcgetattr: ") + std::strerror(errno);
    }
    cfmakeraw(&t);
    cfsetispeed(&t, B4800);
    cfsetospeed(&t, B4800);
    t.c_cflag =
        static_cast<tcflag_t>((t.c_cflag & ~(CSIZE | CSTOPB | PARODD | CRTSCTS)) | CS8 | PARENB | CREAD | CLOCAL);
    t.c_iflag = static_cast<tcflag_t>(t.c_iflag & ~(IXON | IXOFF | IXANY));
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (tcsetattr(fd_, TCSANOW, &t) != 0) {
        // A pseudo-terminal keeps no parity, and the C library reports the
        // setting it dropped as an invalid argument.
        t.c_cflag = static_cast<tcflag_t>(t.c_cflag & ~PARENB);
        if (errno != EINVAL || tcsetattr(fd_, TCSANOW, &t) != 0) {
            return std::string("tcsetattr: ") + std::strerror(errno);
        }
    }
    tcflush(fd_, TCIOFLUSH);
    return {};
}

bool TesterLine::send(const Bytes& bytes)
{
    for (std::uint8_t b : bytes) {
        if (pace_) {
            const std::uint64_t now = NowUs();
            if (nextSendUs_ > now) {
                std::this_thread::sleep_for(std::chrono::microseconds(nextSendUs_ - now));
            }
            nextSendUs_ = std::max(nextSendUs_, now) + kByteUs;
        }
        for (;;) {
            const ssize_t n = ::write(fd_, &b, 1);
            if (n == 1) {
                break;
            }
            if (n < 0 && errno != EINTR && errno != EAGAIN) {
                return false;
            }
            pollfd p{fd_, POLLOUT, 0};
            if (::poll(&p, 1, 1000) <= 0) {
                return false;
            }
        }
        ++sent_;
    }
    return true;
}

Bytes TesterLine::receive(std::size_t count, int timeoutMs)
{
    Bytes out;
    while (out.size() < count) {
        pollfd p{fd_, POLLIN, 0};
        const int r = ::poll(&p, 1, timeoutMs);
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r <= 0 || (p.revents & POLLIN) == 0) {
            break;
        }
        std::uint8_t buffer[256];
        const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, count - out.size()));
        if (n <= 0) {
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
                continue;
            }
            break;
        }
        out.insert(out.end(), buffer, buffer + n);
    }
    received_ += out.size();
    return out;
}

Bytes TesterLine::drain(int quietMs)
{
    Bytes out;
    for (;;) {
        Bytes more = receive(256, quietMs);
        if (more.empty()) {
            return out;
        }
        out.insert(out.end(), more.begin(), more.end());
    }
}

std::string Hex(const Bytes& bytes)
{
    std::string s;
    char b[4];
    for (std::uint8_t v : bytes) {
        std::snprintf(b, sizeof b, " %02X", v);
        s += b;
    }
    return s.empty() ? " nothing" : s;
}

bool Tester::answer(const char* what)
{
    return expect(1, what).has_value();
}

std::optional<Bytes> Tester::expect(std::size_t count, const char* what)
{
    Bytes got = line_.receive(count, kAnswerMs);
    if (got.size() != count) {
        error_ = std::string(what) + ": " + std::to_string(count) + " bytes expected, got" + Hex(got);
        return std::nullopt;
    }
    if (count == 1 && std::string(what).find("answer") != std::string::npos && got[0] != 0) {
        error_ = std::string(what) + ": 00 expected, got" + Hex(got);
        return std::nullopt;
    }
    return got;
}

bool Tester::enter(int windowMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(windowMs);
    while (std::chrono::steady_clock::now() < end) {
        if (!line_.send({0x05})) {
            error_ = "cannot write to the line";
            return false;
        }
        const Bytes got = line_.receive(1, 150);
        if (got.size() == 1 && got[0] == 0x00) {
            // A 05 that was on its way counts as the start command: its
            // answer must not be taken for the next command's.
            const Bytes more = line_.drain(300);
            if (std::any_of(more.begin(), more.end(), [](std::uint8_t b) { return b != 0x00; })) {
                error_ = "after the greeting the panel sent" + Hex(more);
                return false;
            }
            return true;
        }
    }
    error_ = "no answer to 05 within " + std::to_string(windowMs) + " ms: is the panel in its start-up window?";
    return false;
}

bool Tester::startCommand()
{
    return line_.send({0x05}) && answer("start answer");
}

bool Tester::stop()
{
    return line_.send({0x04}) && answer("stop answer");
}

bool Tester::writeCache(std::uint16_t address, const Bytes& data)
{
    Bytes frame{0x31, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
                static_cast<std::uint8_t>(data.size())};
    frame.insert(frame.end(), data.begin(), data.end());
    return line_.send(frame) && answer("write-cache answer");
}

std::optional<Bytes> Tester::readCache(std::uint16_t address, std::uint8_t count)
{
    if (!line_.send({0x32, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address), count})) {
        return std::nullopt;
    }
    return expect(std::min<std::size_t>(count, 60), "read-cache data");
}

bool Tester::writeRegister(std::uint16_t address, const Bytes& data)
{
    Bytes frame{0xF4, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
                static_cast<std::uint8_t>(data.size())};
    frame.insert(frame.end(), data.begin(), data.end());
    return line_.send(frame) && answer("write-register answer");
}

std::optional<Bytes> Tester::readRegister(std::uint16_t address, std::uint8_t count)
{
    if (!line_.send({0xF7, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address), count})) {
        return std::nullopt;
    }
    return expect(std::min<std::size_t>(count, 8), "read-register data");
}

bool Tester::special(std::uint8_t function)
{
    return line_.send({0x3E, function}) && answer("special-function answer");
}
