#include "device/device_channel.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "os/debug_output.h"
#include "os/diagnostics_log.h"

namespace device {

namespace {

std::string HexLine(const uint8_t* frame) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(CommandFrame::kSize * 3);
    for (size_t i = 0; i < CommandFrame::kSize; ++i) {
        s += kHex[frame[i] >> 4];
        s += kHex[frame[i] & 0xF];
        s += ' ';
    }
    return s;
}

std::string StrayText(const CommandFrame& request, const CommandFrame& answer) {
    char text[128];
    std::snprintf(text, sizeof text,
                  "command channel: answer %02X length %u address %04X does not answer request "
                  "%02X length %u address %04X\n",
                  answer.code(), answer.length(), answer.address(), request.code(),
                  request.length(), request.address());
    return text;
}

}  // namespace

DeviceChannel::DeviceChannel() = default;

DeviceChannel::~DeviceChannel() {
    handle1_.Close();
    handle2_.Close();
}

void DeviceChannel::SetConnectionType(uint32_t type) {
    if (type == kConnectionReceiver) {
        mode_ = kReceiver;
        chunkSize_ = CommandFrame::kMaxReceiverPayload;
    } else {
        mode_ = kDirect;
        chunkSize_ = CommandFrame::kMaxPayload;
    }
}

int DeviceChannel::SetBlockSize(uint16_t size) {
    if (size > kMaxBlockSize) return 0;
    blockSize_ = size;
    return 1;
}

int DeviceChannel::StatusResult(const CommandFrame& response) {
    if (response.status() == 0xFF) return ErrStatusFF;
    if (response.status() == 0xFE) return ErrStatusFE;
    return kResultOk;
}

bool DeviceChannel::Answers(const CommandFrame& request, const CommandFrame& response) {
    return response.code() == request.code() && response.length() == request.length() &&
           response.address() == request.address();
}

int DeviceChannel::Exchange(const CommandFrame& request, CommandFrame& response,
                            ExchangeKind kind) {
    busy_ = 1;
    if (!IsOpen()) {
        busy_ = 0;
        return kResultNothing;
    }
    CommandFrame out = request;
    const bool receiver = mode_ == kReceiver;
    const bool stream = kind == ExchangeKind::kStream;
    const uint32_t timeout = !receiver ? kDirectTimeoutMs
                             : stream  ? kStreamReceiverTimeoutMs
                                       : kReceiverTimeoutMs;
    const uint8_t noDeviceEcho = stream ? 0xAA : 0xFF;
    hid::HidDevice& handle = ActiveHandle();

    // One exchange holds the I/O lock from its write to its last read: the input queue is then
    // its own, so whatever is queued before the write is stale (an answer that came after its
    // time-out) and is dropped, and no other thread's exchange can take this one's answer.
    std::lock_guard<std::mutex> io(ioLock_);
    if (receiver) out.bytes[CommandFrame::kReceiverTargetByte] = receiverTarget_;
    if (!stream) handle.FlushQueue();
    uint32_t n = 0;
    const bool written = handle.Write(out.bytes.data(), CommandFrame::kSize, &n, timeout);
    if (receiver && !stream) os::AppendLog(HexLine(out.bytes.data()));
    if (!written) {
        busy_ = 0;
        return ErrWriteFailed;
    }

    int result = kResultNothing;
    for (int attempt = 0; attempt < 2; ++attempt) {
        response.bytes.fill(0);
        if (!handle.Read(response.bytes.data(), CommandFrame::kSize, &n, timeout)) {
            result = kResultNothing;
            break;
        }
        if (Answers(out, response)) {
            result = kResultOk;
            break;
        }
        if (receiver && response.code() == noDeviceEcho) {
            result = ErrNoDevice;
            break;
        }
        // Not this request's answer (another command's, or one for another address that came
        // late): read once more. Two strays fail the exchange rather than pass a stranger's
        // bytes on as this request's.
        os::DebugOutput(StrayText(out, response));
        response.bytes.fill(0);
        result = kResultNothing;
    }
    busy_ = 0;
    return result;
}

