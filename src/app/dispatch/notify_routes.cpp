// The route rows of the main window's notifications, one table per notification type. Each row:
// the control name (indexed: a prefix that a number follows), the target, a one-line handler,
// and the skin file the control lives in.
#include <cstdio>
#include <string>

#include "app/dispatch/route_helpers.h"
#include "app/dispatch/router.h"
#include "app/main_wnd_ids.h"
#include "device/quendal_usb_device.h"
#include "toolkit/window_wnd.h"

namespace app::dispatch {

namespace {

using Dev = device::CQuendalUSBDevice;
using Profile = device::IProfilePanelView;
using Light = device::ILightingPanelView;
using KeySet = device::IKeySetPanelView;
using Macro = device::IMacroPanelView;
using Shoot = device::IShootPanelView;
using Voice = device::IVoicePanelView;
using T = Target;
using C = const RouteCall&;

constexpr std::string_view kMain = "main.xml";
constexpr std::string_view kDeviceOption = "DeviceOption.xml";
constexpr std::string_view kKeyboardPage = "XML/DeviceXml/keyboarddevice_7322.xml";
constexpr std::string_view kMousePage = "XML/DeviceXml/mousedevice.xml";
constexpr std::string_view kHeadsetPage = "XML/DeviceXml/de6533device.xml";
constexpr std::string_view kProfileSkin = "XML/CustomControlXML/DeviceProfile.xml";
constexpr std::string_view kLightSkin = "XML/CustomControlXML/LightControl.xml";
constexpr std::string_view kKeySetSkin = "XML/CustomControlXML/KeySetControl.xml";
constexpr std::string_view kMacroSkin = "XML/CustomControlXML/MacroControl.xml";
constexpr std::string_view kShootSkin = "XML/CustomControlXML/ShootControl.xml";
constexpr std::string_view kMagicSkin = "XML/CustomControlXML/MagicControl.xml";
constexpr std::string_view kVoiceSkin = "XML/CustomControlXML/Voice6533Control.xml";

// "R_light_slider" shows its value in "R_light_label" as "R %d".
void ShowChannelValue(C c, char channel) {
    char label[16];
    char text[16];
    std::snprintf(label, sizeof label, "%c_light_label", channel);
    std::snprintf(text, sizeof text, "%c %d", channel, c.Value());
    c.window->SetControlText(label, text);
}

constexpr Route kWindowSize[] = {
    {"root", false, T::kWindow, [](C c) { c.window->OnRootResized(); }, kMain},
};

constexpr Route kColourChanged[] = {
    {"deng_Color_Pallet", false, T::kLightingPanel,
     [](C c) { c.lighting->OnPaletteColour(c.PaletteColour(), false); }, kLightSkin},
    {"deng_audioColor_Pallet", false, T::kLightingPanel,
     [](C c) { c.lighting->OnPaletteColour(c.PaletteColour(), true); }, kLightSkin},
};

constexpr Route kClick[] = {
    // Title bar and window.
    {"closebtn", false, T::kWindow, [](C c) { c.window->CloseToTray(); }, kMain},
    {"minbtn", false, T::kWindow, [](C c) { c.window->SysCommand(toolkit::SC_MINIMIZE); }, kMain},
    {"maxbtn", false, T::kWindow, [](C c) { c.window->SysCommand(toolkit::SC_MAXIMIZE); }, kMain},
    {"restorebtn", false, T::kWindow, [](C c) { c.window->SysCommand(toolkit::SC_RESTORE); },
     kMain},
    {"skinbtn", false, T::kWindow, [](C c) { c.window->OpenSkinWindow(c.msg->pSender); }, kMain},
    {"setbtn", false, T::kWindow, [](C c) { c.window->OpenSettingsWindow(false); }, kMain},
    {"nodevice_ok_btn", false, T::kWindow, [](C c) { c.window->HideWindow(); }, kMain},
    {"control_light_status", false, T::kWindow, [](C c) { c.window->ToggleLightControl(); }, kMain},
    {"windowdeviceset_", true, T::kWindow, [](C c) { c.window->OpenSystemSettings(c.n); },
     kKeyboardPage},
    {"default_btn", false, T::kWindow, [](C c) { c.window->ResetSelectedToDefaults(); },
     kProfileSkin},
    // Device bar.
    {"deng_same_mode", false, T::kDeviceBar, [](C c) { c.bar->SynchroniseLighting(); }, kLightSkin},
    {"device_select_prev", false, T::kDeviceBar, [](C c) { c.bar->SelectPrevious(); }, kMain},
    {"device_select_next", false, T::kDeviceBar, [](C c) { c.bar->SelectNext(); }, kMain},
    // Selected device.
    {"Close_bkColor_btn", false, T::kSelectedDevice, [](C c) { ClearAudioBackground(*c.device); },
     kLightSkin},
    {"DPI_color_option_", true, T::kSelectedMouse, [](C c) { c.device->ChooseDpiColour(c.n); },
     kMousePage},
    {"reset_repeat_btn", false, T::kSelectedKeyboard,
     [](C c) { ClearPageText(*c.device, "repeat_input_richedit"); }, kKeyboardPage},
    {"custom_bright_color_btn", false, T::kSelectedKeyboard,
     [](C c) { c.device->FillKeyColours(true); }, kLightSkin},
    {"custom_off_color_btn", false, T::kSelectedKeyboard,
     [](C c) { c.device->FillKeyColours(false); }, kLightSkin},
    // Profile panel.
    {"device_add_btn", false, T::kProfilePanel,
     [](C c) { c.profile->RunProfileCommand(Profile::Command::kAdd); }, kProfileSkin},
    {"device_sub_btn", false, T::kProfilePanel,
     [](C c) { c.profile->RunProfileCommand(Profile::Command::kRemove); }, kProfileSkin},
    {"device_copy_btn", false, T::kProfilePanel,
     [](C c) { c.profile->RunProfileCommand(Profile::Command::kCopy); }, kProfileSkin},
    {"device_reset_btn", false, T::kProfilePanel,
     [](C c) { c.profile->RunProfileCommand(Profile::Command::kReset); }, kProfileSkin},
    {"device_profile_edit_save_btn", false, T::kProfilePanel,
     [](C c) { c.profile->RunProfileCommand(Profile::Command::kSaveName); }, kProfileSkin},
    {"device_export_btn", false, T::kProfilePanel,
     [](C c) { c.profile->RunProfileCommand(Profile::Command::kExport); }, kProfileSkin},
    {"device_import_btn", false, T::kProfilePanel,
     [](C c) { c.profile->RunProfileCommand(Profile::Command::kImport); }, kProfileSkin},
    {"profile_fun_spread_btn", false, T::kProfilePanel,
     [](C c) { c.profile->RunProfileCommand(Profile::Command::kSpread); }, kProfileSkin},
    // Lighting panel.
    {"color_option_", true, T::kLightingPanel, [](C c) { c.lighting->ChooseColourOption(c.n); },
     kLightSkin},
    {"audiocolor_option_", true, T::kLightingPanel,
     [](C c) { c.lighting->ChooseAudioColourOption(c.n); }, kLightSkin},
    {"music_setting_btn", false, T::kLightingPanel, [](C c) { c.lighting->OpenMusicSettings(); },
     kLightSkin},
    // Key assignment panel.
    {"key_", true, T::kKeySetPanel, [](C c) { c.keySet->OnKeyClicked(c.n); }, kKeyboardPage},
    {"key_butt_keysave", false, T::kKeySetPanel,
     [](C c) { c.keySet->RunKeySetCommand(KeySet::Command::kSave); }, kKeySetSkin},
    {"key_butt_keydefalut", false, T::kKeySetPanel,
     [](C c) { c.keySet->RunKeySetCommand(KeySet::Command::kDefault); }, kKeySetSkin},
    {"key_butt_keycancel", false, T::kKeySetPanel,
     [](C c) { c.keySet->RunKeySetCommand(KeySet::Command::kCancel); }, kKeySetSkin},
    {"key_butt_prosave", false, T::kKeySetPanel,
     [](C c) { c.keySet->RunKeySetCommand(KeySet::Command::kSaveToProfile); }, kKeySetSkin},
    // Macro editor.
    {"macro_delay", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kDelay); }, kMacroSkin},
    {"macro_btn_starredio", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kStartRecording); }, kMacroSkin},
    {"macro_btn_stopredio", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kStopRecording); }, kMacroSkin},
    {"macro_btn_name_add", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kAddName); }, kMacroSkin},
    {"macro_btn_name_sub", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kRemoveName); }, kMacroSkin},
    {"macro_btn_name_edit", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kEditName); }, kMacroSkin},
    {"macro_btn_save", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kSave); }, kMacroSkin},
    {"macro_btn_cancel", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kCancel); }, kMacroSkin},
    {"macro_btn_up", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kUp); }, kMacroSkin},
    {"macro_btn_down", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kDown); }, kMacroSkin},
    {"macro_btn_uptop", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kToTop); }, kMacroSkin},
    {"macro_btn_downbottom", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kToBottom); }, kMacroSkin},
    {"macro_btn_delete", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kDelete); }, kMacroSkin},
    {"macro_btn_deleteall", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kDeleteAll); }, kMacroSkin},
    {"macro_inset_moveleftkey_btn", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kInsertMoveLeft); }, kMacroSkin},
    {"macro_inset_moverightkey_btn", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kInsertMoveRight); }, kMacroSkin},
    {"macro_inset_moveupkey_btn", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kInsertMoveUp); }, kMacroSkin},
    {"macro_inset_movedownkey_btn", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kInsertMoveDown); }, kMacroSkin},
    {"macro_btn_export", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kExport); }, kMacroSkin},
    {"macro_btn_import", false, T::kMacroPanel,
     [](C c) { c.macro->RunMacroCommand(Macro::Command::kImport); }, kMacroSkin},
    // Shoot panel.
    {"shootdate_save_btn", false, T::kShootPanel,
     [](C c) { c.shoot->RunShootCommand(Shoot::Command::kSave); }, kShootSkin},
    {"shootdate_reset_btn", false, T::kShootPanel,
     [](C c) { c.shoot->RunShootCommand(Shoot::Command::kReset); }, kShootSkin},
    {"bullet_selected_prev", false, T::kShootPanel,
     [](C c) { c.shoot->RunShootCommand(Shoot::Command::kPreviousBullet); }, kShootSkin},
    {"bullet_selected_next", false, T::kShootPanel,
     [](C c) { c.shoot->RunShootCommand(Shoot::Command::kNextBullet); }, kShootSkin},
    {"shootdate_export_btn", false, T::kShootPanel,
     [](C c) { c.shoot->RunShootCommand(Shoot::Command::kExport); }, kShootSkin},
    {"shootdate_import_btn", false, T::kShootPanel,
     [](C c) { c.shoot->RunShootCommand(Shoot::Command::kImport); }, kShootSkin},
    // Headset voice panel.
    {"hs_EQ_btn_save", false, T::kVoicePanel,
     [](C c) { c.voice->RunVoiceCommand(Voice::Command::kSaveEqualiser); }, kVoiceSkin},
    {"hs_EQ_btn_delete", false, T::kVoicePanel,
     [](C c) { c.voice->RunVoiceCommand(Voice::Command::kDeleteEqualiser); }, kVoiceSkin},
};

