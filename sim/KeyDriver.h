// The simulation's key driver: key regions of the device picture become the
// raw key byte that the panel's 20 ms scan reads; test buttons raise the
// control unit's events directly, in interrupt context.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

// The keys of a key byte as a scenario names them ("MENU+OK"); "" for none.
std::string KeyNames(std::uint8_t raw);

class KeyDriver {
  public:
    static constexpr int kTestButtonFirst = 13;
    static constexpr int kRegionLimit = 128;

    // Key port of the panel.
    void init();
    void setReadEnable(std::uint8_t flags);
    std::uint8_t read();

    // A key region (index in the device picture) pressed or released.
    void onHardkey(int index, bool pressed);
    // A logical key 0..12 pressed or released (what a region maps to).
    void setLogicalKey(std::uint8_t logical, bool pressed);
    // Any raw key byte, including patterns no single region produces.
    void setRaw(std::uint8_t raw);
    // With the latch on, a pressed byte stays until the scan has read it
    // twice (its debounce plus one scan): a tap shorter than that still
    // counts. Taps, tap-to-click and automation are that short.
    void setLatch(bool on);
    static constexpr int kLatchReads = 2;

    // Logical key of a region index; 14 for regions that are no panel key.
    static std::uint8_t logicalKeyOfRegion(int index);

  private:
    std::mutex lock_;
    std::uint8_t byte_ = 0;
    std::uint8_t enable_ = 0;
    bool latch_ = false;
    int reads_ = 0; // scans that read byte_ since it was set
    bool pending_ = false;
    std::uint8_t next_ = 0; // byte_ once the scan has seen it often enough
};
