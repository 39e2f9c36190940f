#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "toolkit/ui_types.h"

namespace toolkit {

class CControlUI;
class IWindowBackend;

// One font of the fonts table. Sizes are pixel heights at 96 DPI.
struct TFontInfo {
    std::string sFontName;
    int iSize = 12;
    bool bBold = false;
    bool bUnderline = false;
    bool bItalic = false;
};

// A loaded picture of the image cache.
struct TImageInfo {
    cairo_surface_t* surface = nullptr;  // ARGB32, premultiplied
    int nX = 0;
    int nY = 0;
    bool bAlpha = false;
};

// The part of a window that holds its controls: the root, lookup by name, notifications, focus,
// capture and hot control, per-control timers, DPI, fonts, images and painting into the
// window's offscreen surface. One per window; runs on the UI thread only.
// Tooltips and hover come from the window's CToolTipController.
// FIXME: not yet here: focus moves with the Tab key and the default/cancel buttons of dialogs
// (no window of the program uses them), shared styles and defaults across windows.
class CPaintManagerUI {
  public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // Process-wide set-up: the instance (program folder) path and the skin resource path.
    static void SetInstance(const std::string& instancePath);
    static const std::string& GetInstancePath();
    static void SetResourcePath(const std::string& path);  // "\" separators allowed
    static const std::string& GetResourcePath();
    // Folder resources only; other types are accepted and treated as folders.
    static void SetResourceType(int type) { s_resourceType = type; }
    static int GetResourceType() { return s_resourceType; }
    static const std::vector<CPaintManagerUI*>& GetPaintManagers();
    // Runs the UI thread's message loop until a quit; returns its exit code.
    static int MessageLoop();

    // Binds the manager to a window and the backend that shows its pixels.
    void Init(HWND hwnd, IWindowBackend* backend = nullptr, const std::string& name = "");
    HWND GetPaintWindow() const { return m_hWnd; }
    IWindowBackend* GetBackend() const { return m_backend; }
    const std::string& GetName() const { return m_sName; }

    // Window attributes from the skin's Window element.
    UiSize GetInitSize() const;  // scaled
    void SetInitSize(int cx, int cy);
    UiSize GetClientSize() const { return m_szClient; }
    UiRect GetCaptionRect() const { return m_rcCaption; }
    void SetCaptionRect(const UiRect& rc) { m_rcCaption = rc; }
    UiSize GetMinInfo() const { return m_szMinWindow; }
    void SetMinInfo(int cx, int cy) { m_szMinWindow = {cx, cy}; }
    UiSize GetMaxInfo() const { return m_szMaxWindow; }
    void SetMaxInfo(int cx, int cy) { m_szMaxWindow = {cx, cy}; }
    UiSize GetRoundCorner() const { return m_szRoundCorner; }
    void SetRoundCorner(int cx, int cy) { m_szRoundCorner = {cx, cy}; }
    UiRect GetSizeBox() const { return m_rcSizeBox; }
    void SetSizeBox(const UiRect& rc) { m_rcSizeBox = rc; }

    // The control tree. AttachDialog takes ownership of the root.
    bool AttachDialog(CControlUI* root);
    CControlUI* GetRoot() const { return m_pRoot; }
    bool InitControls(CControlUI* control, CControlUI* parent = nullptr);
    // Forgets a control that is going away (name, focus, hot, capture, timers).
    void ReapObjects(CControlUI* control);

    // Lookup by name, without regard to case; the first control registered under a name wins.
    CControlUI* FindControl(const std::string& name) const;
    CControlUI* FindControl(UiPoint pt) const;
    CControlUI* FindSubControlByName(CControlUI* parent, const std::string& name) const;
    CControlUI* FindSubControlByClass(CControlUI* parent, std::string_view className,
                                      int index = 0) const;
    void RenameControl(CControlUI* control, const std::string& oldName);

    // Notifications.
    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    void SendNotify(TNotifyUI& msg, bool async = false);
    void SendNotify(CControlUI* control, const std::string& type, WPARAM wParam = 0,
                    LPARAM lParam = 0, bool async = false);
    bool AddMessageFilter(IMessageFilterUI* filter);
    bool RemoveMessageFilter(IMessageFilterUI* filter);

    // Focus, capture, hot.
    CControlUI* GetFocus() const { return m_pFocus; }
    void SetFocus(CControlUI* control);
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const { return m_bMouseCapture; }
    CControlUI* GetEventClick() const { return m_pEventClick; }
    CControlUI* GetHotControl() const { return m_pEventHover; }

    // Per-control timers, delivered to the control's DoEvent as UIEVENT_TIMER.
    bool SetTimer(CControlUI* control, uint32_t timerId, uint32_t periodMs);
    bool KillTimer(CControlUI* control, uint32_t timerId);
    void KillTimer(CControlUI* control);
    void RemoveAllTimers();

    // DPI: 96 is unscaled. Positions, sizes, fonts and images scale with it.
    int GetDPI() const { return m_nDPI; }
    void SetDPI(int dpi);
    int GetScale() const { return m_nDPI * 100 / 96; }
    int ScaleDpi(int value) const;
    static void SetAllDPI(int dpi);
    // Drops what was prepared for the old DPI (font descriptions); the next paint rebuilds it.
    void ResetDPIAssets();

