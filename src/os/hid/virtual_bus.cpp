#include "os/hid/virtual_bus.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <deque>

#include "os/debug_output.h"
#include "os/hid/interface_path.h"
#include "os/hid/report_descriptor.h"

namespace os::hid {

bool VirtualDeviceHandler::OnSetFeature(uint32_t, std::span<const uint8_t>) {
    return false;
}
bool VirtualDeviceHandler::OnGetFeature(uint32_t, std::span<uint8_t>) {
    return false;
}

namespace {

// The input queue of one open handle.
struct Queue {
    std::mutex mutex;
    std::deque<std::vector<uint8_t>> reports;
    Event available{true, false};  // set while reports is not empty
};

std::string NodeName(uint32_t id) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "virtual&%04x", id);
    return buf;
}

}  // namespace

struct VirtualBus::Interface {
    uint32_t id = 0;
    VirtualInterfaceConfig config;
    std::shared_ptr<VirtualDeviceHandler> handler;
    ReportDescriptor::Collections collections;

    std::mutex mutex;  // guards everything below
    bool plugged = true;
    // Per collection (index), the queues of its open handles.
    std::vector<std::vector<std::shared_ptr<Queue>>> queues;
    // Share mode bookkeeping: open handles with write access, and handles that do not share
    // write access.
    int writers = 0;
    int exclusives = 0;
    Event unplugged{true, false};
};

namespace {

class VirtualHandle : public DeviceHandle {
  public:
    VirtualHandle(std::shared_ptr<VirtualBus::Interface> iface, size_t collection,
                  std::shared_ptr<Queue> queue, const Attributes& attributes,
                  const OpenOptions& options)
        : DeviceHandle(attributes, iface->collections[collection], options),
          iface_(std::move(iface)),
          collection_(collection),
          queue_(std::move(queue)) {}

    ~VirtualHandle() override { Detach(); }

    uint32_t FlushQueue() override {
        std::lock_guard lock(queue_->mutex);
        queue_->reports.clear();
        queue_->available.Reset();
        return kErrorSuccess;
    }

  protected:
    uint32_t DoRead(uint8_t* buffer, uint32_t length, int timeoutMs, Event* abort) override {
        const int64_t deadline = timeoutMs < 0 ? -1 : MonotonicMs() + timeoutMs;
        for (;;) {
            if (!Plugged()) return kErrorDeviceNotConnected;
            if (TakeReport(buffer, length)) return kErrorSuccess;
            int wait = kInfinite;
            if (deadline >= 0)
                wait = static_cast<int>(std::max<int64_t>(0, deadline - MonotonicMs()));
            Event* events[4];
            size_t n = 0;
            const size_t abortIndex = abort ? n : SIZE_MAX;
            if (abort) events[n++] = abort;
            events[n++] = &closedEvent_;
            events[n++] = &iface_->unplugged;
            events[n++] = &queue_->available;
            const uint32_t r = WaitForAny(std::span<Event* const>(events, n), wait);
            if (r == kWaitTimeout) return kErrorTimeout;
            if (r == kWaitFailed) return kErrorBadCommand;
            if (r == abortIndex || closed()) return kErrorOperationAborted;
        }
    }

    uint32_t DoWrite(const uint8_t* report, uint32_t length, int, Event* abort) override {
        // The device takes the report at once, so there is nothing to wait for; a signalled
        // abort still stops a write that has not started.
        if (abort && abort->Consume()) return kErrorOperationAborted;
        return Deliver(report, length);
    }

    uint32_t DoSetOutputReport(const uint8_t* report, uint32_t length) override {
        return Deliver(report, length);
    }

    uint32_t DoSetFeature(const uint8_t* report, uint32_t length) override {
        if (!Plugged()) return kErrorDeviceNotConnected;
        return iface_->handler->OnSetFeature(iface_->id, {report, length}) ? kErrorSuccess
                                                                           : kErrorGenFailure;
    }

    uint32_t DoGetFeature(uint8_t* report, uint32_t length) override {
        if (!Plugged()) return kErrorDeviceNotConnected;
        return iface_->handler->OnGetFeature(iface_->id, {report, length}) ? kErrorSuccess
                                                                           : kErrorGenFailure;
    }

    void DoClose() override { Detach(); }

  private:
    bool Plugged() {
        std::lock_guard lock(iface_->mutex);
        return iface_->plugged;
    }

    uint32_t Deliver(const uint8_t* report, uint32_t length) {
        if (!Plugged()) return kErrorDeviceNotConnected;
        iface_->handler->OnOutputReport(iface_->id, {report, length});
        return kErrorSuccess;
    }