// "selectchanged": options, checks and the function tabs.
constexpr Route kSelectChanged[] = {
    // Selected mouse.
    {"DPI_enable_check_", true, T::kSelectedMouse,
     [](C c) { c.device->SetDpiStageEnabled(c.n, c.Selected()); }, kMousePage},
    {"DPI_select_check_", true, T::kSelectedMouse,
     [](C c) { c.device->SelectDpiStage(c.n, c.Selected()); }, kMousePage},
    {"polling_rate_option_", true, T::kSelectedMouse,
     [](C c) { c.device->SetPollingRateOption(c.n, c.Selected()); }, kMousePage},
    {"pointer_precision_check", false, T::kSelectedMouse,
     [](C c) { c.device->SetPointerPrecision(c.Selected()); }, kMousePage},
    {"scrolls_page_check", false, T::kSelectedMouse,
     [](C c) { c.device->SetScrollsPage(c.Selected()); }, kMousePage},
    {"mouse_device_seting_option_", true, T::kSelectedMouse,
     [](C c) { c.device->SetMouseDeviceOption(c.n, c.Selected()); }, kMousePage},
    // Selected keyboard.
    {"repeat_delay_check_", true, T::kSelectedKeyboard,
     [](C c) { c.device->SetRepeatDelayOption(c.n, c.Selected()); }, kKeyboardPage},
    {"winlockflag_option", false, T::kSelectedKeyboard,
     [](C c) { c.device->SetKeyboardFlag(Dev::KeyboardFlag::kWinLock, c.Selected()); },
     kKeyboardPage},
    {"wflag_option", false, T::kSelectedKeyboard,
     [](C c) { c.device->SetKeyboardFlag(Dev::KeyboardFlag::kW, c.Selected()); }, kKeyboardPage},
    {"6flag_option", false, T::kSelectedKeyboard,
     [](C c) { c.device->SetKeyboardFlag(Dev::KeyboardFlag::kSix, c.Selected()); }, kKeyboardPage},
    // Key assignment panel.
    {"key_ComBox_check_", true, T::kKeySetPanel,
     [](C c) { c.keySet->SetComboCheck(c.n, c.Selected()); }, kKeySetSkin},
    // Shoot panel.
    {"shoot_gun_op_", true, T::kShootPanel,
     [](C c) { c.shoot->SetCheck(Shoot::Check::kGun, c.n, c.Selected()); }, kShootSkin},
    {"bullet_op_", true, T::kShootPanel,
     [](C c) { c.shoot->SetCheck(Shoot::Check::kBullet, c.n, c.Selected()); }, kShootSkin},
    {"bullet_x_check", false, T::kShootPanel,
     [](C c) { c.shoot->SetCheck(Shoot::Check::kBulletX, 0, c.Selected()); }, kShootSkin},
    {"bullet_y_check", false, T::kShootPanel,
     [](C c) { c.shoot->SetCheck(Shoot::Check::kBulletY, 0, c.Selected()); }, kShootSkin},
    // Magic panel.
    {"magic_option_", true, T::kMagicPanel, [](C c) { c.magic->SelectMagic(c.n, c.Selected()); },
     kMagicSkin},
    {"magic_enable_option", false, T::kMagicPanel,
     [](C c) { c.magic->SetMagicEnabled(c.Selected()); }, kMagicSkin},
    // Headset voice panel.
    {"6533_eq_option_", true, T::kVoicePanel,
     [](C c) { c.voice->SelectEqualiserPreset(c.n, c.Selected()); }, kVoiceSkin},
    {"6533_MicIn_option", false, T::kVoicePanel, [](C c) { c.voice->SetMicInput(c.Selected()); },
     kVoiceSkin},
    {"6533_MicMoniter_option", false, T::kVoicePanel,
     [](C c) { c.voice->SetMicMonitor(c.Selected()); }, kVoiceSkin},
    // Lighting panel.
    {"deng_FXL_check", false, T::kLightingPanel,
     [](C c) { c.lighting->SetCheck(Light::Check::kDirectionLeft, c.Selected()); }, kLightSkin},
    {"deng_FXR_check", false, T::kLightingPanel,
     [](C c) { c.lighting->SetCheck(Light::Check::kDirectionRight, c.Selected()); }, kLightSkin},
    {"deng_7color_check", false, T::kLightingPanel,
     [](C c) { c.lighting->SetCheck(Light::Check::kSevenColours, c.Selected()); }, kLightSkin},
    {"deng_7audiocolor_check", false, T::kLightingPanel,
     [](C c) { c.lighting->SetCheck(Light::Check::kAudioSevenColours, c.Selected()); }, kLightSkin},
    {"audio_BkColor_check", false, T::kLightingPanel,
     [](C c) { c.lighting->SetCheck(Light::Check::kAudioBackground, c.Selected()); }, kLightSkin},
    {"audio_FgColor_check", false, T::kLightingPanel,
     [](C c) { c.lighting->SetCheck(Light::Check::kAudioForeground, c.Selected()); }, kLightSkin},
    // Device bar.
    {"device_select", false, T::kDeviceBar, [](C c) { c.bar->OnDeviceSelectChanged(*c.msg); },
     kDeviceOption},
    {"synchro_device_select", false, T::kDeviceBar,
     [](C c) { c.bar->OnSynchroSelectChanged(*c.msg); }, kDeviceOption},
    // Function tabs: the tab number to the device, then to its profile panel.
    {"deng_Op_tab", false, T::kSelectedDevice, [](C c) { SelectFunctionTab(c, 1); }, kKeyboardPage},
    {"key_Op_tab", false, T::kSelectedDevice, [](C c) { SelectFunctionTab(c, 2); }, kKeyboardPage},
    {"macro_Op_tab", false, T::kSelectedDevice, [](C c) { SelectFunctionTab(c, 3); },
     kKeyboardPage},
    {"system_Op_tab", false, T::kSelectedDevice, [](C c) { SelectFunctionTab(c, 4); },
     kKeyboardPage},
    {"cursor_Op_tab", false, T::kSelectedDevice, [](C c) { SelectFunctionTab(c, 5); }, kMousePage},
    {"6533_voice_Op_tab", false, T::kSelectedDevice, [](C c) { SelectFunctionTab(c, 6); },
     kHeadsetPage},
    {"magic_Op_tab", false, T::kSelectedDevice, [](C c) { SelectFunctionTab(c, 7); },
     kKeyboardPage},
    {"Virtual7.1_Op_tab", false, T::kSelectedDevice, [](C c) { SelectFunctionTab(c, 8); },
     kHeadsetPage},
    {"otherset_Op_tab", false, T::kSelectedDevice, [](C c) { SelectFunctionTab(c, 9); },
     kKeyboardPage},
};

