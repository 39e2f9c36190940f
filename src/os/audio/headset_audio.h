#pragma once

// The headset's audio configuration: volume, mute, microphone, equaliser, surround and voice
// effects, read and written by property name on one of the headset's two audio endpoints.
//
// Three kinds of property:
//   mixer   volume and mute of the speakers and the microphone: controls of the headset's own
//           sound card, applied by the sound driver
//   range   read-only: the mixer controls' ranges in dB
//   stored  the audio chip's effects (equaliser, surround, environment, noise cancelling, voice
//           effect, echo): no driver applies them on this system, so their values are kept here
//           (and, through the caller, in the headset profile) and reads answer from what is kept;
//           AppliedByDevice says which is which
//
// Values are doubles: dB and 0..1 scalars as they are, integers and switches (0 or 1) as whole
// numbers. A write outside a property's range is refused and changes nothing.
//
// Used from the UI thread only.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace os::audio {

// What the headset page shows when the audio side cannot start.
inline constexpr std::string_view kInitFailedText = "ConfLibInit called failed!";

enum class Endpoint : uint8_t { kPlayback, kCapture };

enum class Backing : uint8_t { kMixer, kRange, kStored };
enum class ValueKind : uint8_t { kDecibel, kScalar, kSwitch, kInteger };

// Where a mixer property acts: the endpoint's own level, or the microphone heard in the
// headphones ("AA" properties).
enum class MixerRole : uint8_t { kNone, kMain, kMonitor };

struct PropertyInfo {
    std::string_view name;
    ValueKind kind;
    Backing backing;
    MixerRole role;
    double min;  // decibel properties take their range from the device
    double max;
};

// clang-format off
inline constexpr std::array<PropertyInfo, 35> kHeadsetProperties = {{
    // name                          kind                 backing           role                 min    max
    {"VolumeControl",                ValueKind::kDecibel, Backing::kMixer,  MixerRole::kMain,    0,     0},
    {"VolumeScalarControl",          ValueKind::kScalar,  Backing::kMixer,  MixerRole::kMain,    0,     1},
    {"MuteControl",                  ValueKind::kSwitch,  Backing::kMixer,  MixerRole::kMain,    0,     1},
    {"AAVolumeControl",              ValueKind::kDecibel, Backing::kMixer,  MixerRole::kMonitor, 0,     0},
    {"AAVolumeScalarControl",        ValueKind::kScalar,  Backing::kMixer,  MixerRole::kMonitor, 0,     1},
    {"AAMuteControl",                ValueKind::kSwitch,  Backing::kMixer,  MixerRole::kMonitor, 0,     1},
    {"GetMaxVol",                    ValueKind::kDecibel, Backing::kRange,  MixerRole::kMain,    0,     0},
    {"GetMinVol",                    ValueKind::kDecibel, Backing::kRange,  MixerRole::kMain,    0,     0},
    {"GetVolStep",                   ValueKind::kDecibel, Backing::kRange,  MixerRole::kMain,    0,     0},
    {"GetAAMaxVol",                  ValueKind::kDecibel, Backing::kRange,  MixerRole::kMonitor, 0,     0},
    {"GetAAMinVol",                  ValueKind::kDecibel, Backing::kRange,  MixerRole::kMonitor, 0,     0},
    {"GetAAVolStep",                 ValueKind::kDecibel, Backing::kRange,  MixerRole::kMonitor, 0,     0},
    {"XearSurrHP_Enable",            ValueKind::kSwitch,  Backing::kStored, MixerRole::kNone,    0,     1},
    {"XearSurrHP_Room",              ValueKind::kInteger, Backing::kStored, MixerRole::kNone,    0,     255},
    {"XearSurrHP_Mode",              ValueKind::kInteger, Backing::kStored, MixerRole::kNone,    0,     255},
    {"VirtualSurroundEffectControl", ValueKind::kSwitch,  Backing::kStored, MixerRole::kNone,    0,     1},
    {"Enable_ENC_LFX",               ValueKind::kSwitch,  Backing::kStored, MixerRole::kNone,    0,     1},
    {"ENC_SELFCALIB",                ValueKind::kSwitch,  Backing::kStored, MixerRole::kNone,    0,     1},
    {"Enable_EQ_GFX",                ValueKind::kSwitch,  Backing::kStored, MixerRole::kNone,    0,     1},
    {"EQ_Slider1",                   ValueKind::kInteger, Backing::kStored, MixerRole::kNone,    -12,   12},
    {"EQ_Slider2",                   ValueKind::kInteger, Backing::kStored, MixerRole::kNone,    -12,   12},
    {"EQ_Slider3",                   ValueKind::kInteger, Backing::kStored, MixerRole::kNone,    -12,   12},
    {"EQ_Slider4",                   ValueKind::kInteger, Backing::kStored, MixerRole::kNone,    -12,   12},
    {"EQ_Slider5",                   ValueKind::kInteger, Backing::kStored, MixerRole::kNone,    -12,   12},
    {"EQ_Slider6",                   ValueKind::kInteger, Backing::kStored, MixerRole::kNone,    -12,   12},
    {"EQ_Slider7",                   ValueKind::kInteger, Backing::kStored, MixerRole::kNone,    -12,   12},
    {"EQ_Slider8",                   ValueKind::kInteger, Backing::kStored, MixerRole::kNone,    -12,   12},
    {"EQ_Slider9",                   ValueKind::kInteger, Backing::kStored, MixerRole::kNone,    -12,   12},
    {"EQ_Slider10",                  ValueKind::kInteger, Backing::kStored, MixerRole::kNone,    -12,   12},
    {"Enable_RFX_GFX",               ValueKind::kSwitch,  Backing::kStored, MixerRole::kNone,    0,     1},
    {"RFX_ENVIRONMENT",              ValueKind::kInteger, Backing::kStored, MixerRole::kNone,    0,     255},
    {"RFX_ROOMSIZE",                 ValueKind::kInteger, Backing::kStored, MixerRole::kNone,    0,     255},
    {"Enable_MAGICVOICE",            ValueKind::kSwitch,  Backing::kStored, MixerRole::kNone,    0,     1},
    {"MagicVoice_Selection",         ValueKind::kInteger, Backing::kStored, MixerRole::kNone,    0,     3},
    {"Enable_MICECHO",               ValueKind::kSwitch,  Backing::kStored, MixerRole::kNone,    0,     1},
}};
// clang-format on

