#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>

#include "device/keyboard/keyboard_key_maps.h"
#include "device/keyboard/keyboard_layout.h"
#include "device/lighting_preview.h"

namespace device::keyboard {

// The keyboard's own preview steps over the page's LED list (one LED per program key, the
// base preview's LEDs and levels), and the state they keep between ticks.
//
// Mode indices and what a tick does:
//   1, 20   column wave (20: finer)         12, 13  twinkle (13: twice as fast)
//   2       key-order sweep                  14      ripples from the board's edge
//   3, 4, 5 spectrum, breathing, static      15      fixed colour by the extra lighting value
//   6, 25   reactive fade                    16      ring wave
//   7, 8    ripple (8: each its own colour)  17      off
//   9       colour drift                     18      custom map (brightness only)
//   10      row wave                         19      raindrops
//   11      scripted ripples                 21      magenta
//   23, 26, 27 blink, four-colour breathing and blinking
//   24      moving bars                      28      key-by-key fill
//   29      music visualisation              30      audio colour
//   33      scripted show
// Other indices play the profile's area effects, which the device model owns: Step returns false.
//
// Threads: Step, SetUp and ResetShow run on the preview thread; PushKeyEvent and the audio feeds
// come from the UI thread and reach the steps through a small locked queue and atomic words.
// Nothing allocates.
class KeyboardPreview {
  public:
    explicit KeyboardPreview(LightingPreview& leds);

    // Seeds the random choices (twinkles, raindrops, show colours), for repeatable tests.
    void Seed(uint32_t seed) { random_ = seed != 0 ? seed : 1; }

    // Runs when the mode changes (and for mode 18 on every read): modes 11, 12, 13, 14 and 18
    // set up their own state, every other mode starts from a cleared board. Preview thread
    // only; from another thread (a settings read on the UI thread) RequestSetUp, which the
    // next Step carries out before its tick.
    void SetUp(int modeIndex);
    void RequestSetUp(int modeIndex);
    // Back to the first phase of the scripted show. Preview thread only.
    void ResetShow();

    // One tick of the mode. extra is the lighting record's byte 11 (mode 15's colour choice).
    // False when the mode has no step here (the area effects).
    bool Step(int modeIndex, const PreviewParams& p, uint8_t extra, int64_t nowMs);
    static bool HasStep(int modeIndex);

    // A key went down (kind 1) or up (kind 2): program key index. Any thread. Only the reactive
    // modes 6, 7, 8 and 25 use it; the rest drop it at their next tick. Events beyond the
    // queue's room before the next tick are dropped.
    void PushKeyEvent(int programKey, int kind);
    // The same from the device's key number; ignored when no program key sits there.
    void PushDeviceKeyEvent(const KeyboardKeyMaps& maps, int deviceKey, int kind);

    // Music lighting (mode 29). The visualisation 0..6 (the first audio-lighting value); the bar
    // height 0..25 (AudioBarHeight of the levels, which only visualisation 2 is fed with and
    // shows); up to 6 band values, which the other six visualisations show (0 band by band, 1
    // from the centre out, 3 as a pulse, 4 from the top, 5 from the left, 6 as rings) and of
    // which mode 30 takes bands 0..2 as red, green and blue. Any thread.
    void SetAudioVisualisation(int visualisation);
    void SetAudioBarHeight(int height);
    void FeedAudioBands(std::span<const uint8_t> bands);
    int audioBarHeight() const { return barHeight_.load(std::memory_order_relaxed); }

    // State, for tests.
    uint8_t keyState(int key) const { return InRange(key) ? state_[key] : 0; }
    uint8_t keyColourPosition(int key) const { return InRange(key) ? colourPos_[key] : 0; }
    int position() const { return base_; }
    int showPhase() const { return showPhase_; }
    int activeRipples() const;

    static constexpr int kQueueSize = 32;
    static constexpr int kMaxRipples = 8;
    static constexpr int kAudioBands = 6;
    // Ticks between the ripples of the script and of the edge.
    static constexpr int kScriptInterval = 24;

  private:
    struct KeyEvent {
        uint8_t key;
        uint8_t kind;
    };
    struct Ripple {
        uint8_t origin = kNoKey;
        uint8_t colour = 0;
        int16_t radius = 0;  // page pixels
    };

    static bool InRange(int key) { return key >= 0 && key < kProgramKeyCount; }
    uint32_t Random();
    Rgb ColourAt(const PreviewParams& p, int position) const;
    void Put(int key, Rgb colour, int level, const PreviewParams& p);
    // Moves base_ one step by the direction byte, wrapping at limit.
    void Advance(const PreviewParams& p, int limit);
    void DrainEvents(int modeIndex);
    void Trigger(int modeIndex, int key);
    void StartRipple(int key, int colour);
    // Grows the ripples by one step, lighting the keys on their fronts.
    void GrowRipples(bool ownColours);
    // Fades every key with the mode's fade kind and draws it; colour offsets follow the fade.
    void FadeAndDraw(const PreviewParams& p, int fadeKind, bool ownColours);

    void ColumnWave(const PreviewParams& p, int spacing, int breathingSpacing);
    void KeyOrderSweep(const PreviewParams& p);
    void ReactiveFade(const PreviewParams& p);
    void Ripples(const PreviewParams& p, int modeIndex);
    void ColourDrift(const PreviewParams& p);
    void RowWave(const PreviewParams& p);
    void Twinkle(const PreviewParams& p, int step);
    void FixedColour(const PreviewParams& p, uint8_t extra);
    void RingWave(const PreviewParams& p);
    void CustomMap(const PreviewParams& p);
    void Raindrops(const PreviewParams& p);
    void Uniform(const PreviewParams& p, Rgb colour);
    void MovingBars(const PreviewParams& p);
    void KeyByKey(const PreviewParams& p);
    void Music(const PreviewParams& p);
    void Show(const PreviewParams& p);

    LightingPreview& leds_;
    uint32_t random_ = 0x9E3779B9u;
    int base_ = 0;
    int ticks_ = 0;
    int scriptIndex_ = 0;
    std::array<uint8_t, kProgramKeyCount> state_{};
    std::array<uint8_t, kProgramKeyCount> colourPos_{};
    std::array<uint8_t, kProgramKeyCount> counter_{};
    std::array<Ripple, kMaxRipples> ripples_{};
    int showPhase_ = 0;
    int showStep_ = 0;

    std::mutex queueLock_;
    std::array<KeyEvent, kQueueSize> queue_{};
    int queued_ = 0;

    static constexpr int kNoSetUp = -1;
    std::atomic<int> pendingSetUp_{kNoSetUp};
    std::atomic<int> visualisation_{0};
    std::atomic<int> barHeight_{0};
    std::array<std::atomic<uint8_t>, kAudioBands> bands_{};
};

}  // namespace device::keyboard
