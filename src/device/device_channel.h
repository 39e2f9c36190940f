#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "device/command_frame.h"
#include "hid/hid_device.h"

namespace device {

// The only path to a device's firmware: every operation is an exchange of 64-byte command
// frames, one output report answered by one input report, on the device's own vendor interface
// (Direct mode) or on the wireless receiver's (Receiver mode, which relays to the device named by
// the receiver-target byte). Long transfers are cut into frames of chunkSize payload bytes.
//
// Locks: commandLock (every command, per frame) or streamLock (light map and live colours, per
// frame) first, then ioLock from one frame's write to its answer. Taken per frame, so two
// transfers from different threads may interleave frame by frame, but never within a frame.
//
// Before each command frame the input queue is emptied, in both modes, and an answer counts only
// when it echoes the request's code, length and address: an answer that comes after its
// time-out can never pass for a later request's.
//
// Results: 1 success; 0 channel closed or the answer timed out; ErrWriteFailed, ErrNoDevice,
// ErrStatusFF, ErrStatusFE, ErrBadBank (see command_frame.h). A chunked transfer stops at the
// first failing frame: what was written stays written, a read's destination holds what arrived.
class DeviceChannel {
  public:
    enum Mode { kDirect = 0, kReceiver = 1 };
    static constexpr uint16_t kMaxBlockSize = 512;
    static constexpr uint32_t kConnectionReceiver = 2;

    DeviceChannel();
    ~DeviceChannel();  // closes both handles
    DeviceChannel(const DeviceChannel&) = delete;
    DeviceChannel& operator=(const DeviceChannel&) = delete;

    // Management.
    void SetOpen(bool open) { open_ = open ? 1 : 0; }
    bool IsOpen() const { return open_ != 0; }
    // Type 2: Receiver mode with 24-byte chunks; any other type: Direct mode with 56.
    void SetConnectionType(uint32_t type);
    void SetReceiverTarget(uint8_t target) { receiverTarget_ = target; }
    // Refuses values above 512: returns 0 and keeps the old value; 1 when accepted.
    int SetBlockSize(uint16_t size);

    uint16_t blockSize() const { return blockSize_; }
    bool busy() const { return busy_ != 0; }
    Mode mode() const { return mode_; }
    uint8_t chunkSize() const { return chunkSize_; }
    uint8_t receiverTarget() const { return receiverTarget_; }

    // The device's own vendor interface (Direct mode) and the receiver's (Receiver mode).
    hid::HidDevice& directHandle() { return handle1_; }
    hid::HidDevice& receiverHandle() { return handle2_; }

    // Commands.
    int ReadDeviceInfo(uint8_t* destination34);
    int ReadSettings(uint8_t* destination, uint32_t count, uint16_t address);
    int WriteSettings(const uint8_t* source, uint32_t count, uint16_t address);
    int ReadKeyTable(uint8_t* destination);  // blockSize bytes
    int WriteKeyTable(const uint8_t* source, int bank);
    int WriteLightMap(const uint8_t* source, uint32_t count, uint32_t page, uint32_t pageSize);
    int StreamKeyColours(const uint8_t* source, uint32_t count);
    int WriteMacroData(const uint8_t* source, uint32_t count);
    int WriteShootData(const uint8_t* source, uint32_t count);
    int ReceiverPoll();
    // count is at most chunkSize; more is cut to it.
    int ReadPowerStatus(uint8_t* destination, uint32_t count, uint16_t address);
    int ReadLedIndexTable(uint8_t* destination);  // blockSize / 3 bytes
    int ResumeLighting();
    // The receiver's link state: true when one of its two devices is linked (response bytes 8 and
    // 9, 0xFF linked), copied to destination2 when given. True at once in Direct mode.
    bool QueryLink(uint8_t* destination2 = nullptr);

    // Time-outs in milliseconds.
    static constexpr uint32_t kDirectTimeoutMs = 1000;
    static constexpr uint32_t kReceiverTimeoutMs = 5000;
    static constexpr uint32_t kStreamReceiverTimeoutMs = 500;

  private:
    enum class ExchangeKind { kCommand, kStream };
    enum class LockKind { kCommand, kStream };

    hid::HidDevice& ActiveHandle() { return mode_ == kReceiver ? handle2_ : handle1_; }
    // One frame out, its answer in. An answer must echo the request's code, length and address;
    // a stray is read past once, and a second stray fails the exchange (result 0).
    int Exchange(const CommandFrame& request, CommandFrame& response, ExchangeKind kind);
    static bool Answers(const CommandFrame& request, const CommandFrame& response);
    int RawExchange(CommandFrame& frame);
    // A chunked transfer from address start; source for writes, destination for reads. addressOf
    // gives the frame's address for an offset.
    template <typename AddressFn>
    int Chunked(uint8_t code, const uint8_t* source, uint8_t* destination, uint32_t total,
                AddressFn addressOf, LockKind lock, ExchangeKind kind);
    int SingleFrame(uint8_t code, CommandFrame& response);
    static int StatusResult(const CommandFrame& response);

    hid::HidDevice handle1_;
    hid::HidDevice handle2_;
    std::mutex ioLock_;
    std::mutex commandLock_;
    std::mutex streamLock_;
    std::atomic<uint16_t> blockSize_{kMaxBlockSize};
    std::atomic<uint8_t> busy_{0};
    std::atomic<int> open_{0};
    std::atomic<Mode> mode_{kDirect};
    std::atomic<uint8_t> receiverTarget_{0};
    std::atomic<uint8_t> chunkSize_{CommandFrame::kMaxPayload};
};

}  // namespace device
