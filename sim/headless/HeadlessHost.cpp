#include "sim/headless/HeadlessHost.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "sim/RealTime.h"
#include "sim/headless/Words.h"

HeadlessHost::HeadlessHost(TimeSource& time, Options options)
    : time_(time), options_(std::move(options)), instanceLock_(options_.lockDirectory)
{
    keys_.setLatch(true); // as the desktop, so that its recorded taps replay alike
    HOST_Install(this);
}

HeadlessHost::~HeadlessHost()
{
    serialPort_.close();
    if (errorLog_ != nullptr) {
        std::fclose(errorLog_);
    }
    HOST_Install(nullptr);
}

void HeadlessHost::lcdWrite(int x, int y, int width, int height, const std::uint32_t* rgb)
{
    const int x0 = std::max(x, 0);
    const int x1 = std::min(x + width, kWidth);
    const int y0 = std::max(y, 0);
    const int y1 = std::min(y + height, kHeight);
    for (int yy = y0; yy < y1; ++yy) {
        if (x0 < x1) {
            std::memcpy(&lcd_[yy * kWidth + x0], &rgb[(yy - y) * width + (x0 - x)],
                        static_cast<std::size_t>(x1 - x0) * sizeof(std::uint32_t));
        }
    }
    lcdModifications_ += static_cast<std::uint32_t>(width * height);
}

void HeadlessHost::sleep(std::uint32_t ms)
{
    for (std::uint32_t left = ms; left > 0;) {
        if (stop_) {
            throw AppStop{};
        }
        const std::uint32_t part = std::min<std::uint32_t>(left, 10);
        time_.sleepPart(part);
        left -= part;
    }
}

HOST_LocalTime HeadlessHost::localTime()
{
    if (options_.fixedClock) {
        return options_.clock;
    }
    return SIM_MachineLocalTime();
}

void HeadlessHost::reportError(const char* text)
{
    ++errors_;
    std::fprintf(options_.err, "error: %s\n", text);
    if (errorLog_ == nullptr && !options_.errorLogPath.empty()) {
        errorLog_ = std::fopen(options_.errorLogPath.c_str(), "w");
    }
    if (errorLog_ != nullptr) {
        std::fprintf(errorLog_, "\r\n%s", text);
        std::fflush(errorLog_);
    }
}

void HeadlessHost::messageBox(const char* text, const char* title)
{
    std::fprintf(options_.err, "%s: %s\n", title, text);
}

bool HeadlessHost::acquireSingleInstance(const char* name)
{
    switch (instanceLock_.acquire(name)) {
    case InstanceLock::Result::Acquired:
        return true;
    case InstanceLock::Result::Busy:
        return false;
    case InstanceLock::Result::Error:
        break;
    }
    // Better a second simulation than none at all.
    std::fprintf(options_.err, "warning: cannot open %s (%s); running without the single-instance check\n",
                 instanceLock_.path(name).c_str(), std::strerror(errno));
    return true;
}

void HeadlessHost::trace(const char* text)
{
    // What a kept line costs besides its text.
    constexpr std::size_t kLineCost = sizeof(TraceLine) + 16;
    std::lock_guard<std::mutex> guard(traceLock_);
    const std::uint32_t ms = time_.milliseconds();
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\n' || trace_.empty()) {
            if (options_.echoTrace) {
                printPending();
            }
            trace_.push_back(TraceLine{ms, {}});
            traceBytes_ += kLineCost;
            // A flood of lines must not grow the host without bound: the oldest go.
            while (traceBytes_ > options_.traceLimit && trace_.size() > 1) {
                traceBytes_ -= kLineCost + trace_.front().text.size();
                trace_.pop_front();
                ++firstLine_;
            }
            if (*p == '\n') {
                continue;
            }
        }
        if (trace_.back().text.size() < kLongestTraceLine) {
            trace_.back().text += *p;
            ++traceBytes_;
        }
    }
}

std::vector<TraceLine> HeadlessHost::traceLines()
{
    std::lock_guard<std::mutex> guard(traceLock_);
    return {trace_.begin(), trace_.end()};
}

