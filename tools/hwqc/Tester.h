// The factory tester's side of the hardware quality check: a serial line
// at 4800 baud, 8E1, opened with termios like any serial device, and the
// protocol's frames byte by byte. It knows nothing of the panel's code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

class TesterLine {
  public:
    TesterLine() = default;
    ~TesterLine();
    TesterLine(const TesterLine&) = delete;
    TesterLine& operator=(const TesterLine&) = delete;

    // Opens the device and sets 4800 baud, 8 data bits, even parity, one
    // stop bit, raw. Returns an empty string, or why it failed.
    std::string open(const std::string& path);
    // A pseudo-terminal has no baud rate: with pacing on, bytes leave no
    // faster than the line would carry them (11 bits each).
    void pace(bool on) { pace_ = on; }
    bool send(const Bytes& bytes);
    // Exactly `count` bytes, or what came before `timeoutMs` of silence.
    Bytes receive(std::size_t count, int timeoutMs);
    // Everything that arrives until `quietMs` pass without a byte.
    Bytes drain(int quietMs);
    std::uint64_t sent() const { return sent_; }
    std::uint64_t received() const { return received_; }

  private:
    int fd_ = -1;
    bool pace_ = false;
    std::uint64_t sent_ = 0;
    std::uint64_t received_ = 0;
    std::uint64_t nextSendUs_ = 0;
};

// The protocol on top of a line. Each call returns false (with `error()`)
// when the panel's answer is missing or not the one the protocol gives.
class Tester {
  public:
    static constexpr int kAnswerMs = 900; // inside the panel's 1 s
    explicit Tester(TesterLine& line) : line_(line) {}

    // Sends 0x05 until the panel answers 0x00 (the start-up's 3-s window).
    bool enter(int windowMs);
    bool startCommand();
    bool stop();
    bool writeCache(std::uint16_t address, const Bytes& data);
    std::optional<Bytes> readCache(std::uint16_t address, std::uint8_t count);
    bool writeRegister(std::uint16_t address, const Bytes& data);
    std::optional<Bytes> readRegister(std::uint16_t address, std::uint8_t count);
    bool special(std::uint8_t function);
    const std::string& error() const { return error_; }

  private:
    bool answer(const char* what);
    std::optional<Bytes> expect(std::size_t count, const char* what);

    TesterLine& line_;
    std::string error_;
};

std::string Hex(const Bytes& bytes);
