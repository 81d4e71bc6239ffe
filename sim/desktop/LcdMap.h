// The LCD picture store, a named POSIX shared-memory object, so that other
// processes can watch the LCD: a 4096-byte header, then rows of 0x00RRGGBB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lcdmap {
inline constexpr char kMagic[] = "LumUI GSC Simulation";
inline constexpr std::size_t kHeaderSize = 4096;
inline constexpr std::size_t kWidth = 32, kHeight = 36, kVirtualWidth = 40, kVirtualHeight = 44;
inline constexpr std::size_t kBitsPerPixel = 52, kColours = 56, kModifications = 60, kFixedPalette = 72;
inline constexpr std::size_t kPointerX = 80, kPointerY = 84, kPointerButtons = 88;
inline constexpr std::size_t kOriginX = 92, kOriginY = 96;
inline constexpr std::size_t kDibHeader = 256;
inline constexpr std::uint32_t kPaletteMode888 = 888;

// Name of display n's object ("LumUILCDMap", then "LumUILCDMap1", ...).
std::string DefaultName(int display = 0);
std::size_t RowBytes(int width);
} // namespace lcdmap

class LcdMap {
  public:
    LcdMap() = default;
    ~LcdMap();
    LcdMap(const LcdMap&) = delete;
    LcdMap& operator=(const LcdMap&) = delete;

    // Creates (or joins a leftover) object, locks it for this process and
    // writes its header; keeps an existing object's pixels and counter.
    // False with a reason on failure; busy() when another simulator has it.
    bool create(const std::string& name, int width, int height, std::string& error);
    // Maps an existing object read-only (a watcher). Checks the header.
    bool attach(const std::string& name, std::string& error);
    // Unmaps; removes the name when `unlink` (the simulator that drew it).
    void close(bool unlink);

    bool isOpen() const { return base_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
    const std::string& name() const { return name_; }
    // Whether create() made the object (rather than joining a leftover one).
    bool created() const { return created_; }
    bool busy() const { return busy_; }

    // LCDSIM_SetPixel: writes a pixel, counts the modification.
    void setPixel(int x, int y, std::uint32_t rgb);
    // A row-major block, clipped; counts one modification per pixel.
    void writeBlock(int x, int y, int w, int h, const std::uint32_t* rgb);
    std::uint32_t pixel(int x, int y) const;
    // The whole LCD, rows top-down, into width() * height() values.
    void copyPixels(std::uint32_t* out) const;
    std::uint32_t modifications() const;
    std::uint32_t field(std::size_t offset) const;
    void setPointer(int x, int y, std::uint32_t buttons);
    const std::uint8_t* data() const { return base_; }

  private:
    std::uint32_t* word(std::size_t offset) const;
    std::uint32_t* row(int y) const;

    std::uint8_t* base_ = nullptr;
    std::size_t size_ = 0;
    bool writable_ = false;
    bool created_ = false;
    bool busy_ = false;
    int lockFd_ = -1; // holds the lock while the map is ours
    int width_ = 0;
    int height_ = 0;
    std::string name_;
};
