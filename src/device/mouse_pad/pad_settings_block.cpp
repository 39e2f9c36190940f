#include "device/mouse_pad/pad_settings_block.h"

#include <algorithm>
#include <string>

#include "device/device_channel.h"
#include "os/debug_output.h"

namespace device {

namespace {

uint8_t Level(uint8_t value) {
    return std::min(value, LightingBlock::kMaxLevel);
}

}  // namespace

std::optional<LightingBlock> LightingBlockFromDevice(std::span<const uint8_t> read,
                                                     ModeCodes modeCodes) {
    if (read.size() < LightingBlock::kSize) {
        os::DebugOutput("lighting block: " + std::to_string(read.size()) +
                        " bytes read, a block has " + std::to_string(LightingBlock::kSize) + "\n");
        return std::nullopt;
    }
    LightingBlock block;
    std::copy_n(read.begin(), LightingBlock::kSize, block.bytes.begin());
    const auto code = std::find(modeCodes.begin(), modeCodes.end(), block[LightingBlock::kMode]);
    if (code != modeCodes.end())
        block[LightingBlock::kMode] = static_cast<uint8_t>(code - modeCodes.begin());
    const uint8_t speed = block[LightingBlock::kSpeed];
    if (speed > LightingBlock::kMaxLevel)
        os::DebugOutput("lighting block: speed byte " + std::to_string(speed) +
                        " is beyond the speed levels; read as level 0\n");
    block[LightingBlock::kSpeed] = static_cast<uint8_t>(LightingBlock::kMaxLevel - Level(speed));
    return block;
}

std::array<uint8_t, LightingBlock::kSize> LightingBlockToDevice(const LightingBlock& block,
                                                                ModeCodes modeCodes) {
    std::array<uint8_t, LightingBlock::kSize> out = block.bytes;
    const uint8_t index = block[LightingBlock::kMode];
    if (index < modeCodes.size())
        out[LightingBlock::kMode] = static_cast<uint8_t>(modeCodes[index]);
    else
        os::DebugOutput("lighting block: light mode " + std::to_string(index) +
                        " is not in the light mode list; sent as it is\n");
    out[LightingBlock::kBrightness] = Level(block[LightingBlock::kBrightness]);
    out[LightingBlock::kSpeed] =
        static_cast<uint8_t>(LightingBlock::kMaxLevel - Level(block[LightingBlock::kSpeed]));
    return out;
}

void ApplyLightingRecord(LightingBlock& block, const profile::LightingRecord& r) {
    using R = profile::LightingRecord;
    block[LightingBlock::kMode] = r[R::kMode];
    block[LightingBlock::kBrightness] = Level(r[R::kBrightness]);
    block[LightingBlock::kSpeed] = Level(r[R::kSpeed]);
    block[LightingBlock::kColourful] = r[R::kColourful];
    block[LightingBlock::kRed] = r[R::kRed];
    block[LightingBlock::kGreen] = r[R::kGreen];
    block[LightingBlock::kBlue] = r[R::kBlue];
}

void StoreInLightingRecord(const LightingBlock& block, profile::LightingRecord& r) {
    using R = profile::LightingRecord;
    r[R::kMode] = block[LightingBlock::kMode];
    r[R::kBrightness] = block[LightingBlock::kBrightness];
    r[R::kSpeed] = block[LightingBlock::kSpeed];
    r[R::kColourful] = block[LightingBlock::kColourful];
    r[R::kRed] = block[LightingBlock::kRed];
    r[R::kGreen] = block[LightingBlock::kGreen];
    r[R::kBlue] = block[LightingBlock::kBlue];
}

uint16_t LightingBlockReadAddress(uint8_t activeIndex) {
    // At most 255 x 25 + 26: always within 16 bits.
    return static_cast<uint16_t>(activeIndex * LightingBlock::kReadStride);
}

std::optional<uint16_t> LightingBlockWriteAddress(int slot) {
    const long last = static_cast<long>(slot) * LightingBlock::kWriteStride + LightingBlock::kSize;
    if (slot < 0 || last > 0x10000) return std::nullopt;
    return static_cast<uint16_t>(slot * LightingBlock::kWriteStride);
}

int ReadLightingBlock(DeviceChannel& channel, ModeCodes modeCodes, LightingBlock& block) {
    if (!channel.IsOpen()) return kResultNothing;
    uint8_t active = block[LightingBlock::kActive];
    int result = channel.ReadSettings(&active, 1, 0);
    if (result != kResultOk) return result;
    std::array<uint8_t, LightingBlock::kReadSize> read{};
    result = channel.ReadSettings(read.data(), LightingBlock::kReadSize,
                                  LightingBlockReadAddress(active));
    if (result != kResultOk) return result;
    std::optional<LightingBlock> fresh = LightingBlockFromDevice(read, modeCodes);
    if (!fresh) return kResultNothing;
    block = *fresh;
    block[LightingBlock::kActive] = active;  // what address 0 holds, whichever block was read
    return kResultOk;
}

int WriteLightingBlock(DeviceChannel& channel, const LightingBlock& block, ModeCodes modeCodes,
                       int slot) {
    const std::optional<uint16_t> address = LightingBlockWriteAddress(slot);
    if (!address) {
        os::DebugOutput("lighting block: slot " + std::to_string(slot) + " is out of reach\n");
        return kResultNothing;
    }
    const std::array<uint8_t, LightingBlock::kSize> out = LightingBlockToDevice(block, modeCodes);
    return channel.WriteSettings(out.data(), LightingBlock::kSize, *address);
}

}  // namespace device
