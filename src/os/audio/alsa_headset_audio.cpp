#include "os/audio/alsa_headset_audio.h"

#include <alsa/asoundlib.h>
#include <libudev.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <span>

namespace os::audio {

namespace {

std::string UsbIds(uint16_t vendorId, uint16_t productId) {
    char text[16];
    std::snprintf(text, sizeof text, "%04x:%04x", vendorId, productId);
    return text;
}

bool HexAttribute(udev_device* d, const char* name, uint16_t expected) {
    const char* value = udev_device_get_sysattr_value(d, name);
    if (!value) return false;
    char* end = nullptr;
    const unsigned long v = std::strtoul(value, &end, 16);
    return end != value && v == expected;
}

// The element names tried for each control, in order.
constexpr std::array<const char*, 4> kSpeakerNames = {"PCM", "Speaker", "Headphone", "Master"};
constexpr std::array<const char*, 3> kMicrophoneNames = {"Mic", "Capture", "Headset"};
constexpr std::array<const char*, 2> kMonitorNames = {"Mic", "Sidetone"};

// Which side of an element a property uses.
bool CaptureSide(Endpoint endpoint, MixerRole role) {
    return endpoint == Endpoint::kCapture && role == MixerRole::kMain;
}

}  // namespace

struct AlsaHeadsetAudio::Mixer {
    snd_mixer_t* handle = nullptr;
    std::string card;

    ~Mixer() {
        if (handle) snd_mixer_close(handle);
    }

    snd_mixer_elem_t* Element(Endpoint endpoint, MixerRole role) const {
        if (!handle) return nullptr;
        snd_mixer_handle_events(handle);  // take in changes made elsewhere (desktop, keys)
        const bool capture = CaptureSide(endpoint, role);
        std::span<const char* const> names = kSpeakerNames;
        if (role == MixerRole::kMonitor)
            names = kMonitorNames;
        else if (capture)
            names = kMicrophoneNames;
        for (const char* name : names)
            for (snd_mixer_elem_t* e = snd_mixer_first_elem(handle); e;
                 e = snd_mixer_elem_next(e)) {
                if (!snd_mixer_selem_is_active(e) ||
                    std::string_view(snd_mixer_selem_get_name(e)) != name)
                    continue;
                if (capture ? snd_mixer_selem_has_capture_volume(e)
                            : snd_mixer_selem_has_playback_volume(e))
                    return e;
            }
        return nullptr;
    }
};

AlsaHeadsetAudio::AlsaHeadsetAudio(uint16_t vendorId, uint16_t productId, LogSink log,
                                   CardLocator locator)
    : HeadsetAudioBase(std::move(log)),
      vendorId_(vendorId),
      productId_(productId),
      locator_(locator ? std::move(locator) : CardLocator(&FindUsbSoundCard)) {}

AlsaHeadsetAudio::~AlsaHeadsetAudio() = default;

std::string AlsaHeadsetAudio::FindUsbSoundCard(uint16_t vendorId, uint16_t productId,
                                               std::string* why) {
    auto fail = [&](std::string text) {
        if (why) *why = std::move(text);
        return std::string();
    };
    udev* u = udev_new();
    if (!u) return fail("udev is not available");
    udev_enumerate* en = udev_enumerate_new(u);
    udev_enumerate_add_match_subsystem(en, "sound");
    udev_enumerate_scan_devices(en);
    std::string found;
    bool anyCard = false;
    udev_list_entry* entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(en)) {
        udev_device* d = udev_device_new_from_syspath(u, udev_list_entry_get_name(entry));
        if (!d) continue;
        const char* name = udev_device_get_sysname(d);
        if (name && std::string_view(name).starts_with("card")) {
            anyCard = true;
            udev_device* usb =
                udev_device_get_parent_with_subsystem_devtype(d, "usb", "usb_device");
            const char* number = udev_device_get_sysattr_value(d, "number");
            if (!number) number = udev_device_get_sysnum(d);
            if (found.empty() && usb && number && HexAttribute(usb, "idVendor", vendorId) &&
                HexAttribute(usb, "idProduct", productId))
                found = std::string("hw:") + number;
        }
        udev_device_unref(d);
    }
    udev_enumerate_unref(en);
    udev_unref(u);
    if (!found.empty()) return found;
    return fail(anyCard ? "no sound card belongs to the USB device " + UsbIds(vendorId, productId)
                        : "the system lists no sound cards (no ALSA driver loaded)");
}

bool AlsaHeadsetAudio::Init() {
    UnInit();
    std::string why;
    const std::string card = locator_(vendorId_, productId_, &why);
    if (card.empty()) {
        Fail("the headset's sound card (USB " + UsbIds(vendorId_, productId_) +
             ") was not found: " + (why.empty() ? std::string("no reason given") : why));
        return false;
    }
    auto mixer = std::make_unique<Mixer>();
    mixer->card = card;
    int err = snd_mixer_open(&mixer->handle, 0);
    if (err >= 0) err = snd_mixer_attach(mixer->handle, card.c_str());
    if (err >= 0) err = snd_mixer_selem_register(mixer->handle, nullptr, nullptr);
    if (err >= 0) err = snd_mixer_load(mixer->handle);
    if (err < 0) {
        Fail("the mixer of sound card " + card + " cannot be opened: " + snd_strerror(err));
        return false;
    }
    if (!mixer->Element(Endpoint::kPlayback, MixerRole::kMain) &&
        !mixer->Element(Endpoint::kCapture, MixerRole::kMain)) {
        Fail("sound card " + card + " has no speaker or microphone volume control");
        return false;
    }
    mixer_ = std::move(mixer);
    SetStarted(true);
    return true;
}

