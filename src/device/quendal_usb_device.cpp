#include "device/quendal_usb_device.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "device/light_overlay.h"
#include "os/debug_output.h"
#include "os/folders.h"
#include "toolkit/controls/tab_layout_ui.h"
#include "toolkit/paint_manager_ui.h"

namespace device {

namespace {

// "key_12" with prefix "key_" gives 12; false when the rest is not a plain decimal number.
bool SplitIndexedName(const std::string& name, std::string_view prefix, int* index) {
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 6) return false;
    if (!toolkit::EqualsNoCase(std::string_view(name).substr(0, prefix.size()), prefix))
        return false;
    int n = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
        n = n * 10 + (name[i] - '0');
    }
    *index = n;
    return true;
}

struct NameQuery {
    const std::string* name;
};

toolkit::CControlUI* MatchName(toolkit::CControlUI* control, void* data) {
    const auto* q = static_cast<NameQuery*>(data);
    return toolkit::EqualsNoCase(control->GetName(), *q->name) ? control : nullptr;
}

toolkit::CControlUI* FindNamed(toolkit::CControlUI* root, const std::string& name) {
    NameQuery q{&name};
    return root->FindControl(MatchName, &q, toolkit::UIFIND_ALL);
}

toolkit::CControlUI* CollectKeyButton(toolkit::CControlUI* control, void* data) {
    // Skin classes of the key buttons are compared exactly, as the page's own controls do.
    if (control->GetClass() == "DeviceKeyButton")
        static_cast<std::vector<toolkit::CControlUI*>*>(data)->push_back(control);
    return nullptr;  // keep walking
}

PreviewPace PaceOfAreaMode(uint8_t mode) {
    switch (mode) {
        case 0:
            return PreviewPace::kAreaStatic;
        case 1:
            return PreviewPace::kAreaBreathing;
        case 2:
            return PreviewPace::kAreaSpectrum;
        case 4:
            return PreviewPace::kAreaWave;
        case 5:
            return PreviewPace::kAreaBlink;
        default:
            return PreviewPace::kOff;
    }
}

}  // namespace

CQuendalUSBDevice::CQuendalUSBDevice() {
    keyToLed_.fill(kAbsent);
    keyToDeviceIndex_.fill(kAbsent);
    // The listeners reach the UI thread through this target; the page is created there.
    if (os::MessageLoop::Current() != nullptr) {
        relayTarget_ = std::make_unique<os::FunctionTarget>(
            [this](uint32_t m, os::WPARAM w, os::LPARAM l) { return OnRelayMessage(m, w, l); });
        relay_ = os::CreateTarget(relayTarget_.get());
    }
}

CQuendalUSBDevice::~CQuendalUSBDevice() {
    StopThreads();
    if (relay_ != 0) os::DestroyTarget(relay_);
}

std::string_view CQuendalUSBDevice::GetClass() const {
    return "QuendalUSBDevice";
}

void CQuendalUSBDevice::Notify(toolkit::TNotifyUI& msg) {
    NotifyPump(msg);
}

// ---- Page ----

void CQuendalUSBDevice::SetKeyCount(int count) {
    keyButtons_.assign(static_cast<size_t>(std::max(count, 0)), nullptr);
}

void CQuendalUSBDevice::SetLedCount(int count) {
    count = std::clamp(count, 0, kMaxLeds);
    ledButtons_.assign(static_cast<size_t>(count), nullptr);
    ledOverlays_.assign(static_cast<size_t>(count), nullptr);
    preview_.SetLedCount(count);
}

