#include "sim/demo.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "os/debug_output.h"
#include "os/folders.h"
#include "os/hid/hid_platform.h"
#include "os/session_bus.h"

namespace sim {

namespace {

constexpr const char* kUsage =
    "commands:\n"
    "  plug KIND | unplug KIND          KIND: keyboard, mouse, pad, headset, receiver\n"
    "  link PARTNER | unlink PARTNER    the receiver's keyboard or mouse\n"
    "  press KIND N | release KIND N    keyboard key number or mouse button 0..10\n"
    "  event KIND CODE                  send an event code (0x0401, 0x1123...)\n"
    "  battery KIND LEVEL [STATE [PHONE]]\n"
    "                                   STATE: powered, charging, battery (or 0, 1, 2);\n"
    "                                   PHONE: none, iphone, samsung, other (or 0..3)\n"
    "  fault KIND NAME [VALUE] [command=C] [after=N] [frames=N]\n"
    "                                   NAME: noanswer, late (VALUE ms), echo (VALUE 1 or 2),\n"
    "                                   statusff, statusfe, refuse, unplug, clear\n"
    "  version KIND NUMBER              HID version number (the device is plugged again)\n"
    "  dump KIND AREA                   AREA: info, settings, keys, leds, lightmap, colours,\n"
    "                                   macro, shoot, power\n"
    "  status                           what is plugged, linked and powered\n";

// A number in decimal or with 0x in hexadecimal, within [0, max].
bool ParseNumber(const std::string& text, long max, long* value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || v < 0 || v > max) return false;
    *value = v;
    return true;
}

std::string Hex(long value, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*lX", digits, value);
    return buf;
}

std::string HexDump(const std::vector<uint8_t>& bytes) {
    std::string out;
    char buf[24];
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 16 == 0) {
            std::snprintf(buf, sizeof buf, "%04zX:", i);
            out += buf;
        }
        std::snprintf(buf, sizeof buf, " %02X", bytes[i]);
        out += buf;
        if (i % 16 == 15 || i + 1 == bytes.size()) out += '\n';
    }
    return out;
}

int Fail(std::string& output, const std::string& why) {
    output = why + "\n";
    return 1;
}

}  // namespace

bool KindFromName(std::string name, Kind* kind) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name == "mousepad") name = "pad";
    if (name == "dongle") name = "rx";
    for (const DeviceLayout& l : kDeviceLayouts)
        if (name == l.name || name == l.shortName) {
            *kind = l.kind;
            return true;
        }
    return false;
}

Demo::Demo(const std::string& dataFolder, os::hid::VirtualBus& bus) {
    receiver_ = std::make_shared<ReceiverFirmware>();
    for (size_t i = 0; i < kKindCount; ++i) {
        const Kind kind = static_cast<Kind>(i);
        std::shared_ptr<Firmware> fw =
            kind == Kind::kReceiver ? receiver_ : std::make_shared<Firmware>(kind);
        devices_[i] = std::make_unique<SimulatedDevice>(fw, bus);
    }
    if (!dataFolder.empty()) {
        store_ = std::make_unique<DemoStore>(dataFolder);
        for (size_t i = 0; i < kKindCount; ++i)
            if (static_cast<Kind>(i) != Kind::kReceiver) store_->Watch(devices_[i]->firmwarePtr());
    }
    using P = ReceiverFirmware::Partner;
    receiver_->Pair(P::kKeyboard, devices_[Index(Kind::kKeyboard)]->firmwarePtr());
    receiver_->Pair(P::kMouse, devices_[Index(Kind::kMouse)]->firmwarePtr());
    receiver_->SetLinked(P::kKeyboard, true);
    receiver_->SetLinked(P::kMouse, true);
}

Demo::~Demo() {
    if (bus_) bus_->SetCommandHandler(kCommandName, nullptr);
    for (auto& d : devices_) d->Unplug();
    store_.reset();
}

const char* Demo::Usage() {
    return kUsage;
}

std::string Demo::DefaultDataFolder() {
    return os::UserDataFolder(true) + "Demo";
}

bool Demo::PlugKinds(const std::string& kinds, std::string* error) {
    std::vector<Kind> wanted;
    std::string unknown;
    if (kinds.empty()) {
        wanted = {Kind::kKeyboard, Kind::kMouse, Kind::kPad, Kind::kHeadset};
    } else {
        size_t start = 0;
        while (start <= kinds.size()) {
            size_t comma = kinds.find(',', start);
            if (comma == std::string::npos) comma = kinds.size();
            const std::string name = kinds.substr(start, comma - start);
            Kind k;
            if (KindFromName(name, &k))
                wanted.push_back(k);
            else if (!name.empty())
                unknown += (unknown.empty() ? "" : ", ") + name;
            start = comma + 1;
        }
    }
    bool ok = unknown.empty();
    for (Kind k : wanted) {
        std::string why;
        if (!devices_[Index(k)]->Plug(&why)) {
            os::DebugOutput(std::string("demo: cannot plug the ") + LayoutOf(k).name + ": " + why +
                            "\n");
            ok = false;
            if (error) *error += std::string("cannot plug the ") + LayoutOf(k).name + "; ";
        }
    }
    if (!unknown.empty() && error) *error += "unknown device kind: " + unknown;
    return ok;
}