// The row of a property, matched exactly; null for a name the headset does not have.
const PropertyInfo* FindProperty(std::string_view name);

// The properties the audio side resets when it starts, in order. Only the stored ones change:
// volume and mute stay as the sound card has them, since the desktop's own volume controls set
// them too and a start must not make the headset suddenly loud or silent.
inline constexpr auto kResetProperties = std::to_array<std::string_view>(
    {"XearSurrHP_Enable",   "XearSurrHP_Room",     "XearSurrHP_Mode", "Enable_ENC_LFX",
     "VolumeControl",       "Enable_EQ_GFX",       "EQ_Slider1",      "EQ_Slider2",
     "EQ_Slider3",          "EQ_Slider4",          "EQ_Slider5",      "EQ_Slider6",
     "EQ_Slider7",          "EQ_Slider8",          "EQ_Slider9",      "EQ_Slider10",
     "Enable_RFX_GFX",      "RFX_ENVIRONMENT",     "RFX_ROOMSIZE",    "MuteControl",
     "VolumeScalarControl", "AAVolumeControl",     "AAMuteControl",   "AAVolumeScalarControl",
     "Enable_MAGICVOICE",   "MagicVoice_Selection"});

enum class AudioStatus : uint8_t {
    kOk,
    kNotStarted,       // Init has not succeeded: nothing is read or written
    kUnknownProperty,  // the headset has no property of that name
    kReadOnly,
    kOutOfRange,    // refused; the value stays
    kDeviceFailed,  // the sound card refused or went away
};
const char* StatusText(AudioStatus status);

class IHeadsetAudio {
  public:
    virtual ~IHeadsetAudio() = default;

    // Finds the headset's audio and starts the audio side; false, with LastError saying why,
    // when it cannot (the caller shows kInitFailedText and keeps the rest of the page working).
    virtual bool Init() = 0;
    virtual void UnInit() = 0;
    virtual bool Started() const = 0;
    virtual const std::string& LastError() const = 0;

    // A property's value; nothing when the audio side has not started, the name is unknown or
    // the device does not report it.
    virtual std::optional<double> Get(Endpoint endpoint, std::string_view name) = 0;
    virtual AudioStatus Set(Endpoint endpoint, std::string_view name, double value) = 0;
    // Whether a write of the property reaches the headset (false: it is only kept).
    virtual bool AppliedByDevice(std::string_view name) const = 0;

    // The kept values of the stored properties, to put into the headset profile, and back.
    using StoredValue = std::pair<std::string, double>;  // "playback/EQ_Slider1" style keys
    virtual std::vector<StoredValue> StoredValues() const = 0;
    virtual void RestoreStoredValues(const std::vector<StoredValue>& values) = 0;
};

// What both implementations share: the property table, range checks, the kept values of the
// stored properties, the voice effect's rule (turning it on switches the microphone echo off)
// and the one log line about properties no driver applies. The implementations supply the
// mixer.
class HeadsetAudioBase : public IHeadsetAudio {
  public:
    using LogSink = std::function<void(std::string_view)>;
    // The sink takes the diagnostics; by default os::DebugOutput.
    explicit HeadsetAudioBase(LogSink log = {});

    bool Started() const override { return started_; }
    const std::string& LastError() const override { return lastError_; }
    std::optional<double> Get(Endpoint endpoint, std::string_view name) override;
    AudioStatus Set(Endpoint endpoint, std::string_view name, double value) override;
    bool AppliedByDevice(std::string_view name) const override;
    std::vector<StoredValue> StoredValues() const override;
    void RestoreStoredValues(const std::vector<StoredValue>& values) override;

    // Sets the stored reset properties of both endpoints to 0 (effects off, bands flat); the
    // mixer ones keep their values. Returns the first failure, or kOk.
    AudioStatus ResetProperties();

  protected:
    struct MixerRange {
        double minDb;
        double maxDb;
        double stepDb;
    };
    // The mixer, for the implementations. Reads give nothing when the control is missing.
    virtual std::optional<double> ReadMixer(Endpoint endpoint, const PropertyInfo& p) = 0;
    virtual bool WriteMixer(Endpoint endpoint, const PropertyInfo& p, double value) = 0;
    virtual std::optional<MixerRange> ReadRange(Endpoint endpoint, MixerRole role) = 0;
    // Whether the implementation's mixer applies the stored properties too (the simulated
    // headset does; a sound card does not).
    virtual bool AppliesStoredProperties() const { return false; }

    void SetStarted(bool started) { started_ = started; }
    void Fail(std::string why);
    void Log(std::string_view text) const;

  private:
    static std::string Key(Endpoint endpoint, std::string_view name);

    LogSink log_;
    bool started_ = false;
    bool notedStored_ = false;
    std::string lastError_;
    std::map<std::string, double, std::less<>> stored_;
};

}  // namespace os::audio
