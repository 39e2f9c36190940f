#include "device/memory_image.h"

#include <algorithm>
#include <cstdint>

#include "os/debug_output.h"

namespace device {

namespace {

void Note(std::vector<std::string>* notes, const std::string& text) {
    os::DebugOutput("memory image: " + text + "\n");
    if (notes) notes->push_back(text);
}

void Put16(std::vector<uint8_t>& bytes, size_t at, size_t value) {
    bytes[at] = static_cast<uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

std::optional<ImageEvent> EncodeImageEvent(bool down, int type, int button, int delay) {
    if (type < 0 || type > 0x7F || button < 0 || button > 0xFF) return std::nullopt;
    const int d = std::clamp(delay, 0, 0xFFFF);
    return ImageEvent{static_cast<uint8_t>(d & 0xFF), static_cast<uint8_t>(d >> 8),
                      static_cast<uint8_t>(type | (down ? 0x80 : 0)), static_cast<uint8_t>(button)};
}

std::vector<ImageEvent> ImageEventsOf(const std::vector<profile::MacroEvent>& events,
                                      std::string_view source, std::vector<std::string>* notes) {
    std::vector<ImageEvent> out;
    out.reserve(events.size());
    for (size_t i = 0; i < events.size(); ++i) {
        const profile::MacroEvent& e = events[i];
        const std::optional<ImageEvent> encoded =
            EncodeImageEvent(e.down, e.type, e.button, e.delay);
        if (!encoded) {
            Note(notes, std::string(source) + ": event " + std::to_string(i) +
                            " has no type 0..127 and button 0..255; passed over");
            continue;
        }
        out.push_back(*encoded);
    }
    return out;
}

std::string ShootFileName(int preset) {
    return "ShootData_" + std::to_string(preset) + ".Shoot";
}

size_t MacroCapacity(const DeviceInfoBlock& info) {
    return size_t{info.macroCapacityUnits()} * 128;
}

std::optional<ImageRefusal> RefusalOf(const MemoryImage& image) {
    switch (image.status) {
        case MemoryImage::Status::kTooManyEvents:
            return ImageRefusal{"message_text_26", image.EventsOverLimit()};
        case MemoryImage::Status::kTooLarge:
            return ImageRefusal{"message_text_16", image.EventsOverCapacity()};
        case MemoryImage::Status::kBuilt:
        case MemoryImage::Status::kEmpty:
            break;
    }
    return std::nullopt;
}

MemoryImage BuildMemoryImage(std::span<const std::vector<ImageEvent>> entries,
                             const ImageLimits& limits) {
    MemoryImage image;
    // The size and offset fields are 16 bits wide: nothing larger can be described.
    image.capacity = std::min<size_t>(limits.capacity, 0xFFFF);
    image.maxEvents = limits.maxEvents;
    if (entries.empty()) return image;
    size_t events = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const size_t e = entries[i].size();
        if (e > static_cast<size_t>(std::max(limits.maxEvents, 0))) {
            image.status = MemoryImage::Status::kTooManyEvents;
            image.entry = static_cast<int>(i);
            image.events = static_cast<int>(std::min<size_t>(e, INT32_MAX));
            Note(nullptr, "entry " + std::to_string(i) + " has " + std::to_string(e) +
                              " events; the device takes " + std::to_string(limits.maxEvents));
            return image;
        }
        events += e;
    }
    const size_t n = entries.size();
    image.size = kImageHeaderSize + n * (2 + kImageEntryHeaderSize) + events * kImageEventSize;
    if (image.size > image.capacity) {
        image.status = MemoryImage::Status::kTooLarge;
        Note(nullptr, "the image takes " + std::to_string(image.size) +
                          " bytes; the device holds " + std::to_string(image.capacity));
        return image;
    }

    std::vector<uint8_t>& b = image.bytes;
    b.assign(image.size, 0);
    Put16(b, 0, kImageSignature);
    Put16(b, 2, image.size);
    Put16(b, 4, n);
    size_t at = kImageHeaderSize + 2 * n;
    for (size_t i = 0; i < n; ++i) {
        Put16(b, kImageHeaderSize + 2 * i, at);
        Put16(b, at, entries[i].size());
        at += kImageEntryHeaderSize;
        for (const ImageEvent& e : entries[i]) {
            std::copy(e.begin(), e.end(), b.begin() + static_cast<ptrdiff_t>(at));
            at += kImageEventSize;
        }
    }
    image.status = MemoryImage::Status::kBuilt;
    return image;
}

}  // namespace device