int DeviceChannel::RawExchange(CommandFrame& frame) {
    if (!IsOpen()) return kResultNothing;
    const uint32_t timeout = mode_ == kReceiver ? kReceiverTimeoutMs : kDirectTimeoutMs;
    hid::HidDevice& handle = ActiveHandle();
    frame.bytes[CommandFrame::kReceiverTargetByte] = 2;
    uint32_t n = 0;
    std::lock_guard<std::mutex> io(ioLock_);
    if (!handle.Write(frame.bytes.data(), CommandFrame::kSize, &n, timeout)) return ErrWriteFailed;
    return handle.Read(frame.bytes.data(), CommandFrame::kSize, &n, timeout) ? kResultOk
                                                                             : kResultNothing;
}

template <typename AddressFn>
int DeviceChannel::Chunked(uint8_t code, const uint8_t* source, uint8_t* destination,
                           uint32_t total, AddressFn addressOf, LockKind lock, ExchangeKind kind) {
    const uint32_t chunk = chunkSize_;
    for (uint32_t done = 0; done < total; done += chunk) {
        const uint32_t length = std::min(chunk, total - done);
        if (kind == ExchangeKind::kStream && busy_) {
            // Live colours never wait behind configuration traffic: this frame is dropped.
            os::DebugOutput("放弃灯光数据");
            continue;
        }
        CommandFrame request =
            CommandFrame::Request(code, static_cast<uint8_t>(length), addressOf(done));
        if (source) std::memcpy(request.payload(), source + done, length);
        request.Seal();
        CommandFrame response;
        int result;
        {
            std::lock_guard<std::mutex> guard(lock == LockKind::kStream ? streamLock_
                                                                        : commandLock_);
            result = Exchange(request, response, kind);
        }
        if (result != kResultOk) return result;
        if (const int status = StatusResult(response); status != kResultOk) return status;
        if (destination) std::memcpy(destination + done, response.payload(), length);
    }
    return kResultOk;
}

int DeviceChannel::ReadDeviceInfo(uint8_t* destination34) {
    DeviceInfoBlock block;
    const int r = Chunked(
        kCmdReadDeviceInfo, nullptr, block.bytes.data(), DeviceInfoBlock::kSize,
        [](uint32_t done) { return static_cast<uint16_t>(done); }, LockKind::kCommand,
        ExchangeKind::kCommand);
    if (r == kResultOk) std::memcpy(destination34, block.bytes.data(), DeviceInfoBlock::kSize);
    return r;
}

int DeviceChannel::ReadSettings(uint8_t* destination, uint32_t count, uint16_t address) {
    return Chunked(
        kCmdReadSettings, nullptr, destination, count,
        [address](uint32_t done) { return static_cast<uint16_t>(address + done); },
        LockKind::kCommand, ExchangeKind::kCommand);
}

int DeviceChannel::WriteSettings(const uint8_t* source, uint32_t count, uint16_t address) {
    return Chunked(
        kCmdWriteSettings, source, nullptr, count,
        [address](uint32_t done) { return static_cast<uint16_t>(address + done); },
        LockKind::kCommand, ExchangeKind::kCommand);
}

int DeviceChannel::ReadKeyTable(uint8_t* destination) {
    return Chunked(
        kCmdReadKeyTable, nullptr, destination, blockSize_,
        [](uint32_t done) { return static_cast<uint16_t>(done); }, LockKind::kCommand,
        ExchangeKind::kCommand);
}

int DeviceChannel::WriteKeyTable(const uint8_t* source, int bank) {
    if (bank != 0) return ErrBadBank;
    // The bank goes into the address high byte; with bank 0 this is the plain offset.
    return Chunked(
        kCmdWriteKeyTable, source, nullptr, blockSize_,
        [bank](uint32_t done) {
            const uint32_t high = ((static_cast<uint32_t>(bank) * 512 + done) >> 8) & 0xFF;
            return static_cast<uint16_t>((high << 8) | (done & 0xFF));
        },
        LockKind::kCommand, ExchangeKind::kCommand);
}