void CQuendalUSBDevice::BindPageControls() {
    shownColours_.clear();
    std::fill(keyButtons_.begin(), keyButtons_.end(), nullptr);
    std::fill(ledButtons_.begin(), ledButtons_.end(), nullptr);
    ledOverlays_.assign(ledButtons_.size(), nullptr);
    if (pageName_.empty()) {
        keyButtons_.clear();
        ledButtons_.clear();
        ledOverlays_.clear();
        preview_.SetLedCount(0);
        return;
    }
    toolkit::CControlUI* panel = FindNamed(this, "SelectPanel");
    if (panel == nullptr) return;
    std::vector<toolkit::CControlUI*> buttons;
    panel->FindControl(CollectKeyButton, &buttons, toolkit::UIFIND_ALL);
    for (toolkit::CControlUI* b : buttons) {
        int n = 0;
        if (SplitIndexedName(b->GetName(), "key_", &n)) {
            if (n < static_cast<int>(keyButtons_.size())) keyButtons_[n] = b;
        } else if (SplitIndexedName(b->GetName(), "light_", &n)) {
            if (n >= static_cast<int>(ledButtons_.size())) continue;
            ledButtons_[n] = b;
            ledOverlays_[n] = dynamic_cast<ILightOverlay*>(b);
            if (ILightOverlay* overlay = ledOverlays_[n])
                overlay->SetLightOverlay(0xFFFFFF, 255, true);
            preview_.SetLed(n, {255, 255, 255, 255});
        }
    }
}

void CQuendalUSBDevice::SetBatteryCapable(int capable) {
    batteryCapable_ = capable;
    if (toolkit::CControlUI* layout = FindNamed(this, "device_power_Layout"))
        layout->SetVisible(capable != 0);
}

void CQuendalUSBDevice::SetFunctionTab(int tab) {
    functionTab_ = tab;
    auto* function =
        dynamic_cast<toolkit::CTabLayoutUI*>(FindNamed(this, "device_function_switch"));
    auto* keyFunction =
        dynamic_cast<toolkit::CTabLayoutUI*>(FindNamed(this, "device_key_function_switch"));
    // The key-function pages live on page 0 of the function switch.
    auto showFunction = [&](int page) {
        if (function) function->SelectItem(page);
    };
    auto showKeyFunction = [&](int page) {
        showFunction(0);
        if (keyFunction) keyFunction->SelectItem(page);
    };
    const bool keysOnPage = kind_ == hid::kKindKeyboard || kind_ == hid::kKindMouse;
    switch (tab) {
        case 2:
        case 6:
            showFunction(1);
            break;
        case 4:
            if (keysOnPage)
                showKeyFunction(3);
            else
                showFunction(2);
            break;
        case 7:
            showFunction(2);
            break;
        case 3:
        case 8:
            showKeyFunction(1);
            break;
        case 5:
            showKeyFunction(2);
            break;
        case 9:
            showKeyFunction(4);
            break;
        default:
            showKeyFunction(0);
            break;
    }
}

int CQuendalUSBDevice::GetFunctionTab() const {
    return functionTab_;
}

// ---- Lighting ----

int CQuendalUSBDevice::LoadLightingFromProfile() {
    return 0;
}

profile::LightingRecord CQuendalUSBDevice::LightingRecordCopy() const {
    std::lock_guard<std::mutex> lock(lightingLock_);
    return lightingRecord_;
}

void CQuendalUSBDevice::SetLightingRecord(const profile::LightingRecord& record) {
    {
        std::lock_guard<std::mutex> lock(lightingLock_);
        lightingRecord_ = record;
    }
    WakePreview();
}

profile::LightingRecord CQuendalUSBDevice::GetLightingRecord() const {
    return LightingRecordCopy();
}

void CQuendalUSBDevice::SetLightVariant(int variant) {
    lightVariant_ = variant;
}
int CQuendalUSBDevice::GetLightVariant() const {
    return lightVariant_;
}

void CQuendalUSBDevice::SetLightingSwitch(int on) {
    lightingSwitch_ = on;
    if (on != 0 && kind_ == hid::kKindKeyboard) command_.ResumeLighting();
}

void CQuendalUSBDevice::SetAudioLighting(const profile::AudioLightingRecord& record) {
    audioLighting_ = record;
    if (lightingPanel_) lightingPanel_->ShowAudioLighting(record);
}

