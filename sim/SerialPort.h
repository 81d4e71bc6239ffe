// A host serial port on Linux: a device opened with termios, or a new
// pseudo-terminal whose other end a tester connects to. A receive thread and
// a transmit thread call the panel's callbacks.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "hal/host.h"

class SerialPort {
  public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // `path`: a device, or "pty". Returns nullptr, or the step that failed.
    const char* open(std::uint8_t port, const std::string& path, PanelHost::SerialReceive receive,
                     PanelHost::SerialSent sent);
    void send(std::uint8_t byte);
    void close();
    // The path a tester opens: the device, or the pseudo-terminal's other end.
    const std::string& peerPath() const { return peer_; }
    bool isOpen() const { return fd_ >= 0; }

  private:
    void receiveLoop();
    void transmitLoop();

    std::uint8_t port_ = 0;
    int fd_ = -1;
    int peerFd_ = -1; // keeps a pseudo-terminal from hanging up while nobody is connected
    int stopPipe_[2] = {-1, -1};
    std::string peer_;
    PanelHost::SerialReceive receive_ = nullptr;
    PanelHost::SerialSent sent_ = nullptr;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::uint8_t> outgoing_;
    bool stopping_ = false;
    std::thread receiver_;
    std::thread transmitter_;
};
