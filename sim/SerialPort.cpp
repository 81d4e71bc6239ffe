#include "sim/SerialPort.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// 4800 baud, 8 data bits, even parity, 1 stop bit, raw.
bool Configure(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0) {
        return false;
    }
    cfmakeraw(&t);
    cfsetispeed(&t, B4800);
    cfsetospeed(&t, B4800);
    t.c_cflag = static_cast<tcflag_t>((t.c_cflag & ~(CSIZE | CSTOPB | PARODD)) | CS8 | PARENB | CREAD | CLOCAL);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

} // namespace

SerialPort::~SerialPort()
{
    close();
}

const char* SerialPort::open(std::uint8_t port, const std::string& path, PanelHost::SerialReceive receive,
                             PanelHost::SerialSent sent)
{
    port_ = port;
    receive_ = receive;
    sent_ = sent;
    if (path == "pty") {
        fd_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0) {
            return "posix_openpt()";
        }
        if (grantpt(fd_) != 0 || unlockpt(fd_) != 0) {
            close();
            return "grantpt()";
        }
        const char* name = ptsname(fd_);
        if (name == nullptr) {
            close();
            return "ptsname()";
        }
        peer_ = name;
        peerFd_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (peerFd_ < 0) {
            close();
            return "open()";
        }
        // A pseudo-terminal has no baud rate or parity: raw mode is all it takes.
        termios t{};
        if (tcgetattr(fd_, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(fd_, TCSANOW, &t);
        }
        if (tcgetattr(peerFd_, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(peerFd_, TCSANOW, &t);
        }
    } else {
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0) {
            return "open()";
        }
        peer_ = path;
        if (!Configure(fd_)) {
            close();
            return "tcsetattr()";
        }
    }
    if (pipe2(stopPipe_, O_CLOEXEC) != 0) {
        close();
        return "pipe()";
    }
    stopping_ = false;
    receiver_ = std::thread([this] { receiveLoop(); });
    transmitter_ = std::thread([this] { transmitLoop(); });
    return nullptr;
}

void SerialPort::send(std::uint8_t byte)
{
    {
        std::lock_guard<std::mutex> guard(mutex_);
        if (fd_ < 0) {
            return;
        }
        outgoing_.push_back(byte);
    }
    wake_.notify_one();
}

void SerialPort::close()
{
    {
        std::lock_guard<std::mutex> guard(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (stopPipe_[1] >= 0) {
        const char stop = 1;
        (void)!::write(stopPipe_[1], &stop, 1);
    }
    if (receiver_.joinable()) {
        receiver_.join();
    }
    if (transmitter_.joinable()) {
        transmitter_.join();
    }
    for (int* fd : {&fd_, &peerFd_, &stopPipe_[0], &stopPipe_[1]}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
}

void SerialPort::receiveLoop()
{
    for (;;) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            return;
        }
        if ((fds[0].revents & (POLLERR | POLLNVAL)) != 0) {
            return;
        }
        if ((fds[0].revents & POLLIN) == 0) {
            continue;
        }
        std::uint8_t byte = 0;
        const ssize_t n = ::read(fd_, &byte, 1);
        if (n == 1) {
            receive_(port_, byte);
        } else if (n < 0 && errno != EINTR && errno != EAGAIN) {
            return;
        }
    }
}

void SerialPort::transmitLoop()
{
    // One byte at 4800 baud, 8E1: start, eight data, parity and stop bits. A
    // pseudo-terminal takes bytes at any speed and a device's driver buffers
    // them, so the line's pace is kept here. Like a UART's holding register,
    // a byte goes out once the one before has left the wire, and the
    // transmit-done event comes as it starts, so the panel has a byte's time
    // to hand over the next one.
    using Clock = std::chrono::steady_clock;
    constexpr auto kByteTime = std::chrono::microseconds(11 * 1000000 / 4800);
    Clock::time_point lineFree = Clock::now();
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !outgoing_.empty(); });
        if (stopping_) {
            return;
        }
        const std::uint8_t byte = outgoing_.front();
        outgoing_.pop_front();
        lock.unlock();
        std::this_thread::sleep_until(lineFree);
        ssize_t n = 0;
        do {
            n = ::write(fd_, &byte, 1);
        } while (n < 0 && errno == EINTR);
        lineFree = Clock::now() + kByteTime;
        // A byte nobody could take still leaves the transmitter: without the
        // event the panel would wait for it for ever.
        sent_(port_);
        lock.lock();
    }
}