profile::AudioLightingRecord CQuendalUSBDevice::GetAudioLighting() {
    if (lightingPanel_) audioLighting_ = lightingPanel_->ReadAudioLighting();
    return audioLighting_;
}

void CQuendalUSBDevice::SetLedColour(int index, LedColour colour) {
    preview_.SetLed(index, colour);
    NoteLedChange();
}

bool CQuendalUSBDevice::SetLiveIdle(bool idle) {
    if (!idle) {
        liveIdle_ = false;
        return true;
    }
    idleGeneration_ = preview_.Generation();
    liveIdle_ = true;
    // A change between the last push and here would wake nobody: look once more.
    if (preview_.Generation() != idleGeneration_.load()) {
        liveIdle_ = false;
        return false;
    }
    return true;
}

void CQuendalUSBDevice::NoteLedChange() {
    if (!liveIdle_.load(std::memory_order_relaxed)) return;
    if (preview_.Generation() == idleGeneration_.load()) return;
    if (liveIdle_.exchange(false) && relay_ != 0)
        os::PostMessage(relay_, kLiveColoursMessage, 0, 0);
}

std::optional<LedColour> CQuendalUSBDevice::GetLedColour(int index) const {
    return preview_.Led(index);
}

int CQuendalUSBDevice::PushLiveColours() {
    if (lightingSwitch_ == 0) return 0;
    const int n = std::min(preview_.LedCount(), static_cast<int>(ledOverlays_.size()));
    if (liveFrame_.size() != static_cast<size_t>(n) * 3)
        liveFrame_.assign(static_cast<size_t>(n) * 3, 0);
    // Called every few milliseconds while the preview changes far less often: only colours that
    // changed reach the buttons.
    const bool first = shownColours_.size() != static_cast<size_t>(n);
    if (first) shownColours_.assign(static_cast<size_t>(n), LedColour{});
    int changed = first ? 1 : 0;
    for (int i = 0; i < n; ++i) {
        const LedColour c = preview_.Led(i).value_or(LedColour{});
        if (!first && c == shownColours_[i]) continue;
        shownColours_[i] = c;
        changed = 1;
        if (ILightOverlay* overlay = ledOverlays_[i]) {
            overlay->SetLightOverlay((static_cast<uint32_t>(c.red) << 16) |
                                         (static_cast<uint32_t>(c.green) << 8) | c.blue,
                                     c.brightness, true);
        }
        liveFrame_[i * 3] = static_cast<uint8_t>(c.red * c.brightness / 256);
        liveFrame_[i * 3 + 1] = static_cast<uint8_t>(c.green * c.brightness / 256);
        liveFrame_[i * 3 + 2] = static_cast<uint8_t>(c.blue * c.brightness / 256);
    }
    return changed;
}

// ---- Preview steps and building blocks ----

void CQuendalUSBDevice::PreviewBreathing() {
    preview_.Breathing(RecordParams());
}
void CQuendalUSBDevice::PreviewBreathingFourColours() {
    preview_.BreathingFourColours(RecordParams());
}
void CQuendalUSBDevice::PreviewStatic() {
    preview_.Static(RecordParams());
}
void CQuendalUSBDevice::PreviewSpectrum() {
    preview_.Spectrum(RecordParams());
}
void CQuendalUSBDevice::PreviewBlink() {
    preview_.Blink(RecordParams(), PreviewPace::kBlink, previewNow());
}
void CQuendalUSBDevice::PreviewBlinkFourColours() {
    preview_.BlinkFourColours(RecordParams(), PreviewPace::kBlinkFourColours, previewNow());
}
void CQuendalUSBDevice::PreviewOff() {
    preview_.Off();
}
int CQuendalUSBDevice::FadeStep(int led, int kind) {
    return preview_.FadeStep(led, kind);
}
void CQuendalUSBDevice::MarkFirstLeds() {
    preview_.MarkFirstLeds();
}
void CQuendalUSBDevice::RotateWaveRing(int direction) {
    preview_.RotateWaveRing(direction);
}
void CQuendalUSBDevice::ClearPreviewState() {
    preview_.ClearState();
}

