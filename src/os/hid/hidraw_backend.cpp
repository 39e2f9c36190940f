#include "os/hid/hidraw_backend.h"

#include <fcntl.h>
#include <libudev.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "os/debug_output.h"
#include "os/hid/fd_transfer.h"
#include "os/hid/interface_path.h"
#include "os/hid/report_descriptor.h"

namespace os::hid {

namespace {

struct Udev {
    udev* u = udev_new();
    ~Udev() {
        if (u) udev_unref(u);
    }
};

struct UdevDevice {
    udev_device* d = nullptr;
    explicit UdevDevice(udev_device* dev) : d(dev) {}
    ~UdevDevice() {
        if (d) udev_device_unref(d);
    }
};

// What sysfs says about one hidraw node.
struct NodeInfo {
    Attributes attributes;
    int interfaceNumber = -1;
    ReportDescriptor::Collections collections;
};

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    out->clear();
    uint8_t buf[1024];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            return n == 0;
        }
        out->insert(out->end(), buf, buf + n);
        if (out->size() > kMaxDescriptorLength) {
            ::close(fd);
            return true;  // the parser refuses it with a message
        }
    }
}

// Reads the node's identity. False when the node is gone (*gone) or unusable.
bool ReadNodeInfo(udev_device* hidraw, NodeInfo* info, bool* gone) {
    *gone = false;
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
    if (!hid) {
        *gone = true;
        return false;
    }
    const char* hidId = udev_device_get_property_value(hid, "HID_ID");
    unsigned bus = 0, vendor = 0, product = 0;
    if (!hidId || std::sscanf(hidId, "%x:%x:%x", &bus, &vendor, &product) != 3) return false;
    info->attributes.vendorId = static_cast<uint16_t>(vendor);
    info->attributes.productId = static_cast<uint16_t>(product);
    if (udev_device* usbIf =
            udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_interface")) {
        if (const char* n = udev_device_get_sysattr_value(usbIf, "bInterfaceNumber"))
            info->interfaceNumber = static_cast<int>(std::strtoul(n, nullptr, 16));
    }
    if (udev_device* usb =
            udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device")) {
        if (const char* v = udev_device_get_sysattr_value(usb, "bcdDevice"))
            info->attributes.versionNumber = static_cast<uint16_t>(std::strtoul(v, nullptr, 16));
    }
    std::vector<uint8_t> descriptor;
    const std::string descPath = std::string(udev_device_get_syspath(hid)) + "/report_descriptor";
    if (!ReadFileBytes(descPath, &descriptor)) {
        *gone = errno == ENOENT || errno == ENODEV;
        return false;
    }
    std::string why;
    if (!ReportDescriptor::Parse(descriptor, &info->collections, &why)) {
        DebugOutput(std::string("hidraw: ") + udev_device_get_sysname(hidraw) + ": " + why + "\n");
        return false;
    }
    return true;
}

class HidrawHandle : public DeviceHandle {
  public:
    HidrawHandle(int fd, const NodeInfo& info, size_t collection, const OpenOptions& options)
        : DeviceHandle(info.attributes, info.collections[collection], options),
          fd_(fd),
          numbered_(!preparsed()->ReportIds(ReportType::kInput).empty() &&
                    preparsed()->ReportIds(ReportType::kInput)[0] != 0),
          // One report of this collection (with the id byte put in front when the device numbers
          // none) and one byte more, to tell a longer report, which the kernel cuts to the room
          // given. Reads happen every few milliseconds on a live colour stream, so the room is
          // taken once here and not per read.
          raw_(fd >= 0 ? caps().inputReportByteLength + 1 : 0) {}

    ~HidrawHandle() override {
        if (fd_ >= 0) ::close(fd_);
    }

    uint32_t FlushQueue() override {
        if (fd_ < 0) return kErrorInvalidHandle;
        // hidraw hands over one whole report per read and drops what does not fit, so a small
        // buffer empties the queue as well as a large one.
        uint8_t sink[256];
        for (;;) {
            const ssize_t n = ::read(fd_, sink, sizeof sink);
            if (n > 0 || (n < 0 && errno == EINTR)) continue;
            if (n == 0) return kErrorDeviceNotConnected;
            return errno == EAGAIN ? kErrorSuccess : ErrnoToError(errno);
        }
    }

  protected:
    uint32_t DoRead(uint8_t* buffer, uint32_t length, int timeoutMs, Event* abort) override {
        if (fd_ < 0 || raw_.size() < 2) return kErrorInvalidHandle;
        const int64_t deadline = timeoutMs < 0 ? -1 : MonotonicMs() + timeoutMs;
        for (;;) {
            if (uint32_t e = WaitReady(fd_, POLLIN, deadline, closedEvent_, abort);
                e != kErrorSuccess)
                return e;
            // Without report ids hidraw gives the bare data: put the 0 id byte in front, as
            // every reader of this layer expects.
            uint8_t* into = numbered_ ? raw_.data() : raw_.data() + 1;
            const size_t room = numbered_ ? raw_.size() : raw_.size() - 1;
            const ssize_t got = ::read(fd_, into, room);
            if (got < 0) {
                if (errno == EAGAIN || errno == EINTR) continue;
                return ErrnoToError(errno);
            }
            if (got == 0) return kErrorDeviceNotConnected;
            size_t size = static_cast<size_t>(got);
            if (!numbered_) {
                raw_[0] = 0;
                ++size;
            } else if (!preparsed()->HasReportId(ReportType::kInput, raw_[0])) {
                continue;  // another collection's report
            }
            if (size > length) {
                DebugOutput("hidraw: input report longer than " + std::to_string(length) +
                            " bytes cut to that\n");
                size = length;
            }
            std::memcpy(buffer, raw_.data(), size);
            std::memset(buffer + size, 0, length - size);
            return kErrorSuccess;
        }
    }