    bool TakeReport(uint8_t* buffer, uint32_t length) {
        std::lock_guard lock(queue_->mutex);
        if (queue_->reports.empty()) return false;
        const std::vector<uint8_t>& r = queue_->reports.front();
        std::fill(std::copy(r.begin(), r.begin() + std::min<size_t>(r.size(), length), buffer),
                  buffer + length, 0);
        queue_->reports.pop_front();
        if (queue_->reports.empty()) queue_->available.Reset();
        return true;
    }

    void Detach() {
        std::lock_guard lock(iface_->mutex);
        if (detached_) return;
        detached_ = true;
        auto& list = iface_->queues[collection_];
        list.erase(std::remove(list.begin(), list.end(), queue_), list.end());
        if (options().writeAccess) --iface_->writers;
        if (options().exclusive) --iface_->exclusives;
    }

    std::shared_ptr<VirtualBus::Interface> iface_;
    size_t collection_;
    std::shared_ptr<Queue> queue_;
    bool detached_ = false;  // guarded by iface_->mutex
};

}  // namespace

VirtualBus& VirtualBus::Instance() {
    static VirtualBus bus;
    return bus;
}

VirtualBus::VirtualBus() = default;

VirtualBus::~VirtualBus() {
    {
        std::lock_guard lock(timerMutex_);
        stopping_ = true;
    }
    timerWake_.notify_all();
    if (timer_.joinable()) timer_.join();
}

uint32_t VirtualBus::Plug(const VirtualInterfaceConfig& config,
                          std::shared_ptr<VirtualDeviceHandler> handler, std::string* error) {
    if (!handler) {
        if (error) *error = "virtual interface without a device handler";
        return 0;
    }
    auto iface = std::make_shared<Interface>();
    std::string why;
    if (!ReportDescriptor::Parse(config.reportDescriptor, &iface->collections, &why)) {
        DebugOutput("virtual HID bus: refused interface " + std::to_string(config.vendorId) + ":" +
                    std::to_string(config.productId) + ": " + why + "\n");
        if (error) *error = why;
        return 0;
    }
    iface->config = config;
    iface->handler = std::move(handler);
    iface->queues.resize(iface->collections.size());
    uint32_t id;
    {
        std::lock_guard lock(mutex_);
        id = iface->id = nextId_++;
        interfaces_[iface->id] = iface;
    }
    SetWatches();
    return id;
}

void VirtualBus::AddWatch(std::shared_ptr<Event> event) {
    std::lock_guard lock(mutex_);
    watches_.push_back(std::move(event));
}

void VirtualBus::RemoveWatch(const std::shared_ptr<Event>& event) {
    std::lock_guard lock(mutex_);
    watches_.erase(std::remove(watches_.begin(), watches_.end(), event), watches_.end());
}

void VirtualBus::SetWatches() {
    std::lock_guard lock(mutex_);
    for (const std::shared_ptr<Event>& e : watches_) e->Set();
}

bool VirtualBus::Unplug(uint32_t interfaceId) {
    std::shared_ptr<Interface> iface;
    {
        std::lock_guard lock(mutex_);
        auto it = interfaces_.find(interfaceId);
        if (it == interfaces_.end()) return false;
        iface = it->second;
        interfaces_.erase(it);
    }
    {
        std::lock_guard lock(iface->mutex);
        iface->plugged = false;
    }
    iface->unplugged.Set();
    SetWatches();
    std::lock_guard lock(timerMutex_);
    for (auto it = delayed_.begin(); it != delayed_.end();)
        it = it->second.interfaceId == interfaceId ? delayed_.erase(it) : std::next(it);
    return true;
}

std::shared_ptr<VirtualBus::Interface> VirtualBus::Find(uint32_t interfaceId) const {
    std::lock_guard lock(mutex_);
    auto it = interfaces_.find(interfaceId);
    return it == interfaces_.end() ? nullptr : it->second;
}

static std::vector<std::string> PathsOf(const VirtualBus::Interface& iface) {
    std::vector<std::string> paths;
    const size_t n = iface.collections.size();
    for (size_t i = 0; i < n; ++i) {
        InterfacePath p;
        p.vendorId = iface.config.vendorId;
        p.productId = iface.config.productId;
        p.interfaceNumber = iface.config.interfaceNumber;
        p.collection = n > 1 ? static_cast<int>(i + 1) : 0;
        p.node = NodeName(iface.id);
        paths.push_back(FormatInterfacePath(p));
    }
    return paths;
}