int DeviceChannel::WriteLightMap(const uint8_t* source, uint32_t count, uint32_t page,
                                 uint32_t pageSize) {
    return Chunked(
        kCmdWriteLightMap, source, nullptr, count,
        [page, pageSize](uint32_t done) { return static_cast<uint16_t>(page * pageSize + done); },
        LockKind::kStream, ExchangeKind::kCommand);
}

int DeviceChannel::StreamKeyColours(const uint8_t* source, uint32_t count) {
    return Chunked(
        kCmdStreamKeyColours, source, nullptr, count,
        [](uint32_t done) { return static_cast<uint16_t>(done); }, LockKind::kStream,
        ExchangeKind::kStream);
}

int DeviceChannel::WriteMacroData(const uint8_t* source, uint32_t count) {
    return Chunked(
        kCmdWriteMacroData, source, nullptr, count,
        [](uint32_t done) { return static_cast<uint16_t>(done); }, LockKind::kCommand,
        ExchangeKind::kCommand);
}

int DeviceChannel::WriteShootData(const uint8_t* source, uint32_t count) {
    return Chunked(
        kCmdWriteShootData, source, nullptr, count,
        [](uint32_t done) { return static_cast<uint16_t>(done); }, LockKind::kCommand,
        ExchangeKind::kCommand);
}

int DeviceChannel::ReadLedIndexTable(uint8_t* destination) {
    return Chunked(
        kCmdReadLedIndexTable, nullptr, destination, blockSize_ / 3u,
        [](uint32_t done) { return static_cast<uint16_t>(done); }, LockKind::kCommand,
        ExchangeKind::kCommand);
}

int DeviceChannel::ReceiverPoll() {
    // The one frame without a checksum.
    CommandFrame frame = CommandFrame::Request(kCmdReceiverPoll);
    std::lock_guard<std::mutex> guard(commandLock_);
    return RawExchange(frame);
}

int DeviceChannel::ReadPowerStatus(uint8_t* destination, uint32_t count, uint16_t address) {
    // More than one frame carries would read past the response.
    count = std::min<uint32_t>(count, chunkSize_);
    CommandFrame request =
        CommandFrame::Request(kCmdReadPowerStatus, static_cast<uint8_t>(count), address);
    request.Seal();
    CommandFrame response;
    int r;
    {
        std::lock_guard<std::mutex> guard(commandLock_);
        r = Exchange(request, response, ExchangeKind::kCommand);
    }
    if (r != kResultOk) return r;
    if (response.code() != kCmdReadPowerStatus) return r;
    if (const int status = StatusResult(response); status != kResultOk) return status;
    std::memcpy(destination, response.payload(), count);
    return kResultOk;
}

int DeviceChannel::SingleFrame(uint8_t code, CommandFrame& response) {
    CommandFrame request = CommandFrame::Request(code);
    request.Seal();
    std::lock_guard<std::mutex> guard(commandLock_);
    return Exchange(request, response, ExchangeKind::kCommand);
}

int DeviceChannel::ResumeLighting() {
    CommandFrame response;
    const int r = SingleFrame(kCmdResumeLighting, response);
    if (r != kResultOk) return r;
    return StatusResult(response);
}

bool DeviceChannel::QueryLink(uint8_t* destination2) {
    if (mode_ == kDirect) return true;
    CommandFrame response;
    const int r = SingleFrame(kCmdQueryLink, response);
    const bool linked = (response.bytes[8] == 0xFF || response.bytes[9] == 0xFF) &&
                        r == kResultOk && StatusResult(response) == kResultOk;
    if (linked && destination2) std::memcpy(destination2, response.payload(), 2);
    return linked;
}

}  // namespace device