void Demo::AttachTo(os::SessionBus& bus) {
    bus_ = &bus;
    bus.SetCommandHandler(kCommandName,
                          [this](const std::vector<std::string>& args, std::string& output) {
                              return RunCommand(args, output);
                          });
}

int Demo::RunCommand(const std::vector<std::string>& args, std::string& output) {
    output.clear();
    if (args.empty() || args[0] == "help") {
        output = kUsage;
        return args.empty() ? 1 : 0;
    }
    const std::string& verb = args[0];
    if (verb == "status") {
        for (const DeviceLayout& l : kDeviceLayouts) {
            const SimulatedDevice& d = *devices_[Index(l.kind)];
            output += std::string(l.name) + ": " + (d.plugged() ? "plugged" : "unplugged");
            output += ", " + std::to_string(d.firmware().FrameCount()) + " frames";
            if (l.kind == Kind::kReceiver) {
                using P = ReceiverFirmware::Partner;
                output += std::string(", keyboard ") +
                          (receiver_->linked(P::kKeyboard) ? "linked" : "not linked") + ", mouse " +
                          (receiver_->linked(P::kMouse) ? "linked" : "not linked");
            } else {
                const std::vector<uint8_t> power = d.firmware().ReadArea(Area::kPower);
                if (power.size() >= 2)
                    output += ", battery " + std::to_string(power[0]) + " state " +
                              std::to_string(power[1]);
            }
            output += "\n";
        }
        return 0;
    }
    static constexpr const char* kVerbs[] = {"plug",  "unplug",  "link",  "unlink",
                                             "press", "release", "event", "battery",
                                             "fault", "version", "dump"};
    if (std::find(std::begin(kVerbs), std::end(kVerbs), verb) == std::end(kVerbs))
        return Fail(output, "unknown command: " + verb + "\n" + kUsage);
    if (args.size() < 2) return Fail(output, verb + ": which device?");
    Kind kind;
    if (!KindFromName(args[1], &kind)) return Fail(output, "unknown device kind: " + args[1]);
    SimulatedDevice& device = *devices_[Index(kind)];
    Firmware& fw = device.firmware();
    const std::string name = LayoutOf(kind).name;

    if (verb == "plug") {
        std::string why;
        if (!device.Plug(&why)) return Fail(output, "cannot plug the " + name + ": " + why);
        output = name + " plugged\n";
        return 0;
    }
    if (verb == "unplug") {
        device.Unplug();
        output = name + " unplugged\n";
        return 0;
    }
    if (verb == "link" || verb == "unlink") {
        if (kind != Kind::kKeyboard && kind != Kind::kMouse)
            return Fail(output, "the receiver pairs only with the keyboard and the mouse");
        const auto side = kind == Kind::kKeyboard ? ReceiverFirmware::Partner::kKeyboard
                                                  : ReceiverFirmware::Partner::kMouse;
        receiver_->SetLinked(side, verb == "link");
        output = name + (verb == "link" ? " linked" : " unlinked") + " to the receiver\n";
        return 0;
    }
    if (verb == "press" || verb == "release") {
        long key;
        if (args.size() < 3 || !ParseNumber(args[2], 255, &key))
            return Fail(output, verb + ": needs a key number 0..255");
        const bool sent = verb == "press" ? fw.Press(static_cast<uint8_t>(key))
                                          : fw.Release(static_cast<uint8_t>(key));
        if (!sent) return Fail(output, "the " + name + " could not send it (not connected?)");
        output =
            name + " key " + std::to_string(key) + (verb == "press" ? " pressed\n" : " released\n");
        return 0;
    }
    if (verb == "event") {
        long code;
        if (args.size() < 3 || !ParseNumber(args[2], 0xFFFF, &code))
            return Fail(output, "event: needs a code 0..0xFFFF");
        if (!fw.SendEvent(static_cast<uint16_t>(code)))
            return Fail(output, "the " + name + " could not send it (not connected?)");
        output = name + " sent event " + Hex(code, 4) + "\n";
        return 0;
    }
    if (verb == "battery") {
        long level, state = fw.ReadArea(Area::kPower).size() > 1 ? fw.ReadArea(Area::kPower)[1] : 0;
        if (kind == Kind::kReceiver) return Fail(output, "the receiver has no battery");
        if (args.size() < 3 || !ParseNumber(args[2], 255, &level))
            return Fail(output, "battery: needs a level 0..255");
        if (args.size() >= 4) {
            const std::string& s = args[3];
            if (s == "powered")
                state = 0;
            else if (s == "charging")
                state = 1;
            else if (s == "battery")
                state = 2;
            else if (!ParseNumber(s, 255, &state))
                return Fail(output, "battery: unknown state " + s);
        }
        long phone = -1;
        if (args.size() >= 5) {
            constexpr const char* kPhones[] = {"none", "iphone", "samsung", "other"};
            const auto it = std::find(std::begin(kPhones), std::end(kPhones), args[4]);
            if (it != std::end(kPhones))
                phone = it - std::begin(kPhones);
            else if (!ParseNumber(args[4], 255, &phone))
                return Fail(output, "battery: unknown phone type " + args[4]);
        }
        fw.SetPower(static_cast<uint8_t>(level), static_cast<uint8_t>(state));
        if (phone >= 0) fw.SetPowerByte(5, static_cast<uint8_t>(phone));
        output = name + " battery " + std::to_string(level) + " state " + std::to_string(state) +
                 (phone >= 0 ? " phone " + std::to_string(phone) : std::string()) + "\n";
        return 0;
    }
    if (verb == "fault") {
        if (args.size() < 3) return Fail(output, "fault: needs a fault name");
        if (args[2] == "clear" || args[2] == "none") {
            fw.ClearFaults();
            output = name + " faults cleared\n";
            return 0;
        }
        Fault f;
        if (!FaultFromName(args[2], &f.kind)) return Fail(output, "unknown fault: " + args[2]);
        for (size_t i = 3; i < args.size(); ++i) {
            const std::string& a = args[i];
            const size_t eq = a.find('=');
            long v;
            const std::string key = eq == std::string::npos ? "" : a.substr(0, eq);
            const std::string val = eq == std::string::npos ? a : a.substr(eq + 1);
            const bool frames = key == "frames" && val == "-1";
            if (!frames && !ParseNumber(val, key == "command" ? 0xFF : 600000, &v))
                return Fail(output, "fault: bad value " + a);
            if (key.empty())
                f.value = static_cast<int>(v);
            else if (key == "command")
                f.command = static_cast<uint8_t>(v);
            else if (key == "after")
                f.after = static_cast<int>(v);
            else if (key == "frames")
                f.frames = frames ? -1 : static_cast<int>(v);
            else
                return Fail(output, "fault: unknown setting " + key);
        }
        bool framesGiven = false;
        for (size_t i = 3; i < args.size(); ++i) framesGiven |= args[i].rfind("frames=", 0) == 0;
        // A device that left stays away until plugged again; once is what is meant.
        if (f.kind == FaultKind::kUnplugMidTransfer && !framesGiven) f.frames = 1;
        if (f.kind == FaultKind::kLateAnswer && f.value == 0) f.value = 1500;
        if (f.kind == FaultKind::kWrongEcho && f.value == 0) f.value = 1;
        fw.AddFault(f);
        output = name + " fault " + FaultName(f.kind) + " set\n";
        return 0;
    }
    if (verb == "version") {
        long v;
        if (args.size() < 3 || !ParseNumber(args[2], 0xFFFF, &v))
            return Fail(output, "version: needs a number 0..0xFFFF");
        fw.SetVersionNumber(static_cast<uint16_t>(v));
        if (device.plugged()) {
            device.Unplug();
            std::string why;
            if (!device.Plug(&why)) return Fail(output, "cannot plug the " + name + ": " + why);
        }
        output = name + " version " + Hex(v, 4) + "\n";
        return 0;
    }
    if (verb == "dump") {
        Area area;
        if (args.size() < 3 || !AreaFromName(args[2], &area))
            return Fail(output,
                        "dump: needs an area: info, settings, keys, leds, lightmap, "
                        "colours, macro, shoot, power");
        const std::vector<uint8_t> bytes = fw.ReadArea(area);
        output = name + " " + AreaName(area) + " (" + std::to_string(bytes.size()) + " bytes)\n" +
                 HexDump(bytes);
        return 0;
    }
    return Fail(output, "unknown command: " + verb);
}

std::unique_ptr<Demo> StartDemo(const std::string& kinds, os::SessionBus& bus) {
    os::hid::SelectBackends(os::hid::kBackendHidraw | os::hid::kBackendVirtual);
    auto demo = std::make_unique<Demo>(Demo::DefaultDataFolder());
    std::string error;
    if (!demo->PlugKinds(kinds, &error))
        std::fprintf(stderr, "brasvik-m402: --demo: %s\n", error.c_str());
    demo->AttachTo(bus);
    return demo;
}

}  // namespace sim
