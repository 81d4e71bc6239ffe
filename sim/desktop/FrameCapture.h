// What the window shows, taken at the panel's own times: recordings of the
// LCD or of the whole device picture, and the picture --grab saves. Frames
// are taken on the application thread between two of its sleeps, when the
// panel has drawn all it draws at that time, so a fast-forwarded session
// records its simulated timing.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "sim/FrameRecorder.h"
#include "sim/desktop/LcdMap.h"
#include "sim/desktop/Picture.h"

class FrameCapture {
  public:
    static constexpr int kLcdX = 45;
    static constexpr int kLcdY = 30;
    static constexpr std::uint32_t kBackground = 0x00FF00; // outside the device: see-through

    explicit FrameCapture(const LcdMap& lcd) : lcd_(lcd) {}

    // The device pictures (none in the frame layout: then only the LCD is shown).
    void setDevice(const Picture* rest, const Picture* pressed);
    bool hasDevice() const { return rest_ != nullptr && !rest_->empty(); }

    // The LCD, or the device with its LCD and the keys held down, at `zoom`.
    Picture picture(bool device, int zoom) const;

    // Starts a GIF file or a folder of PNG frames from the panel time `ms`;
    // false with the reason. A second of the same kind replaces the first.
    bool start(FrameRecorder::Kind kind, const std::string& path, bool device, std::uint64_t ms, std::string& error);
    bool stop(FrameRecorder::Kind kind, std::uint64_t ms, std::string& error);
    bool recording(FrameRecorder::Kind kind) const;
    std::string path(FrameRecorder::Kind kind) const;
    // Saves the picture shown at panel time `ms` (or the first one after) to `path`.
    void grabAt(const std::string& path, std::uint64_t ms, int zoom);
    bool grabPending() const;

    // Application thread, at each sleep. `report` gets what to tell the user.
    void sample(std::uint64_t ms, const std::function<void(const std::string& text, bool error)>& report);
    // Ends every recording (the host ends).
    void stopAll(std::uint64_t ms, const std::function<void(const std::string& text, bool error)>& report);

  private:
    struct Track {
        FrameRecorder recorder;
        bool device = false;
    };
    Track& track(FrameRecorder::Kind kind) { return kind == FrameRecorder::Kind::Gif ? gif_ : png_; }
    const Track& track(FrameRecorder::Kind kind) const { return kind == FrameRecorder::Kind::Gif ? gif_ : png_; }
    std::vector<std::uint8_t> keyStates() const;
    void updateActive();

    const LcdMap& lcd_;
    const Picture* rest_ = nullptr;
    const Picture* pressed_ = nullptr;
    mutable std::mutex mutex_;
    std::atomic<bool> active_{false}; // anything to do at a sleep
    Track gif_;
    Track png_;
    std::string grabPath_;
    std::uint64_t grabMs_ = 0;
    int grabZoom_ = 1;
    std::uint32_t seenModifications_ = 0;
    std::vector<std::uint8_t> seenKeys_;
    bool seenAny_ = false;
};
