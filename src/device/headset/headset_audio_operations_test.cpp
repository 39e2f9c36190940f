// The headset's audio operations on the in-memory headset: what each writes, in which order,
// and what comes back for the page.
#include "device/headset/headset_audio_operations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "os/audio/memory_headset_audio.h"

namespace device {
namespace {

using os::audio::AudioStatus;
using os::audio::Endpoint;

// Records every write as "endpoint name=value".
class RecordingAudio : public os::audio::MemoryHeadsetAudio {
  public:
    AudioStatus Set(Endpoint endpoint, std::string_view name, double value) override {
        writes.push_back(std::string(endpoint == Endpoint::kPlayback ? "out " : "in ") +
                         std::string(name) + "=" + std::to_string(static_cast<int>(value * 100)));
        return MemoryHeadsetAudio::Set(endpoint, name, value);
    }
    std::vector<std::string> writes;
};

class HeadsetAudioOperations : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(audio_.Init()); }
    RecordingAudio audio_;
};

TEST_F(HeadsetAudioOperations, VolumeSlidersWriteTheScalarAndReadTheLevelBack) {
    const VolumeResult speaker = SetSpeakerVolume(audio_, 50);
    EXPECT_EQ(speaker.status, AudioStatus::kOk);
    EXPECT_EQ(speaker.decibels, -20.0);
    EXPECT_EQ(SetMicrophoneVolume(audio_, 80).decibels, -8.0);
    EXPECT_EQ(SetMicrophoneMonitorVolume(audio_, 0).decibels, -40.0);
    EXPECT_EQ(audio_.writes,
              (std::vector<std::string>{"out VolumeScalarControl=50", "in VolumeScalarControl=80",
                                        "in AAVolumeScalarControl=0"}));
    const VolumeResult refused = SetSpeakerVolume(audio_, 101);
    EXPECT_EQ(refused.status, AudioStatus::kOutOfRange);
    EXPECT_FALSE(refused.decibels);

    const HeadsetAudioState s = ReadHeadsetAudioState(audio_);
    EXPECT_EQ(s.volumeSlider, 50);
    EXPECT_EQ(s.microphoneSlider, 80);
    EXPECT_EQ(s.monitorSlider, 0);
    EXPECT_EQ(s.maxVolume, 0.0);
    EXPECT_EQ(s.minVolume, -40.0);
    EXPECT_EQ(s.volumeStep, 0.5);
    EXPECT_EQ(s.volume, -20.0);
    EXPECT_EQ(s.muted, false);
}

TEST_F(HeadsetAudioOperations, MuteSwitchesGoToTheirEndpoints) {
    EXPECT_EQ(SetSpeakerMute(audio_, true), AudioStatus::kOk);
    EXPECT_EQ(SetMicrophoneMute(audio_, true), AudioStatus::kOk);
    EXPECT_EQ(SetMicrophoneMonitorMute(audio_, true), AudioStatus::kOk);
    EXPECT_EQ(audio_.writes, (std::vector<std::string>{"out MuteControl=100", "in MuteControl=100",
                                                       "in AAMuteControl=100"}));
    const HeadsetAudioState s = ReadHeadsetAudioState(audio_);
    EXPECT_EQ(s.muted, true);
    EXPECT_EQ(s.microphoneMuted, true);
    EXPECT_EQ(s.monitorMuted, true);
}

TEST_F(HeadsetAudioOperations, VoiceEffectOnSwitchesTheEchoOffAndOffWritesOnlyItself) {
    ASSERT_EQ(audio_.Set(Endpoint::kCapture, "Enable_MICECHO", 1), AudioStatus::kOk);
    audio_.writes.clear();
    EXPECT_EQ(SetVoiceEffect(audio_, true), AudioStatus::kOk);
    EXPECT_EQ(SetVoiceEffect(audio_, false), AudioStatus::kOk);
    EXPECT_EQ(audio_.writes,
              (std::vector<std::string>{"in Enable_MAGICVOICE=100", "in Enable_MICECHO=0",
                                        "in Enable_MAGICVOICE=0"}));
    EXPECT_EQ(audio_.Get(Endpoint::kCapture, "Enable_MICECHO"), 0.0);

    struct Case {
        int choice;
        AudioStatus status;
    };
    constexpr Case kCases[] = {{3, AudioStatus::kOk},
                               {1, AudioStatus::kOk},
                               {0, AudioStatus::kOutOfRange},
                               {5, AudioStatus::kOutOfRange},
                               {7, AudioStatus::kOutOfRange}};
    audio_.writes.clear();
    for (const Case& c : kCases) EXPECT_EQ(SetVoiceEffectChoice(audio_, c.choice), c.status);
    EXPECT_EQ(audio_.writes, (std::vector<std::string>{"in MagicVoice_Selection=200",
                                                       "in MagicVoice_Selection=0"}))
        << "the third effect is written as 2";
    EXPECT_EQ(ReadHeadsetAudioState(audio_).voiceEffectChoice, 1);
}

TEST_F(HeadsetAudioOperations, AnEqualiserTurnsTheEqualiserOnAndWritesTheTenBands) {
    constexpr int kBands[kEqualiserBands] = {6, 5, 4, 2, 0, 0, 0, -1, -2, -3};
    EXPECT_EQ(ApplyEqualiser(audio_, kBands), AudioStatus::kOk);
    ASSERT_EQ(audio_.writes.size(), 11u);
    EXPECT_EQ(audio_.writes.front(), "out Enable_EQ_GFX=100");
    EXPECT_EQ(audio_.writes[1], "out EQ_Slider1=600");
    EXPECT_EQ(audio_.writes.back(), "out EQ_Slider10=-300");
    EXPECT_EQ(audio_.Get(Endpoint::kPlayback, "EQ_Slider8"), -1.0);

    // Band 4 moved on its own writes "EQ_Slider5".
    audio_.writes.clear();
    EXPECT_EQ(SetEqualiserBand(audio_, 4, 3), AudioStatus::kOk);
    EXPECT_EQ(audio_.writes, (std::vector<std::string>{"out EQ_Slider5=300"}));
    EXPECT_EQ(SetEqualiserBand(audio_, 10, 0), AudioStatus::kUnknownProperty);

    // Malformed settings: a short list is refused whole; a band out of range stops the rest.
    audio_.writes.clear();
    constexpr int kShort[3] = {1, 2, 3};
    EXPECT_EQ(ApplyEqualiser(audio_, kShort), AudioStatus::kOutOfRange);
    EXPECT_TRUE(audio_.writes.empty());
    constexpr int kWild[kEqualiserBands] = {1, 2, 99, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_EQ(ApplyEqualiser(audio_, kWild), AudioStatus::kOutOfRange);
    EXPECT_EQ(audio_.writes.size(), 4u);
    EXPECT_EQ(audio_.Get(Endpoint::kPlayback, "EQ_Slider3"), 4.0) << "band 3 kept its value";
}

TEST(HeadsetAudioOperationsWithoutAudio, NothingIsWrittenAndNothingShown) {
    os::audio::MemoryHeadsetAudio audio({.initFails = true}, [](std::string_view) {});
    EXPECT_FALSE(audio.Init());
    EXPECT_EQ(SetSpeakerVolume(audio, 40).status, AudioStatus::kNotStarted);
    EXPECT_EQ(SetVoiceEffect(audio, true), AudioStatus::kNotStarted);
    const HeadsetAudioState s = ReadHeadsetAudioState(audio);
    EXPECT_FALSE(s.volume);
    EXPECT_FALSE(s.volumeSlider);
    EXPECT_FALSE(s.voiceEffectOn);
}

}  // namespace
}  // namespace device
