// The headset's audio layer: the property set and its ranges, the kept effect values, the voice
// effect's rule, a start that fails, a sound card that goes away, and the ALSA side where no
// card (or a dummy one) is present.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "os/audio/alsa_headset_audio.h"
#include "os/audio/memory_headset_audio.h"

namespace os::audio {
namespace {

constexpr Endpoint kOut = Endpoint::kPlayback;
constexpr Endpoint kIn = Endpoint::kCapture;

// Collects what the layer logs.
struct LogLines {
    std::vector<std::string> lines;
    HeadsetAudioBase::LogSink Sink() {
        return [this](std::string_view t) { lines.emplace_back(t); };
    }
    int Count(std::string_view part) const {
        int n = 0;
        for (const std::string& l : lines) n += l.find(part) != std::string::npos;
        return n;
    }
};

TEST(HeadsetAudioProperties, EveryNameIsOnceInTheTableAndTheResetListIsMadeOfThem) {
    std::set<std::string_view> names;
    for (const PropertyInfo& p : kHeadsetProperties) {
        EXPECT_TRUE(names.insert(p.name).second) << p.name;
        EXPECT_EQ(FindProperty(p.name), &p);
        EXPECT_LE(p.min, p.max) << p.name;
    }
    for (std::string_view name : kResetProperties) EXPECT_TRUE(FindProperty(name)) << name;
    EXPECT_FALSE(FindProperty("volumecontrol")) << "names are matched exactly";
    EXPECT_FALSE(FindProperty(""));
    EXPECT_EQ(kInitFailedText, "ConfLibInit called failed!");
}

class MemoryAudio : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(audio_.Init()); }
    LogLines log_;
    MemoryHeadsetAudio audio_{MemoryHeadsetAudio::Options{}, log_.Sink()};
};

TEST_F(MemoryAudio, VolumeScalarAndDecibelsFollowEachOther) {
    EXPECT_EQ(audio_.Get(kOut, "GetMinVol"), -40.0);
    EXPECT_EQ(audio_.Get(kOut, "GetMaxVol"), 0.0);
    EXPECT_EQ(audio_.Get(kOut, "GetVolStep"), 0.5);
    EXPECT_EQ(audio_.Get(kIn, "GetAAVolStep"), 0.5);
    struct Case {
        const char* scalarName;
        const char* dbName;
        Endpoint endpoint;
        double slider;  // slider value / 100
        double db;      // read back
        double scalar;  // read back: whole dB steps
    };
    constexpr Case kCases[] = {
        {"VolumeScalarControl", "VolumeControl", kOut, 0.5, -20.0, 0.5},
        {"VolumeScalarControl", "VolumeControl", kOut, 0.37, -25.0, 0.375},
        {"VolumeScalarControl", "VolumeControl", kOut, 1.0, 0.0, 1.0},
        {"AAVolumeScalarControl", "AAVolumeControl", kIn, 0.0, -40.0, 0.0},
        {"VolumeScalarControl", "VolumeControl", kIn, 0.8, -8.0, 0.8},
    };
    for (const Case& c : kCases) {
        ASSERT_EQ(audio_.Set(c.endpoint, c.scalarName, c.slider), AudioStatus::kOk) << c.slider;
        EXPECT_DOUBLE_EQ(*audio_.Get(c.endpoint, c.dbName), c.db) << c.slider;
        EXPECT_DOUBLE_EQ(*audio_.Get(c.endpoint, c.scalarName), c.scalar) << c.slider;
    }
    // The microphone's own level and its monitor are separate controls.
    ASSERT_EQ(audio_.Set(kIn, "VolumeControl", -10.0), AudioStatus::kOk);
    EXPECT_DOUBLE_EQ(*audio_.Get(kIn, "AAVolumeControl"), -40.0);
    EXPECT_DOUBLE_EQ(*audio_.Get(kOut, "VolumeControl"), 0.0) << "the endpoints are separate";
}

