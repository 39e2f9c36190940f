// A slider drag's volume writes, thinned out to one per interval and always ending on the last
// value.
#include "os/audio/audio_write_coalescer.h"

#include <gtest/gtest.h>

#include <vector>

#include "os/audio/memory_headset_audio.h"

namespace os::audio {
namespace {

// Counts the writes that reach the headset.
class CountingAudio : public MemoryHeadsetAudio {
  public:
    AudioStatus Set(Endpoint endpoint, std::string_view name, double value) override {
        writes.push_back(value);
        return MemoryHeadsetAudio::Set(endpoint, name, value);
    }
    std::vector<double> writes;
};

constexpr Endpoint kOut = Endpoint::kPlayback;

TEST(AudioWriteCoalescer, ADragWritesAtMostOncePerIntervalAndEndsOnTheLastValue) {
    CountingAudio audio;
    ASSERT_TRUE(audio.Init());
    AudioWriteCoalescer gate(audio, 50);
    // A drag: one value every 10 ms; the owner's timer flushes when NextDueMs says.
    auto offer = [&](int64_t ms, double value) {
        EXPECT_EQ(gate.Offer(kOut, "VolumeScalarControl", value, ms), AudioStatus::kOk);
    };
    offer(0, 0.10);  // at once
    offer(10, 0.20);
    offer(20, 0.30);
    offer(30, 0.40);
    EXPECT_EQ(audio.writes, (std::vector<double>{0.10}));
    EXPECT_TRUE(gate.Pending());
    EXPECT_EQ(gate.NextDueMs(30), 20);
    EXPECT_EQ(gate.Flush(49), 0);
    EXPECT_EQ(gate.Flush(50), 1);  // the latest of those that waited
    offer(60, 0.50);
    offer(70, 0.60);
    EXPECT_EQ(gate.NextDueMs(70), 30);
    EXPECT_EQ(gate.Flush(100), 1);
    EXPECT_EQ(audio.writes, (std::vector<double>{0.10, 0.40, 0.60}));
    EXPECT_FALSE(gate.Pending());
    EXPECT_EQ(gate.NextDueMs(100), -1);
    offer(300, 0.70);  // a pause as long as the interval: at once again
    EXPECT_EQ(audio.writes.back(), 0.70);
    EXPECT_DOUBLE_EQ(*audio.Get(kOut, "VolumeScalarControl"), 0.7);
}

TEST(AudioWriteCoalescer, PropertiesWaitApartAndReleaseSendsWhatWaits) {
    CountingAudio audio;
    ASSERT_TRUE(audio.Init());
    AudioWriteCoalescer gate(audio, 50);
    gate.Offer(kOut, "VolumeScalarControl", 0.2, 0);
    gate.Offer(Endpoint::kCapture, "AAVolumeScalarControl", 0.3, 5);  // another control: at once
    gate.Offer(kOut, "VolumeScalarControl", 0.25, 20);
    EXPECT_EQ(audio.writes, (std::vector<double>{0.2, 0.3}));
    EXPECT_EQ(gate.FlushAll(21), 1);
    EXPECT_EQ(audio.writes, (std::vector<double>{0.2, 0.3, 0.25}));
    // A refused value is reported when it goes out.
    EXPECT_EQ(gate.Offer(kOut, "VolumeScalarControl", 7.0, 200), AudioStatus::kOutOfRange);
    EXPECT_EQ(gate.LastStatus(), AudioStatus::kOutOfRange);
}

}  // namespace
}  // namespace os::audio
