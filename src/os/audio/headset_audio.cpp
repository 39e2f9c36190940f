#include "os/audio/headset_audio.h"

#include <cmath>

#include "os/debug_output.h"

namespace os::audio {

namespace {

constexpr std::string_view kVoiceEffect = "Enable_MAGICVOICE";
constexpr std::string_view kMicEcho = "Enable_MICECHO";

const char* EndpointName(Endpoint e) {
    return e == Endpoint::kPlayback ? "playback" : "capture";
}

bool WholeNumber(double v) {
    return std::floor(v) == v;
}

}  // namespace

const PropertyInfo* FindProperty(std::string_view name) {
    for (const PropertyInfo& p : kHeadsetProperties)
        if (p.name == name) return &p;
    return nullptr;
}

const char* StatusText(AudioStatus status) {
    switch (status) {
        case AudioStatus::kOk:
            return "done";
        case AudioStatus::kNotStarted:
            return "the headset's audio is not available";
        case AudioStatus::kUnknownProperty:
            return "the headset has no such audio property";
        case AudioStatus::kReadOnly:
            return "the property cannot be written";
        case AudioStatus::kOutOfRange:
            return "the value is out of the property's range";
        case AudioStatus::kDeviceFailed:
            return "the headset's sound card refused the value";
    }
    return "?";
}

HeadsetAudioBase::HeadsetAudioBase(LogSink log) : log_(std::move(log)) {}

void HeadsetAudioBase::Log(std::string_view text) const {
    if (log_)
        log_(text);
    else
        os::DebugOutput(text);
}

void HeadsetAudioBase::Fail(std::string why) {
    lastError_ = std::move(why);
    Log("headset audio: " + lastError_ + "\n");
}

std::string HeadsetAudioBase::Key(Endpoint endpoint, std::string_view name) {
    return std::string(EndpointName(endpoint)) + "/" + std::string(name);
}

std::optional<double> HeadsetAudioBase::Get(Endpoint endpoint, std::string_view name) {
    const PropertyInfo* p = FindProperty(name);
    if (!p) {
        Log("headset audio: no property \"" + std::string(name) + "\"\n");
        return std::nullopt;
    }
    if (!started_) return std::nullopt;
    switch (p->backing) {
        case Backing::kStored: {
            const auto it = stored_.find(Key(endpoint, name));
            return it == stored_.end() ? 0.0 : it->second;
        }
        case Backing::kMixer:
            return ReadMixer(endpoint, *p);
        case Backing::kRange: {
            const std::optional<MixerRange> r = ReadRange(endpoint, p->role);
            if (!r) return std::nullopt;
            if (name.ends_with("MaxVol")) return r->maxDb;
            if (name.ends_with("MinVol")) return r->minDb;
            return r->stepDb;
        }
    }
    return std::nullopt;
}

AudioStatus HeadsetAudioBase::Set(Endpoint endpoint, std::string_view name, double value) {
    const PropertyInfo* p = FindProperty(name);
    auto refuse = [&](AudioStatus status) {
        Log("headset audio: " + std::string(EndpointName(endpoint)) + " " + std::string(name) +
            " = " + std::to_string(value) + ": " + StatusText(status) + "\n");
        return status;
    };
    if (!p) return refuse(AudioStatus::kUnknownProperty);
    if (!started_) return refuse(AudioStatus::kNotStarted);
    if (p->backing == Backing::kRange) return refuse(AudioStatus::kReadOnly);
    if (!std::isfinite(value)) return refuse(AudioStatus::kOutOfRange);
    if (p->kind == ValueKind::kDecibel) {
        const std::optional<MixerRange> r = ReadRange(endpoint, p->role);
        if (!r) return refuse(AudioStatus::kDeviceFailed);
        if (value < r->minDb || value > r->maxDb) return refuse(AudioStatus::kOutOfRange);
    } else {
        if (value < p->min || value > p->max) return refuse(AudioStatus::kOutOfRange);
        if (p->kind != ValueKind::kScalar && !WholeNumber(value))
            return refuse(AudioStatus::kOutOfRange);
    }

    if (p->backing == Backing::kMixer)
        return WriteMixer(endpoint, *p, value) ? AudioStatus::kOk
                                               : refuse(AudioStatus::kDeviceFailed);

    stored_[Key(endpoint, name)] = value;
    if (!AppliesStoredProperties() && !notedStored_) {
        notedStored_ = true;
        Log("headset audio: the equaliser, surround, noise cancelling and voice effects have no "
            "driver on this system; their values are kept in the profile but the headset does "
            "not apply them\n");
    }
    // The voice effect and the microphone echo never run together.
    if (name == kVoiceEffect && value != 0) stored_[Key(endpoint, kMicEcho)] = 0;
    return AudioStatus::kOk;
}

bool HeadsetAudioBase::AppliedByDevice(std::string_view name) const {
    const PropertyInfo* p = FindProperty(name);
    if (!p) return false;
    return p->backing != Backing::kStored || AppliesStoredProperties();
}

std::vector<IHeadsetAudio::StoredValue> HeadsetAudioBase::StoredValues() const {
    return {stored_.begin(), stored_.end()};
}

void HeadsetAudioBase::RestoreStoredValues(const std::vector<StoredValue>& values) {
    for (const auto& [key, value] : values) {
        const size_t slash = key.find('/');
        const std::string_view endpoint = std::string_view(key).substr(0, slash);
        const PropertyInfo* p =
            slash == std::string::npos ? nullptr : FindProperty(key.substr(slash + 1));
        const bool known = p && p->backing == Backing::kStored &&
                           (endpoint == "playback" || endpoint == "capture");
        if (!known || !std::isfinite(value) || value < p->min || value > p->max) {
            Log("headset audio: kept value \"" + key + "\" = " + std::to_string(value) +
                " is not a stored property's value; left out\n");
            continue;
        }
        stored_[key] = value;
    }
}

AudioStatus HeadsetAudioBase::ResetProperties() {
    AudioStatus first = AudioStatus::kOk;
    for (Endpoint e : {Endpoint::kPlayback, Endpoint::kCapture})
        for (std::string_view name : kResetProperties) {
            const PropertyInfo* p = FindProperty(name);
            if (!p || p->backing != Backing::kStored) continue;
            const AudioStatus s = Set(e, name, 0);
            if (s != AudioStatus::kOk && first == AudioStatus::kOk) first = s;
        }
    return first;
}

}  // namespace os::audio
