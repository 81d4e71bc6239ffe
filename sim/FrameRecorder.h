// A recording of pictures with their panel times: an animated GIF, or
// numbered PNG files with an index of when each was shown and for how long.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "sim/GifWriter.h"

// An RGB PNG of any size (0xRRGGBB, rows top-down); the `transparent` colour
// (or -1 for none) becomes see-through. False with the reason.
bool PngWrite(const std::string& path, const std::uint32_t* rgb, int width, int height, std::int64_t transparent,
              std::string& error);

class FrameRecorder {
  public:
    enum class Kind { Gif, Png };
    static constexpr const char* kIndexName = "frames.txt";

    FrameRecorder() = default;
    ~FrameRecorder();
    FrameRecorder(const FrameRecorder&) = delete;
    FrameRecorder& operator=(const FrameRecorder&) = delete;

    // A GIF file, or a folder of PNG files (made when missing; its parent must
    // exist). False with a message naming the path.
    bool start(Kind kind, const std::string& path, int width, int height, std::int64_t transparent, std::uint64_t ms,
               std::string& error);
    bool on() const { return on_; }
    Kind kind() const { return kind_; }
    const std::string& path() const { return path_; }
    // The picture shown from `ms` on; an unchanged one is no new frame. False
    // once writing failed (the recording is then over, see stop()).
    bool frame(const std::uint32_t* rgb, std::uint64_t ms);
    // Ends the last frame at `ms` and closes the files.
    bool stop(std::uint64_t ms, std::string& error);
    int frames() const { return frames_; }

  private:
    bool endPngFrame(std::uint64_t ms);

    bool on_ = false;
    Kind kind_ = Kind::Gif;
    std::string path_;
    std::string error_;
    int width_ = 0;
    int height_ = 0;
    std::int64_t transparent_ = -1;
    GifWriter gif_;
    std::FILE* index_ = nullptr;
    std::vector<std::uint32_t> last_;
    bool any_ = false;
    std::uint64_t lastMs_ = 0;
    int frames_ = 0;
};
