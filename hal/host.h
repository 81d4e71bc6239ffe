// The one seam between the panel software and the machine that runs it.
//
// Everything the panel asks of its host is listed here. The headless host
// (scripted, virtual or real time) and the desktop host implement it; the
// panel never includes a host header. A host installs itself with
// HOST_Install before it starts MainTask.
#pragma once

#include <cstddef>
#include <cstdint>

struct HOST_LocalTime {
    std::int64_t utcSeconds;  // seconds since 1970-01-01 00:00 UTC
    std::int32_t biasMinutes; // UTC minus standard local time, in minutes (west is positive)
    bool daylightSaving;      // daylight saving in force now
};

class PanelHost {
  public:
    // LCD output: a row-major block of 0xRRGGBB pixels, (x, y) its top-left corner.
    virtual void lcdWrite(int x, int y, int width, int height, const std::uint32_t* rgb) = 0;

    // Key port: the raw key byte of the eight keys (0 while reading is disabled).
    virtual void keyPortInit() = 0;
    virtual void keyPortSetReadEnable(std::uint8_t flags) = 0;
    virtual std::uint8_t keyPortRead() = 0;

    // Application-thread sleep in 10 ms steps. When the host has asked the
    // application to stop, it does not return: it ends the application thread.
    virtual void sleep(std::uint32_t ms) = 0;
    // Host milliseconds since the host started.
    virtual std::uint32_t milliseconds() = 0;
    virtual bool stopRequested() = 0;

    // Creates one of the four periodic ticks (HAL_Period); each tick calls
    // HAL_TimerCallback. False when the host could not create it.
    virtual bool startTimer(std::uint8_t period) = 0;

    virtual HOST_LocalTime localTime() = 0;

    // Error report of the drawing layer: log, message box, error file.
    virtual void reportError(const char* text) = 0;
    virtual void messageBox(const char* text, const char* title) = 0;
    // Process-wide lock on the name; false while another process holds it.
    virtual bool acquireSingleInstance(const char* name) = 0;
    virtual void trace(const char* text) = 0;
    virtual void beep() = 0;

    // The data-flash image to start with: fills buffer (capacity bytes),
    // sets size, true. False when the host has none, so the panel uses the
    // delivered image built into it.
    virtual bool loadDataFlash(std::uint8_t* /*buffer*/, std::size_t /*capacity*/, std::size_t& /*size*/)
    {
        return false;
    }

    // Serial ports (0: the test port). The callbacks run on host threads and
    // enter the application through the interrupt wrapper. Open returns
    // nullptr, or the step that failed.
    using SerialReceive = void (*)(std::uint8_t port, std::uint8_t byte);
    using SerialSent = void (*)(std::uint8_t port);
    virtual const char* serialOpen(std::uint8_t /*port*/, SerialReceive, SerialSent) { return "open()"; }
    virtual void serialSend(std::uint8_t /*port*/, std::uint8_t /*byte*/) {}

  protected:
    ~PanelHost() = default;
};

void HOST_Install(PanelHost* host);
PanelHost& HOST();
