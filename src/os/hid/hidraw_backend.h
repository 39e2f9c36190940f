#pragma once

#include <memory>
#include <string>
#include <vector>

#include "os/hid/device_handle.h"
#include "os/hid/interface_path.h"

namespace os::hid {

// The Linux backend: hidraw nodes, listed through libudev, one path per top-level collection of
// each node (node part "hidraw<N>"). Identity comes from sysfs: vendor and product from the HID
// device's HID_ID, version and interface number from the USB device and interface above it (no
// "&mi_" for a node that is not on USB), the report descriptor from the HID device's
// "report_descriptor" file. Nodes whose descriptor cannot be read or parsed are left out (with
// a debug line): the system could not talk to them anyway.
//
// All handles of one node see every report the device sends; a handle keeps those whose report
// id belongs to its collection. The share mode is not enforced: hidraw has no such notion
// across processes.
class HidrawBackend {
  public:
    // Appends the paths of every present collection. kErrorDeviceNotConnected when a node
    // listed by udev vanished before its details could be read.
    static uint32_t EnumeratePaths(std::vector<std::string>* paths);
    // Opens the collection a path names. kErrorFileNotFound when the node is gone or now
    // belongs to a device with other ids than the path's (node numbers are reused).
    static uint32_t Open(const InterfacePath& path, const OpenOptions& options,
                         std::shared_ptr<DeviceHandle>* handle);
};

}  // namespace os::hid
