#include "os/audio/audio_write_coalescer.h"

#include <algorithm>
#include <limits>

namespace os::audio {

namespace {

constexpr int64_t kNever = std::numeric_limits<int64_t>::min() / 2;

}  // namespace

AudioWriteCoalescer::AudioWriteCoalescer(IHeadsetAudio& audio, int64_t intervalMs)
    : audio_(audio), intervalMs_(std::max<int64_t>(0, intervalMs)) {}

AudioWriteCoalescer::Entry& AudioWriteCoalescer::EntryFor(Endpoint endpoint,
                                                          std::string_view name) {
    for (Entry& e : entries_)
        if (e.endpoint == endpoint && e.name == name) return e;
    return entries_.emplace_back(Entry{endpoint, std::string(name), kNever});
}

AudioStatus AudioWriteCoalescer::Write(Entry& e, double value, int64_t nowMs) {
    e.pending = false;
    e.lastWriteMs = nowMs;
    lastStatus_ = audio_.Set(e.endpoint, e.name, value);
    return lastStatus_;
}

AudioStatus AudioWriteCoalescer::Offer(Endpoint endpoint, std::string_view name, double value,
                                       int64_t nowMs) {
    Entry& e = EntryFor(endpoint, name);
    if (nowMs - e.lastWriteMs >= intervalMs_) return Write(e, value, nowMs);
    e.pending = true;
    e.value = value;
    return AudioStatus::kOk;
}

int AudioWriteCoalescer::Flush(int64_t nowMs) {
    int written = 0;
    for (Entry& e : entries_)
        if (e.pending && nowMs - e.lastWriteMs >= intervalMs_) {
            Write(e, e.value, nowMs);
            ++written;
        }
    return written;
}

int AudioWriteCoalescer::FlushAll(int64_t nowMs) {
    int written = 0;
    for (Entry& e : entries_)
        if (e.pending) {
            Write(e, e.value, nowMs);
            ++written;
        }
    return written;
}

bool AudioWriteCoalescer::Pending() const {
    return std::any_of(entries_.begin(), entries_.end(), [](const Entry& e) { return e.pending; });
}

int64_t AudioWriteCoalescer::NextDueMs(int64_t nowMs) const {
    int64_t next = -1;
    for (const Entry& e : entries_) {
        if (!e.pending) continue;
        const int64_t due = std::max<int64_t>(0, e.lastWriteMs + intervalMs_ - nowMs);
        if (next < 0 || due < next) next = due;
    }
    return next;
}

}  // namespace os::audio
