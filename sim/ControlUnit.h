// A control unit of our own: the bus master that writes telegrams into the
// panel's slots and reads its user-operation records, byte by byte through
// the panel's byte handlers, and answers every record from a plant model
// that starts from the simulation defaults. For tests and scenarios; the
// shipped simulation has no control unit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "data/DAT.h"

class ControlUnit {
  public:
    // Records kept for scenarios to look at; older ones go, so that weeks
    // of bus rounds do not grow the host without bound.
    static constexpr std::size_t kKeptRecords = 4096;

    // The plant model starts as the panel's image is now (its defaults).
    explicit ControlUnit(std::size_t kept = kKeptRecords);

    // One master write frame into a slot; false when the panel refused the checksum.
    bool write(std::uint8_t slot, const std::vector<std::uint8_t>& bytes, bool corruptChecksum = false);
    // One master read after the byte r: the response (length, data; checksum checked).
    std::vector<std::uint8_t> read(std::uint8_t r, bool* checksumOk = nullptr);

    void sendData(const std::vector<std::uint8_t>& telegram); // type/sequence, circuit or 0, payload
    void sendStatus(const std::vector<std::uint8_t>& raw);    // up to 20 bytes; the model keeps them
    void sendChangeMask(std::uint16_t mask);
    // Tells the panel these types changed, with those it has not asked for
    // since: the panel's mask slot keeps only the latest write.
    void announce(std::uint16_t mask);

    // One bus round: read the offered record, answer it, tell the panel.
    // Returns the record read (empty when none was offered).
    std::vector<std::uint8_t> round();

    // The data telegram the model sends for a type (sequence, circuit, part).
    std::vector<std::uint8_t> telegram(std::uint8_t type, std::uint8_t sequence, std::uint8_t circuit,
                                       std::uint8_t part) const;

    // The newest records read; recordsBefore() were read before them.
    const std::deque<std::vector<std::uint8_t>>& records() const { return records_; }
    std::uint64_t recordsBefore() const { return recordsBefore_; }
    DAT_Image& model() { return model_; }

    // Coding values it keeps (level 1 or 2, group 0 to 15, address). A new
    // value of the address it last answered for is told to the panel.
    void setCodingValue(std::uint8_t level, std::uint8_t group, std::uint8_t address, std::int16_t value);
    std::int16_t codingValue(std::uint8_t level, std::uint8_t group, std::uint8_t address) const;
    // The participants on the control unit's own bus, in the order it lists
    // them; one that does not answer fails its check.
    struct Participant {
        std::uint8_t number;
        std::uint8_t code;
        bool answers;
    };
    void setParticipants(std::vector<Participant> list) { participants_ = std::move(list); }

  private:
    void transferEnded(bool wasRead);
    void apply(const std::vector<std::uint8_t>& record);
    void applyLabel(const std::vector<std::uint8_t>& record); // a long record: half a circuit label
    // Clears status bits in the model and reports the status again.
    void clearStatus(std::uint16_t wordBits, std::uint8_t plantBits);
    // Sets or clears status-word bits likewise.
    void setStatusWord(std::uint16_t bits, bool on);

    // Fills the model's coding answer (message block 2) for an address.
    void answerCoding(std::uint8_t selectors, std::uint8_t address);
    void resetCoding();

    void participantRecord(const std::vector<std::uint8_t>& record);

    DAT_Image model_;
    std::array<std::array<std::array<std::int16_t, 256>, 16>, 2> coding_{};
    // Itself, the panel (the service block's own number) and a module that is gone.
    std::vector<Participant> participants_{{1, 0x11, true}, {8, 0x28, true}, {12, 0x3C, false}};
    std::size_t kept_;
    std::uint32_t clockAt_;     // the plant's clock when it was made: the panel's
    std::uint32_t startedMs_;   // and the host's milliseconds then
    std::uint32_t lastClock_;   // what it last wrote into the model
    std::uint16_t changed_ = 0; // types announced and not asked for since
    std::deque<std::vector<std::uint8_t>> records_;
    std::uint64_t recordsBefore_ = 0;
    bool flueGasRunning_ = false; // a flue-gas test it started on the panel's word
    std::uint32_t flueGasSinceMs_ = 0;
};
