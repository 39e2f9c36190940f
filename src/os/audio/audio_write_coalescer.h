#pragma once

// Writes of a dragged slider, thinned out: a sound card (or the simulated headset) gets at most
// one write of a property per interval, and always the last value. The first value of a drag
// goes out at once; later ones within the interval wait, each replacing the one before, until
// the owner's timer calls Flush, or the slider is released and FlushAll sends what waits.
//
// Time comes from the caller, so the owner decides the clock and tests need none.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "os/audio/headset_audio.h"

namespace os::audio {

class AudioWriteCoalescer {
  public:
    static constexpr int64_t kDefaultIntervalMs = 50;

    explicit AudioWriteCoalescer(IHeadsetAudio& audio, int64_t intervalMs = kDefaultIntervalMs);

    // A new value. Written at once (and its status returned) when the property's last write is
    // an interval or more ago; otherwise kept for Flush, and kOk returned.
    AudioStatus Offer(Endpoint endpoint, std::string_view name, double value, int64_t nowMs);
    // Writes the kept values whose interval has passed. Returns how many were written.
    int Flush(int64_t nowMs);
    // Writes every kept value now.
    int FlushAll(int64_t nowMs);

    bool Pending() const;
    // Milliseconds until the next kept value is due (0: now), or -1 when nothing waits.
    int64_t NextDueMs(int64_t nowMs) const;
    // The status of the last write that went out.
    AudioStatus LastStatus() const { return lastStatus_; }

  private:
    struct Entry {
        Endpoint endpoint;
        std::string name;
        int64_t lastWriteMs;
        bool pending = false;
        double value = 0;
    };
    Entry& EntryFor(Endpoint endpoint, std::string_view name);
    AudioStatus Write(Entry& e, double value, int64_t nowMs);

    IHeadsetAudio& audio_;
    int64_t intervalMs_;
    std::vector<Entry> entries_;
    AudioStatus lastStatus_ = AudioStatus::kOk;
};

}  // namespace os::audio
