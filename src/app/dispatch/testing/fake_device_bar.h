#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/dispatch/device_bar_target.h"
#include "device/quendal_usb_device.h"

namespace app::testing {

// A lighting panel that records what reaches it.
class RecordingLighting : public device::ILightingPanelView {
  public:
    std::vector<std::string> calls;
    void OnPaletteColour(uint32_t, bool) override { calls.push_back("palette"); }
    void ChooseColourOption(int n) override { calls.push_back("colour " + std::to_string(n)); }
    void ChooseAudioColourOption(int) override { calls.push_back("audio colour"); }
    void SetCheck(Check, bool) override { calls.push_back("check"); }
    void SetBrightness(int v) override { calls.push_back("brightness " + std::to_string(v)); }
    void SetSpeed(int) override { calls.push_back("speed"); }
    void SelectFromList(List, int) override { calls.push_back("list"); }
    void SetColourChannel(Channel, bool, const std::string&) override { calls.push_back("rgb"); }
    void ApplyGameEffect(int e, int f) override {
        calls.push_back("game " + std::to_string(e) + " " + std::to_string(f));
    }
    void RestoreLighting() override { calls.push_back("restore"); }
    void OpenMusicSettings() override { calls.push_back("music"); }
};

// A device model of one kind that records the route operations and the window state it is
// given, with a lighting panel when one is set.
class RecordingDevice : public device::CQuendalUSBDevice {
  public:
    explicit RecordingDevice(int kind) { SetDeviceKind(kind); }
    device::ILightingPanelView* LightingPanel() override { return lighting; }
    void SetDpiStageValue(int stage, int value) override {
        calls.push_back("dpi " + std::to_string(stage) + "=" + std::to_string(value));
    }
    void FillKeyColours(bool on) override { calls.push_back(on ? "fill on" : "fill off"); }
    void RelabelKeys() override { calls.push_back("relabel"); }
    void ReloadProfile() override { calls.push_back("reload profile"); }
    int WriteModelKeyAssignments(int bank) override {
        calls.push_back("write keys " + std::to_string(bank));
        return 1;
    }
    int WriteDeviceSettings(int a, int b, int c, int w, int h) override {
        calls.push_back("write settings " + std::to_string(a) + "," + std::to_string(b) + "," +
                        std::to_string(c) + "," + std::to_string(w) + "," + std::to_string(h));
        return 1;
    }
    void FeedAudioLevels(const int32_t* levels, int count) override {
        calls.push_back("levels " + std::to_string(count) + " " + std::to_string(levels[0]));
    }
    void FeedAudioBands(const uint8_t*, int count) override {
        calls.push_back("bands " + std::to_string(count));
    }

    device::ILightingPanelView* lighting = nullptr;
    std::vector<std::string> calls;
};

// The device bar as the routes see it: the devices given, the first of them selected.
class FakeDeviceBar : public IDeviceBarTarget {
  public:
    std::vector<std::string> calls;
    std::vector<device::CQuendalUSBDevice*> devices;
    device::CQuendalUSBDevice* selected = nullptr;

    void BuildPages() override { calls.push_back("build pages"); }
    void OnDeviceArrival(int slot) override { calls.push_back("arrival " + std::to_string(slot)); }
    void OnDeviceRemoval(int slot) override { calls.push_back("removal " + std::to_string(slot)); }
    void OnItemShowMessage(int item, bool show) override {
        calls.push_back("item " + std::to_string(item) + (show ? " shown" : " hidden"));
    }
    void OnReceiverPollTimer() override { calls.push_back("poll"); }
    void OnResume() override { calls.push_back("resume"); }
    void OnDeviceSelectChanged(toolkit::TNotifyUI&) override { calls.push_back("select"); }
    void OnSynchroSelectChanged(toolkit::TNotifyUI&) override { calls.push_back("synchro"); }
    void SelectNext() override { calls.push_back("next"); }
    void SelectPrevious() override { calls.push_back("previous"); }
    void SynchroniseLighting() override { calls.push_back("same mode"); }
    int VisibleItemCount() const override { return static_cast<int>(devices.size()); }
    device::CQuendalUSBDevice* SelectedDevice() const override { return selected; }
    device::CQuendalUSBDevice* SelectedKeyboard() const override { return OfKind(selected, 1, 9); }
    device::CQuendalUSBDevice* SelectedMouse() const override { return OfKind(selected, 2, 6); }
    void ForEachPadMouseKeyboard(
        const std::function<void(device::CQuendalUSBDevice&)>& fn) const override {
        for (device::CQuendalUSBDevice* d : devices)
            if (d->GetDeviceKind() != 7) fn(*d);
    }
    void ForEachDevice(const std::function<void(device::CQuendalUSBDevice&)>& fn) const override {
        for (device::CQuendalUSBDevice* d : devices) fn(*d);
    }

  private:
    static device::CQuendalUSBDevice* OfKind(device::CQuendalUSBDevice* d, int a, int b) {
        const int kind = d ? d->GetDeviceKind() : 0;
        return kind == a || kind == b ? d : nullptr;
    }
};

}  // namespace app::testing
