#include "PacketAssembler.h"

#include <cstring>

namespace orsan {

PacketAssembler::PacketAssembler(TraceSink trace) : trace_(std::move(trace)) {}

void PacketAssembler::Trace(const std::string& line) const {
    if (trace_) trace_(line);
}

int PacketAssembler::Feed(const uint8_t* data, size_t n, const PacketHandler& onPacket) {
    int completed = 0;
    // One receive asks for at most one packet, so this loop normally runs
    // once; longer feeds (tests, other callers) are cut the same way.
    while (n > 0) {
        const size_t chunk = std::min(n, kWavePacketSize);
        if (count_ + chunk < kWavePacketSize) {
            std::memcpy(area_.data() + count_, data, chunk);
            count_ += chunk;
            if (count_ == kWaveBlockOffset) Trace("xxx");
            Trace(Printf("收到欠分包数据%zu字节,LessLenth%zu字节\n", chunk, count_));
        } else if (count_ + chunk == kWavePacketSize) {
            std::memcpy(area_.data() + count_, data, chunk);
            count_ = 0;
            Trace(Printf(
                "收到完整包数据%zu +LessLenth%d字节，包号%d,采样频率%1.1f,前4个数据%x %x %x %x \n",
                chunk, 0, PacketNumber(area_.data()), double(PacketSampleRate(area_.data())),
                area_[0], area_[1], area_[2], area_[3]));
            if (onPacket) onPacket(area_.data());
            ++completed;
        } else {
            const size_t head = kWavePacketSize - count_;
            std::memcpy(area_.data() + count_, data, head);
            // Hand the packet over before its area is reused for the carry.
            const int32_t number = PacketNumber(area_.data());
            const double rate = PacketSampleRate(area_.data());
            if (onPacket) onPacket(area_.data());
            ++completed;
            count_ = chunk - head;
            std::memcpy(area_.data(), data + head, count_);
            Trace(Printf(
                "收到过分包数据%zu +LessLenth%zu字节，包号%d,采样频率%1.1f,前4个数据%x %x %x %x \n",
                chunk, count_, number, rate, area_[0], area_[1], area_[2], area_[3]));
        }
        data += chunk;
        n -= chunk;
    }
    return completed;
}

}  // namespace orsan
