#include "sim/desktop/FrameCapture.h"

#include <algorithm>

#include "sim/desktop/Hardkeys.h"

namespace {

constexpr int kLcdWidth = 240;
constexpr int kLcdHeight = 160;

Picture Zoomed(const Picture& p, int zoom)
{
    if (zoom <= 1) {
        return p;
    }
    Picture out(p.width * zoom, p.height * zoom);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            out.set(x, y, p.at(x / zoom, y / zoom));
        }
    }
    return out;
}

} // namespace

void FrameCapture::setDevice(const Picture* rest, const Picture* pressed)
{
    std::lock_guard<std::mutex> guard(mutex_);
    rest_ = rest;
    pressed_ = pressed;
}

std::vector<std::uint8_t> FrameCapture::keyStates() const
{
    std::vector<std::uint8_t> states(static_cast<std::size_t>(SIM_HardkeyCount()));
    for (std::size_t i = 0; i < states.size(); ++i) {
        states[i] = static_cast<std::uint8_t>(SIM_GetHardkeyState(static_cast<int>(i)));
    }
    return states;
}

Picture FrameCapture::picture(bool device, int zoom) const
{
    Picture lcd(kLcdWidth, kLcdHeight);
    if (lcd_.isOpen()) {
        lcd_.copyPixels(lcd.rgb.data());
    }
    if (!device || rest_ == nullptr || rest_->empty()) {
        return Zoomed(lcd, zoom);
    }
    // As the windows draw it: the device at rest, the keys held down from the
    // pressed picture (only their own pixels), the LCD set in.
    Picture out = *rest_;
    const std::vector<std::uint8_t> keys = keyStates();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == 0 || pressed_ == nullptr) {
            continue;
        }
        const SIM_HARDKEY k = SIM_GetHardkey(static_cast<int>(i));
        for (int y = std::max(k.y0, 0); y <= std::min(k.y1, out.height - 1); ++y) {
            for (int x = std::max(k.x0, 0); x <= std::min(k.x1, out.width - 1); ++x) {
                const std::uint32_t c = pressed_->at(x, y);
                if (c != kBackground) {
                    out.set(x, y, c);
                }
            }
        }
    }
    for (int y = 0; y < kLcdHeight && kLcdY + y < out.height; ++y) {
        for (int x = 0; x < kLcdWidth && kLcdX + x < out.width; ++x) {
            out.set(kLcdX + x, kLcdY + y, lcd.at(x, y));
        }
    }
    return Zoomed(out, zoom);
}

bool FrameCapture::start(FrameRecorder::Kind kind, const std::string& path, bool device, std::uint64_t ms,
                         std::string& error)
{
    std::lock_guard<std::mutex> guard(mutex_);
    Track& t = track(kind);
    t.device = device && hasDevice();
    const int width = t.device ? rest_->width : kLcdWidth;
    const int height = t.device ? rest_->height : kLcdHeight;
    const bool ok = t.recorder.start(kind, path, width, height, t.device ? kBackground : -1, ms, error);
    seenAny_ = false; // the first frame is the picture shown now
    updateActive();
    return ok;
}

bool FrameCapture::stop(FrameRecorder::Kind kind, std::uint64_t ms, std::string& error)
{
    std::lock_guard<std::mutex> guard(mutex_);
    const bool ok = track(kind).recorder.stop(ms, error);
    updateActive();
    return ok;
}

bool FrameCapture::recording(FrameRecorder::Kind kind) const
{
    std::lock_guard<std::mutex> guard(mutex_);
    return track(kind).recorder.on();
}

std::string FrameCapture::path(FrameRecorder::Kind kind) const
{
    std::lock_guard<std::mutex> guard(mutex_);
    return track(kind).recorder.path();
}

void FrameCapture::grabAt(const std::string& path, std::uint64_t ms, int zoom)
{
    std::lock_guard<std::mutex> guard(mutex_);
    grabPath_ = path;
    grabMs_ = ms;
    grabZoom_ = zoom;
    updateActive();
}

bool FrameCapture::grabPending() const
{
    std::lock_guard<std::mutex> guard(mutex_);
    return !grabPath_.empty();
}

void FrameCapture::updateActive()
{
    active_ = gif_.recorder.on() || png_.recorder.on() || !grabPath_.empty();
}

void FrameCapture::sample(std::uint64_t ms, const std::function<void(const std::string&, bool)>& report)
{
    if (!active_) {
        return;
    }
    std::lock_guard<std::mutex> guard(mutex_);
    if (!grabPath_.empty() && ms >= grabMs_) {
        const Picture p = picture(hasDevice(), grabZoom_);
        std::string error;
        if (PngWrite(grabPath_, p.rgb.data(), p.width, p.height, hasDevice() ? kBackground : -1, error)) {
            report("saved " + grabPath_ + " at " + std::to_string(ms) + " ms", false);
        } else {
            report(error, true);
        }
        grabPath_.clear();
    }
    const std::uint32_t modifications = lcd_.modifications();
    std::vector<std::uint8_t> keys = keyStates();
    if (seenAny_ && modifications == seenModifications_ && keys == seenKeys_) {
        updateActive();
        return;
    }
    seenAny_ = true;
    seenModifications_ = modifications;
    seenKeys_ = std::move(keys);
    for (Track* t : {&gif_, &png_}) {
        if (!t->recorder.on()) {
            continue;
        }
        const Picture p = picture(t->device, 1);
        if (!t->recorder.frame(p.rgb.data(), ms)) {
            std::string error;
            t->recorder.stop(ms, error);
            report(error + "; the recording ends", true);
        }
    }
    updateActive();
}

void FrameCapture::stopAll(std::uint64_t ms, const std::function<void(const std::string&, bool)>& report)
{
    std::lock_guard<std::mutex> guard(mutex_);
    for (Track* t : {&gif_, &png_}) {
        if (!t->recorder.on()) {
            continue;
        }
        const std::string path = t->recorder.path();
        const int frames = t->recorder.frames();
        std::string error;
        if (t->recorder.stop(ms, error)) {
            report("recorded " + std::to_string(frames) + " frames into " + path, false);
        } else {
            report(error, true);
        }
    }
    updateActive();
}
