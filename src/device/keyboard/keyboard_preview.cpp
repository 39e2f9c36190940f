#include "device/keyboard/keyboard_preview.h"

#include <algorithm>

#include "device/keyboard/keyboard_light_frames.h"

namespace device::keyboard {

namespace {

// Where each program key sits in the matrix and in the rings (-1: nowhere), derived once at
// compile time from the generated layout.
struct KeyPlace {
    int8_t row = -1;
    int8_t column = -1;
    int8_t ring = -1;
};
constexpr std::array<KeyPlace, kProgramKeyCount> kPlaces = [] {
    std::array<KeyPlace, kProgramKeyCount> out{};
    for (int r = 0; r < kMatrixRows; ++r)
        for (int c = 0; c < kMatrixColumns; ++c)
            if (kKeyMatrix[r][c] != kNoKey) {
                out[kKeyMatrix[r][c]].row = static_cast<int8_t>(r);
                out[kKeyMatrix[r][c]].column = static_cast<int8_t>(c);
            }
    for (int r = 0; r < kRingCount; ++r)
        for (uint8_t k : kRings[r])
            if (k != kNoKey) out[k].ring = static_cast<int8_t>(r);
    return out;
}();

// The fade of the modes that decay their keys (FadeStep kinds of the base preview: 0 short
// wave, 1 longer ripple tail, 2 quick flash).
struct ModeFade {
    int mode;
    int kind;
};
constexpr std::array<ModeFade, 7> kModeFades = {
    {{7, 1}, {8, 1}, {11, 1}, {14, 1}, {19, 0}, {28, 1}, {33, 1}}};
constexpr int FadeKindOf(int mode) {
    for (const ModeFade& f : kModeFades)
        if (f.mode == mode) return f.kind;
    return 0;
}

// A ripple's front moves this many page pixels per tick and is one key wide.
constexpr int kRippleGrowth = 4;
constexpr int kRippleEnd = 800;  // beyond the board's diagonal
// The reactive fade's rise and fall per tick.
constexpr int kReactiveRise = 15;
constexpr int kReactiveFall = 5;
constexpr int kRaindrops = 6;
constexpr int kBarFall = 5;
constexpr int kBarColourStep = 3;
// Single-colour waves run along the breathing curve with 96 positions.
constexpr int kBreathingPositions = 96;
// The scripted show: ticks per step of its first two phases.
constexpr int kShowTicksPerStep = 8;
constexpr std::array<uint8_t, 4> kFixedColourPositions = {174, 25, 70, 95};

constexpr int Wrap(int v, int limit) {
    v %= limit;
    return v < 0 ? v + limit : v;
}

uint8_t Brightness(uint8_t level) {
    return kBrightnessTable[std::min<size_t>(level, kBrightnessTable.size() - 1)];
}

}  // namespace

KeyboardPreview::KeyboardPreview(LightingPreview& leds) : leds_(leds) {
    for (auto& b : bands_) b.store(0, std::memory_order_relaxed);
}

bool KeyboardPreview::HasStep(int m) {
    return (m >= 1 && m <= 21) || (m >= 23 && m <= 30) || m == 33;
}

uint32_t KeyboardPreview::Random() {
    random_ ^= random_ << 13;
    random_ ^= random_ >> 17;
    random_ ^= random_ << 5;
    return random_;
}

Rgb KeyboardPreview::ColourAt(const PreviewParams& p, int position) const {
    return p.colourful ? kColourWheel[Wrap(position, kColourWheelSize)] : p.colour;
}

void KeyboardPreview::Put(int key, Rgb c, int level, const PreviewParams& p) {
    const int lit = std::clamp(level, 0, 255) * Brightness(p.brightness) / 256;
    leds_.SetLed(key, {c.red, c.green, c.blue, static_cast<uint8_t>(lit)});
}

void KeyboardPreview::Advance(const PreviewParams& p, int limit) {
    base_ = Wrap(base_ + (p.direction == 0 ? 1 : -1), limit);
}

int KeyboardPreview::activeRipples() const {
    return static_cast<int>(std::count_if(ripples_.begin(), ripples_.end(),
                                          [](const Ripple& r) { return r.origin != kNoKey; }));
}

void KeyboardPreview::SetUp(int modeIndex) {
    leds_.ClearState();
    state_.fill(0);
    colourPos_.fill(0);
    counter_.fill(0);
    ripples_.fill({});
    base_ = 0;
    ticks_ = 0;
    scriptIndex_ = 0;
    switch (modeIndex) {
        case 12:
        case 13:
            // Twinkles start at random places of their pulse, so they never all light at once.
            for (uint8_t k : kKeyOrder) {
                counter_[k] = static_cast<uint8_t>(Random() % kPulseTable.size());
                colourPos_[k] = static_cast<uint8_t>(Random() % kColourWheelSize);
            }
            break;
        case 11:
        case 14:
            // The first ripple starts at once.
            ticks_ = kScriptInterval - 1;
            break;
        case 18:
            break;  // the colours come from the custom map
        default:
            break;
    }
    ResetShow();
}

void KeyboardPreview::ResetShow() {
    showPhase_ = 0;
    showStep_ = 0;
}

void KeyboardPreview::PushKeyEvent(int programKey, int kind) {
    if (!InRange(programKey) || (kind != 1 && kind != 2)) return;
    std::lock_guard lock(queueLock_);
    if (queued_ >= kQueueSize) return;
    queue_[queued_++] = {static_cast<uint8_t>(programKey), static_cast<uint8_t>(kind)};
}

void KeyboardPreview::PushDeviceKeyEvent(const KeyboardKeyMaps& maps, int deviceKey, int kind) {
    const int key = maps.ProgramKeyAt(deviceKey);
    if (key >= 0) PushKeyEvent(key, kind);
}

void KeyboardPreview::SetAudioVisualisation(int v) {
    visualisation_.store(std::clamp(v, 0, 6), std::memory_order_relaxed);
}

void KeyboardPreview::SetAudioBarHeight(int height) {
    barHeight_.store(std::clamp(height, 0, 25), std::memory_order_relaxed);
}

void KeyboardPreview::FeedAudioBands(std::span<const uint8_t> bands) {
    const size_t n = std::min<size_t>(bands.size(), kAudioBands);
    for (size_t i = 0; i < n; ++i) bands_[i].store(bands[i], std::memory_order_relaxed);
}

void KeyboardPreview::DrainEvents(int modeIndex) {
    std::array<KeyEvent, kQueueSize> events;
    int n;
    {
        std::lock_guard lock(queueLock_);
        n = queued_;
        std::copy_n(queue_.begin(), n, events.begin());
        queued_ = 0;
    }
    if (modeIndex != 6 && modeIndex != 7 && modeIndex != 8 && modeIndex != 25) return;
    for (int i = 0; i < n; ++i) Trigger(modeIndex, events[i].key);
}

void KeyboardPreview::Trigger(int modeIndex, int key) {
    // Each trigger takes the next colour, so a run of keys shows a run of colours.
    const int colour = Wrap(base_ + static_cast<int>(Random() % 48), kColourWheelSize);
    if (modeIndex == 6 || modeIndex == 25) {
        state_[key] = 1;
        colourPos_[key] = static_cast<uint8_t>(colour);
        return;
    }
    StartRipple(key, colour);
}

void KeyboardPreview::StartRipple(int key, int colour) {
    if (!InRange(key) || kKeyCentres[key].x < 0) return;
    // A full set of ripples gives way to the newest: the oldest is the largest.
    Ripple* slot = &ripples_[0];
    for (Ripple& r : ripples_) {
        if (r.origin == kNoKey) {
            slot = &r;
            break;
        }
        if (r.radius > slot->radius) slot = &r;
    }
    *slot = {static_cast<uint8_t>(key), static_cast<uint8_t>(colour), 0};
    leds_.SetLevel(key, 255);
    colourPos_[key] = static_cast<uint8_t>(colour);
}

void KeyboardPreview::GrowRipples(bool ownColours) {
    for (Ripple& r : ripples_) {
        if (r.origin == kNoKey) continue;
        r.radius = static_cast<int16_t>(r.radius + kRippleGrowth);
        if (r.radius > kRippleEnd) {
            r = {};
            continue;
        }
        const KeyCentre o = kKeyCentres[r.origin];
        const int inner = std::max(0, r.radius - kKeyUnit / 2);
        const int outer = r.radius + kKeyUnit / 2;
        for (uint8_t k : kKeyOrder) {
            const int dx = kKeyCentres[k].x - o.x;
            const int dy = kKeyCentres[k].y - o.y;
            const int d2 = dx * dx + dy * dy;
            if (d2 < inner * inner || d2 >= outer * outer) continue;
            leds_.SetLevel(k, 255);
            if (ownColours) colourPos_[k] = r.colour;
        }
    }
}

void KeyboardPreview::FadeAndDraw(const PreviewParams& p, int fadeKind, bool ownColours) {
    for (uint8_t k : kKeyOrder) {
        const int offset = leds_.FadeStep(k, fadeKind);
        const int position = (ownColours ? colourPos_[k] : base_) + offset;
        Put(k, ColourAt(p, position), leds_.level(k), p);
    }
}

void KeyboardPreview::RequestSetUp(int modeIndex) {
    pendingSetUp_.store(modeIndex, std::memory_order_release);
}

bool KeyboardPreview::Step(int m, const PreviewParams& p, uint8_t extra, int64_t nowMs) {
    if (const int pending = pendingSetUp_.exchange(kNoSetUp, std::memory_order_acquire);
        pending != kNoSetUp)
        SetUp(pending);
    DrainEvents(m);
    switch (m) {
        case 1:
            ColumnWave(p, 7, 7);
            break;
        case 2:
            KeyOrderSweep(p);
            break;
        case 3:
            leds_.Spectrum(p);
            break;
        case 4:
            leds_.Breathing(p);
            break;
        case 5:
            leds_.Static(p);
            break;
        case 6:
        case 25:
            ReactiveFade(p);
            break;
        case 7:
        case 8:
        case 11:
        case 14:
            Ripples(p, m);
            break;
        case 9:
            ColourDrift(p);
            break;
        case 10:
            RowWave(p);
            break;
        case 12:
            Twinkle(p, 1);
            break;
        case 13:
            Twinkle(p, 2);
            break;
        case 15:
            FixedColour(p, extra);
            break;
        case 16:
            RingWave(p);
            break;
        case 17:
            leds_.Off();
            break;
        case 18:
            CustomMap(p);
            break;
        case 19:
            Raindrops(p);
            break;
        case 20:
            ColumnWave(p, 2, 1);
            break;
        case 21:
            Uniform(p, {255, 0, 255});
            break;
        case 23:
            leds_.Blink(p, PreviewPace::kBlink, nowMs);
            break;
        case 24:
            MovingBars(p);
            break;
        case 26:
            leds_.BreathingFourColours(p);
            break;
        case 27:
            leds_.BlinkFourColours(p, PreviewPace::kBlinkFourColours, nowMs);
            break;
        case 28:
            KeyByKey(p);
            break;
        case 29:
            Music(p);
            break;
        case 30:
            Uniform(p, {bands_[0].load(std::memory_order_relaxed),
                        bands_[1].load(std::memory_order_relaxed),
                        bands_[2].load(std::memory_order_relaxed)});
            break;
        case 33:
            Show(p);
            break;
        default:
            return false;
    }
    return true;
}

void KeyboardPreview::ColumnWave(const PreviewParams& p, int spacing, int breathingSpacing) {
    Advance(p, p.colourful ? kColourWheelSize : kBreathingPositions);
    for (int c = 0; c < kMatrixColumns; ++c) {
        Rgb colour = p.colour;
        int level = 255;
        if (p.colourful) {
            colour = kColourWheel[Wrap(base_ + c * spacing, kColourWheelSize)];
        } else {
            const int b = Wrap(base_ + c * breathingSpacing, kBreathingPositions);
            level = kBreathingCurve[b * kBreathingCurveSize / kBreathingPositions];
        }
        for (int r = 0; r < kMatrixRows; ++r)
            if (kKeyMatrix[r][c] != kNoKey) Put(kKeyMatrix[r][c], colour, level, p);
    }
}

void KeyboardPreview::KeyOrderSweep(const PreviewParams& p) {
    Advance(p, p.colourful ? kColourWheelSize : kBreathingCurveSize);
    for (size_t j = 0; j < kKeyOrder.size(); ++j) {
        const int position = base_ + static_cast<int>(j) * 5;
        if (p.colourful)
            Put(kKeyOrder[j], kColourWheel[Wrap(position, kColourWheelSize)], 255, p);
        else
            Put(kKeyOrder[j], p.colour, kBreathingCurve[Wrap(position, kBreathingCurveSize)], p);
    }
}

void KeyboardPreview::ReactiveFade(const PreviewParams& p) {
    for (uint8_t k : kKeyOrder) {
        int level = leds_.level(k);
        if (state_[k] == 1) {
            level = std::min(255, level + kReactiveRise);
            if (level == 255) state_[k] = 2;
        } else if (state_[k] == 2) {
            level = std::max(0, level - kReactiveFall);
            if (level == 0) state_[k] = 0;
        }
        leds_.SetLevel(k, static_cast<uint8_t>(level));
        Put(k, ColourAt(p, colourPos_[k]), level, p);
    }
}

void KeyboardPreview::Ripples(const PreviewParams& p, int m) {
    if (m == 11 || m == 14) {
        if (++ticks_ >= kScriptInterval) {
            ticks_ = 0;
            const uint8_t key = m == 11 ? kRippleScript[scriptIndex_ % kRippleScript.size()]
                                        : kEdgeKeys[scriptIndex_ % kEdgeKeys.size()];
            ++scriptIndex_;
            StartRipple(key, Wrap(base_ + scriptIndex_ * 24, kColourWheelSize));
        }
    }
    // Colour positions move on by 7 a tick; mode 8 keeps each key at its ripple's colour.
    base_ = Wrap(base_ + 7, kColourWheelSize);
    const bool own = m == 8;
    GrowRipples(own);
    FadeAndDraw(p, FadeKindOf(m), own);
}

void KeyboardPreview::ColourDrift(const PreviewParams& p) {
    for (uint8_t k : kKeyOrder) {
        colourPos_[k] = static_cast<uint8_t>(Wrap(colourPos_[k] + 1, kColourWheelSize));
        Put(k, ColourAt(p, colourPos_[k]), 255, p);
    }
}

void KeyboardPreview::RowWave(const PreviewParams& p) {
    Advance(p, kColourWheelSize);
    for (int r = 0; r < kMatrixRows; ++r) {
        const Rgb colour = ColourAt(p, base_ + r * 24);
        for (uint8_t k : kKeyMatrix[r])
            if (k != kNoKey) Put(k, colour, 255, p);
    }
}

void KeyboardPreview::Twinkle(const PreviewParams& p, int step) {
    for (uint8_t k : kKeyOrder) {
        int counter = counter_[k] + step;
        if (counter >= static_cast<int>(kPulseTable.size())) {
            counter = 0;
            colourPos_[k] = static_cast<uint8_t>(Random() % kColourWheelSize);
        }
        counter_[k] = static_cast<uint8_t>(counter);
        Put(k, ColourAt(p, colourPos_[k]), kPulseTable[counter], p);
    }
}

void KeyboardPreview::FixedColour(const PreviewParams& p, uint8_t extra) {
    const int position = kFixedColourPositions[extra <= 3 ? extra : 0];
    leds_.Fill(kColourWheel[position], Brightness(p.brightness));
}

void KeyboardPreview::RingWave(const PreviewParams& p) {
    Advance(p, kColourWheelSize);
    // Ring r shows what ring r - 1 showed 7 ticks ago: the colours travel outwards (inwards
    // with the other direction).
    for (int r = 0; r < kRingCount; ++r) {
        const Rgb colour = ColourAt(p, base_ - r * 7);
        for (uint8_t k : kRings[r])
            if (k != kNoKey) Put(k, colour, 255, p);
    }
}

void KeyboardPreview::CustomMap(const PreviewParams& p) {
    // The colours are the painted ones; a key painted on the UI thread during the tick keeps
    // its new colour.
    leds_.SetBrightness(Brightness(p.brightness));
}

void KeyboardPreview::Raindrops(const PreviewParams& p) {
    for (int i = 0; i < kRaindrops; ++i) {
        const uint8_t k = kKeyOrder[Random() % kKeyOrder.size()];
        leds_.SetLevel(k, 255);
        colourPos_[k] = static_cast<uint8_t>(Random() % kColourWheelSize);
    }
    for (uint8_t k : kKeyOrder) {
        leds_.FadeStep(k, FadeKindOf(19));
        Put(k, ColourAt(p, colourPos_[k]), leds_.level(k), p);
    }
}

void KeyboardPreview::Uniform(const PreviewParams& p, Rgb colour) {
    leds_.Fill(colour, Brightness(p.brightness));
}

void KeyboardPreview::MovingBars(const PreviewParams& p) {
    for (uint8_t k : kKeyOrder) {
        leds_.SetLevel(k, static_cast<uint8_t>(std::max(0, leds_.level(k) - kBarFall)));
        colourPos_[k] =
            static_cast<uint8_t>(Wrap(colourPos_[k] + kBarColourStep, kColourWheelSize));
    }
    Advance(p, kBarCount);
    for (uint8_t k : kBars[base_]) {
        if (k == kNoKey) continue;
        leds_.SetLevel(k, 255);
        colourPos_[k] = 0;
    }
    for (uint8_t k : kKeyOrder) Put(k, ColourAt(p, colourPos_[k]), leds_.level(k), p);
}

void KeyboardPreview::KeyByKey(const PreviewParams& p) {
    Advance(p, kProgramKeyCount);
    leds_.SetLevel(base_, 254);
    colourPos_[base_] = static_cast<uint8_t>(base_ * kColourWheelSize / kProgramKeyCount);
    for (uint8_t k : kKeyOrder) {
        leds_.FadeStep(k, FadeKindOf(28));
        Put(k, ColourAt(p, colourPos_[k]), leds_.level(k), p);
    }
}

void KeyboardPreview::Music(const PreviewParams& p) {
    const int v = visualisation_.load(std::memory_order_relaxed);
    // Visualisation 2 shows the level bar (only it is fed with levels); the others follow the
    // bands, as one height from their mean or band by band.
    int h = barHeight_.load(std::memory_order_relaxed);
    std::array<int, kAudioBands> bands{};
    if (v != 2) {
        int sum = 0;
        for (int b = 0; b < kAudioBands; ++b)
            sum += bands[b] = bands_[b].load(std::memory_order_relaxed);
        h = sum * kAudioBarMax / (kAudioBands * 255);
    }
    Advance(p, kColourWheelSize);
    for (uint8_t k : kKeyOrder) {
        const KeyPlace place = kPlaces[k];
        const int fromBottom = kMatrixRows - 1 - place.row;
        bool lit = false;
        int level = 255;
        int position = base_;
        switch (v) {
            case 0: {  // six bands side by side, each its own height
                const int band = place.column * kAudioBands / kMatrixColumns;
                lit = fromBottom * 256 < bands[band] * kMatrixRows;
                position = band * 32;
                break;
            }
            case 1:  // from the centre out to both sides
                lit = std::abs(place.column * 2 - (kMatrixColumns - 1)) * kAudioBarMax <
                      h * kMatrixColumns;
                position = base_ + place.column * 8;
                break;
            case 2:  // a bar rising from the bottom, green below and red on top
                lit = fromBottom * kAudioBarMax < h * kMatrixRows;
                position = 64 - fromBottom * 12;
                break;
            case 3:  // the whole board pulses
                lit = true;
                level = h * 255 / kAudioBarMax;
                break;
            case 4:  // a bar falling from the top
                lit = place.row * kAudioBarMax < h * kMatrixRows;
                position = base_ + place.row * 24;
                break;
            case 5:  // left to right
                lit = place.column * kAudioBarMax < h * kMatrixColumns;
                position = place.column * 8;
                break;
            default:  // rings from the centre
                lit = place.ring * kAudioBarMax < h * kRingCount;
                position = base_ + place.ring * 16;
                break;
        }
        Put(k, kColourWheel[Wrap(position, kColourWheelSize)], lit ? level : 0, p);
    }
}

void KeyboardPreview::Show(const PreviewParams& p) {
    const int kind = FadeKindOf(33);
    switch (showPhase_) {
        case 0:  // six keys at a time in random colours
            if (showStep_ % kShowTicksPerStep == 0) {
                for (uint8_t k : kShowGroups[showStep_ / kShowTicksPerStep]) {
                    leds_.SetLevel(k, 255);
                    colourPos_[k] = static_cast<uint8_t>(Random() % kColourWheelSize);
                }
            }
            if (++showStep_ >= kShowGroupCount * kShowTicksPerStep) {
                showPhase_ = 1;
                showStep_ = 0;
            }
            break;
        case 1:  // mirrored pairs moving inwards
            if (showStep_ % kShowTicksPerStep == 0) {
                const int i = showStep_ / kShowTicksPerStep;
                for (uint8_t k : kShowPairs[i]) {
                    leds_.SetLevel(k, 255);
                    colourPos_[k] = static_cast<uint8_t>(i * 12);
                }
            }
            if (++showStep_ >= static_cast<int>(kShowPairs.size()) * kShowTicksPerStep) {
                showPhase_ = 2;
                showStep_ = 0;
            }
            break;
        case 2:  // one ripple from the space bar
            StartRipple(kShowRippleKey, Wrap(base_, kColourWheelSize));
            showPhase_ = 3;
            break;
        default:  // until the ripple has passed the last key
            if (activeRipples() == 0 && leds_.level(kShowLastKey) == 0) ResetShow();
            break;
    }
    GrowRipples(true);
    for (uint8_t k : kKeyOrder) {
        const int offset = leds_.FadeStep(k, kind);
        Put(k, ColourAt(p, colourPos_[k] + offset), leds_.level(k), p);
    }
}

}  // namespace device::keyboard
