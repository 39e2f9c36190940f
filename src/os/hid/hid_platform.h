#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "os/hid/device_handle.h"

namespace os::hid {

// Which backends the HID layer lists and opens: chosen once at start. The program uses hidraw,
// demo mode adds the virtual bus, tests use the virtual bus alone. Until chosen: hidraw.
enum Backends : uint32_t {
    kBackendHidraw = 1,
    kBackendVirtual = 2,
};
void SelectBackends(uint32_t backends);
uint32_t SelectedBackends();

// Lists the paths of every present top-level collection of the selected backends (see
// interface_path.h): hidraw first, then the virtual bus. On failure (an interface vanished while
// being listed) *paths is left empty and the last-error value is returned.
uint32_t EnumerateInterfaces(std::vector<std::string>* paths);

// Opens one collection by its path. kErrorFileNotFound for a path no selected backend has,
// kErrorBadPathName for a text that is no interface path.
uint32_t OpenInterface(const std::string& path, const OpenOptions& options,
                       std::shared_ptr<DeviceHandle>* handle);

}  // namespace os::hid
