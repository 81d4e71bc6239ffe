// Where the payload of each data telegram type lands in the image. The
// panel's decoder and the test control unit's encoder both read this table,
// so the layout is written once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

#include "data/DAT.h"

inline constexpr std::uint8_t DAT_TYPES = 27; // data telegram types 0..26
inline constexpr std::uint8_t DAT_TYPE_PLANT = 10;
inline constexpr std::uint8_t DAT_FAULT_PARTS = 5; // two entries each

enum class DAT_Block : std::uint8_t {
    None,
    Counters,
    Circuit, // per circuit
    DisplayTail,
    System,
    Switching, // per circuit: program, day, 8 bytes
    Plant,
    Messages,
    Messages2,
    Service,
    Participants,
    Solar,
    Extension,
    Faults,
    History,
    SolarHistory,
    Labels, // per circuit; UTF-16 units, so only the label part reaches it
    Counters2,
};

enum class DAT_Form : std::uint8_t {
    None,  // no block: the telegram is counted and dropped
    Plain, // each piece copies payload[from, from + length) to block[at, at + length)
    // Payload 0 is the part k (0..4); the piece lands at at + k * length of
    // a list that part 0 starts empty and part 4 hands to the image whole.
    FaultPart,
    // Payload 0 is the part (1: units 0..9, any other: units 10..19), 1 the
    // number of units (at most 10), 2..21 the units (little-endian), 22 the
    // language the label was entered in. The part's ten units are cleared first.
    LabelPart,
};

struct DAT_Piece {
    DAT_Block block = DAT_Block::None;
    std::uint8_t at = 0;   // first byte in the block
    std::uint8_t from = 0; // first payload byte (telegram byte 2 + from)
    std::uint8_t length = 0;
};

struct DAT_Layout {
    DAT_Form form = DAT_Form::None;
    std::uint8_t pieces = 0;
    DAT_Piece piece[3] = {};
};

constexpr bool DAT_PerCircuit(DAT_Block b)
{
    return b == DAT_Block::Circuit || b == DAT_Block::Switching || b == DAT_Block::Labels;
}

inline constexpr std::uint8_t DAT_PHASE_BYTES = 8; // on/off of four phases
inline constexpr std::uint8_t DAT_DAYS = 7;

namespace dat_detail {

using B = DAT_Block;
using F = DAT_Form;

constexpr DAT_Layout Plain(DAT_Block block, std::uint8_t length)
{
    return {F::Plain, 1, {{block, 0, 0, length}}};
}

// Types 3..9: one day of the circuit's three programs, eight bytes each.
constexpr DAT_Layout SwitchingDay(std::uint8_t day)
{
    constexpr std::uint8_t program = DAT_DAYS * DAT_PHASE_BYTES;
    const auto at = [day](int p) { return static_cast<std::uint8_t>(p * program + day * DAT_PHASE_BYTES); };
    return {F::Plain,
            3,
            {{B::Switching, at(0), 0, DAT_PHASE_BYTES},
             {B::Switching, at(1), DAT_PHASE_BYTES, DAT_PHASE_BYTES},
             {B::Switching, at(2), 2 * DAT_PHASE_BYTES, DAT_PHASE_BYTES}}};
}

} // namespace dat_detail

inline constexpr DAT_Layout DAT_TELEGRAM_LAYOUT[DAT_TYPES] = {
    /* 0 */ {dat_detail::F::Plain, 2, {{DAT_Block::Counters, 0, 0, 24}, {DAT_Block::Circuit, 0, 24, 3}}},
    /* 1 */ {dat_detail::F::Plain, 2, {{DAT_Block::Circuit, 3, 0, 20}, {DAT_Block::DisplayTail, 0, 20, 7}}},
    /* 2 */ {dat_detail::F::Plain, 2, {{DAT_Block::Circuit, 23, 0, 5}, {DAT_Block::System, 0, 5, 21}}},
    /* 3 */ dat_detail::SwitchingDay(0),
    /* 4 */ dat_detail::SwitchingDay(1),
    /* 5 */ dat_detail::SwitchingDay(2),
    /* 6 */ dat_detail::SwitchingDay(3),
    /* 7 */ dat_detail::SwitchingDay(4),
    /* 8 */ dat_detail::SwitchingDay(5),
    /* 9 */ dat_detail::SwitchingDay(6),
    /* 10 */ dat_detail::Plain(DAT_Block::Plant, 30),
    /* 11 */ {},
    /* 12 */ {},
    /* 13 */ dat_detail::Plain(DAT_Block::Messages, 25),
    /* 14 */ dat_detail::Plain(DAT_Block::Messages2, 26),
    /* 15 */ dat_detail::Plain(DAT_Block::Service, 30), // the rest of the block is the panel's
    /* 16 */ dat_detail::Plain(DAT_Block::Participants, 30),
    /* 17 */ dat_detail::Plain(DAT_Block::Solar, 25),
    /* 18 */ dat_detail::Plain(DAT_Block::Extension, 27),
    /* 19 */ {},
    /* 20 */ {},
    /* 21 */ {},
    /* 22 */ {dat_detail::F::FaultPart, 1, {{DAT_Block::Faults, 0, 1, 2 * DAT_FAULT_SIZE}}},
    /* 23 */ {dat_detail::F::FaultPart, 1, {{DAT_Block::History, 0, 1, 2 * DAT_FAULT_SIZE}}},
    /* 24 */ dat_detail::Plain(DAT_Block::SolarHistory, 29),
    /* 25 */ {dat_detail::F::LabelPart, 1, {{DAT_Block::Labels, 0, 2, 20}}},
    /* 26 */ dat_detail::Plain(DAT_Block::Counters2, 29),
};