TEST_F(MemoryAudio, BadWritesAreRefusedAndChangeNothing) {
    ASSERT_EQ(audio_.Set(kOut, "VolumeScalarControl", 0.5), AudioStatus::kOk);
    ASSERT_EQ(audio_.Set(kOut, "EQ_Slider3", 4), AudioStatus::kOk);
    struct Case {
        const char* name;
        double value;
        AudioStatus status;
    };
    const Case kCases[] = {
        {"VolumeScalarControl", 1.01, AudioStatus::kOutOfRange},
        {"VolumeScalarControl", -0.1, AudioStatus::kOutOfRange},
        {"VolumeScalarControl", NAN, AudioStatus::kOutOfRange},
        {"VolumeControl", 3.0, AudioStatus::kOutOfRange},       // above the card's 0 dB
        {"VolumeControl", -40.5, AudioStatus::kOutOfRange},     //
        {"MuteControl", 2, AudioStatus::kOutOfRange},           //
        {"EQ_Slider3", 13, AudioStatus::kOutOfRange},           //
        {"EQ_Slider3", 2.5, AudioStatus::kOutOfRange},          // bands are whole numbers
        {"EQ_Slider3", INFINITY, AudioStatus::kOutOfRange},     //
        {"MagicVoice_Selection", 4, AudioStatus::kOutOfRange},  // four effects: 0..3
        {"GetMaxVol", -1, AudioStatus::kReadOnly},              //
        {"EQ_Slider11", 0, AudioStatus::kUnknownProperty},      //
        {"", 0, AudioStatus::kUnknownProperty},                 //
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(audio_.Set(kOut, c.name, c.value), c.status) << c.name << " " << c.value;
        EXPECT_GE(log_.Count(StatusText(c.status)), 1) << "a refusal is logged: " << c.name;
    }
    EXPECT_DOUBLE_EQ(*audio_.Get(kOut, "VolumeScalarControl"), 0.5);
    EXPECT_EQ(audio_.Get(kOut, "EQ_Slider3"), 4.0);
    EXPECT_EQ(audio_.Get(kOut, "MuteControl"), 0.0);
    EXPECT_FALSE(audio_.Get(kOut, "NoSuchProperty"));
}

TEST_F(MemoryAudio, TurningTheVoiceEffectOnSwitchesTheMicrophoneEchoOff) {
    struct Case {
        double voiceEffect;
        double echoAfter;
    };
    constexpr Case kCases[] = {{1, 0}, {0, 1}};
    for (const Case& c : kCases) {
        ASSERT_EQ(audio_.Set(kIn, "Enable_MICECHO", 1), AudioStatus::kOk);
        ASSERT_EQ(audio_.Set(kIn, "Enable_MAGICVOICE", c.voiceEffect), AudioStatus::kOk);
        EXPECT_EQ(audio_.Get(kIn, "Enable_MICECHO"), c.echoAfter) << c.voiceEffect;
        EXPECT_EQ(audio_.Get(kIn, "Enable_MAGICVOICE"), c.voiceEffect);
    }
}

TEST_F(MemoryAudio, MuteSwitchesAndTheReset) {
    for (const char* name : {"MuteControl", "AAMuteControl"}) {
        ASSERT_EQ(audio_.Set(kIn, name, 1), AudioStatus::kOk);
        EXPECT_EQ(audio_.Get(kIn, name), 1.0) << name;
    }
    ASSERT_EQ(audio_.Set(kOut, "VolumeScalarControl", 0.25), AudioStatus::kOk);
    for (int band = 1; band <= 10; ++band)
        ASSERT_EQ(audio_.Set(kOut, "EQ_Slider" + std::to_string(band), band - 5), AudioStatus::kOk);
    ASSERT_EQ(audio_.Set(kOut, "XearSurrHP_Enable", 1), AudioStatus::kOk);
    ASSERT_EQ(audio_.Set(kIn, "Enable_MAGICVOICE", 1), AudioStatus::kOk);
    EXPECT_EQ(audio_.ResetProperties(), AudioStatus::kOk);
    for (int band = 1; band <= 10; ++band)
        EXPECT_EQ(audio_.Get(kOut, "EQ_Slider" + std::to_string(band)), 0.0) << band;
    EXPECT_EQ(audio_.Get(kOut, "XearSurrHP_Enable"), 0.0);
    EXPECT_EQ(audio_.Get(kIn, "Enable_MAGICVOICE"), 0.0);
    EXPECT_DOUBLE_EQ(*audio_.Get(kOut, "VolumeScalarControl"), 0.25) << "volume is the user's";
    EXPECT_EQ(audio_.Get(kIn, "MuteControl"), 1.0);
}

