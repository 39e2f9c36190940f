// The route tables against the shipped skins: every routed control name exists in the skin file
// its row names. Rows whose skin file is not shipped yet, and rows for the panel areas of the
// device pages (which ship as frames the device and panel work fills), are listed by a skipped
// test so that they stay in sight.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/dispatch/router.h"
#include "toolkit/ui_types.h"

namespace app::dispatch {
namespace {

const std::string kSkinFolder = std::string(BRASVIK_SOURCE_DIR) + "/data/skin/";

// The device pages ship as frames: the picture, the power display and the areas the panels of
// the device and panel work fill.
// FIXME: the mouse and keyboard settings, the function tabs and "windowdeviceset_" belong in
// these pages once the device models and the profile panel bring their parts.
const std::set<std::string> kPageFrames = {
    "XML/DeviceXml/keyboarddevice_7322.xml",
    "XML/DeviceXml/mousedevice.xml",
    "XML/DeviceXml/mousepaddevice.xml",
    "XML/DeviceXml/de6533device.xml",
};

// Lower-case control names of a skin file; empty when the file is not shipped.
const std::set<std::string>* NamesOf(const std::string& file) {
    static std::map<std::string, std::set<std::string>> cache;
    static std::set<std::string> missing;
    if (auto it = cache.find(file); it != cache.end()) return &it->second;
    if (missing.count(file)) return nullptr;
    if (!std::filesystem::exists(kSkinFolder + file)) {
        missing.insert(file);
        return nullptr;
    }
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file((kSkinFolder + file).c_str())) << file;
    std::set<std::string>& names = cache[file];
    for (const pugi::xpath_node& node : doc.select_nodes("//*[@name]"))
        names.insert(toolkit::ToLowerAscii(node.node().attribute("name").value()));
    return &names;
}

bool HasName(const std::set<std::string>& names, const Route& route) {
    const std::string name = toolkit::ToLowerAscii(route.name);
    if (!route.indexed) return names.count(name) > 0;
    for (const std::string& candidate : names) {
        const SplitName split = SplitControlName(candidate);
        if (split.n >= 0 && split.prefix == name) return true;
    }
    return false;
}

struct Pending {
    std::vector<std::string> notShipped;
    std::vector<std::string> inPageFrames;
};

Pending CheckRoutes() {
    Pending pending;
    for (const RouteTable& table : NotifyRouteTables()) {
        for (const Route& route : table.routes) {
            const std::string file(route.skin);
            const std::string row =
                std::string(table.type) + " " + std::string(route.name) + " (" + file + ")";
            const std::set<std::string>* names = NamesOf(file);
            if (names == nullptr) {
                pending.notShipped.push_back(row);
            } else if (!HasName(*names, route)) {
                if (kPageFrames.count(file))
                    pending.inPageFrames.push_back(row);
                else
                    ADD_FAILURE() << row << ": no such control in the shipped skin";
            }
        }
    }
    return pending;
}

TEST(RouteSkins, EveryRoutedNameOfAShippedSkinExists) {
    CheckRoutes();
}

TEST(RouteSkins, RowsWhoseSkinIsNotShippedYet) {
    const Pending pending = CheckRoutes();
    if (pending.notShipped.empty() && pending.inPageFrames.empty()) return;
    std::string list;
    for (const std::string& row : pending.notShipped) list += "\n  not shipped: " + row;
    for (const std::string& row : pending.inPageFrames) list += "\n  page frame lacks: " + row;
    // FIXME: the profile, lighting, key assignment, macro, shoot, magic and voice panels bring
    // their skins (XML/CustomControlXML/DeviceProfile.xml, LightControl.xml, KeySetControl.xml,
    // MacroControl.xml, ShootControl.xml, MagicControl.xml, Voice6533Control.xml), the device
    // bar its "DeviceOption.xml", and the device models fill the page frames.
    GTEST_SKIP() << pending.notShipped.size() + pending.inPageFrames.size()
                 << " routed names wait for their skins:" << list;
}

}  // namespace
}  // namespace app::dispatch
