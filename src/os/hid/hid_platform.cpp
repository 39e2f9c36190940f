#include "os/hid/hid_platform.h"

#include <strings.h>

#include <atomic>

#include "os/hid/hidraw_backend.h"
#include "os/hid/interface_path.h"
#include "os/hid/virtual_bus.h"

namespace os::hid {

namespace {
std::atomic<uint32_t> g_backends{kBackendHidraw};
}

void SelectBackends(uint32_t backends) {
    g_backends = backends;
}
uint32_t SelectedBackends() {
    return g_backends;
}

uint32_t EnumerateInterfaces(std::vector<std::string>* paths) {
    paths->clear();
    const uint32_t backends = g_backends;
    if (backends & kBackendHidraw) {
        if (uint32_t e = HidrawBackend::EnumeratePaths(paths); e != kErrorSuccess) {
            paths->clear();
            return e;
        }
    }
    if (backends & kBackendVirtual) VirtualBus::Instance().EnumeratePaths(paths);
    return kErrorSuccess;
}

uint32_t OpenInterface(const std::string& path, const OpenOptions& options,
                       std::shared_ptr<DeviceHandle>* handle) {
    handle->reset();
    InterfacePath parts;
    if (!SplitInterfacePath(path, &parts)) return kErrorBadPathName;
    const uint32_t backends = g_backends;
    if (strncasecmp(parts.node.c_str(), "virtual&", 8) == 0) {
        if (!(backends & kBackendVirtual)) return kErrorFileNotFound;
        return VirtualBus::Instance().Open(parts.node, parts.collection, options, handle);
    }
    if (!(backends & kBackendHidraw)) return kErrorFileNotFound;
    return HidrawBackend::Open(parts, options, handle);
}

}  // namespace os::hid
