#include "app/doctor.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <set>
#include <utility>

#include "app/command_line.h"
#include "app/udev_rules.h"
#include "hid/supported_device.h"
#include "os/access_check.h"
#include "os/display_probe.h"
#include "os/folders.h"
#include "os/hid/hidraw_nodes.h"
#include "os/session_bus.h"
#include "os/session_bus_probe.h"

namespace app {

namespace {

using Verdict = DoctorFinding::Verdict;

// The fonts the program loads from its folder (each may be missing), and where they come from.
constexpr std::array<const char*, 4> kFonts = {"Simplified_Chinese.ttf", "Zazizido-Regular.otf",
                                               "NotoSansThai-Regular.ttf",
                                               "NotoSansCJKtc-Regular.otf"};
constexpr const char* kFontPackages = "fonts-noto-core fonts-noto-cjk";

// Without these the main window cannot be built or a device's profiles cannot be made.
constexpr std::array<const char*, 8> kRequiredFiles = {"skin/res.xml",
                                                       "skin/main.xml",
                                                       "skin/msgwnd.xml",
                                                       "DefaultData/Language.config",
                                                       "DefaultData/keyboard.Json",
                                                       "DefaultData/mouse.Json",
                                                       "DefaultData/MousePad.Json",
                                                       "DefaultData/HD.Json"};

std::string KindName(uint16_t kind) {
    switch (kind) {
        case hid::kKindKeyboard:
            return "keyboard";
        case hid::kKindMouse:
            return "mouse";
        case hid::kKindMousePad:
            return "mouse pad";
        case hid::kKindHeadset:
            return "headset";
        case hid::kKindReceiver:
            return "receiver";
        default:
            return "device";
    }
}

std::string Hex4(uint16_t v) {
    char s[5];
    std::snprintf(s, sizeof s, "%04x", v);
    return s;
}

// One catalogue product: the devices the program can be plugged into, by vendor and product.
struct Product {
    uint16_t vendorId;
    uint16_t productId;
    std::string name;  // "keyboard 320f:22ab"
    std::set<uint16_t> interfaces;
};

std::vector<Product> CatalogueProducts() {
    std::vector<Product> products;
    for (const hid::SupportedDevice& row : hid::kSupportedDevices) {
        if (row.productId == 0) continue;  // reached through the receiver
        auto it = std::find_if(products.begin(), products.end(), [&](const Product& p) {
            return p.vendorId == row.vendorId && p.productId == row.productId;
        });
        if (it == products.end()) {
            products.push_back(
                {row.vendorId,
                 row.productId,
                 KindName(row.kind) + " " + Hex4(row.vendorId) + ":" + Hex4(row.productId),
                 {}});
            it = products.end() - 1;
        }
        it->interfaces.insert(row.interfaceNumber);
    }
    return products;
}

// The rules file that came with this program: beside an install (<prefix>/share/brasvik-m402/
// -> <prefix>/lib/udev/rules.d), or in the source tree above a build folder.
std::string ShippedRulesFile(const std::string& programFolder) {
    for (const std::string& candidate :
         {programFolder + "../../lib/udev/rules.d/" + UdevRules::kFileName,
          programFolder + "../packaging/" + UdevRules::kFileName}) {
        std::error_code ec;
        const auto canonical = std::filesystem::canonical(candidate, ec);
        if (!ec) return canonical.string();
    }
    return std::string("packaging/") + UdevRules::kFileName;
}

std::string InstallRulesFix(const std::string& programFolder) {
    return "sudo install -m 644 " + ShippedRulesFile(programFolder) +
           " /etc/udev/rules.d/ && sudo udevadm control --reload && sudo udevadm trigger "
           "--subsystem-match=hidraw";
}

constexpr const char* kApplyRulesFix =
    "sudo udevadm control --reload && sudo udevadm trigger --subsystem-match=hidraw, or unplug "
    "the device and plug it in again";

void CheckProgramFolder(const std::string& folder, std::vector<DoctorFinding>* out) {
    std::vector<std::string> missing;
    for (const char* f : kRequiredFiles)
        if (!os::PathExists(folder + f)) missing.push_back(f);
    if (!missing.empty()) {
        std::string list;
        for (const std::string& m : missing) list += (list.empty() ? "" : ", ") + m;
        out->push_back({Verdict::kFail, "program folder", folder + " lacks " + list,
                        "reinstall the program (or build it again: the build lays the folder "
                        "out beside the executable)"});
        return;
    }
    std::string missingFonts;
    for (const char* f : kFonts)
        if (!os::PathExists(folder + "Font/" + f))
            missingFonts += (missingFonts.empty() ? "" : ", ") + std::string(f);
    if (!missingFonts.empty()) {
        out->push_back(
            {Verdict::kWarn, "program folder",
             folder + " has the skin and DefaultData; fonts missing: " + missingFonts +
                 " (texts fall back to the system's fonts)",
             std::string("sudo apt install ") + kFontPackages + ", then build or install again"});
        return;
    }
    out->push_back(
        {Verdict::kOk, "program folder", folder + " has the skin, DefaultData and fonts", ""});
}

// What would give this user the node, for a node the user cannot read and write.
std::string AccessFix(const os::hid::HidrawNode& node, const os::FileAccess& access,
                      bool rulesCover, const std::string& programFolder) {
    if (access.groupMayReadWrite && !access.inGroup && access.group != "root")
        return "the node's group " + access.group + " may use it: sudo usermod -aG " +
               access.group + " " + os::UserName() + ", then log out and in again";
    if (node.uaccess)
        return "the udev rule gives the node to the user of the active local session only: log "
               "in at the machine itself (not over ssh or as another user)";
    if (rulesCover)
        return std::string("the udev rules are installed but not applied yet: ") + kApplyRulesFix;
    return "install the udev rules: " + InstallRulesFix(programFolder);
}

// One line per node of a device of the family, or one saying that none is plugged in.
void CheckDevices(const std::vector<Product>& products, const UdevRules& rules,
                  const std::string& programFolder, std::vector<DoctorFinding>* out) {
    bool any = false;
    for (const os::hid::HidrawNode& node : os::hid::ListHidrawNodes()) {
        auto product = std::find_if(products.begin(), products.end(), [&](const Product& p) {
            return p.vendorId == node.vendorId && p.productId == node.productId;
        });
        if (product == products.end()) continue;
        // Interfaces the program never opens do not matter; a node off USB has no number.
        if (node.interfaceNumber >= 0 &&
            product->interfaces.count(static_cast<uint16_t>(node.interfaceNumber)) == 0)
            continue;
        any = true;
        const os::FileAccess a = os::CheckAccess(node.devnode);
        const std::string what = product->name + " " + node.devnode;
        const std::string perms = " (" + a.mode + " " + a.owner + " " + a.group +
                                  (node.uaccess ? ", tagged uaccess" : "") + ")";
        if (!a.exists) {
            out->push_back({Verdict::kFail, "devices",
                            what + ": udev lists the node but it is not in /dev",
                            "unplug the device and plug it in again"});
        } else if (a.readable && a.writable) {
            out->push_back({Verdict::kOk, "devices",
                            what + ": readable and writable by " + os::UserName() + perms, ""});
        } else {
            const bool covered =
                !rules.FileGivingAccess(product->vendorId, product->productId).empty();
            std::string lacking = !a.readable && !a.writable ? "neither readable nor writable"
                                  : !a.readable              ? "not readable"
                                                             : "not writable";
            out->push_back({Verdict::kFail, "devices",
                            what + ": " + lacking + " by " + os::UserName() + perms,
                            AccessFix(node, a, covered, programFolder)});
        }
    }
    if (!any) {
        std::string list;
        for (const Product& p : products) list += (list.empty() ? "" : ", ") + p.name;
        out->push_back({Verdict::kWarn, "devices",
                        "no device of the family is plugged in (looked for " + list + ")",
                        "plug the device in; if it is plugged in, see whether lsusb lists it "
                        "(another cable or port, or the receiver's switch)"});
    }
}

void CheckUdevRules(const std::vector<Product>& products, const UdevRules& rules,
                    const std::vector<std::string>& folders, const std::string& programFolder,
                    std::vector<DoctorFinding>* out) {
    std::vector<std::string> uncovered;
    std::set<std::string> files;
    for (const Product& p : products) {
        const std::string f = rules.FileGivingAccess(p.vendorId, p.productId);
        if (f.empty())
            uncovered.push_back(p.name);
        else
            files.insert(f);
    }
    std::string fileList;
    for (const std::string& f : files) fileList += (fileList.empty() ? "" : ", ") + f;
    if (uncovered.empty()) {
        out->push_back({Verdict::kOk, "udev rules",
                        fileList + " give" + (files.size() == 1 ? "s" : "") +
                            " the logged-in user every device of the family",
                        ""});
        return;
    }
    std::string list;
    for (const std::string& u : uncovered) list += (list.empty() ? "" : ", ") + u;
    std::string folderList;
    for (const std::string& f : folders) folderList += (folderList.empty() ? "" : ", ") + f;
    std::string text;
    const std::string shipped = rules.ShippedFile();
    if (!shipped.empty())
        text = shipped + " is older than this program: no rule for " + list;
    else if (files.empty())
        text = "no rule in " + folderList + " gives access to the devices of the family";
    else
        text = "no rule gives access to " + list;
    // The superuser opens every node anyway; the rules matter for the user's own account.
    const Verdict v = os::IsSuperuser() ? Verdict::kWarn : Verdict::kFail;
    if (os::IsSuperuser()) text += " (not needed while running as root)";
    out->push_back({v, "udev rules", text, InstallRulesFix(programFolder)});
}

void CheckSessionBus(std::vector<DoctorFinding>* out) {
    const os::SessionBusState s = os::ProbeSessionBus(os::SessionBus::kInstanceName);
    const std::string name = os::SessionBus::kInstanceName;
    if (!s.reachable) {
        const bool lockHeld = os::InstanceLockHeld();
        out->push_back(
            {Verdict::kWarn, "session bus",
             "not reachable (" + s.error +
                 "): the program runs on its own; a second start "
                 "cannot wake the first, the audio companion and other programs cannot reach it" +
                 (lockHeld ? "; a running instance holds the instance lock file" : ""),
             "start the program from your desktop session, where DBUS_SESSION_BUS_ADDRESS is "
             "set"});
        return;
    }
    if (s.nameHeld) {
        out->push_back(
            {Verdict::kOk, "session bus",
             "reachable; " + name + " is held by a running instance" +
                 (s.ownerPid != 0 ? " (process " + std::to_string(s.ownerPid) + ")" : "") +
                 ": starting the program again brings that one to the front",
             ""});
        return;
    }
    out->push_back({Verdict::kOk, "session bus", "reachable; " + name + " is free", ""});
}

void CheckDisplay(std::vector<DoctorFinding>* out) {
    const os::DisplayState d = os::ProbeDisplay();
    using Kind = os::DisplayState::Kind;
    if (d.kind == Kind::kNone) {
        std::string why;
        for (const std::string* e : {&d.waylandError, &d.x11Error})
            if (!e->empty()) why += (why.empty() ? "" : "; ") + *e;
        const std::string text =
            "none (" + (why.empty() ? "neither DISPLAY nor WAYLAND_DISPLAY is set" : why) + ")";
        out->push_back({Verdict::kWarn, "display",
                        text + ": the window cannot show and the program runs without it; no "
                               "global key capture",
                        "start the program from a desktop session"});
        return;
    }
    if (d.kind == Kind::kX11) {
        if (d.keyCapture)
            out->push_back(
                {Verdict::kOk, "display",
                 "X11 " + d.name + "; global key capture available (" + d.keyCaptureVersion + ")",
                 ""});
        else
            out->push_back({Verdict::kWarn, "display",
                            "X11 " + d.name +
                                " without XInput 2: no global key capture (macro recording and "
                                "key functions work only in the program's window)",
                            "use an X server with the XInput extension (every current Xorg has "
                            "it)"});
        return;
    }
    const std::string x = d.x11 ? "; the window shows through Xwayland" : "";
    out->push_back({Verdict::kWarn, "display",
                    "Wayland " + d.name + x +
                        "; no global key capture there (Wayland gives no program the keys of "
                        "other windows): key functions and macro recording work only while the "
                        "program's window has the focus",
                    "for key capture in every window, log in to an X11 session"});
}

void CheckUserData(std::vector<DoctorFinding>* out) {
    // The user data folder, looked at here without creating it; named without its trailing '/'.
    std::string folder = os::UserDataFolder();
    folder.pop_back();
    std::string why;
    if (os::CanCreateFilesIn(folder, &why)) {
        out->push_back(
            {Verdict::kOk, "user data",
             folder + (os::PathExists(folder) ? " is writable" : " will be created on first start"),
             ""});
        return;
    }
    out->push_back({Verdict::kFail, "user data",
                    folder + " " + why + ": profiles and macros cannot be saved",
                    "sudo chown -R " + os::UserName() + " \"" + folder +
                        "\" (or set XDG_DATA_HOME to a folder of yours)"});
}

}  // namespace

std::vector<DoctorFinding> RunDoctorChecks(const DoctorOptions& options) {
    std::vector<DoctorFinding> findings;
    const std::string programFolder =
        options.programFolder.empty() ? os::ProgramFolder() : options.programFolder;
    const std::vector<std::string> folders =
        options.udevRuleFolders.empty() ? UdevRules::SystemFolders() : options.udevRuleFolders;
    const UdevRules rules(folders);
    const std::vector<Product> products = CatalogueProducts();
    CheckDevices(products, rules, programFolder, &findings);
    CheckUdevRules(products, rules, folders, programFolder, &findings);
    CheckSessionBus(&findings);
    CheckDisplay(&findings);
    CheckUserData(&findings);
    CheckProgramFolder(programFolder, &findings);
    return findings;
}

std::string FormatDoctorReport(const std::vector<DoctorFinding>& findings) {
    std::string report = "Brasvik M402 doctor: " + VersionText();
    int blocking = 0;
    for (const DoctorFinding& f : findings) {
        const char* verdict = f.verdict == Verdict::kOk     ? "ok    "
                              : f.verdict == Verdict::kWarn ? "warn  "
                                                            : "FAIL  ";
        if (f.verdict == Verdict::kFail) ++blocking;
        report += verdict + f.check + ": " + f.text;
        if (!f.fix.empty()) report += ". Fix: " + f.fix;
        report += '\n';
    }
    report += blocking == 0 ? "Nothing blocks the program.\n"
                            : std::to_string(blocking) +
                                  (blocking == 1 ? " problem blocks" : " problems block") +
                                  " the program (FAIL above).\n";
    return report;
}

int RunDoctor(std::FILE* out) {
    const std::vector<DoctorFinding> findings = RunDoctorChecks();
    std::fputs(FormatDoctorReport(findings).c_str(), out);
    for (const DoctorFinding& f : findings)
        if (f.verdict == Verdict::kFail) return 1;
    return 0;
}

}  // namespace app
