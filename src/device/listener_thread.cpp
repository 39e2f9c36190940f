#include "device/listener_thread.h"

#include <string>
#include <vector>

#include "device/thread_stop.h"
#include "hid/supported_device.h"
#include "os/debug_output.h"
#include "os/event.h"
#include "os/hid/hid_types.h"
#include "os/message_loop.h"

namespace device {

namespace {

constexpr const char* kSyncText = "接收到自动添加设备的同步信息要求";

}  // namespace

ListenerAction ClassifyListenerCode(int deviceKind, uint16_t code, bool direct) {
    switch (deviceKind) {
        case hid::kKindMouse:
            if (code == 0x0481)
                return {ListenerAction::kSync, 50, "Mouse接收到自动添加设备的同步信息要求"};
            if (code == 0x0401) return {ListenerAction::kSync, 50, kSyncText};
            if (code == 0x0403)
                return direct ? ListenerAction{ListenerAction::kReactive, 0, nullptr}
                              : ListenerAction{};
            if (code > 0x0481) return {ListenerAction::kDeviceEvent, 0, nullptr};
            return {};
        case hid::kKindKeyboard:
            if (code == 0xA401)
                return {ListenerAction::kSync, 50, "Keyboard接收到自动添加设备的同步信息要求"};
            if (code == 0xA402) return {ListenerAction::kSyncReloadFirst, 50, kSyncText};
            if (code >= 0x0500 && code <= 0x06FF) return {ListenerAction::kKeyEvent, 0, nullptr};
            if (code >= 0x0403 && code < 0xA401) return {ListenerAction::kDeviceEvent, 0, nullptr};
            return {};
        case hid::kKindMousePad:
        case hid::kKindHeadset:
            if (code == 0x0401) return {ListenerAction::kSync, 500, kSyncText};
            if (code == 0x0404) return {ListenerAction::kCounter, 0, nullptr};
            return {};
        default:
            return {};
    }
}

struct ListenerThread::Shared {
    os::Event stop{true, false};
    std::shared_ptr<os::hid::DeviceHandle> handle;
    std::vector<hid::HidDataItem> items;  // the input report layout, filled per report
    int kind = 0;
    bool direct = true;
    os::HWND relay = 0;
    int counter = 0;  // the 0x0404 counter, 0..3
};

namespace {

uint16_t EventCode(const ListenerThread::Shared& s, const std::vector<uint8_t>& report) {
    if (s.kind == hid::kKindHeadset) {
        // The headset's consumer report carries its event as a usage, not as two raw bytes.
        if (s.items.empty()) return 0;
        const hid::HidDataItem& first = s.items.front();
        if (first.isButtonData) return first.button.usages.empty() ? 0 : first.button.usages[0];
        return static_cast<uint16_t>(first.value.value);
    }
    if (report.size() < 3) return 0;
    return static_cast<uint16_t>(report[1] | (report[2] << 8));
}

void ListenLoop(const std::shared_ptr<ListenerThread::Shared>& shared) {
    ListenerThread::Shared& s = *shared;
    std::vector<uint8_t> report(s.handle->caps().inputReportByteLength);
    const std::string testText = std::string(s.kind == hid::kKindMouse      ? "Mouse"
                                             : s.kind == hid::kKindKeyboard ? "Keyboard"
                                                                            : "") +
                                 "接收到自动添加设备的同步信息要求  TEST";
    while (s.stop.Wait(1) == os::kWaitTimeout) {
        uint32_t n = 0;
        const uint32_t e = report.empty()
                               ? os::hid::kErrorInvalidParameter
                               : s.handle->Read(report.data(), static_cast<uint32_t>(report.size()),
                                                &n, os::kInfinite, &s.stop);
        if (e != os::hid::kErrorSuccess) {
            // Stopped, or the interface was closed or went away: nothing more will come on this
            // handle, so the thread ends. It does not linger until its stop: an ended listener
            // is not running, and the interface, once opened again, gets a new one.
            if (!s.stop.IsSet())
                os::DebugOutput("listener: the event interface ended (error " + std::to_string(e) +
                                ")\n");
            break;
        }
        hid::HidDevice::UnpackReport(
            report.data(), static_cast<uint32_t>(report.size()), hid::ReportType::kInput,
            s.items.data(), static_cast<uint32_t>(s.items.size()), s.handle->preparsed().get());
        const uint16_t code = EventCode(s, report);
        os::DebugOutput(testText);
        const ListenerAction action = ClassifyListenerCode(s.kind, code, s.direct);
        if (action.text) os::DebugOutput(action.text);
        if (action.kind == ListenerAction::kCounter) s.counter = (s.counter + 1) % 4;
        if (action.kind != ListenerAction::kNone && s.relay != 0) {
            const os::WPARAM w = static_cast<os::WPARAM>(action.kind) |
                                 (static_cast<os::WPARAM>(action.delayMs) << 8);
            os::PostMessage(s.relay, kListenerActionMessage, w, code);
        }
    }
    os::DebugOutput(s.kind == hid::kKindMouse || s.kind == hid::kKindKeyboard
                        ? "MS 设备同步线程设定退出"
                        : "MS设备同步线程设定退出");
}

}  // namespace

ListenerThread::~ListenerThread() {
    Stop();
}

bool ListenerThread::Start(hid::HidDevice& interface, int deviceKind, bool direct, os::HWND relay) {
    if (worker_.HasThread()) {
        if (!worker_.Finished()) return false;
        worker_.Join(0);
    }
    std::shared_ptr<os::hid::DeviceHandle> handle = interface.Handle();
    if (!handle) return false;
    auto shared = std::make_shared<Shared>();
    shared->handle = std::move(handle);
    shared->items.assign(interface.InputItems(),
                         interface.InputItems() + interface.InputItemCount());
    shared->kind = deviceKind;
    shared->direct = direct;
    shared->relay = relay;
    // Reset here rather than in the thread: a stop that comes before the thread runs must hold.
    shared->stop.Reset();
    shared_ = shared;
    return worker_.Start([shared] { ListenLoop(shared); });
}

void ListenerThread::RequestStop() {
    if (shared_) shared_->stop.Set();
}

uint32_t ListenerThread::Stop() {
    if (!shared_) return os::kWaitFailed;
    const uint32_t r = StopWorker(worker_, shared_->stop, kStopTimeoutMs, StopOverrun::kAbandon);
    shared_.reset();
    return r;
}

}  // namespace device