std::vector<VirtualBus::InterfaceInfo> VirtualBus::List() const {
    std::lock_guard lock(mutex_);
    std::vector<InterfaceInfo> list;
    for (const auto& [id, iface] : interfaces_) {
        InterfaceInfo info;
        info.id = id;
        info.vendorId = iface->config.vendorId;
        info.productId = iface->config.productId;
        info.versionNumber = iface->config.versionNumber;
        info.interfaceNumber = iface->config.interfaceNumber;
        info.paths = PathsOf(*iface);
        list.push_back(std::move(info));
    }
    return list;
}

std::vector<std::string> VirtualBus::Paths(uint32_t interfaceId) const {
    std::shared_ptr<Interface> iface = Find(interfaceId);
    return iface ? PathsOf(*iface) : std::vector<std::string>{};
}

void VirtualBus::EnumeratePaths(std::vector<std::string>* paths) const {
    std::lock_guard lock(mutex_);
    for (const auto& [id, iface] : interfaces_) {
        std::vector<std::string> p = PathsOf(*iface);
        paths->insert(paths->end(), p.begin(), p.end());
    }
}

uint32_t VirtualBus::Open(const std::string& node, int collection, const OpenOptions& options,
                          std::shared_ptr<DeviceHandle>* handle) {
    unsigned id = 0;
    char rest = 0;
    if (strncasecmp(node.c_str(), "virtual&", 8) != 0 ||
        std::sscanf(node.c_str() + 8, "%x%c", &id, &rest) != 1)
        return kErrorFileNotFound;
    std::shared_ptr<Interface> iface = Find(id);
    if (!iface) return kErrorFileNotFound;
    const size_t count = iface->collections.size();
    // A path names a collection exactly when the interface has more than one.
    if ((count > 1) != (collection > 0) || static_cast<size_t>(collection) > count)
        return kErrorFileNotFound;
    const size_t index = collection > 0 ? static_cast<size_t>(collection - 1) : 0;
    auto queue = std::make_shared<Queue>();
    {
        std::lock_guard lock(iface->mutex);
        if (!iface->plugged) return kErrorFileNotFound;
        if ((options.writeAccess && iface->exclusives > 0) ||
            (options.exclusive && iface->writers > 0))
            return kErrorSharingViolation;
        if (options.writeAccess) ++iface->writers;
        if (options.exclusive) ++iface->exclusives;
        iface->queues[index].push_back(queue);
    }
    Attributes a;
    a.vendorId = iface->config.vendorId;
    a.productId = iface->config.productId;
    a.versionNumber = iface->config.versionNumber;
    *handle = std::make_shared<VirtualHandle>(iface, index, queue, a, options);
    return kErrorSuccess;
}

bool VirtualBus::PushInputReport(uint32_t interfaceId, std::span<const uint8_t> report,
                                 int delayMs) {
    std::shared_ptr<Interface> iface = Find(interfaceId);
    if (!iface || report.empty()) return false;
    size_t index = 0;
    while (index < iface->collections.size() &&
           !iface->collections[index]->HasReportId(ReportType::kInput, report[0]))
        ++index;
    if (index == iface->collections.size() ||
        report.size() > iface->collections[index]->caps().inputReportByteLength) {
        DebugOutput("virtual HID bus: interface " + std::to_string(interfaceId) +
                    " pushed an input report it does not describe (id " +
                    std::to_string(report[0]) + ", " + std::to_string(report.size()) + " bytes)\n");
        return false;
    }
    if (delayMs > 0) {
        std::lock_guard lock(timerMutex_);
        if (!timer_.joinable()) timer_ = std::thread([this] { TimerLoop(); });
        delayed_.emplace(MonotonicMs() + delayMs,
                         Delayed{interfaceId, std::vector<uint8_t>(report.begin(), report.end())});
        timerWake_.notify_all();
        return true;
    }
    std::lock_guard lock(iface->mutex);
    if (!iface->plugged) return false;
    for (const std::shared_ptr<Queue>& q : iface->queues[index]) {
        std::lock_guard qlock(q->mutex);
        if (q->reports.size() >= kQueueLength) q->reports.pop_front();
        q->reports.emplace_back(report.begin(), report.end());
        q->available.Set();
    }
    return true;
}

void VirtualBus::TimerLoop() {
    std::unique_lock lock(timerMutex_);
    while (!stopping_) {
        if (delayed_.empty()) {
            timerWake_.wait(lock);
            continue;
        }
        const int64_t now = MonotonicMs();
        auto first = delayed_.begin();
        if (first->first > now) {
            timerWake_.wait_for(lock, std::chrono::milliseconds(first->first - now));
            continue;
        }
        Delayed d = std::move(first->second);
        delayed_.erase(first);
        lock.unlock();
        PushInputReport(d.interfaceId, d.report, 0);
        lock.lock();
    }
}

}  // namespace os::hid
