#pragma once

// The headset's own preview steps: the mouse pad's wave and ripples, over the headset's LEDs.

#include "device/mouse_pad/pad_preview.h"

namespace device {

using HeadsetPreviewState = PadPreviewState;

inline void HeadsetStepA(LightingPreview& preview, HeadsetPreviewState& state,
                         const PreviewParams& p) {
    PadStepA(preview, state, p);
}
inline void HeadsetStepB(LightingPreview& preview, HeadsetPreviewState& state,
                         const PreviewParams& p) {
    PadStepB(preview, state, p);
}
inline void HeadsetStepC(LightingPreview& preview, HeadsetPreviewState& state,
                         const PreviewParams& p) {
    PadStepC(preview, state, p);
}

}  // namespace device
