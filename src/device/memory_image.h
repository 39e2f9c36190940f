#pragma once

// The image that macros (and the mouse's shoot presets) take in device memory, built from event
// lists. Shared by the keyboard and the mouse; all 16-bit fields little-endian:
//
//   offset 0       signature 0x55AA (bytes 0xAA, 0x55)
//   offset 2       total image size S in bytes
//   offset 4       number of entries N
//   offsets 6..15  0
//   offset 16      N 16-bit offsets, each entry's from the start of the image
//   16 + 2 N       the entries, one after the other: 16-bit event count E, 16-bit 0, E events
//
// so S = 16 + 6 N + 4 x (all events). One event is 4 bytes: delay low and high byte (ms), the
// event type in bits 0..6 with bit 7 set for a press, and the button or key code.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/command_frame.h"
#include "profile/macro_store.h"

namespace device {

using ImageEvent = std::array<uint8_t, 4>;

inline constexpr uint16_t kImageSignature = 0x55AA;
inline constexpr size_t kImageHeaderSize = 16;
inline constexpr size_t kImageEntryHeaderSize = 4;
inline constexpr size_t kImageEventSize = 4;
// Events one entry may hold in the device.
inline constexpr int kMaxImageEvents = profile::MacroStore::kDeviceImageEventLimit;
// The mouse's shoot memory: four presets, read from "ShootData_" n ".Shoot".
inline constexpr int kShootEntryCount = 4;

// One event; nothing for a type outside 0..127 or a button outside 0..255, which the 4 bytes
// cannot carry. The delay is taken into 0..65535.
std::optional<ImageEvent> EncodeImageEvent(bool down, int type, int button, int delay);

// The events of a macro or shoot file as the macro store reads them
// (profile::MacroStore::LoadEvents and EventsOf), in the device's 4 bytes each. An event the bytes
// cannot carry (which the store never hands out) is passed over and logged with source and its
// position.
std::vector<ImageEvent> ImageEventsOf(const std::vector<profile::MacroEvent>& events,
                                      std::string_view source,
                                      std::vector<std::string>* notes = nullptr);

// The shoot file of preset n, in the device's user data folder.
std::string ShootFileName(int preset);

// The bytes of the macro memory: capacity units of 128 bytes in the device information block.
size_t MacroCapacity(const DeviceInfoBlock& info);

struct ImageLimits {
    size_t capacity = SIZE_MAX;  // bytes the device holds; the 16-bit size field bounds it too
    int maxEvents = kMaxImageEvents;
};

struct MemoryImage {
    enum class Status : uint8_t {
        kBuilt,          // bytes hold the image
        kEmpty,          // no entries: nothing to write
        kTooManyEvents,  // entry has events (more than maxEvents)
        kTooLarge,       // size exceeds capacity
    };
    Status status = Status::kEmpty;
    std::vector<uint8_t> bytes;
    int entry = -1;   // kTooManyEvents: the first entry over the limit
    int events = 0;   // kTooManyEvents: its event count
    size_t size = 0;  // the image size, also when it is too large
    size_t capacity = 0;
    int maxEvents = kMaxImageEvents;

    // What the message box reports for kTooManyEvents and kTooLarge: the events over the limit,
    // and the fewest events whose removal makes the image fit.
    int EventsOverLimit() const { return events - maxEvents; }
    int EventsOverCapacity() const {
        if (size <= capacity) return 0;
        return static_cast<int>((size - capacity + kImageEventSize - 1) / kImageEventSize);
    }
};

// What the main window tells the user when an image is refused: the message key and its number
// (the events over the limit, "message_text_26"; the events to remove for the image to fit,
// "message_text_16"). Nothing for an image that was built or was empty.
struct ImageRefusal {
    std::string_view messageKey;
    int value = 0;
};
std::optional<ImageRefusal> RefusalOf(const MemoryImage& image);

// Lays the entries out, entry i at position i; refuses, building nothing, an entry over the event
// limit (the first one) or an image over the capacity.
MemoryImage BuildMemoryImage(std::span<const std::vector<ImageEvent>> entries,
                             const ImageLimits& limits);

}  // namespace device