CQuendalUSBDevice::PreviewStep CQuendalUSBDevice::PreviewStepFor(int) const {
    return PreviewStep::kAreaEffects;
}

void CQuendalUSBDevice::RunDevicePreviewStep(int) {
    PreviewOff();
}

void CQuendalUSBDevice::SetAreaEffects(std::vector<profile::EffectFrame> effects) {
    std::lock_guard<std::mutex> lock(deviceLock_);
    areaEffects_ = std::move(effects);
    areaIndex_ = 0;
    areaStartMs_ = -1;
    WakePreview();
}

void CQuendalUSBDevice::PlayAreaEffects(int64_t nowMs) {
    std::lock_guard<std::mutex> lock(deviceLock_);
    if (areaEffects_.empty()) return PreviewOff();
    areaIndex_ %= areaEffects_.size();
    if (areaStartMs_ < 0) areaStartMs_ = nowMs;
    const profile::EffectFrame frame = areaEffects_[areaIndex_];
    if (nowMs - areaStartMs_ > frame.time) {
        areaIndex_ = (areaIndex_ + 1) % areaEffects_.size();
        areaStartMs_ = nowMs;
    }
    const PreviewParams p = PreviewParams::FromFrame(frame);
    switch (frame.mode) {
        case 0:
            preview_.Static(p);
            break;
        case 1:
            preview_.Breathing(p);
            break;
        case 2:
            preview_.Spectrum(p);
            break;
        case 4:
            preview_.Wave(p);
            break;
        case 5:
            preview_.Blink(p, PreviewPace::kAreaBlink, nowMs);
            break;
        default:
            break;  // a mode this preview does not draw
    }
}

int CQuendalUSBDevice::PreviewThreshold() {
    const profile::LightingRecord r = LightingRecordCopy();
    const int speed = r[profile::LightingRecord::kSpeed];
    PreviewPace pace = PreviewPace::kOff;
    switch (PreviewStepFor(r[profile::LightingRecord::kMode])) {
        case PreviewStep::kStatic:
            pace = PreviewPace::kStatic;
            break;
        case PreviewStep::kSpectrum:
            pace = PreviewPace::kSpectrum;
            break;
        case PreviewStep::kBreathing:
            pace = PreviewPace::kBreathing;
            break;
        case PreviewStep::kBreathingFourColours:
            pace = PreviewPace::kBreathingFourColours;
            break;
        case PreviewStep::kBlink:
            pace = PreviewPace::kBlink;
            break;
        case PreviewStep::kBlinkFourColours:
            pace = PreviewPace::kBlinkFourColours;
            break;
        case PreviewStep::kOff:
            pace = PreviewPace::kOff;
            break;
        case PreviewStep::kDeviceA:
            pace = PreviewPace::kDeviceA;
            break;
        case PreviewStep::kDeviceB:
            pace = PreviewPace::kDeviceB;
            break;
        case PreviewStep::kDeviceC:
            pace = PreviewPace::kDeviceC;
            break;
        case PreviewStep::kAreaEffects: {
            std::lock_guard<std::mutex> lock(deviceLock_);
            if (areaEffects_.empty()) return SpeedTableValue(PreviewPace::kOff, speed);
            const profile::EffectFrame& f = areaEffects_[areaIndex_ % areaEffects_.size()];
            return SpeedTableValue(PaceOfAreaMode(f.mode), f.speed);
        }
    }
    return SpeedTableValue(pace, speed);
}