TEST(HeadsetAudio, AFailedStartLeavesEveryOperationDoingNothingAndKeepsTheStoredValues) {
    LogLines log;
    MemoryHeadsetAudio audio({.initFails = true}, log.Sink());
    audio.RestoreStoredValues({{"playback/EQ_Slider1", 6}, {"capture/Enable_MAGICVOICE", 1}});
    EXPECT_FALSE(audio.Init());
    EXPECT_FALSE(audio.Started());
    EXPECT_FALSE(audio.LastError().empty());
    EXPECT_EQ(log.Count("headset audio:"), 1);
    EXPECT_FALSE(audio.Get(kOut, "VolumeScalarControl"));
    EXPECT_FALSE(audio.Get(kOut, "EQ_Slider1"));
    EXPECT_EQ(audio.Set(kOut, "VolumeScalarControl", 0.5), AudioStatus::kNotStarted);
    EXPECT_EQ(audio.Set(kOut, "EQ_Slider1", 0), AudioStatus::kNotStarted);
    EXPECT_EQ(audio.ResetProperties(), AudioStatus::kNotStarted);
    const std::vector<IHeadsetAudio::StoredValue> kept = audio.StoredValues();
    EXPECT_EQ(kept, (std::vector<IHeadsetAudio::StoredValue>{{"capture/Enable_MAGICVOICE", 1},
                                                             {"playback/EQ_Slider1", 6}}));
}

TEST(HeadsetAudio, EffectsWithoutADriverAreKeptAndSaidSoOnce) {
    LogLines log;
    MemoryHeadsetAudio audio({.appliesStored = false}, log.Sink());
    ASSERT_TRUE(audio.Init());
    EXPECT_TRUE(audio.AppliedByDevice("VolumeScalarControl"));
    EXPECT_TRUE(audio.AppliedByDevice("AAMuteControl"));
    EXPECT_FALSE(audio.AppliedByDevice("EQ_Slider1"));
    EXPECT_FALSE(audio.AppliedByDevice("Enable_MAGICVOICE"));
    EXPECT_FALSE(audio.AppliedByDevice("NoSuchProperty"));
    ASSERT_EQ(audio.Set(kOut, "EQ_Slider1", -3), AudioStatus::kOk);
    ASSERT_EQ(audio.Set(kOut, "RFX_ROOMSIZE", 40), AudioStatus::kOk);
    ASSERT_EQ(audio.Set(kIn, "Enable_ENC_LFX", 1), AudioStatus::kOk);
    EXPECT_EQ(audio.Get(kOut, "EQ_Slider1"), -3.0) << "reads answer from what is kept";
    EXPECT_EQ(log.Count("not apply"), 1);

    MemoryHeadsetAudio demo;
    EXPECT_TRUE(demo.AppliedByDevice("EQ_Slider1")) << "the simulated headset applies them";
}

TEST(HeadsetAudio, ASoundCardThatGoesAwayFailsMixerWritesButKeepsEffects) {
    LogLines log;
    MemoryHeadsetAudio audio({}, log.Sink());
    ASSERT_TRUE(audio.Init());
    ASSERT_EQ(audio.Set(kOut, "VolumeScalarControl", 0.5), AudioStatus::kOk);
    audio.SetPresent(false);
    EXPECT_EQ(audio.Set(kOut, "VolumeScalarControl", 0.9), AudioStatus::kDeviceFailed);
    EXPECT_EQ(audio.Set(kOut, "VolumeControl", -3), AudioStatus::kDeviceFailed);
    EXPECT_FALSE(audio.Get(kOut, "VolumeScalarControl"));
    EXPECT_FALSE(audio.Get(kOut, "GetMaxVol"));
    EXPECT_EQ(audio.Set(kOut, "EQ_Slider2", 2), AudioStatus::kOk);
    audio.SetPresent(true);
    EXPECT_DOUBLE_EQ(*audio.Get(kOut, "VolumeScalarControl"), 0.5);
}

TEST(HeadsetAudio, KeptValuesFromAProfileAreCheckedOneByOne) {
    LogLines log;
    MemoryHeadsetAudio audio({}, log.Sink());
    audio.RestoreStoredValues({
        {"playback/EQ_Slider4", 5},           // kept
        {"playback/EQ_Slider4x", 5},          // no such property
        {"playback/VolumeControl", -3},       // the card's, not kept here
        {"speaker/EQ_Slider1", 1},            // no such endpoint
        {"EQ_Slider1", 1},                    // no endpoint
        {"capture/MagicVoice_Selection", 9},  // out of range
        {"capture/Enable_MICECHO", NAN},      //
        {"capture/MagicVoice_Selection", 2},  // kept
    });
    EXPECT_EQ(audio.StoredValues(),
              (std::vector<IHeadsetAudio::StoredValue>{{"capture/MagicVoice_Selection", 2},
                                                       {"playback/EQ_Slider4", 5}}));
    EXPECT_EQ(log.Count("left out"), 6);
    ASSERT_TRUE(audio.Init());
    EXPECT_EQ(audio.Get(kIn, "MagicVoice_Selection"), 2.0);
}

