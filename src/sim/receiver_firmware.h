#pragma once

#include <array>
#include <memory>
#include <mutex>

#include "sim/firmware.h"

namespace sim {

// The 2.4 GHz receiver: paired with one keyboard and one mouse, it forwards each frame to the
// partner named by byte 32 (0 keyboard, 2 mouse) and relays the partner's answer; with no linked
// partner it answers with the no-device echo (0xFF, 0xAA for the colour stream). It answers the
// link query (0xAA) itself: byte 8 the keyboard's link, byte 9 the mouse's (0xFF linked, 0 not).
// Events of a linked partner come out of the receiver's own event collection.
class ReceiverFirmware : public Firmware {
  public:
    enum class Partner : uint8_t { kKeyboard, kMouse };

    ReceiverFirmware();
    ~ReceiverFirmware() override;

    // Pairs a partner (replacing the earlier one of that side); a paired partner starts unlinked.
    void Pair(Partner side, std::shared_ptr<Firmware> partner);
    std::shared_ptr<Firmware> partner(Partner side) const;
    // Links or unlinks a paired partner (it comes in or out of radio range). False when none is
    // paired on that side.
    bool SetLinked(Partner side, bool linked);
    bool linked(Partner side) const;

  protected:
    Outcome Process(const Frame& frame, bool refuseWrites) override;

  private:
    struct Side {
        std::shared_ptr<Firmware> firmware;
        bool linked = false;
    };
    void Detach(Side& side);
    Frame NoPartnerAnswer(const Frame& request) const;

    mutable std::mutex sidesMutex_;
    std::array<Side, 2> sides_;
};

}  // namespace sim
