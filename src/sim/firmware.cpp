#include "sim/firmware.h"

#include <algorithm>
#include <cstring>

namespace sim {

namespace {

constexpr std::array<const char*, kAreaCount> kAreaNames = {
    "info", "settings", "keys", "leds", "lightmap", "colours", "macro", "shoot", "power"};

constexpr std::array<const char*, 7> kFaultNames = {"noanswer", "late",   "echo",  "statusff",
                                                    "statusfe", "refuse", "unplug"};

constexpr size_t kInfoSize = 34;
constexpr size_t kPowerSize = 6;
constexpr size_t kKeyTableSize = 512;
constexpr size_t kLightPages = 8;
constexpr size_t kLightPageBytes = 64;
constexpr size_t kLightPageStride = 512;
constexpr size_t kMacroUnit = 128;
constexpr size_t kMacroStorage = 255 * kMacroUnit;
constexpr size_t kShootSize = 2048;
constexpr size_t kMouseProfileStride = 128;
// The headset's colour memory: two zones of 13 LEDs, 3 channels each.
constexpr size_t kHeadsetLeds = 13;
constexpr size_t kHeadsetZoneBytes = kHeadsetLeds * 3;

// Info block fields.
constexpr size_t kInfoKeyCount = 5;
constexpr size_t kInfoMacroUnits = 6;
constexpr size_t kInfoSensor = 9;
constexpr size_t kInfoDpiStep = 11;
constexpr size_t kInfoDpiBase = 14;

constexpr std::array<Area, 5> kPersistentAreas = {Area::kSettings, Area::kKeys, Area::kLightMap,
                                                  Area::kMacro, Area::kShoot};
constexpr char kImageMagic[] = "BRSIM1";

struct KindTraits {
    size_t settings;
    bool keys;
    bool lighting;  // LED index, light map, live colours (keyboard)
    bool macros;
    bool shoot;
    bool power;
    std::array<uint8_t, 14> commands;  // zero-terminated
};

// The mouse pad and the headset keep only a lighting block and a power status.
constexpr KindTraits kLightingOnly = {1024,
                                      false,
                                      false,
                                      false,
                                      false,
                                      true,
                                      {cmd::kReadInfo, cmd::kReadSettings, cmd::kWriteSettings,
                                       cmd::kPoll, cmd::kReadPower, cmd::kLinkState}};

// clang-format off
constexpr std::array<KindTraits, kKindCount> kTraits = {{
    // settings, keys, lighting, macros, shoot, power, commands
    {512, true, true, true, false, true,
     {cmd::kReadInfo, cmd::kReadSettings, cmd::kWriteSettings, cmd::kReadKeys, cmd::kWriteKeys,
      cmd::kWriteLightMap, cmd::kStreamColours, cmd::kWriteMacros, cmd::kPoll, cmd::kReadPower,
      cmd::kReadLedIndex, cmd::kResumeLighting, cmd::kLinkState}},
    {2048, true, false, true, true, true,
     {cmd::kReadInfo, cmd::kReadSettings, cmd::kWriteSettings, cmd::kReadKeys, cmd::kWriteKeys,
      cmd::kWriteMacros, cmd::kWriteShoot, cmd::kPoll, cmd::kReadPower, cmd::kLinkState}},
    kLightingOnly,
    kLightingOnly,
    {0, false, false, false, false, false, {cmd::kLinkState}},
}};
// clang-format on

const KindTraits& TraitsOf(Kind kind) {
    return kTraits[static_cast<size_t>(kind)];
}

// The memory area each reading or writing command addresses.
struct CommandArea {
    uint8_t command;
    Area area;
    bool write;
};
constexpr std::array<CommandArea, 11> kCommandAreas = {{
    {cmd::kReadInfo, Area::kInfo, false},
    {cmd::kReadSettings, Area::kSettings, false},
    {cmd::kWriteSettings, Area::kSettings, true},
    {cmd::kReadKeys, Area::kKeys, false},
    {cmd::kWriteKeys, Area::kKeys, true},
    {cmd::kWriteLightMap, Area::kLightMap, true},
    {cmd::kStreamColours, Area::kColours, true},
    {cmd::kWriteMacros, Area::kMacro, true},
    {cmd::kWriteShoot, Area::kShoot, true},
    {cmd::kReadPower, Area::kPower, false},
    {cmd::kReadLedIndex, Area::kLedIndex, false},
}};

const CommandArea* AreaOfCommand(uint8_t command) {
    for (const CommandArea& c : kCommandAreas)
        if (c.command == command) return &c;
    return nullptr;
}

bool IsWrite(uint8_t command) {
    const CommandArea* c = AreaOfCommand(command);
    return c && c->write;
}

// Position of name in a name table, -1 when absent.
int IndexOfName(std::span<const char* const> names, std::string_view name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (name == names[i]) return static_cast<int>(i);
    return -1;
}

void Put16(std::vector<uint8_t>& bytes, size_t at, uint16_t value) {
    bytes[at] = static_cast<uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

const char* AreaName(Area area) {
    return kAreaNames[static_cast<size_t>(area)];
}

bool AreaFromName(std::string_view name, Area* area) {
    const int i = IndexOfName(kAreaNames, name);
    if (i >= 0) *area = static_cast<Area>(i);
    return i >= 0;
}

const char* FaultName(FaultKind kind) {
    return kFaultNames[static_cast<size_t>(kind)];
}

bool FaultFromName(std::string_view name, FaultKind* kind) {
    const int i = IndexOfName(kFaultNames, name);
    if (i >= 0) *kind = static_cast<FaultKind>(i);
    return i >= 0;
}

Firmware::Firmware(Kind kind) : kind_(kind) {
    FactoryReset();
}

void Firmware::FactoryReset() {
    const KindTraits& t = TraitsOf(kind_);
    std::vector<uint8_t>& info = Bytes(Area::kInfo);
    info.assign(kInfoSize, 0);
    Bytes(Area::kSettings).assign(t.settings, 0);
    Bytes(Area::kKeys).assign(t.keys ? kKeyTableSize : 0, 0);
    Bytes(Area::kLedIndex).assign(t.lighting ? kKeyboardLeds.size() : 0, 0xFF);
    Bytes(Area::kLightMap).assign(t.lighting ? kLightPages * kLightPageBytes : 0, 0);
    size_t colours = t.lighting ? kKeyboardLedCount * 3 : 0;
    if (kind_ == Kind::kHeadset) colours = 2 * kHeadsetZoneBytes;
    Bytes(Area::kColours).assign(colours, 0);
    Bytes(Area::kMacro).assign(t.macros ? kMacroStorage : 0, 0);
    Bytes(Area::kShoot).assign(t.shoot ? kShootSize : 0, 0);
    Bytes(Area::kPower).assign(t.power ? kPowerSize : 0, 0);

    std::vector<uint8_t>& settings = Bytes(Area::kSettings);
    std::vector<uint8_t>& keys = Bytes(Area::kKeys);
    std::vector<uint8_t>& power = Bytes(Area::kPower);
    switch (kind_) {
        case Kind::kKeyboard: {
            info[kInfoKeyCount] = static_cast<uint8_t>(kKeyboardKeys.size());
            info[kInfoMacroUnits] = 32;
            for (size_t i = 0; i < kKeyboardKeys.size(); ++i) {
                keys[i * 3] = kKeyboardKeys[i].type;
                keys[i * 3 + 1] = kKeyboardKeys[i].code1;
                keys[i * 3 + 2] = kKeyboardKeys[i].code2;
            }
            std::copy(kKeyboardLeds.begin(), kKeyboardLeds.end(), Bytes(Area::kLedIndex).begin());
            // Lighting mode 1 at full brightness, middle speed, colour cycling, red.
            constexpr uint8_t block[] = {0, 1, 4, 2, 0, 1, 255, 0, 0};
            std::copy(std::begin(block), std::end(block), settings.begin());
            power = {100, 1, 0, 0, 0, 0};
            break;
        }
        case Kind::kMouse: {
            info[kInfoKeyCount] = static_cast<uint8_t>(kMouseButtons.size());
            info[kInfoMacroUnits] = 16;
            Put16(info, kInfoSensor, 0x3395);
            info[kInfoDpiStep] = 100;
            Put16(info, kInfoDpiBase, 100);
            for (size_t i = 0; i < kMouseButtons.size(); ++i) {
                keys[i * 3] = kMouseButtons[i].type;
                keys[i * 3 + 1] = kMouseButtons[i].code1;
                keys[i * 3 + 2] = kMouseButtons[i].code2;
            }
            // Every profile starts alike: lighting, report rate, five of seven DPI stages
            // (400, 800, 1600, 3200, 6400; 9600 and 12800 off), sleep, debounce, logo.
            constexpr uint8_t lighting[] = {0, 1, 4, 2, 0, 1, 0, 255, 0, 0, 0, 0, 1};
            constexpr uint8_t dpi[7] = {3, 7, 15, 31, 63, 95, 127};
            constexpr uint8_t colours[7][3] = {{255, 0, 0},    {0, 255, 0},   {0, 0, 255},
                                               {255, 255, 0},  {255, 0, 255}, {0, 255, 255},
                                               {255, 255, 255}};
            for (size_t p = 0; p * kMouseProfileStride < settings.size(); ++p) {
                uint8_t* b = settings.data() + p * kMouseProfileStride;
                std::copy(std::begin(lighting), std::end(lighting), b);
                for (size_t s = 0; s < 7; ++s) {
                    uint8_t* st = b + 14 + 9 * s;
                    st[0] = s < 5 ? 1 : 0;
                    st[2] = dpi[s];
                    st[4] = dpi[s];
                    std::copy(colours[s], colours[s] + 3, st + 6);
                }
                b[77] = 10;
                b[78] = 30;
                b[79] = 10;
                b[80] = 30;
                b[81] = 4;
            }
            power = {80, 2, 0, 0, 0, 0};
            break;
        }
        case Kind::kPad:
        case Kind::kHeadset: {
            constexpr uint8_t block[] = {0, 1, 4, 2, 0, 1, 0, 0, 255};
            std::copy(std::begin(block), std::end(block), settings.begin());
            power = {100, 0, 0, 0, 0, 0};
            break;
        }
        case Kind::kReceiver:
            break;
    }
}

std::vector<uint8_t> Firmware::ReadArea(Area area) const {
    std::lock_guard lock(mutex_);
    const std::vector<uint8_t>& b = Bytes(area);
    return {b.begin(), b.begin() + static_cast<ptrdiff_t>(AreaSizeLocked(area))};
}

bool Firmware::WriteArea(Area area, size_t offset, std::span<const uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    const size_t size = AreaSizeLocked(area);
    if (offset > size || bytes.size() > size - offset) return false;
    std::copy(bytes.begin(), bytes.end(), Bytes(area).begin() + static_cast<ptrdiff_t>(offset));
    return true;
}

uint8_t Firmware::InfoByte(size_t index) const {
    std::lock_guard lock(mutex_);
    return index < kInfoSize ? Bytes(Area::kInfo)[index] : 0;
}

size_t Firmware::AreaSizeLocked(Area area) const {
    const size_t stored = Bytes(area).size();
    if (area == Area::kMacro)
        return std::min(stored, size_t{Bytes(Area::kInfo)[kInfoMacroUnits]} * kMacroUnit);
    return stored;
}

void Firmware::SetKeyCount(uint8_t keys) {
    std::lock_guard lock(mutex_);
    Bytes(Area::kInfo)[kInfoKeyCount] = keys;
}

void Firmware::SetMacroCapacity(uint8_t units) {
    std::lock_guard lock(mutex_);
    Bytes(Area::kInfo)[kInfoMacroUnits] = units;
}

void Firmware::SetSensor(uint16_t sensorId, uint8_t dpiStep, uint16_t dpiBase) {
    std::lock_guard lock(mutex_);
    std::vector<uint8_t>& info = Bytes(Area::kInfo);
    Put16(info, kInfoSensor, sensorId);
    info[kInfoDpiStep] = dpiStep;
    Put16(info, kInfoDpiBase, dpiBase);
}

void Firmware::SetPower(uint8_t battery, uint8_t state) {
    std::lock_guard lock(mutex_);
    std::vector<uint8_t>& power = Bytes(Area::kPower);
    if (power.size() < kPowerSize) return;
    power[0] = battery;
    power[1] = state;
}

void Firmware::SetPowerByte(size_t index, uint8_t value) {
    std::lock_guard lock(mutex_);
    std::vector<uint8_t>& power = Bytes(Area::kPower);
    if (index < power.size()) power[index] = value;
}

void Firmware::SetVersionNumber(uint16_t version) {
    std::lock_guard lock(mutex_);
    version_ = version;
}

uint16_t Firmware::versionNumber() const {
    std::lock_guard lock(mutex_);
    return version_;
}

void Firmware::AddFault(const Fault& fault) {
    std::lock_guard lock(mutex_);
    faults_.push_back({fault, 0, 0});
}

void Firmware::ClearFaults() {
    std::lock_guard lock(mutex_);
    faults_.clear();
}

size_t Firmware::FrameCount() const {
    std::lock_guard lock(mutex_);
    return frameCount_;
}

std::vector<Frame> Firmware::LastFrames() const {
    std::lock_guard lock(mutex_);
    return {lastFrames_.begin(), lastFrames_.end()};
}

size_t Firmware::ColourReportCount() const {
    std::lock_guard lock(mutex_);
    return colourReports_;
}

size_t Firmware::ResumeCount() const {
    std::lock_guard lock(mutex_);
    return resumes_;
}

void Firmware::SetEventSink(Path path, EventSink sink) {
    std::lock_guard lock(mutex_);
    sinks_[static_cast<size_t>(path)] = std::move(sink);
}

void Firmware::SetChangeListener(std::function<void()> listener) {
    std::lock_guard lock(mutex_);
    changed_ = std::move(listener);
}

void Firmware::NoteEventLocked(uint16_t code) {
    // A profile or DPI-stage change the device makes itself shows in its memory too.
    const uint8_t high = code >> 8;
    if ((high != 0x10 && high != 0x11) || (kind_ != Kind::kKeyboard && kind_ != Kind::kMouse))
        return;
    std::vector<uint8_t>& settings = Bytes(Area::kSettings);
    if (settings.empty()) return;
    const uint8_t profile = code & 0x0F;
    settings[0] = profile;
    const size_t stage = profile * kMouseProfileStride + 12;
    if (kind_ == Kind::kMouse && high == 0x11 && stage < settings.size())
        settings[stage] = (code >> 4) & 0x0F;
}

bool Firmware::SendEvent(uint16_t code) {
    std::array<EventSink, 2> sinks;
    std::function<void()> changed;
    {
        std::lock_guard lock(mutex_);
        NoteEventLocked(code);
        sinks = sinks_;
        if ((code >> 8) == 0x10 || (code >> 8) == 0x11) changed = changed_;
    }
    if (changed) changed();
    bool delivered = false;
    for (const EventSink& sink : sinks)
        if (sink && sink(code)) delivered = true;
    return delivered;
}

bool Firmware::Press(uint8_t key) {
    if (kind_ == Kind::kKeyboard) return SendEvent(event::kKeyPressed | key);
    if (kind_ == Kind::kMouse) return key < kMouseButtons.size() && SendEvent(event::kMouseClicked);
    return false;
}

bool Firmware::Release(uint8_t key) {
    if (kind_ == Kind::kKeyboard) return SendEvent(event::kKeyReleased | key);
    // The mouse reports only the press (for its reactive lighting).
    return kind_ == Kind::kMouse && key < kMouseButtons.size();
}

bool Firmware::Supports(uint8_t command) const {
    for (uint8_t c : TraitsOf(kind_).commands)
        if (c != 0 && c == command) return true;
    return false;
}

bool Firmware::Locate(uint8_t command, size_t address, size_t length, Range* range) const {
    const CommandArea* c = AreaOfCommand(command);
    if (!c) return false;
    const Area area = c->area;
    size_t offset = address;
    if (area == Area::kLightMap) {
        const size_t page = address / kLightPageStride;
        const size_t inPage = address % kLightPageStride;
        if (page >= kLightPages || inPage + length > kLightPageBytes) return false;
        offset = page * kLightPageBytes + inPage;
    }
    const size_t size = AreaSizeLocked(area);
    if (size == 0 || offset + length > size) return false;
    *range = {area, offset};
    return true;
}

Frame Firmware::AnswerTo(const Frame& request, uint8_t status) {
    Frame answer{};
    answer[kReportIdByte] = kVendorReportId;
    answer[kCommandByte] = request[kCommandByte];
    answer[kLengthByte] = request[kLengthByte];
    answer[kAddressLowByte] = request[kAddressLowByte];
    answer[kAddressHighByte] = request[kAddressHighByte];
    answer[kStatusByte] = status;
    return answer;
}

Firmware::Outcome Firmware::Process(const Frame& frame, bool refuseWrites) {
    Outcome out;
    const uint8_t command = frame[kCommandByte];
    // The link poll is the one frame the host sends without a checksum.
    if (command != cmd::kPoll && !ChecksumMatches(frame)) {
        Frame answer = AnswerTo(frame, kStatusBadChecksum);
        StampChecksum(answer);
        out.replies.push_back({answer, 0});
        return out;
    }
    std::lock_guard lock(mutex_);
    const size_t length = frame[kLengthByte];
    const size_t address = frame[kAddressLowByte] | (frame[kAddressHighByte] << 8);
    Frame answer = AnswerTo(frame, kStatusOk);
    Range range{};
    if (!Supports(command) || length > kMaxPayload) {
        answer[kStatusByte] = kStatusRefused;
    } else if (command == cmd::kPoll || command == cmd::kLinkState) {
        // A device on its cable has no radio partners: both link bytes stay 0.
    } else if (command == cmd::kResumeLighting) {
        ++resumes_;
    } else if (IsWrite(command)) {
        if (refuseWrites || !Locate(command, address, length, &range)) {
            answer[kStatusByte] = kStatusRefused;
        } else {
            std::memcpy(Bytes(range.area).data() + range.offset, frame.data() + kPayloadByte,
                        length);
            out.memoryChanged = command != cmd::kStreamColours;
        }
    } else if (Locate(command, address, length, &range)) {
        std::memcpy(answer.data() + kPayloadByte, Bytes(range.area).data() + range.offset, length);
    } else {
        answer[kStatusByte] = kStatusRefused;
    }
    StampChecksum(answer);
    out.replies.push_back({answer, 0});
    return out;
}

Firmware::Outcome Firmware::HandleFrame(const Frame& frame) {
    bool unplug = false, noAnswer = false, refuse = false;
    int delayMs = 0, wrongEchoes = 0, status = -1;
    {
        std::lock_guard lock(mutex_);
        ++frameCount_;
        lastFrames_.push_back(frame);
        if (lastFrames_.size() > kKeptFrames) lastFrames_.pop_front();
        for (ActiveFault& f : faults_) {
            if (f.fault.command != 0 && f.fault.command != frame[kCommandByte]) continue;
            if (++f.seen <= f.fault.after) continue;
            if (f.fault.frames >= 0 && f.acted >= f.fault.frames) continue;
            ++f.acted;
            switch (f.fault.kind) {
                case FaultKind::kNoAnswer:
                    noAnswer = true;
                    break;
                case FaultKind::kLateAnswer:
                    delayMs = std::max(delayMs, f.fault.value);
                    break;
                case FaultKind::kWrongEcho:
                    wrongEchoes = std::clamp(f.fault.value, 1, 2);
                    break;
                case FaultKind::kStatusFF:
                    status = kStatusRefused;
                    break;
                case FaultKind::kStatusFE:
                    status = kStatusBadChecksum;
                    break;
                case FaultKind::kRefuseWrites:
                    refuse = true;
                    break;
                case FaultKind::kUnplugMidTransfer:
                    unplug = true;
                    break;
            }
        }
    }
    Outcome out;
    if (unplug) {
        out.disconnect = true;
        return out;
    }
    if (noAnswer) return out;
    if (status >= 0) {
        Frame answer = AnswerTo(frame, static_cast<uint8_t>(status));
        StampChecksum(answer);
        out.replies.push_back({answer, 0});
    } else {
        out = Process(frame, refuse);
    }
    for (Reply& r : out.replies) r.delayMs += delayMs;
    if (wrongEchoes > 0 && !out.replies.empty()) {
        Reply stray = out.replies.front();
        stray.bytes[kCommandByte] ^= 0x40;
        StampChecksum(stray.bytes);
        out.replies.insert(out.replies.begin(), static_cast<size_t>(wrongEchoes), stray);
    }
    if (out.memoryChanged) {
        std::function<void()> changed;
        {
            std::lock_guard lock(mutex_);
            changed = changed_;
        }
        if (changed) changed();
    }
    return out;
}

void Firmware::HandleColourReport(std::span<const uint8_t> report) {
    if (kind_ != Kind::kHeadset || report.size() < kHeadsetColourReportSize ||
        report[0] != kHeadsetColourReportId)
        return;
    size_t zone;
    if (report[1] == 0x22)
        zone = 0;
    else if (report[1] == 0x44)
        zone = 1;
    else
        return;
    // Sub-codes 0xAA..0xAC: red, green, blue of LEDs 0..6; 0xAD..0xAF: the same of LEDs 7..12.
    if (report[2] < 0xAA || report[2] > 0xAF) return;
    const size_t channel = (report[2] - 0xAA) % 3;
    const bool upper = report[2] >= 0xAD;
    const size_t first = upper ? 7 : 0;
    const size_t count = upper ? 6 : 7;
    std::lock_guard lock(mutex_);
    std::vector<uint8_t>& colours = Bytes(Area::kColours);
    for (size_t i = 0; i < count; ++i)
        colours[zone * kHeadsetZoneBytes + (first + i) * 3 + channel] = report[4 + i];
    ++colourReports_;
}

std::string Firmware::SaveImage() const {
    std::lock_guard lock(mutex_);
    std::string image(kImageMagic);
    image += static_cast<char>(kind_);
    for (Area area : kPersistentAreas) {
        const std::vector<uint8_t>& b = Bytes(area);
        image += static_cast<char>(area);
        for (int shift = 0; shift < 32; shift += 8)
            image += static_cast<char>((b.size() >> shift) & 0xFF);
        image.append(reinterpret_cast<const char*>(b.data()), b.size());
    }
    return image;
}

bool Firmware::LoadImage(std::string_view image, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    const std::string_view magic(kImageMagic);
    if (image.substr(0, magic.size()) != magic || image.size() < magic.size() + 1)
        return fail("not a simulated device memory image");
    if (static_cast<uint8_t>(image[magic.size()]) != static_cast<uint8_t>(kind_))
        return fail("the image belongs to another device kind");
    std::lock_guard lock(mutex_);
    // Check every entry first, so that a damaged image changes nothing.
    std::array<std::string_view, kAreaCount> found;
    size_t at = magic.size() + 1;
    while (at < image.size()) {
        if (image.size() - at < 5) return fail("truncated image");
        const uint8_t area = static_cast<uint8_t>(image[at]);
        uint32_t length = 0;
        for (int i = 0; i < 4; ++i)
            length |= static_cast<uint32_t>(static_cast<uint8_t>(image[at + 1 + i])) << (8 * i);
        at += 5;
        if (area >= kAreaCount || std::find(kPersistentAreas.begin(), kPersistentAreas.end(),
                                            static_cast<Area>(area)) == kPersistentAreas.end())
            return fail("unknown memory area " + std::to_string(area));
        if (length != Bytes(static_cast<Area>(area)).size() || image.size() - at < length)
            return fail(std::string("memory area ") + AreaName(static_cast<Area>(area)) +
                        " has the wrong size");
        found[area] = image.substr(at, length);
        at += length;
    }
    for (size_t i = 0; i < kAreaCount; ++i)
        if (!found[i].empty()) std::memcpy(areas_[i].data(), found[i].data(), found[i].size());
    return true;
}

}  // namespace sim