// "valuechanged": a slider released.
constexpr Route kValueChanged[] = {
    {"DPI_slider_", true, T::kSelectedMouse,
     [](C c) { c.device->SetDpiStageValue(c.n, c.Value()); }, kMousePage},
    {"pointer_speed_slider", false, T::kSelectedMouse,
     [](C c) { c.device->SetPointerSpeed(c.Value()); }, kMousePage},
    {"scroll_speed_slider", false, T::kSelectedMouse,
     [](C c) { c.device->SetScrollSpeed(c.Value()); }, kMousePage},
    {"double_click_slider", false, T::kSelectedMouse,
     [](C c) { c.device->SetDoubleClickSpeed(c.Value()); }, kMousePage},
    {"repeat_rate_slider", false, T::kSelectedKeyboard,
     [](C c) { c.device->SetRepeatRate(c.Value()); }, kKeyboardPage},
    {"6533_eq_hz_slider_", true, T::kVoicePanel,
     [](C c) { c.voice->SetEqualiserBand(c.n, c.Value()); }, kVoiceSkin},
    {"6533_MicIn_slider", false, T::kVoicePanel, [](C c) { c.voice->SetMicInputLevel(c.Value()); },
     kVoiceSkin},
    {"6533_MicMoniter_slider", false, T::kVoicePanel,
     [](C c) { c.voice->SetMicMonitorLevel(c.Value()); }, kVoiceSkin},
    {"deng_light_slider", false, T::kLightingPanel,
     [](C c) { c.lighting->SetBrightness(c.Value()); }, kLightSkin},
    {"deng_speed_slider", false, T::kLightingPanel, [](C c) { c.lighting->SetSpeed(c.Value()); },
     kLightSkin},
    {"R_light_slider", false, T::kWindow, [](C c) { ShowChannelValue(c, 'R'); }, kLightSkin},
    {"G_light_slider", false, T::kWindow, [](C c) { ShowChannelValue(c, 'G'); }, kLightSkin},
    {"B_light_slider", false, T::kWindow, [](C c) { ShowChannelValue(c, 'B'); }, kLightSkin},
};

