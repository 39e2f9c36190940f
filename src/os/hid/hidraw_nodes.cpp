#include "os/hid/hidraw_nodes.h"

#include <libudev.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace os::hid {

namespace {

bool HasTag(udev_device* dev, const char* tag) {
    for (udev_list_entry* e = udev_device_get_tags_list_entry(dev); e != nullptr;
         e = udev_list_entry_get_next(e)) {
        if (std::strcmp(udev_list_entry_get_name(e), tag) == 0) return true;
    }
    // Without a udev database (emulated trees, containers) the tags may only be in the
    // properties.
    const std::string wanted = std::string(":") + tag + ":";
    for (const char* property : {"CURRENT_TAGS", "TAGS"}) {
        const char* v = udev_device_get_property_value(dev, property);
        if (v != nullptr && std::strstr(v, wanted.c_str()) != nullptr) return true;
    }
    return false;
}

}  // namespace

std::vector<HidrawNode> ListHidrawNodes() {
    std::vector<HidrawNode> nodes;
    udev* u = udev_new();
    if (u == nullptr) return nodes;
    udev_enumerate* en = udev_enumerate_new(u);
    udev_enumerate_add_match_subsystem(en, "hidraw");
    udev_enumerate_scan_devices(en);
    for (udev_list_entry* e = udev_enumerate_get_list_entry(en); e != nullptr;
         e = udev_list_entry_get_next(e)) {
        udev_device* dev = udev_device_new_from_syspath(u, udev_list_entry_get_name(e));
        if (dev == nullptr) continue;
        HidrawNode node;
        if (const char* n = udev_device_get_devnode(dev)) node.devnode = n;
        udev_device* hid = udev_device_get_parent_with_subsystem_devtype(dev, "hid", nullptr);
        const char* hidId = hid ? udev_device_get_property_value(hid, "HID_ID") : nullptr;
        unsigned bus = 0, vendor = 0, product = 0;
        if (hidId != nullptr && std::sscanf(hidId, "%x:%x:%x", &bus, &vendor, &product) == 3) {
            node.vendorId = static_cast<uint16_t>(vendor);
            node.productId = static_cast<uint16_t>(product);
        }
        if (udev_device* usbIf =
                udev_device_get_parent_with_subsystem_devtype(dev, "usb", "usb_interface")) {
            if (const char* n = udev_device_get_sysattr_value(usbIf, "bInterfaceNumber"))
                node.interfaceNumber = static_cast<int>(std::strtoul(n, nullptr, 16));
        }
        node.uaccess = HasTag(dev, "uaccess");
        if (!node.devnode.empty()) nodes.push_back(std::move(node));
        udev_device_unref(dev);
    }
    udev_enumerate_unref(en);
    udev_unref(u);
    return nodes;
}

}  // namespace os::hid