TEST(AlsaHeadsetAudio, NoSoundCardOfTheHeadsetIsAClearFailure) {
    LogLines log;
    // No USB device has these ids.
    AlsaHeadsetAudio audio(0xFFFF, 0xFFFE, log.Sink());
    EXPECT_FALSE(audio.Init());
    EXPECT_FALSE(audio.Started());
    EXPECT_NE(audio.LastError().find("ffff:fffe"), std::string::npos) << audio.LastError();
    EXPECT_NE(audio.LastError().find("was not found"), std::string::npos) << audio.LastError();
    EXPECT_EQ(log.Count("was not found"), 1);
    EXPECT_FALSE(audio.Get(kOut, "VolumeControl"));
    EXPECT_EQ(audio.Set(kOut, "VolumeScalarControl", 0.5), AudioStatus::kNotStarted);
    EXPECT_FALSE(audio.AppliedByDevice("EQ_Slider1"));
    EXPECT_TRUE(audio.AppliedByDevice("MuteControl"));
    audio.UnInit();
}

TEST(AlsaHeadsetAudio, ACardWhoseMixerCannotBeOpenedIsAClearFailure) {
    LogLines log;
    AlsaHeadsetAudio audio(0x0C76, 0x1630, log.Sink(),
                           [](uint16_t, uint16_t, std::string*) { return std::string("hw:97"); });
    EXPECT_FALSE(audio.Init());
    EXPECT_NE(audio.LastError().find("hw:97"), std::string::npos) << audio.LastError();
    EXPECT_FALSE(audio.Started());
}

// The number of an ALSA card whose id is one of ids, or -1.
int CardWithId(std::initializer_list<std::string_view> ids) {
    std::ifstream cards("/proc/asound/cards");
    std::string line;
    while (std::getline(cards, line)) {
        std::istringstream in(line);
        int number;
        std::string id;
        if (!(in >> number >> id)) continue;
        if (!id.empty() && id.front() == '[') id = id.substr(1);
        for (std::string_view want : ids)
            if (id.starts_with(want)) return number;
    }
    return -1;
}

TEST(AlsaHeadsetAudio, MixerMappingOnADummyCard) {
    // Only a card that plays nothing is ever changed by a test.
    const int card = CardWithId({"Dummy"});
    if (card < 0)
        GTEST_SKIP() << "no snd-dummy sound card on this machine (modprobe snd-dummy): the ALSA "
                        "mixer mapping is not exercised here";
    AlsaHeadsetAudio audio(0x0C76, 0x1630, {}, [card](uint16_t, uint16_t, std::string*) {
        return "hw:" + std::to_string(card);
    });
    ASSERT_TRUE(audio.Init()) << audio.LastError();
    ASSERT_EQ(audio.Set(kOut, "VolumeScalarControl", 0.5), AudioStatus::kOk);
    EXPECT_NEAR(*audio.Get(kOut, "VolumeScalarControl"), 0.5, 0.02);
    const double min = *audio.Get(kOut, "GetMinVol");
    const double max = *audio.Get(kOut, "GetMaxVol");
    EXPECT_LT(min, max);
    ASSERT_EQ(audio.Set(kOut, "VolumeControl", max), AudioStatus::kOk);
    EXPECT_NEAR(*audio.Get(kOut, "VolumeControl"), max, 0.01);
    EXPECT_EQ(audio.Set(kOut, "VolumeControl", max + 1), AudioStatus::kOutOfRange);
    if (audio.Get(kOut, "MuteControl")) {
        ASSERT_EQ(audio.Set(kOut, "MuteControl", 1), AudioStatus::kOk);
        EXPECT_EQ(audio.Get(kOut, "MuteControl"), 1.0);
        ASSERT_EQ(audio.Set(kOut, "MuteControl", 0), AudioStatus::kOk);
    }
}

}  // namespace
}  // namespace os::audio