// "movevaluechanged": a slider being dragged.
constexpr Route kMoveValueChanged[] = {
    {"tilmo_DPI_slider_", true, T::kWindow,
     [](C c) { c.window->SetControlText(IndexedName("tilmo_DPI_edit_", c.n), ValueText(c)); },
     kMousePage},
    {"DPI_slider_", true, T::kSelectedMouse, [](C c) { c.device->RefreshDpiStage(c.n); },
     kMousePage},
};

// "itemselect": a list's choice.
constexpr Route kItemSelect[] = {
    {"device_profile_combo", false, T::kWindow,
     [](C c) { c.window->StartWindowTimer(kApplyProfileTimer, kApplyProfileDelayMs); },
     kProfileSkin},
    {"light_combo_modeSelect", false, T::kLightingPanel,
     [](C c) { c.lighting->SelectFromList(Light::List::kMode, c.ListIndex()); }, kLightSkin},
    {"light_combo_custommodeSelect", false, T::kLightingPanel,
     [](C c) { c.lighting->SelectFromList(Light::List::kCustomMode, c.ListIndex()); }, kLightSkin},
    {"light_combo_ZZCCmodeSelect", false, T::kLightingPanel,
     [](C c) { c.lighting->SelectFromList(Light::List::kZzccMode, c.ListIndex()); }, kLightSkin},
    {"light_combo_audiomodeSelect", false, T::kLightingPanel,
     [](C c) { c.lighting->SelectFromList(Light::List::kAudioMode, c.ListIndex()); }, kLightSkin},
    {"keyset_function_combo", false, T::kKeySetPanel,
     [](C c) { c.keySet->SelectFromList(KeySet::List::kFunction, c.ListIndex()); }, kKeySetSkin},
    {"keyset_macro_over_combo", false, T::kKeySetPanel,
     [](C c) { c.keySet->SelectFromList(KeySet::List::kMacroOver, c.ListIndex()); }, kKeySetSkin},
    {"keyset_mousekey_combo", false, T::kKeySetPanel,
     [](C c) { c.keySet->SelectFromList(KeySet::List::kMouseKey, c.ListIndex()); }, kKeySetSkin},
    {"keyset_mouseswing_combo", false, T::kKeySetPanel,
     [](C c) { c.keySet->SelectFromList(KeySet::List::kMouseSwing, c.ListIndex()); }, kKeySetSkin},
    {"keyset_mousewheel_combo", false, T::kKeySetPanel,
     [](C c) { c.keySet->SelectFromList(KeySet::List::kMouseWheel, c.ListIndex()); }, kKeySetSkin},
    {"keyset_mousedpi_combo", false, T::kKeySetPanel,
     [](C c) { c.keySet->SelectFromList(KeySet::List::kMouseDpi, c.ListIndex()); }, kKeySetSkin},
    {"keyset_media_combo", false, T::kKeySetPanel,
     [](C c) { c.keySet->SelectFromList(KeySet::List::kMedia, c.ListIndex()); }, kKeySetSkin},
    {"keyset_system_combo", false, T::kKeySetPanel,
     [](C c) { c.keySet->SelectFromList(KeySet::List::kSystem, c.ListIndex()); }, kKeySetSkin},
    {"keyset_macro_combo", false, T::kKeySetPanel,
     [](C c) { c.keySet->SelectFromList(KeySet::List::kMacro, c.ListIndex()); }, kKeySetSkin},
    {"keyset_gunkey_combo", false, T::kKeySetPanel,
     [](C c) { c.keySet->SelectFromList(KeySet::List::kGunKey, c.ListIndex()); }, kKeySetSkin},
    {"keyset_combokey_combo", false, T::kKeySetPanel,
     [](C c) { c.keySet->SelectFromList(KeySet::List::kComboKey, c.ListIndex()); }, kKeySetSkin},
    {"ble_sleep1_combo", false, T::kSelectedDevice,
     [](C c) { c.device->SelectSetting(Dev::SettingList::kBleSleep1, c.ListIndex()); },
     kKeyboardPage},
    {"ble_sleep2_combo", false, T::kSelectedDevice,
     [](C c) { c.device->SelectSetting(Dev::SettingList::kBleSleep2, c.ListIndex()); },
     kKeyboardPage},
    {"device_sleep1_combo", false, T::kSelectedDevice,
     [](C c) { c.device->SelectSetting(Dev::SettingList::kDeviceSleep1, c.ListIndex()); },
     kKeyboardPage},
    {"device_sleep2_combo", false, T::kSelectedDevice,
     [](C c) { c.device->SelectSetting(Dev::SettingList::kDeviceSleep2, c.ListIndex()); },
     kKeyboardPage},
    {"logo_led_mode_combo", false, T::kSelectedDevice,
     [](C c) { c.device->SelectSetting(Dev::SettingList::kLogoLedMode, c.ListIndex()); },
     kMousePage},
    {"Anti_Shake_combo_timeSelect", false, T::kSelectedDevice,
     [](C c) { c.device->SelectSetting(Dev::SettingList::kAntiShakeTime, c.ListIndex()); },
     kMousePage},
    {"macro_name_list", false, T::kMacroPanel, [](C c) { c.macro->SelectMacroName(c.ListIndex()); },
     kMacroSkin},
    {"custom_eq_name_combo", false, T::kVoicePanel,
     [](C c) { c.voice->SelectCustomEqualiser(c.ListIndex()); }, kVoiceSkin},
};