    // Fonts table. Shared fonts are seen by every window; a window's own fonts come first.
    void AddFont(int id, const std::string& face, int size, bool bold, bool underline, bool italic,
                 bool shared);
    // Empties the shared or the window's own table, its default font included, so that a table
    // built afresh is not shadowed by what a skin declared before.
    void RemoveAllFonts(bool shared);
    void SetDefaultFont(const std::string& face, int size, bool bold, bool underline, bool italic,
                        bool shared);
    const TFontInfo* GetFontInfo(int id) const;  // -1 or an unknown id: the default font
    const TFontInfo& GetDefaultFontInfo() const;
    // A Pango description of the font at the window's DPI (cached).
    const PangoFontDescription* GetFontDescription(int id);

    // Image cache, shared by all windows. Relative names resolve under the resource path;
    // absolute names and names missing there are tried as they stand.
    const TImageInfo* GetImage(const std::string& name, uint32_t mask = 0, bool hsl = false);
    static void RemoveAllImages();

    // Colour adjustment (the skin's hue/saturation/lightness shift).
    void SetHSL(bool use, int h, int s, int l);
    uint32_t GetAdjustColor(uint32_t argb) const;
    bool IsUseHSL() const { return m_bUseHSL; }

    // Named attribute sets ("Style") and per-class default attributes ("Default") of the skin.
    // Shared ones are seen by every window.
    void AddStyle(const std::string& name, const std::string& list, bool shared);
    const std::string* GetStyle(const std::string& name) const;
    void AddDefaultAttributeList(const std::string& className, const std::string& list,
                                 bool shared);
    const std::string* GetDefaultAttributeList(std::string_view className) const;

    // Option groups.
    bool AddOptionGroup(const std::string& group, CControlUI* option);
    const std::vector<CControlUI*>* GetOptionGroup(const std::string& group) const;
    void RemoveOptionGroup(const std::string& group, CControlUI* option);

    // Painting. Invalidate records what changed; Paint repaints only that, after a layout when
    // one is needed. Nothing is painted while nothing changed.
    void Invalidate();
    void Invalidate(const UiRect& rc);
    // The whole tree needs a new layout (size, DPI or texts changed).
    void NeedUpdate() {
        m_bUpdateNeeded = true;
        m_bFullLayout = true;
        Invalidate();
    }
    // Some controls asked for a new layout of their own rectangle (CControlUI::NeedUpdate).
    void NeedLayout() { m_bUpdateNeeded = true; }
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    bool HasPendingPaint() const { return !m_rcDirty.IsEmpty() || m_bUpdateNeeded; }
    void Paint();
    cairo_surface_t* GetSurface() const { return m_surface; }
    uint64_t GetPaintCount() const { return m_paintCount; }
    const UiRect& GetLastPaintRect() const { return m_rcLastPaint; }
    PangoLayout* GetPangoLayout() const { return m_layout; }

    // Translates window messages into control events. Returns true when handled.
    bool MessageHandler(uint32_t msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Mouse position of the last mouse message.
    UiPoint GetMousePos() const { return m_ptLastMousePos; }

  private:
    friend class CControlUI;
    void ResizeSurface(int cx, int cy);
    void DispatchMouse(CControlUI* target, int type, UiPoint pt, WPARAM wParam, uint16_t keys);
    bool DeliverTimer(WPARAM winTimerId);
    void FlushAsyncNotify();
    void SetHot(CControlUI* control, UiPoint pt);

    HWND m_hWnd = 0;
    IWindowBackend* m_backend = nullptr;
    std::string m_sName;
    CControlUI* m_pRoot = nullptr;
    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pEventHover = nullptr;
    CControlUI* m_pEventClick = nullptr;
    bool m_bMouseCapture = false;
    bool m_bUpdateNeeded = true;
    bool m_bFirstLayout = true;
    bool m_bFullLayout = true;
    bool m_bSizeChanged = false;
    UiPoint m_ptLastMousePos{-1, -1};

    UiSize m_szInitWindow;
    UiSize m_szClient;
    UiSize m_szMinWindow;
    UiSize m_szMaxWindow;
    UiSize m_szRoundCorner;
    UiRect m_rcCaption;
    UiRect m_rcSizeBox;

    std::unordered_map<std::string, CControlUI*> m_nameHash;  // lower-case names
    std::vector<INotifyUI*> m_notifiers;
    std::vector<IMessageFilterUI*> m_messageFilters;
    std::vector<TNotifyUI> m_asyncNotify;
    std::map<std::string, std::vector<CControlUI*>> m_optionGroups;
    std::unordered_map<std::string, std::string> m_styles;    // lower-case names
    std::unordered_map<std::string, std::string> m_defaults;  // lower-case class names

    struct TimerInfo {
        CControlUI* sender;
        uint32_t localId;
        uintptr_t winTimer;
    };
    std::vector<TimerInfo> m_timers;
    uintptr_t m_nextWinTimer = 0x10000;

    int m_nDPI = 96;
    std::map<int, TFontInfo> m_ownFonts;
    bool m_hasOwnDefaultFont = false;
    TFontInfo m_ownDefaultFont;
    std::unordered_map<int, PangoFontDescription*> m_fontDescs;  // at m_nDPI; -1: default
    uint64_t m_fontGeneration = 0;

    bool m_bUseHSL = false;
    int m_H = 180;
    int m_S = 100;
    int m_L = 100;

    cairo_surface_t* m_surface = nullptr;
    cairo_t* m_cr = nullptr;
    PangoLayout* m_layout = nullptr;
    UiRect m_rcDirty;
    bool m_bPaintPosted = false;
    UiRect m_rcLastPaint;
    uint64_t m_paintCount = 0;

    static std::string s_instancePath;
    static std::string s_resourcePath;
    static int s_resourceType;
};

}  // namespace toolkit