void CQuendalUSBDevice::RunPreviewStep(int64_t nowMs) {
    previewNowMs_ = nowMs;
    switch (PreviewStepFor(LightingRecordCopy()[profile::LightingRecord::kMode])) {
        case PreviewStep::kStatic:
            return PreviewStatic();
        case PreviewStep::kSpectrum:
            return PreviewSpectrum();
        case PreviewStep::kBreathing:
            return PreviewBreathing();
        case PreviewStep::kBreathingFourColours:
            return PreviewBreathingFourColours();
        case PreviewStep::kBlink:
            return PreviewBlink();
        case PreviewStep::kBlinkFourColours:
            return PreviewBlinkFourColours();
        case PreviewStep::kOff:
            return PreviewOff();
        case PreviewStep::kAreaEffects:
            return PlayAreaEffects(nowMs);
        case PreviewStep::kDeviceA:
            return RunDevicePreviewStep(0);
        case PreviewStep::kDeviceB:
            return RunDevicePreviewStep(1);
        case PreviewStep::kDeviceC:
            return RunDevicePreviewStep(2);
    }
}

// ---- Preview thread ----

bool CQuendalUSBDevice::PreviewIsSteady() {
    // These draw the same colours at every step until the record or the area list changes, and
    // both changes wake the preview.
    switch (PreviewStepFor(LightingRecordCopy()[profile::LightingRecord::kMode])) {
        case PreviewStep::kStatic:
        case PreviewStep::kOff:
            return true;
        case PreviewStep::kAreaEffects: {
            std::lock_guard<std::mutex> lock(deviceLock_);
            return areaEffects_.empty();
        }
        default:
            return false;
    }
}

int64_t CQuendalUSBDevice::PreviewTurn(int64_t nowMs, bool woken) {
    // A turn comes when the next step is due, not every millisecond: waking every millisecond
    // costs more than the animation itself, and the count paces the steps the same. A steady
    // effect sleeps until something changes it.
    if (woken) previewCounted_ = std::numeric_limits<int>::max();
    if (!command_.IsOpen()) {
        // Looked at again every 100 ms; the time until then is not counted.
        previewLastMs_ = nowMs + kPreviewClosedPollMs;
        return nowMs + kPreviewClosedPollMs + 1;
    }
    if (previewPaused_) {
        // Resuming wakes the preview; until then the time is not counted.
        previewLastMs_ = nowMs;
        return kNever;
    }
    previewCounted_ += std::max<int64_t>(0, nowMs - previewLastMs_);
    previewLastMs_ = nowMs;
    const int threshold = PreviewThreshold();
    if (previewCounted_ >= threshold) {
        RunPreviewStep(nowMs);
        NoteLedChange();
        previewCounted_ = 0;
        if (PreviewIsSteady()) return kNever;
    }
    return nowMs + std::max<int64_t>(1, threshold - previewCounted_);
}

void CQuendalUSBDevice::WakePreview() {
    PreviewTicker::Shared().Wake(this);
}

void CQuendalUSBDevice::StartPreviewThread() {
    StopPreviewThread();
    previewLastMs_ = os::MonotonicMs();
    previewCounted_ = 0;
    PreviewTicker::Shared().Add(this, previewLastMs_ + 1);
}

void CQuendalUSBDevice::StopPreviewThread() {
    if (!PreviewTicker::Shared().Has(this)) return;
    // The preview works on this object: a step under way is waited for.
    PreviewTicker::Shared().Remove(this);
    os::DebugOutput(kind_ == hid::kKindKeyboard ? "KB灯光线程设定退出" : "MS灯光线程设定退出");
}

bool CQuendalUSBDevice::PreviewThreadRunning() const {
    return PreviewTicker::Shared().Has(this);
}

void CQuendalUSBDevice::StopThreads() {
    StopPreviewThread();
    StopListener(0);
    StopListener(1);
}

// ---- Listener threads ----

bool CQuendalUSBDevice::OpenListener(int which, const std::string& path) {
    if (which != 0 && which != 1) return false;
    StopListener(which);
    hid::HidDevice& h = which == 0 ? listener_.directHandle() : listener_.receiverHandle();
    {
        std::lock_guard<std::mutex> lock(listenerLocks_[which]);
        if (!h.Open(path, true, false, true, false)) {
            os::DebugOutput("listener: cannot open the event interface " + path + "\n");
            return false;
        }
        // The open flag tells that the device's own interface is open, the mode that the
        // receiver's is.
        if (which == 0)
            listener_.SetOpen(true);
        else
            listener_.SetConnectionType(DeviceChannel::kConnectionReceiver);
    }
    return listeners_[which].Start(h, kind_, which == 0, relay_);
}

