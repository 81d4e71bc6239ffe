#include "support/GifRead.h"

#include <gif_lib.h>

bool GifReadFrames(const std::string& path, std::vector<GifShown>& frames, int& width, int& height, std::string& error)
{
    int code = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &code);
    if (gif == nullptr) {
        error = GifErrorString(code);
        return false;
    }
    if (DGifSlurp(gif) == GIF_ERROR) {
        error = GifErrorString(gif->Error);
        DGifCloseFile(gif, &code);
        return false;
    }
    width = gif->SWidth;
    height = gif->SHeight;
    std::vector<std::uint32_t> canvas(static_cast<std::size_t>(width) * height, GifShown::kSeeThrough);
    frames.clear();
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, i, &gcb);
        const ColorMapObject* map = image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
        const GifImageDesc& d = image.ImageDesc;
        for (int y = 0; y < d.Height; ++y) {
            for (int x = 0; x < d.Width; ++x) {
                const int index = image.RasterBits[y * d.Width + x];
                if (index == gcb.TransparentColor) {
                    continue;
                }
                const GifColorType c = map->Colors[index];
                canvas[static_cast<std::size_t>(d.Top + y) * width + d.Left + x] =
                    static_cast<std::uint32_t>(c.Red) << 16 | static_cast<std::uint32_t>(c.Green) << 8 | c.Blue;
            }
        }
        frames.push_back(GifShown{canvas, gcb.DelayTime});
    }
    DGifCloseFile(gif, &code);
    return true;
}
