// Animated GIF files written frame by frame, so that a long recording never
// has to be held in memory: each frame is written when the next one arrives
// (which fixes its delay), and only the rectangle that changed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GifFileType;

class GifWriter {
  public:
    GifWriter() = default;
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // `transparent` (0xRRGGBB, or -1 for none) is left out of the picture:
    // the background outside the device. False with a message naming the file.
    bool open(const std::string& path, int width, int height, std::int64_t transparent, std::string& error);
    bool isOpen() const { return gif_ != nullptr; }
    // The picture shown from `ms` on (0xRRGGBB, rows top-down). Times never go back.
    bool frame(const std::uint32_t* rgb, std::uint64_t ms);
    // The last frame lasts until `endMs`; closes the file.
    bool close(std::uint64_t endMs, std::string& error);
    int framesWritten() const { return written_; }

  private:
    bool flush(std::uint64_t untilMs);
    bool put(const std::uint32_t* rgb, int x0, int y0, int x1, int y1, int delayCs);
    bool fail(const std::string& what);

    GifFileType* gif_ = nullptr;
    std::string path_;
    std::string error_;
    int width_ = 0;
    int height_ = 0;
    std::int64_t transparent_ = -1;
    bool pending_ = false;
    std::uint64_t pendingMs_ = 0;
    std::vector<std::uint32_t> next_;  // the frame waiting for its delay
    std::vector<std::uint32_t> shown_; // what a viewer shows after the frames written
    int written_ = 0;
};
