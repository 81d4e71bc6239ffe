// Recordings of pictures: animated GIF and PNG frames with their panel times.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

#include "sim/FrameRecorder.h"
#include "sim/LcdPng.h"
#include "support/GifRead.h"

namespace {

constexpr int W = LcdPicture::kWidth;
constexpr int H = LcdPicture::kHeight;

struct Scratch {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / ("panel-frames-" + std::to_string(::getpid()));
    Scratch() { std::filesystem::create_directories(dir); }
    ~Scratch() { std::filesystem::remove_all(dir); }
    std::string operator/(const std::string& name) const { return (dir / name).string(); }
};

// An LCD picture: grey text on black, `mark` lit pixels from the left of row `row`.
std::vector<std::uint32_t> Lcd(int row, int mark, std::uint32_t on = 0xCECECE)
{
    std::vector<std::uint32_t> rgb(W * H, 0);
    for (int x = 0; x < mark; ++x) {
        rgb[row * W + x] = on;
    }
    return rgb;
}

std::vector<GifShown> Decode(const std::string& path)
{
    std::vector<GifShown> frames;
    int w = 0;
    int h = 0;
    std::string error;
    EXPECT_TRUE(GifReadFrames(path, frames, w, h, error)) << error;
    EXPECT_EQ(w, W);
    EXPECT_EQ(h, H);
    return frames;
}

} // namespace

// What a viewer shows, and for how long, is what the panel showed in its time:
// repeats are no frames, a picture replaced within the same hundredth never
// shows, a wait longer than a GIF delay holds is split, and the colours of a
// dimmed backlight stay exact.
TEST(GifRecording, DecodesToThePicturesAndTheirPanelTimes)
{
    Scratch s;
    FrameRecorder r;
    std::string error;
    ASSERT_TRUE(r.start(FrameRecorder::Kind::Gif, s / "a.gif", W, H, -1, 1000, error)) << error;
    const auto a = Lcd(10, 5);
    const auto b = Lcd(80, 240);
    const auto flash = Lcd(159, 1);
    const auto dim = Lcd(80, 240, 0x4F4F4F);
    EXPECT_TRUE(r.frame(a.data(), 1000));
    EXPECT_TRUE(r.frame(a.data(), 1100)); // redrawn alike
    EXPECT_TRUE(r.frame(b.data(), 1250));
    EXPECT_TRUE(r.frame(flash.data(), 2000));
    EXPECT_TRUE(r.frame(dim.data(), 2004)); // drawn over within 4 ms
    EXPECT_TRUE(r.frame(a.data(), 3000));
    ASSERT_TRUE(r.stop(3000 + 700'000, error)) << error; // 700 s: more than a u16 of hundredths
    EXPECT_EQ(r.frames(), 5);

    const std::vector<GifShown> f = Decode(s / "a.gif");
    ASSERT_GE(f.size(), 5U);
    EXPECT_EQ(f[0].rgb, a);
    EXPECT_EQ(f[0].delayCs, 25);
    EXPECT_EQ(f[1].rgb, b);
    EXPECT_EQ(f[1].delayCs, 75);
    EXPECT_EQ(f[2].rgb, dim);
    EXPECT_EQ(f[2].delayCs, 100);
    int held = 0;
    for (std::size_t i = 3; i < f.size(); ++i) {
        EXPECT_EQ(f[i].rgb, a);
        held += f[i].delayCs;
    }
    EXPECT_EQ(held, 70'000);
}

// The device picture: its background is see-through in every frame, also
// inside a changed rectangle; more than 256 colours are reduced, not refused.
TEST(GifRecording, DeviceBackgroundStaysSeeThroughAndManyColoursAreReduced)
{
    Scratch s;
    constexpr std::uint32_t kGreen = 0x00FF00;
    std::vector<std::uint32_t> device(W * H, kGreen);
    for (int y = 20; y < 140; ++y) {
        for (int x = 20; x < 220; ++x) {
            device[y * W + x] = static_cast<std::uint32_t>((x * 7) << 16 | (y * 3) << 8 | ((x + y) & 0xFF));
        }
    }
    FrameRecorder r;
    std::string error;
    ASSERT_TRUE(r.start(FrameRecorder::Kind::Gif, s / "d.gif", W, H, kGreen, 0, error)) << error;
    ASSERT_TRUE(r.frame(device.data(), 0));
    auto pressed = device;
    pressed[0] = kGreen;              // the changed box reaches the background
    pressed[30 * W + 200] = 0x123456; // and a key changes
    ASSERT_TRUE(r.frame(pressed.data(), 500));
    ASSERT_TRUE(r.stop(1000, error)) << error;
    const std::vector<GifShown> f = Decode(s / "d.gif");
    ASSERT_EQ(f.size(), 2U);
    for (const GifShown& shown : f) {
        for (std::size_t i = 0; i < device.size(); ++i) {
            ASSERT_EQ(shown.rgb[i] == GifShown::kSeeThrough, device[i] == kGreen) << i;
        }
    }
}

TEST(PngFrames, NumberedPicturesWithAnIndexOfTheirTimes)
{
    Scratch s;
    FrameRecorder r;
    std::string error;
    ASSERT_TRUE(r.start(FrameRecorder::Kind::Png, s / "frames", W, H, -1, 0, error)) << error;
    const auto a = Lcd(1, 3);
    const auto b = Lcd(2, 4);
    EXPECT_TRUE(r.frame(a.data(), 100));
    EXPECT_TRUE(r.frame(a.data(), 200));
    EXPECT_TRUE(r.frame(b.data(), 1230));
    ASSERT_TRUE(r.stop(5000, error)) << error;
    std::ifstream in(s / "frames/frames.txt");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "# picture, shown from (ms of panel time), for (ms)\n"
                          "frame-00001.png 100 1130\n"
                          "frame-00002.png 1230 3770\n");
    LcdPicture p;
    ASSERT_TRUE(LcdPngRead(s / "frames/frame-00002.png", p, error)) << error;
    EXPECT_EQ(p.rgb, b);
    EXPECT_FALSE(std::filesystem::exists(s / "frames/frame-00003.png"));
}

// A path that cannot be written is refused at the start with its name and the reason.
TEST(FrameRecording, BadPathsAreRefusedWithTheirReason)
{
    Scratch s;
    FrameRecorder r;
    std::string error;
    EXPECT_FALSE(r.start(FrameRecorder::Kind::Gif, s / "no/such/folder.gif", W, H, -1, 0, error));
    EXPECT_EQ(error, "cannot write " + (s / "no/such/folder.gif") + ": No such file or directory");
    EXPECT_FALSE(r.on());
    EXPECT_FALSE(r.start(FrameRecorder::Kind::Png, s / "no/such", W, H, -1, 0, error));
    EXPECT_NE(error.find("cannot write PNG frames into " + (s / "no/such")), std::string::npos) << error;
    std::ofstream(s / "file") << "x";
    EXPECT_FALSE(r.start(FrameRecorder::Kind::Png, s / "file", W, H, -1, 0, error));
    EXPECT_NE(error.find("it is no folder"), std::string::npos) << error;
    const auto a = Lcd(1, 1);
    EXPECT_FALSE(PngWrite(s / "gone/x.png", a.data(), W, H, -1, error));
    EXPECT_EQ(error, "cannot write " + (s / "gone/x.png") + ": No such file or directory");
}
