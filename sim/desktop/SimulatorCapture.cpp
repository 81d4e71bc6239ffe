// The simulator's recordings of pictures and its screenshot, from the
// command line and the menu.
#include <QAction>
#include <QFileDialog>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "sim/desktop/Simulator.h"
#include "sim/headless/Words.h"

namespace {

const char* KindName(FrameRecorder::Kind kind)
{
    return kind == FrameRecorder::Kind::Gif ? "GIF" : "PNG frames";
}

} // namespace

void Simulator::captureReport(const std::string& text, bool error)
{
    std::fprintf(stderr, "panel-sim: %s\n", Printable(text).c_str());
    host_->log(error ? std::string(1, LogBuffer::kRed) + text : text);
}

bool Simulator::startCaptures()
{
    if (!options_.grab.empty()) {
        // Refused now, not after a session that could not be saved.
        const std::filesystem::path folder = std::filesystem::absolute(options_.grab).parent_path();
        std::error_code ec;
        if (!std::filesystem::is_directory(folder, ec) || ::access(folder.c_str(), W_OK) != 0) {
            std::fprintf(stderr, "panel-sim: --grab: cannot write %s: %s\n", options_.grab.c_str(),
                         std::filesystem::exists(folder, ec) ? "the folder is not writable"
                                                             : "the folder does not exist");
            return false;
        }
        if (options_.grabAt >= 0) {
            capture_.grabAt(options_.grab, static_cast<std::uint64_t>(options_.grabAt), zoom_);
        }
    }
    for (const auto& [kind, path] : {std::pair{FrameRecorder::Kind::Gif, options_.recordGif},
                                     std::pair{FrameRecorder::Kind::Png, options_.recordPng}}) {
        std::string error;
        if (!path.empty() && !startFrames(kind, path, error)) {
            std::fprintf(stderr, "panel-sim: %s\n", error.c_str());
            capture_.stopAll(clock_.now(), [](const std::string&, bool) {});
            return false;
        }
    }
    if (options_.exitAt >= 0) {
        clock_.haltAt(static_cast<std::uint64_t>(options_.exitAt));
    }
    clock_.run(options_.speed);
    captureReady_ = true;
    return true;
}

bool Simulator::startFrames(FrameRecorder::Kind kind, const std::string& path, std::string& error)
{
    if (!capture_.start(kind, path, recordDevice_, clock_.now(), error)) {
        return false;
    }
    host_->log(std::string("Recording ") + KindName(kind) + " into " + path);
    return true;
}

void Simulator::stopFrames(FrameRecorder::Kind kind)
{
    const std::string path = capture_.path(kind);
    std::string error;
    if (capture_.stop(kind, clock_.now(), error)) {
        host_->log(std::string(KindName(kind)) + " recorded into " + path);
    } else {
        captureReport(error, true);
    }
}

void Simulator::toggleFrames(FrameRecorder::Kind kind)
{
    if (capture_.recording(kind)) {
        stopFrames(kind);
        updateMenus();
        return;
    }
    const QString path =
        kind == FrameRecorder::Kind::Gif
            ? QFileDialog::getSaveFileName(topWindow(), "Record as GIF", "panel.gif", "GIF pictures (*.gif)")
            : QFileDialog::getExistingDirectory(topWindow(), "Record PNG frames into the folder");
    if (path.isEmpty()) {
        return;
    }
    std::string error;
    if (!startFrames(kind, path.toStdString(), error)) {
        showBox(QString::fromStdString(error), "LumUISim", true);
    }
    updateMenus();
}