void CQuendalUSBDevice::StartListenerThreads() {
    for (int which = 0; which < 2; ++which) {
        const bool open =
            which == 0 ? listener_.IsOpen() : listener_.mode() == DeviceChannel::kReceiver;
        if (!open || listeners_[which].Running()) continue;
        hid::HidDevice& h = which == 0 ? listener_.directHandle() : listener_.receiverHandle();
        listeners_[which].Start(h, kind_, which == 0, relay_);
    }
}

void CQuendalUSBDevice::StopListener(int which) {
    if (which != 0 && which != 1) return;
    listeners_[which].RequestStop();
    {
        std::lock_guard<std::mutex> lock(listenerLocks_[which]);
        if (which == 0) {
            listener_.SetOpen(false);
            listener_.directHandle().Close();
        } else {
            listener_.SetConnectionType(0);
            listener_.receiverHandle().Close();
        }
    }
    listeners_[which].Stop();
}

bool CQuendalUSBDevice::ListenerRunning(int which) const {
    return (which == 0 || which == 1) && listeners_[which].Running();
}

os::LRESULT CQuendalUSBDevice::OnRelayMessage(uint32_t msg, os::WPARAM w, os::LPARAM l) {
    if (msg == kLiveColoursMessage) {
        // The colours move again: the device bar pushes them at its pace.
        if (deviceBarItem_ != nullptr && command_.IsOpen())
            deviceBarItem_->SetTimer(kLiveColourTimerId, command_.mode() == DeviceChannel::kReceiver
                                                             ? kLiveReceiverPeriodMs
                                                             : kLivePeriodMs);
        return 1;
    }
    if (msg != kListenerActionMessage) return 0;
    const auto kind = static_cast<ListenerAction::Kind>(w & 0xFF);
    const int delayMs = static_cast<int>(w >> 8);
    const auto code = static_cast<uint16_t>(l);
    switch (kind) {
        case ListenerAction::kSyncReloadFirst:
            reloadProfileFirst_ = true;
            ArmSyncTimer(delayMs);
            break;
        case ListenerAction::kSync:
            ArmSyncTimer(delayMs);
            break;
        case ListenerAction::kDeviceEvent:
            HandleDeviceEvent(code);
            break;
        case ListenerAction::kKeyEvent:
            OnListenerKeyEvent(code & 0xFF, (code >> 8) == 0x05 ? 1 : 2);
            break;
        case ListenerAction::kReactive:
            OnListenerReactive();
            break;
        case ListenerAction::kNone:
        case ListenerAction::kCounter:
            break;
    }
    return 1;
}

void CQuendalUSBDevice::ArmSyncTimer(int delayMs) {
    if (deviceBarItem_) deviceBarItem_->SetTimer(kSyncTimerId, static_cast<uint32_t>(delayMs));
}

void CQuendalUSBDevice::HandleDeviceEvent(uint16_t code) {
    if (!command_.IsOpen()) return;
    const int high = code >> 8;
    if (high != 0x10 && high != 0x11) return;
    activeProfileIndex_ = code & 0x0F;
    if (high == 0x11 && kind_ == hid::kKindMouse) activeDpiStage_ = (code >> 4) & 0x0F;
    RefreshPage();
}

void CQuendalUSBDevice::OnListenerKeyEvent(int, int) {}
void CQuendalUSBDevice::OnListenerReactive() {}

// ---- Power ----

int CQuendalUSBDevice::ReadAndShowPowerStatus() {
    if (!command_.IsOpen()) return kResultNothing;
    PowerStatusBlock block;
    const int r = command_.ReadPowerStatus(block.bytes.data(), PowerStatusBlock::kSize, 0);
    if (r != kResultOk) return r;
    block.bytes[3] = command_.mode() == DeviceChannel::kReceiver ? 1 : 0;
    if (powerIndicator_) powerIndicator_->ShowPowerBlock(block);
    if (mainWindow_ != 0)
        os::SendMessage(mainWindow_, kPowerConnectionMessage, block.connection(), 0);
    return r;
}

