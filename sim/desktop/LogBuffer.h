// Text of the log window: at most 5000 characters, oldest lines dropped
// first; the character 0x01 turns the rest of its line red.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class LogBuffer {
  public:
    static constexpr std::size_t kLimit = 5000;
    static constexpr char kRed = '\x01';

    // Thread-safe: the application thread reports errors while the window paints.
    void append(std::string_view text);
    void clear();
    std::string text() const;

    struct Segment {
        std::string text;
        bool red;
    };
    // One line (without its line feed) cut at the 0x01 markers.
    static std::vector<Segment> segments(std::string_view line);

  private:
    mutable std::mutex lock_;
    std::string text_;
};