std::uint64_t HeadlessHost::traceSince(std::uint64_t from, std::vector<TraceLine>& lines)
{
    std::lock_guard<std::mutex> guard(traceLock_);
    const std::uint64_t first = std::max(from, firstLine_);
    lines.clear();
    if (first - firstLine_ < trace_.size()) {
        lines.assign(trace_.begin() + static_cast<std::ptrdiff_t>(first - firstLine_), trace_.end());
    }
    return first;
}

void HeadlessHost::printTrace()
{
    std::lock_guard<std::mutex> guard(traceLock_);
    printPending();
    std::fflush(options_.out);
}

void HeadlessHost::printPending()
{
    if (printed_ < firstLine_) {
        std::fprintf(options_.out, "(%llu trace lines not kept)\n",
                     static_cast<unsigned long long>(firstLine_ - printed_));
        printed_ = firstLine_;
    }
    while (printed_ < firstLine_ + trace_.size()) {
        printLine(trace_[static_cast<std::size_t>(printed_++ - firstLine_)]);
    }
}

void HeadlessHost::printLine(const TraceLine& line)
{
    std::fprintf(options_.out, "%8u ms  %s\n", line.ms, Printable(line.text).c_str());
}

LcdPicture HeadlessHost::lcdPicture() const
{
    LcdPicture picture;
    std::copy(std::begin(lcd_), std::end(lcd_), picture.rgb.begin());
    return picture;
}

bool HeadlessHost::loadDataFlash(std::uint8_t* buffer, std::size_t capacity, std::size_t& size)
{
    if (!options_.flash) {
        return false;
    }
    if (options_.flash->size() > capacity) {
        reportError("data-flash image larger than the panel's flash: the delivered image is used");
        return false;
    }
    std::copy(options_.flash->begin(), options_.flash->end(), buffer);
    size = options_.flash->size();
    return true;
}

bool HeadlessHost::readFlashFile(const std::string& path, std::size_t capacity, std::vector<std::uint8_t>& image,
                                 std::string& error)
{
    const std::string name = "the data-flash image '" + Printable(path) + "'";
    // Not blocking on a FIFO: it is refused below, as is everything but a regular file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot read " + name + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error = "cannot read " + name + ": " + (S_ISDIR(st.st_mode) ? "a directory" : "not a regular file");
        return false;
    }
    if (static_cast<std::uint64_t>(st.st_size) > capacity) {
        ::close(fd);
        error =
            name + " has " + std::to_string(st.st_size) + " bytes; the panel's flash holds " + std::to_string(capacity);
        return false;
    }
    // One byte more than it may hold: a file that grew since is noticed.
    image.assign(capacity + 1, 0);
    std::size_t size = 0;
    while (size < image.size()) {
        const ssize_t n = ::read(fd, image.data() + size, image.size() - size);
        if (n > 0) {
            size += static_cast<std::size_t>(n);
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            error = "cannot read " + name + ": " + std::strerror(errno);
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    if (size > capacity) {
        error = name + " grew beyond " + std::to_string(capacity) + " bytes while it was read";
        return false;
    }
    image.resize(size);
    return true;
}

const char* HeadlessHost::serialOpen(std::uint8_t port, SerialReceive receive, SerialSent sent)
{
    serialReceive_ = receive;
    serialSent_ = sent;
    if (options_.serial.empty()) {
        return nullptr; // inert: the scenario plays the tester
    }
    const char* failed = serialPort_.open(port, options_.serial, receive, sent);
    if (failed == nullptr) {
        std::fprintf(options_.err, "test serial port %u: %s\n", static_cast<unsigned>(port),
                     serialPort_.peerPath().c_str());
    }
    return failed;
}

void HeadlessHost::serialSend(std::uint8_t port, std::uint8_t byte)
{
    if (serialPort_.isOpen()) {
        serialPort_.send(byte); // a tester of its own reads them: kept nowhere, or a long test would grow us
        return;
    }
    {
        std::lock_guard<std::mutex> guard(serialLock_);
        serialOut_.push_back(byte);
    }
    if (serialSent_ != nullptr) {
        serialSent_(port);
    }
}

void HeadlessHost::serialInject(const std::vector<std::uint8_t>& bytes)
{
    for (std::uint8_t b : bytes) {
        if (serialReceive_ != nullptr) {
            serialReceive_(0, b);
        }
    }
}

std::vector<std::uint8_t> HeadlessHost::serialSent()
{
    std::lock_guard<std::mutex> guard(serialLock_);
    return serialOut_;
}