// ---- Storage ----

std::string CQuendalUSBDevice::UserDataFolder() const {
    std::string folder = os::UserDataFolder(true);
    if (!dataFolderName_.empty()) {
        folder += dataFolderName_ + "/";
        os::CreateDirectories(folder);
    }
    return folder;
}

std::string CQuendalUSBDevice::DefaultTemplatePath() const {
    return os::DefaultDataFolder() + dataFolderName_ + ".Json";
}

// ---- What the device models fill in ----

void CQuendalUSBDevice::OnConnected() {}
void CQuendalUSBDevice::SyncFromDevice() {}
void CQuendalUSBDevice::SpareHookA() {}
void CQuendalUSBDevice::SpareHookB() {}
void CQuendalUSBDevice::RefreshPowerStatus() {}
bool CQuendalUSBDevice::IsLinked() {
    return false;
}
int CQuendalUSBDevice::SleepMinutes() {
    return 0;
}
int CQuendalUSBDevice::LoadProfile() {
    return 0;
}
void CQuendalUSBDevice::RefreshPage() {}
void CQuendalUSBDevice::ApplyLightMap() {}
void CQuendalUSBDevice::ValidateMacroKeys() {}
void CQuendalUSBDevice::ReloadProfile() {}
std::vector<std::string> CQuendalUSBDevice::GetMacroList() {
    return {};
}
int CQuendalUSBDevice::WriteKeyAssignments(int, const std::vector<profile::KeyAssignmentPair>&) {
    return 0;
}
int CQuendalUSBDevice::WriteModelKeyAssignments(int) {
    return 0;
}
int CQuendalUSBDevice::WriteMacros(const std::vector<std::string>&) {
    return 0;
}
int CQuendalUSBDevice::WriteDeviceSettings(int, int, int, int, int) {
    return 0;
}
void CQuendalUSBDevice::LoadLightingCatalogue() {}
void CQuendalUSBDevice::SetKeyMap(const std::map<int, int>& map) {
    keyMap_ = map;
}
void CQuendalUSBDevice::BindProfileFiles() {}
std::string CQuendalUSBDevice::GetProfileName() {
    return {};
}
void CQuendalUSBDevice::SaveProfile() {}
void CQuendalUSBDevice::SelectKey(int index) {
    selectedKey_ = index;
}
void CQuendalUSBDevice::FeedAudioLevels(const int32_t*, int) {}
void CQuendalUSBDevice::FeedAudioBands(const uint8_t*, int) {}
bool CQuendalUSBDevice::BuildPage() {
    return false;
}

// ==== Routes of the main window ====

namespace {

toolkit::CControlUI* MatchLightingView(toolkit::CControlUI* control, void*) {
    return dynamic_cast<ILightingView*>(control) != nullptr ? control : nullptr;
}

toolkit::CControlUI* MatchProfilePanel(toolkit::CControlUI* control, void*) {
    return dynamic_cast<IProfilePanelView*>(control) != nullptr ? control : nullptr;
}

}  // namespace

// The panels are looked up each time: the page owns them and may rebuild them; a stored pointer
// could outlive them.
IProfilePanelView* CQuendalUSBDevice::ProfilePanel() {
    return dynamic_cast<IProfilePanelView*>(
        FindControl(MatchProfilePanel, nullptr, toolkit::UIFIND_ALL));
}

ILightingView* CQuendalUSBDevice::LightingView() {
    return dynamic_cast<ILightingView*>(
        FindControl(MatchLightingView, nullptr, toolkit::UIFIND_ALL));
}

ILightingPanelView* CQuendalUSBDevice::LightingPanel() {
    return dynamic_cast<ILightingPanelView*>(LightingView());
}

// ==== End of the routes of the main window ====

}  // namespace device
