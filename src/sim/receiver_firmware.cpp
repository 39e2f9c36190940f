#include "sim/receiver_firmware.h"

namespace sim {

ReceiverFirmware::ReceiverFirmware() : Firmware(Kind::kReceiver) {}

ReceiverFirmware::~ReceiverFirmware() {
    std::lock_guard lock(sidesMutex_);
    for (Side& s : sides_) Detach(s);
}

void ReceiverFirmware::Detach(Side& side) {
    if (side.firmware && side.linked) side.firmware->SetEventSink(Path::kRadio, nullptr);
    side.linked = false;
}

void ReceiverFirmware::Pair(Partner side, std::shared_ptr<Firmware> partner) {
    std::lock_guard lock(sidesMutex_);
    Side& s = sides_[static_cast<size_t>(side)];
    Detach(s);
    s.firmware = std::move(partner);
}

std::shared_ptr<Firmware> ReceiverFirmware::partner(Partner side) const {
    std::lock_guard lock(sidesMutex_);
    return sides_[static_cast<size_t>(side)].firmware;
}

bool ReceiverFirmware::SetLinked(Partner side, bool linked) {
    std::lock_guard lock(sidesMutex_);
    Side& s = sides_[static_cast<size_t>(side)];
    if (!s.firmware) return false;
    if (!linked) {
        Detach(s);
        return true;
    }
    s.linked = true;
    // The partner's events travel over the radio and leave through this receiver's cable.
    std::weak_ptr<Firmware> self = weak_from_this();
    s.firmware->SetEventSink(Path::kRadio, [self](uint16_t code) {
        auto receiver = std::static_pointer_cast<ReceiverFirmware>(self.lock());
        return receiver && receiver->Firmware::SendEvent(code);
    });
    return true;
}

bool ReceiverFirmware::linked(Partner side) const {
    std::lock_guard lock(sidesMutex_);
    return sides_[static_cast<size_t>(side)].linked;
}

Frame ReceiverFirmware::NoPartnerAnswer(const Frame& request) const {
    Frame answer = AnswerTo(request, kStatusOk);
    answer[kCommandByte] =
        request[kCommandByte] == cmd::kStreamColours ? kNoPartnerStreamEcho : kNoPartnerEcho;
    StampChecksum(answer);
    return answer;
}

Firmware::Outcome ReceiverFirmware::Process(const Frame& frame, bool refuseWrites) {
    if (frame[kCommandByte] == cmd::kLinkState) {
        // The host writes the route byte after summing the frame: the sum is checked without it,
        // as for the frames forwarded to a partner.
        Frame own = frame;
        own[kRouteByte] = 0;
        Outcome out = Firmware::Process(own, refuseWrites);
        Frame& answer = out.replies.front().bytes;
        if (answer[kStatusByte] == kStatusOk) {
            answer[kPayloadByte] = linked(Partner::kKeyboard) ? kLinked : 0;
            answer[kPayloadByte + 1] = linked(Partner::kMouse) ? kLinked : 0;
            StampChecksum(answer);
        }
        return out;
    }
    const uint8_t route = frame[kRouteByte];
    std::shared_ptr<Firmware> target;
    Partner side = Partner::kKeyboard;
    if (route == kRouteKeyboard || route == kRouteMouse) {
        side = route == kRouteKeyboard ? Partner::kKeyboard : Partner::kMouse;
        std::lock_guard lock(sidesMutex_);
        const Side& s = sides_[static_cast<size_t>(side)];
        if (s.linked) target = s.firmware;
    }
    Outcome out;
    if (target) {
        // The routing byte is the receiver's; the partner gets the frame as the host summed it.
        Frame forwarded = frame;
        forwarded[kRouteByte] = 0;
        out = target->HandleFrame(forwarded);
        if (!out.disconnect) return out;
        // The partner left the radio in the middle: the receiver has nobody to ask any more.
        SetLinked(side, false);
        out = Outcome{};
    }
    out.replies.push_back({NoPartnerAnswer(frame), 0});
    return out;
}

}  // namespace sim