void AlsaHeadsetAudio::UnInit() {
    mixer_.reset();
    SetStarted(false);
}

std::optional<HeadsetAudioBase::MixerRange> AlsaHeadsetAudio::ReadRange(Endpoint endpoint,
                                                                        MixerRole role) {
    snd_mixer_elem_t* e = mixer_ ? mixer_->Element(endpoint, role) : nullptr;
    if (!e) return std::nullopt;
    const bool capture = CaptureSide(endpoint, role);
    long minDb = 0, maxDb = 0, minRaw = 0, maxRaw = 0;
    const int err = capture ? snd_mixer_selem_get_capture_dB_range(e, &minDb, &maxDb)
                            : snd_mixer_selem_get_playback_dB_range(e, &minDb, &maxDb);
    if (err < 0) return std::nullopt;
    if (capture)
        snd_mixer_selem_get_capture_volume_range(e, &minRaw, &maxRaw);
    else
        snd_mixer_selem_get_playback_volume_range(e, &minRaw, &maxRaw);
    const double step = maxRaw > minRaw ? (maxDb - minDb) / 100.0 / (maxRaw - minRaw) : 0.0;
    return MixerRange{minDb / 100.0, maxDb / 100.0, step};
}

std::optional<double> AlsaHeadsetAudio::ReadMixer(Endpoint endpoint, const PropertyInfo& p) {
    snd_mixer_elem_t* e = mixer_ ? mixer_->Element(endpoint, p.role) : nullptr;
    if (!e) return std::nullopt;
    const bool capture = CaptureSide(endpoint, p.role);
    constexpr auto ch = SND_MIXER_SCHN_FRONT_LEFT;
    switch (p.kind) {
        case ValueKind::kScalar: {
            long minRaw = 0, maxRaw = 0, v = 0;
            const int err = capture
                                ? (snd_mixer_selem_get_capture_volume_range(e, &minRaw, &maxRaw),
                                   snd_mixer_selem_get_capture_volume(e, ch, &v))
                                : (snd_mixer_selem_get_playback_volume_range(e, &minRaw, &maxRaw),
                                   snd_mixer_selem_get_playback_volume(e, ch, &v));
            if (err < 0 || maxRaw <= minRaw) return std::nullopt;
            return static_cast<double>(v - minRaw) / static_cast<double>(maxRaw - minRaw);
        }
        case ValueKind::kDecibel: {
            long db = 0;
            const int err = capture ? snd_mixer_selem_get_capture_dB(e, ch, &db)
                                    : snd_mixer_selem_get_playback_dB(e, ch, &db);
            if (err < 0) return std::nullopt;
            return db / 100.0;
        }
        default: {
            const bool has = capture ? snd_mixer_selem_has_capture_switch(e)
                                     : snd_mixer_selem_has_playback_switch(e);
            if (!has) return std::nullopt;
            int on = 1;
            const int err = capture ? snd_mixer_selem_get_capture_switch(e, ch, &on)
                                    : snd_mixer_selem_get_playback_switch(e, ch, &on);
            if (err < 0) return std::nullopt;
            return on ? 0.0 : 1.0;  // a switch that is on is a control that is not muted
        }
    }
}

bool AlsaHeadsetAudio::WriteMixer(Endpoint endpoint, const PropertyInfo& p, double value) {
    snd_mixer_elem_t* e = mixer_ ? mixer_->Element(endpoint, p.role) : nullptr;
    if (!e) return false;
    const bool capture = CaptureSide(endpoint, p.role);
    int err;
    switch (p.kind) {
        case ValueKind::kScalar: {
            long minRaw = 0, maxRaw = 0;
            if (capture)
                snd_mixer_selem_get_capture_volume_range(e, &minRaw, &maxRaw);
            else
                snd_mixer_selem_get_playback_volume_range(e, &minRaw, &maxRaw);
            const long raw = minRaw + std::lround(value * static_cast<double>(maxRaw - minRaw));
            err = capture ? snd_mixer_selem_set_capture_volume_all(e, raw)
                          : snd_mixer_selem_set_playback_volume_all(e, raw);
            break;
        }
        case ValueKind::kDecibel: {
            const long db = std::lround(value * 100.0);
            err = capture ? snd_mixer_selem_set_capture_dB_all(e, db, 0)
                          : snd_mixer_selem_set_playback_dB_all(e, db, 0);
            break;
        }
        default: {
            const int on = value == 0 ? 1 : 0;
            const bool has = capture ? snd_mixer_selem_has_capture_switch(e)
                                     : snd_mixer_selem_has_playback_switch(e);
            if (!has) return false;
            err = capture ? snd_mixer_selem_set_capture_switch_all(e, on)
                          : snd_mixer_selem_set_playback_switch_all(e, on);
            break;
        }
    }
    if (err < 0)
        Log("headset audio: sound card " + mixer_->card + " refused " + std::string(p.name) + ": " +
            snd_strerror(err) + "\n");
    return err >= 0;
}

}  // namespace os::audio
