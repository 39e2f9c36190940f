#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>

#include "device/preview_tables.h"
#include "profile/profile_records.h"

namespace device {

// One LED as the page draws it.
struct LedColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t brightness = 0;
    friend constexpr bool operator==(const LedColour&, const LedColour&) = default;
};

// What a preview step animates: from the lighting record, or from an area effect entry.
struct PreviewParams {
    uint8_t brightness = 0;  // level 0..4
    uint8_t speed = 0;       // level 0..4
    uint8_t direction = 0;
    uint8_t colourful = 0;
    Rgb colour{0, 0, 0};

    static PreviewParams FromRecord(const profile::LightingRecord& record);
    static PreviewParams FromFrame(const profile::EffectFrame& frame);
};

// The lighting preview of one device page: the LED colours the page shows, the state of the
// animation and the steps that move it.
//
// The steps run on the preview thread (or, in tests, on the caller's), one at a time;
// the UI thread reads the LED colours meanwhile, so each colour is one atomic word and a reader
// sees every LED whole. Nothing here allocates: the preview runs hundreds of steps a second.
class LightingPreview {
  public:
    LightingPreview();

    // The number of LEDs of the page, at most kMaxLeds.
    void SetLedCount(int count);
    int LedCount() const { return ledCount_.load(std::memory_order_relaxed); }
    // Out of range: ignored, and nothing returned.
    void SetLed(int index, LedColour colour);
    std::optional<LedColour> Led(int index) const;
    void Fill(Rgb colour, uint8_t brightness);
    // Counts the changes of any LED colour, so that a reader can tell that nothing changed
    // without comparing every LED.
    uint32_t Generation() const { return generation_.load(std::memory_order_acquire); }
    // Every LED keeps its colour and takes this brightness. A colour another thread sets
    // meanwhile is kept, never overwritten with the one it replaced.
    void SetBrightness(uint8_t brightness);

    // The steps. Ramps wrap: upwards from the limit minus one to 0, downwards from 0 to the limit
    // minus one.
    void Static(const PreviewParams& p);
    void Spectrum(const PreviewParams& p);
    void Breathing(const PreviewParams& p);
    void BreathingFourColours(const PreviewParams& p);
    // Toggles every (pace value x 200) ms, measured against nowMs.
    void Blink(const PreviewParams& p, PreviewPace pace, int64_t nowMs);
    // Each lit phase shows the next of the four colours.
    void BlinkFourColours(const PreviewParams& p, PreviewPace pace, int64_t nowMs);
    void Off();
    // The wave of the area effects: the ring moves one place, lights its LEDs, and every LED
    // fades with its own colour-wheel offset.
    void Wave(const PreviewParams& p);

    // Building blocks.
    // Lowers LED index's level by the kind's rule (kinds beyond the table use kind 0) and returns
    // the colour-wheel offset for the new level (0 at full level, growing as it fades).
    int FadeStep(int index, int kind);
    void MarkFirstLeds();
    // Left when direction is 0, right otherwise.
    void RotateWaveRing(int direction);
    // Clears the LED levels and the wave ring.
    void ClearState();

    // State, for the device models and for tests.
    int ramp() const { return ramp_; }
    int colourPosition() const { return colourPosition_; }
    bool blinkOn() const { return blinkOn_; }
    uint8_t level(int index) const { return index >= 0 && index < kMaxLeds ? levels_[index] : 0; }
    void SetLevel(int index, uint8_t level) {
        if (index >= 0 && index < kMaxLeds) levels_[index] = level;
    }
    const std::array<uint8_t, kWaveRingSize>& waveRing() const { return waveRing_; }
    void SetWaveRing(int position, uint8_t value) {
        if (position >= 0 && position < kWaveRingSize) waveRing_[position] = value;
    }

  private:
    static uint32_t Pack(LedColour c);
    static LedColour Unpack(uint32_t v);
    // Moves the breathing ramp one step; true when it came back to 0.
    bool AdvanceRamp(uint8_t direction);
    // Toggles the blink phase when its period has passed; true when it did.
    bool BlinkToggle(PreviewPace pace, uint8_t speed, int64_t nowMs);
    void AdvanceColour(int step);

    void Store(int index, uint32_t value) {
        if (leds_[index].exchange(value, std::memory_order_relaxed) != value)
            generation_.fetch_add(1, std::memory_order_release);
    }

    std::atomic<int> ledCount_{0};
    std::atomic<uint32_t> generation_{0};
    std::array<std::atomic<uint32_t>, kMaxLeds> leds_;
    std::array<uint8_t, kMaxLeds> levels_{};
    std::array<uint8_t, kWaveRingSize> waveRing_{};
    // Moved by the preview thread and read by the page's thread (its state getters): whole
    // words, so a reader never sees one half-written.
    std::atomic<int> ramp_{0};
    std::atomic<int> colourPosition_{0};
    std::atomic<bool> blinkOn_{false};
    int64_t lastToggleMs_ = 0;
};

}  // namespace device