// "killfocus": an edit left.
constexpr Route kKillFocus[] = {
    {"tilmo_DPI_edit_", true, T::kSelectedMouse,
     [](C c) { c.device->SetDpiStageText(c.n, c.Text(), true); }, kMousePage},
    {"DPI_edit_", true, T::kSelectedMouse,
     [](C c) { c.device->SetDpiStageText(c.n, c.Text(), false); }, kMousePage},
    {"deng_edit_R", false, T::kLightingPanel,
     [](C c) { c.lighting->SetColourChannel(Light::Channel::kRed, false, c.Text()); }, kLightSkin},
    {"deng_edit_G", false, T::kLightingPanel,
     [](C c) { c.lighting->SetColourChannel(Light::Channel::kGreen, false, c.Text()); },
     kLightSkin},
    {"deng_edit_B", false, T::kLightingPanel,
     [](C c) { c.lighting->SetColourChannel(Light::Channel::kBlue, false, c.Text()); }, kLightSkin},
    {"deng_audioedit_R", false, T::kLightingPanel,
     [](C c) { c.lighting->SetColourChannel(Light::Channel::kRed, true, c.Text()); }, kLightSkin},
    {"deng_audioedit_G", false, T::kLightingPanel,
     [](C c) { c.lighting->SetColourChannel(Light::Channel::kGreen, true, c.Text()); }, kLightSkin},
    {"deng_audioedit_B", false, T::kLightingPanel,
     [](C c) { c.lighting->SetColourChannel(Light::Channel::kBlue, true, c.Text()); }, kLightSkin},
    {"keyset_keyboard_text_edit", false, T::kKeySetPanel,
     [](C c) { c.keySet->OnFieldEdited(KeySet::Field::kKeyboardText, c.Text()); }, kKeySetSkin},
    {"keyset_mouseswing_num_edit", false, T::kKeySetPanel,
     [](C c) { c.keySet->OnFieldEdited(KeySet::Field::kSwingCount, c.Text()); }, kKeySetSkin},
    {"keyset_mouseswing_delay_edit", false, T::kKeySetPanel,
     [](C c) { c.keySet->OnFieldEdited(KeySet::Field::kSwingDelay, c.Text()); }, kKeySetSkin},
    {"keyset_mouseswing_speed_edit", false, T::kKeySetPanel,
     [](C c) { c.keySet->OnFieldEdited(KeySet::Field::kSwingSpeed, c.Text()); }, kKeySetSkin},
    {"keyset_mousewheel_num_edit", false, T::kKeySetPanel,
     [](C c) { c.keySet->OnFieldEdited(KeySet::Field::kWheelCount, c.Text()); }, kKeySetSkin},
    {"keyset_mousewheel_delay_edit", false, T::kKeySetPanel,
     [](C c) { c.keySet->OnFieldEdited(KeySet::Field::kWheelDelay, c.Text()); }, kKeySetSkin},
    {"keyset_mousewheel_speed_edit", false, T::kKeySetPanel,
     [](C c) { c.keySet->OnFieldEdited(KeySet::Field::kWheelSpeed, c.Text()); }, kKeySetSkin},
    {"keyset_mousefire_interval_edit", false, T::kKeySetPanel,
     [](C c) { c.keySet->OnFieldEdited(KeySet::Field::kFireInterval, c.Text()); }, kKeySetSkin},
    {"keyset_mousefire_num_edit", false, T::kKeySetPanel,
     [](C c) { c.keySet->OnFieldEdited(KeySet::Field::kFireCount, c.Text()); }, kKeySetSkin},
    {"keyset_macro_cycle_edit", false, T::kKeySetPanel,
     [](C c) { c.keySet->OnFieldEdited(KeySet::Field::kMacroCycles, c.Text()); }, kKeySetSkin},
    {"bullet_x_eidt", false, T::kShootPanel,
     [](C c) { c.shoot->OnFieldEdited(Shoot::Field::kBulletX, c.Text()); }, kShootSkin},
    {"bullet_y_eidt", false, T::kShootPanel,
     [](C c) { c.shoot->OnFieldEdited(Shoot::Field::kBulletY, c.Text()); }, kShootSkin},
    {"bullet_delay_eidt", false, T::kShootPanel,
     [](C c) { c.shoot->OnFieldEdited(Shoot::Field::kBulletDelay, c.Text()); }, kShootSkin},
    {"macro_delay", false, T::kMacroPanel, [](C c) { c.macro->OnDelayEdited(c.Text()); },
     kMacroSkin},
};

// The two reactions of the window's message map.
constexpr Route kItemActivate[] = {
    {"macro_action", false, T::kMacroPanel, [](C c) { c.macro->OnActionActivated(); }, kMacroSkin},
};
constexpr Route kSetFocus[] = {
    {"keyset_keyboard_text_edit", false, T::kWindow, [](C c) { c.window->SetInputHook(true); },
     kKeySetSkin},
};

constexpr RouteTable kTables[] = {
    {"windowsize", kWindowSize},
    {"colorchanged", kColourChanged},
    {"click", kClick},
    {"selectchanged", kSelectChanged},
    {"valuechanged", kValueChanged},
    {"movevaluechanged", kMoveValueChanged},
    {"itemselect", kItemSelect},
    {"killfocus", kKillFocus},
    {"itemactivate", kItemActivate},
    {"setfocus", kSetFocus},
};

}  // namespace

std::span<const RouteTable> NotifyRouteTables() {
    return kTables;
}

}  // namespace app::dispatch
