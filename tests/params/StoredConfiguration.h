// Register values a sensor could hold, every configuration group covered.
#pragma once

#include "FakeModbusPeer.h"

namespace orsan {

inline void LoadConfiguration(test::FakeModbusPeer& peer) {
    const std::pair<int, uint16_t> regs[] = {
        {77, 10},      {78, 1000},    {79, 5},       {80, 10000},   {81, 2},       {82, 200},
        {103, 512},    {104, 348},    {105, 205},    {106, 41},     {107, 1234},   {111, 0xA8C0},
        {112, 0x0101}, {113, 0xFFFF}, {114, 0x00FF}, {115, 0x0808}, {116, 0x0404}, {117, 0xA8C0},
        {118, 0x0A01}, {120, 150},    {130, 1},      {131, 1},      {132, 5000},   {67, 777},
    };
    for (const auto& [reg, value] : regs) peer.SetRegister(reg, value);
}

}  // namespace orsan