    uint32_t DoWrite(const uint8_t* report, uint32_t length, int timeoutMs, Event* abort) override {
        if (fd_ < 0) return kErrorInvalidHandle;
        const int64_t deadline = timeoutMs < 0 ? -1 : MonotonicMs() + timeoutMs;
        return WriteReport(fd_, report, length, deadline, closedEvent_, abort);
    }

    uint32_t DoSetOutputReport(const uint8_t* report, uint32_t length) override {
        if (fd_ < 0) return kErrorInvalidHandle;
#ifdef HIDIOCSOUTPUT
        std::vector<uint8_t> buf(report, report + length);
        if (::ioctl(fd_, HIDIOCSOUTPUT(length), buf.data()) >= 0) return kErrorSuccess;
        if (errno != ENOTTY && errno != EINVAL) return ErrnoToError(errno);
#endif
        // Kernels without the control-way ioctl: the interrupt way reaches the same firmware.
        return ::write(fd_, report, length) == static_cast<ssize_t>(length) ? kErrorSuccess
                                                                            : ErrnoToError(errno);
    }

    uint32_t DoSetFeature(const uint8_t* report, uint32_t length) override {
        if (fd_ < 0) return kErrorInvalidHandle;
        std::vector<uint8_t> buf(report, report + length);
        return ::ioctl(fd_, HIDIOCSFEATURE(length), buf.data()) >= 0 ? kErrorSuccess
                                                                     : ErrnoToError(errno);
    }

    uint32_t DoGetFeature(uint8_t* report, uint32_t length) override {
        if (fd_ < 0) return kErrorInvalidHandle;
        const int got = ::ioctl(fd_, HIDIOCGFEATURE(length), report);
        if (got < 0) return ErrnoToError(errno);
        std::memset(report + got, 0, length - std::min<uint32_t>(length, got));
        return kErrorSuccess;
    }

  private:
    int fd_;
    bool numbered_;
    std::vector<uint8_t> raw_;  // used by DoRead only (one reader at a time)
};

std::string NodeDevPath(const std::string& node) {
    return "/dev/" + node;
}

bool ValidNodeName(const std::string& node) {
    if (node.size() <= 6 || node.compare(0, 6, "hidraw") != 0) return false;
    return std::all_of(node.begin() + 6, node.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

uint32_t HidrawBackend::EnumeratePaths(std::vector<std::string>* paths) {
    Udev u;
    if (!u.u) return kErrorGenFailure;
    udev_enumerate* e = udev_enumerate_new(u.u);
    if (!e) return kErrorGenFailure;
    udev_enumerate_add_match_subsystem(e, "hidraw");
    udev_enumerate_scan_devices(e);
    uint32_t result = kErrorSuccess;
    for (udev_list_entry* l = udev_enumerate_get_list_entry(e); l;
         l = udev_list_entry_get_next(l)) {
        UdevDevice dev(udev_device_new_from_syspath(u.u, udev_list_entry_get_name(l)));
        if (!dev.d) {
            result = kErrorDeviceNotConnected;
            break;
        }
        NodeInfo info;
        bool gone = false;
        if (!ReadNodeInfo(dev.d, &info, &gone)) {
            if (gone) {
                result = kErrorDeviceNotConnected;
                break;
            }
            continue;
        }
        const size_t count = info.collections.size();
        for (size_t i = 0; i < count; ++i) {
            InterfacePath p;
            p.vendorId = info.attributes.vendorId;
            p.productId = info.attributes.productId;
            p.interfaceNumber = info.interfaceNumber;
            p.collection = count > 1 ? static_cast<int>(i + 1) : 0;
            p.node = udev_device_get_sysname(dev.d);
            paths->push_back(FormatInterfacePath(p));
        }
    }
    udev_enumerate_unref(e);
    return result;
}

uint32_t HidrawBackend::Open(const InterfacePath& path, const OpenOptions& options,
                             std::shared_ptr<DeviceHandle>* handle) {
    const std::string& node = path.node;
    const int collection = path.collection;
    if (!ValidNodeName(node)) return kErrorFileNotFound;
    Udev u;
    if (!u.u) return kErrorGenFailure;
    UdevDevice dev(udev_device_new_from_subsystem_sysname(u.u, "hidraw", node.c_str()));
    if (!dev.d) return kErrorFileNotFound;
    NodeInfo info;
    bool gone = false;
    if (!ReadNodeInfo(dev.d, &info, &gone)) return gone ? kErrorFileNotFound : kErrorGenFailure;
    // Node numbers are reused: a path whose device left names whatever got its node next. The
    // path is that node only while the ids it carries are the node's.
    if (path.vendorId != info.attributes.vendorId || path.productId != info.attributes.productId ||
        path.interfaceNumber != info.interfaceNumber)
        return kErrorFileNotFound;
    const size_t count = info.collections.size();
    if ((count > 1) != (collection > 0) || static_cast<size_t>(collection) > count)
        return kErrorFileNotFound;
    int fd = -1;
    // A handle without access only answers identity questions and needs no node permissions.
    if (options.readAccess || options.writeAccess) {
        const int mode = options.readAccess && options.writeAccess ? O_RDWR
                         : options.readAccess                      ? O_RDONLY
                                                                   : O_WRONLY;
        fd = ::open(NodeDevPath(node).c_str(), mode | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return ErrnoToError(errno);
    }
    const size_t index = collection > 0 ? static_cast<size_t>(collection - 1) : 0;
    *handle = std::make_shared<HidrawHandle>(fd, info, index, options);
    return kErrorSuccess;
}

}  // namespace os::hid