inline constexpr DAT_Layout DAT_NO_LAYOUT{}; // types 27 and above

constexpr const DAT_Layout& DAT_LayoutOf(std::uint8_t type)
{
    return type < DAT_TYPES ? DAT_TELEGRAM_LAYOUT[type] : DAT_NO_LAYOUT;
}

// A type kept per heating circuit: its telegrams need circuit 1 or 2.
constexpr bool DAT_TelegramPerCircuit(std::uint8_t type)
{
    const DAT_Layout& l = DAT_LayoutOf(type);
    for (std::uint8_t i = 0; i < l.pieces; ++i) {
        if (DAT_PerCircuit(l.piece[i].block)) {
            return true;
        }
    }
    return false;
}

// Where a block lies in the image; per-circuit blocks: circuit 1's, and
// circuit 2's follows it.
struct DAT_Place {
    std::size_t offset = 0;
    std::size_t size = 0;
};

constexpr DAT_Place DAT_PlaceOf(DAT_Block block)
{
    using I = DAT_Image;
    switch (block) {
    case DAT_Block::Counters:
        return {offsetof(I, counters), sizeof I::counters};
    case DAT_Block::Circuit:
        return {offsetof(I, circuit), sizeof I::circuit / 2};
    case DAT_Block::DisplayTail:
        return {offsetof(I, displayTail), sizeof I::displayTail};
    case DAT_Block::System:
        return {offsetof(I, system), sizeof I::system};
    case DAT_Block::Switching:
        return {offsetof(I, switching), sizeof I::switching / 2};
    case DAT_Block::Plant:
        return {offsetof(I, plant), sizeof I::plant};
    case DAT_Block::Messages:
        return {offsetof(I, messages), sizeof I::messages};
    case DAT_Block::Messages2:
        return {offsetof(I, messages2), sizeof I::messages2};
    case DAT_Block::Service:
        return {offsetof(I, service), sizeof I::service};
    case DAT_Block::Participants:
        return {offsetof(I, participants), sizeof I::participants};
    case DAT_Block::Solar:
        return {offsetof(I, solar), sizeof I::solar};
    case DAT_Block::Extension:
        return {offsetof(I, extension), sizeof I::extension};
    case DAT_Block::Faults:
        return {offsetof(I, faults), sizeof I::faults};
    case DAT_Block::History:
        return {offsetof(I, history), sizeof I::history};
    case DAT_Block::SolarHistory:
        return {offsetof(I, solarHistory), sizeof I::solarHistory};
    case DAT_Block::Labels:
        return {offsetof(I, labels), sizeof I::labels / 2};
    case DAT_Block::Counters2:
        return {offsetof(I, counters2), sizeof I::counters2};
    case DAT_Block::None:
        break;
    }
    return {};
}

// The bytes of a block (per-circuit blocks: of circuit 1 or 2). Labels are
// host-order units: only the label part writes them.
template <typename Image> auto DAT_BlockBytes(Image& image, DAT_Block block, std::uint8_t circuit)
{
    static_assert(std::is_same_v<std::remove_const_t<Image>, DAT_Image>);
    using Byte = std::conditional_t<std::is_const_v<Image>, const std::uint8_t, std::uint8_t>;
    const DAT_Place p = DAT_PlaceOf(block);
    const std::size_t second = DAT_PerCircuit(block) && circuit == 2 ? p.size : 0;
    return std::span<Byte>(reinterpret_cast<Byte*>(&image) + p.offset + second, p.size);
}

// Every piece fits its block and the payload.
constexpr bool DAT_LayoutFits()
{
    for (const DAT_Layout& l : DAT_TELEGRAM_LAYOUT) {
        const std::size_t parts = l.form == DAT_Form::FaultPart ? DAT_FAULT_PARTS : 1;
        for (std::uint8_t i = 0; i < l.pieces; ++i) {
            const DAT_Piece& p = l.piece[i];
            if (p.block == DAT_Block::None || p.from + p.length > DAT_PAYLOAD_MAX ||
                p.at + parts * p.length > DAT_PlaceOf(p.block).size) {
                return false;
            }
        }
    }
    return true;
}
static_assert(DAT_LayoutFits());
