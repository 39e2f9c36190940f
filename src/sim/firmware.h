#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/factory_tables.h"
#include "sim/sim_protocol.h"

namespace sim {

// The memory areas a device's firmware keeps, as the host reads and writes them.
enum class Area : uint8_t {
    kInfo,      // 34-byte device information block (0x03)
    kSettings,  // settings memory, active index at address 0 (0x05, 0x06)
    kKeys,      // key table, 3 bytes per key (0x07, 0x09)
    kLedIndex,  // one LED index per key (0x1B)
    kLightMap,  // per-key colour-map pages, 64 bytes each at page times 512 (0x0B)
    kColours,   // live colours: 3 bytes per LED (0x12); the headset's colour reports
    kMacro,     // macro memory, info byte 6 times 128 bytes (0x15)
    kShoot,     // shoot memory (0x17)
    kPower,     // 6-byte power status (0x1A)
};
inline constexpr size_t kAreaCount = 9;

// Texts that name the areas in brasvik-sim and in the demo files.
const char* AreaName(Area area);
bool AreaFromName(std::string_view name, Area* area);

// A misbehaviour a test switches on. A fault watches the frames of its command (every frame
// when command is 0): it lets the first `after` of them pass, then acts on the next `frames`
// ones (-1: on every one until cleared).
enum class FaultKind : uint8_t {
    kNoAnswer,           // the frame is dropped, nothing comes back
    kLateAnswer,         // the answer comes value ms late
    kWrongEcho,          // value (1 or 2) answers with a wrong command echo come first
    kStatusFF,           // answered with status 0xFF, nothing done
    kStatusFE,           // answered with status 0xFE, nothing done
    kRefuseWrites,       // writes answered with status 0xFF and not stored; reads work
    kUnplugMidTransfer,  // the device goes away instead of answering (off the radio link
                         // when reached through the receiver)
};

struct Fault {
    FaultKind kind = FaultKind::kNoAnswer;
    uint8_t command = 0;
    int after = 0;
    int frames = -1;
    int value = 0;
};

const char* FaultName(FaultKind kind);
bool FaultFromName(std::string_view name, FaultKind* kind);

// One device's firmware: its memory, its answers to command frames and the events it sends.
// The transport (a cable on the virtual bus, the receiver's radio) is someone else's: frames
// come in through HandleFrame, answers go back in its outcome, events go to the sinks.
// Thread-safe: host threads, the test and the control channel call it at once.
class Firmware : public std::enable_shared_from_this<Firmware> {
  public:
    explicit Firmware(Kind kind);
    virtual ~Firmware() = default;
    Firmware(const Firmware&) = delete;
    Firmware& operator=(const Firmware&) = delete;

    Kind kind() const { return kind_; }

    struct Reply {
        Frame bytes{};
        int delayMs = 0;
    };
    struct Outcome {
        std::vector<Reply> replies;
        bool disconnect = false;     // the device leaves instead of answering
        bool memoryChanged = false;  // the host changed persistent memory
    };
    // One command frame from the host (64 bytes, report id first).
    Outcome HandleFrame(const Frame& frame);
    // A 17-byte colour output report of the headset (longer buffers are accepted).
    void HandleColourReport(std::span<const uint8_t> report);

    // Memory, for tests and the control channel. Writes outside the area are refused.
    std::vector<uint8_t> ReadArea(Area area) const;
    bool WriteArea(Area area, size_t offset, std::span<const uint8_t> bytes);
    uint8_t InfoByte(size_t index) const;

    // The device information block's settable fields; the key table keeps its entries.
    void SetKeyCount(uint8_t keys);
    void SetMacroCapacity(uint8_t units);  // of 128 bytes
    void SetSensor(uint16_t sensorId, uint8_t dpiStep, uint16_t dpiBase);

    // Power status: battery level (any value; above 100 is what a faulty gauge reports), power
    // state (0 powered, 1 charging, 2 on battery), connection value and phone type.
    void SetPower(uint8_t battery, uint8_t state);
    void SetPowerByte(size_t index, uint8_t value);

    // The HID version number the cable interface reports; read when the device is plugged.
    void SetVersionNumber(uint16_t version);
    uint16_t versionNumber() const;

    void AddFault(const Fault& fault);
    void ClearFaults();

    // Introspection: frames received (kept: the last kKeptFrames), colour reports, lighting
    // resumes.
    static constexpr size_t kKeptFrames = 64;
    size_t FrameCount() const;
    std::vector<Frame> LastFrames() const;
    size_t ColourReportCount() const;
    size_t ResumeCount() const;

    // Events. A sink is one way out to the host: the cable and the receiver's radio. Each returns
    // true when it delivered. SendEvent is true when some sink took the event.
    enum class Path : uint8_t { kCable, kRadio };
    using EventSink = std::function<bool(uint16_t code)>;
    void SetEventSink(Path path, EventSink sink);
    bool SendEvent(uint16_t code);
    // A key (keyboard: device key number) or button (mouse: 0..10) going down or up.
    bool Press(uint8_t key);
    bool Release(uint8_t key);

    // Called (outside every lock) after the host changed the persistent memory.
    void SetChangeListener(std::function<void()> listener);
    // The persistent memory as one image, and back; a bad image changes nothing.
    std::string SaveImage() const;
    bool LoadImage(std::string_view image, std::string* error);

  protected:
    // Carries out a frame that no fault has taken; refuseWrites from kRefuseWrites.
    virtual Outcome Process(const Frame& frame, bool refuseWrites);
    static Frame AnswerTo(const Frame& request, uint8_t status);

  private:
    struct Range {
        Area area;
        size_t offset;
    };
    bool Supports(uint8_t command) const;
    bool Locate(uint8_t command, size_t address, size_t length, Range* range) const;
    size_t AreaSizeLocked(Area area) const;
    std::vector<uint8_t>& Bytes(Area area) { return areas_[static_cast<size_t>(area)]; }
    const std::vector<uint8_t>& Bytes(Area area) const { return areas_[static_cast<size_t>(area)]; }
    void FactoryReset();
    void NoteEventLocked(uint16_t code);

    const Kind kind_;
    mutable std::mutex mutex_;  // guards everything below
    std::array<std::vector<uint8_t>, kAreaCount> areas_;
    uint16_t version_ = kDefaultVersionNumber;
    struct ActiveFault {
        Fault fault;
        int seen = 0;
        int acted = 0;
    };
    std::vector<ActiveFault> faults_;
    size_t frameCount_ = 0;
    std::deque<Frame> lastFrames_;
    size_t colourReports_ = 0;
    size_t resumes_ = 0;
    std::array<EventSink, 2> sinks_;
    std::function<void()> changed_;
};

}  // namespace sim
