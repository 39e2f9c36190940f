#include "toolkit/paint_manager_ui.h"

#include <algorithm>
#include <cmath>

#include "os/debug_output.h"
#include "os/event.h"
#include "os/folders.h"
#include "os/message_loop.h"
#include "toolkit/backend/window_backend.h"
#include "toolkit/control_ui.h"
#include "toolkit/timer_service.h"

namespace toolkit {

std::string CPaintManagerUI::s_instancePath;
std::string CPaintManagerUI::s_resourcePath;
int CPaintManagerUI::s_resourceType = 1;

namespace {

std::vector<CPaintManagerUI*> g_managers;

std::map<int, TFontInfo> g_sharedFonts;
bool g_hasSharedDefaultFont = false;
TFontInfo g_sharedDefaultFont;
const TFontInfo kBuiltinDefaultFont{"Noto Sans", 12, false, false, false};
// Bumped whenever a font table changes, so that cached Pango descriptions are rebuilt.
uint64_t g_fontGeneration = 1;

struct ImageKey {
    std::string path;
    uint32_t mask;
    int h, s, l;
    bool operator==(const ImageKey&) const = default;
};
struct ImageKeyHash {
    size_t operator()(const ImageKey& k) const {
        return std::hash<std::string>()(k.path) ^ (k.mask * 2654435761u) ^
               static_cast<size_t>(k.h * 31 + k.s * 7 + k.l);
    }
};
std::unordered_map<ImageKey, TImageInfo, ImageKeyHash> g_images;

std::string WithTrailingSlash(std::string path) {
    path = os::ResourcePath(std::move(path));
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

void RgbToHsl(uint32_t argb, float& h, float& s, float& l) {
    float r = ((argb >> 16) & 0xFF) / 255.f;
    float g = ((argb >> 8) & 0xFF) / 255.f;
    float b = (argb & 0xFF) / 255.f;
    float mx = std::max({r, g, b});
    float mn = std::min({r, g, b});
    l = (mx + mn) / 2;
    if (mx == mn) {
        h = s = 0;
        return;
    }
    float d = mx - mn;
    s = l > 0.5f ? d / (2 - mx - mn) : d / (mx + mn);
    if (mx == r)
        h = (g - b) / d + (g < b ? 6 : 0);
    else if (mx == g)
        h = (b - r) / d + 2;
    else
        h = (r - g) / d + 4;
    h *= 60;
}

float HueToRgb(float p, float q, float t) {
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (t < 1.f / 6) return p + (q - p) * 6 * t;
    if (t < 1.f / 2) return q;
    if (t < 2.f / 3) return p + (q - p) * (2.f / 3 - t) * 6;
    return p;
}

uint32_t HslToRgb(uint32_t alpha, float h, float s, float l) {
    float r, g, b;
    if (s == 0) {
        r = g = b = l;
    } else {
        float q = l < 0.5f ? l * (1 + s) : l + s - l * s;
        float p = 2 * l - q;
        float hk = h / 360;
        r = HueToRgb(p, q, hk + 1.f / 3);
        g = HueToRgb(p, q, hk);
        b = HueToRgb(p, q, hk - 1.f / 3);
    }
    auto c = [](float v) { return static_cast<uint32_t>(std::clamp(v, 0.f, 1.f) * 255 + 0.5f); };
    return (alpha << 24) | (c(r) << 16) | (c(g) << 8) | c(b);
}

uint32_t AdjustHsl(uint32_t argb, int h, int s, int l) {
    float fh, fs, fl;
    RgbToHsl(argb, fh, fs, fl);
    fh = std::fmod(fh + (h - 180) + 360.f, 360.f);
    fs = std::clamp(fs * s / 100.f, 0.f, 1.f);
    fl = std::clamp(fl * l / 100.f, 0.f, 1.f);
    return HslToRgb(argb >> 24, fh, fs, fl);
}

CControlUI* RegisterName(CControlUI* control, void* data) {
    auto* hash = static_cast<std::unordered_map<std::string, CControlUI*>*>(data);
    if (!control->GetName().empty()) hash->emplace(ToLowerAscii(control->GetName()), control);
    return nullptr;
}

CControlUI* FromPoint(CControlUI* control, void*) {
    return control;
}

CControlUI* CollectUpdate(CControlUI* control, void* data) {
    if (control->IsUpdateNeeded()) static_cast<std::vector<CControlUI*>*>(data)->push_back(control);
    return nullptr;
}

struct NameQuery {
    const std::string* name;
};
CControlUI* MatchName(CControlUI* control, void* data) {
    const auto* q = static_cast<NameQuery*>(data);
    return EqualsNoCase(control->GetName(), *q->name) ? control : nullptr;
}

struct ClassQuery {
    std::string_view cls;
    int index;
};
CControlUI* MatchClass(CControlUI* control, void* data) {
    auto* q = static_cast<ClassQuery*>(data);
    if (control->GetClass() != q->cls) return nullptr;
    return q->index-- == 0 ? control : nullptr;
}

}  // namespace

CPaintManagerUI::CPaintManagerUI() {
    g_managers.push_back(this);
}

CPaintManagerUI::~CPaintManagerUI() {
    RemoveAllTimers();
    CControlUI* root = m_pRoot;
    m_pRoot = nullptr;
    delete root;
    std::erase(g_managers, this);
    for (auto& [id, desc] : m_fontDescs) pango_font_description_free(desc);
    if (m_layout != nullptr) g_object_unref(m_layout);
    if (m_cr != nullptr) cairo_destroy(m_cr);
    if (m_surface != nullptr) cairo_surface_destroy(m_surface);
}

void CPaintManagerUI::SetInstance(const std::string& instancePath) {
    s_instancePath = WithTrailingSlash(instancePath);
}
const std::string& CPaintManagerUI::GetInstancePath() {
    if (s_instancePath.empty()) s_instancePath = os::ProgramFolder();
    return s_instancePath;
}
void CPaintManagerUI::SetResourcePath(const std::string& path) {
    s_resourcePath = WithTrailingSlash(path);
}
const std::string& CPaintManagerUI::GetResourcePath() {
    return s_resourcePath;
}
const std::vector<CPaintManagerUI*>& CPaintManagerUI::GetPaintManagers() {
    return g_managers;
}

int CPaintManagerUI::MessageLoop() {
    os::MessageLoop* loop = os::MessageLoop::Current();
    return loop != nullptr ? loop->Run() : 0;
}

void CPaintManagerUI::ResetDPIAssets() {
    for (auto& [id, desc] : m_fontDescs) pango_font_description_free(desc);
    m_fontDescs.clear();
    NeedUpdate();
}

void CPaintManagerUI::Init(HWND hwnd, IWindowBackend* backend, const std::string& name) {
    m_hWnd = hwnd;
    m_backend = backend;
    m_sName = name;
    if (m_backend != nullptr) {
        UiRect rc = m_backend->GetWindowRect();
        ResizeSurface(rc.GetWidth(), rc.GetHeight());
    }
}

UiSize CPaintManagerUI::GetInitSize() const {
    return UiSize{ScaleDpi(m_szInitWindow.cx), ScaleDpi(m_szInitWindow.cy)};
}
void CPaintManagerUI::SetInitSize(int cx, int cy) {
    m_szInitWindow = {cx, cy};
}

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
    if (root == nullptr) return false;
    if (m_pRoot != nullptr && m_pRoot != root) {
        CControlUI* old = m_pRoot;
        m_pRoot = nullptr;
        delete old;
    }
    m_pFocus = m_pEventHover = m_pEventClick = nullptr;
    m_pRoot = root;
    m_bUpdateNeeded = true;
    m_bFirstLayout = true;
    return InitControls(root, nullptr);
}

bool CPaintManagerUI::InitControls(CControlUI* control, CControlUI* parent) {
    if (control == nullptr) return false;
    control->SetManager(this, parent != nullptr ? parent : control->GetParent(), true);
    control->FindControl(RegisterName, &m_nameHash, UIFIND_ALL);
    return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* control) {
    if (control == nullptr) return;
    if (control == m_pFocus) m_pFocus = nullptr;
    if (control == m_pEventHover) m_pEventHover = nullptr;
    if (control == m_pEventClick) m_pEventClick = nullptr;
    if (control == m_pRoot) m_pRoot = nullptr;
    KillTimer(control);
    if (!control->GetName().empty()) {
        auto it = m_nameHash.find(ToLowerAscii(control->GetName()));
        if (it != m_nameHash.end() && it->second == control) m_nameHash.erase(it);
    }
    std::erase_if(m_asyncNotify, [&](const TNotifyUI& n) { return n.pSender == control; });
}

void CPaintManagerUI::RenameControl(CControlUI* control, const std::string& oldName) {
    if (!oldName.empty()) {
        auto it = m_nameHash.find(ToLowerAscii(oldName));
        if (it != m_nameHash.end() && it->second == control) m_nameHash.erase(it);
    }
    // Only controls in the tree are found by name; the builder names them before they are.
    if (control->GetParent() != nullptr || control == m_pRoot) {
        if (!control->GetName().empty()) {
            m_nameHash.emplace(ToLowerAscii(control->GetName()), control);
        }
    }
}

CControlUI* CPaintManagerUI::FindControl(const std::string& name) const {
    auto it = m_nameHash.find(ToLowerAscii(name));
    return it == m_nameHash.end() ? nullptr : it->second;
}

CControlUI* CPaintManagerUI::FindControl(UiPoint pt) const {
    if (m_pRoot == nullptr) return nullptr;
    return m_pRoot->FindControl(FromPoint, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent,
                                                  const std::string& name) const {
    if (parent == nullptr) parent = m_pRoot;
    if (parent == nullptr) return nullptr;
    NameQuery q{&name};
    return parent->FindControl(MatchName, &q, UIFIND_ALL);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* parent, std::string_view className,
                                                   int index) const {
    if (parent == nullptr) parent = m_pRoot;
    if (parent == nullptr) return nullptr;
    ClassQuery q{className, index};
    return parent->FindControl(MatchClass, &q, UIFIND_ALL);
}

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
    if (notifier == nullptr ||
        std::find(m_notifiers.begin(), m_notifiers.end(), notifier) != m_notifiers.end())
        return false;
    m_notifiers.push_back(notifier);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
    auto it = std::find(m_notifiers.begin(), m_notifiers.end(), notifier);
    if (it == m_notifiers.end()) return false;
    m_notifiers.erase(it);
    return true;
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg, bool async) {
    msg.ptMouse = m_ptLastMousePos;
    msg.dwTimestamp = static_cast<uint64_t>(os::MonotonicMs());
    if (msg.pSender != nullptr) msg.sVirtualWnd = msg.pSender->GetVirtualWnd();
    if (async) {
        m_asyncNotify.push_back(msg);
        if (m_asyncNotify.size() == 1 && os::MessageLoop::Current() != nullptr) {
            CPaintManagerUI* self = this;
            os::MessageLoop::Current()->PostTask([self] {
                if (std::find(g_managers.begin(), g_managers.end(), self) != g_managers.end()) {
                    self->FlushAsyncNotify();
                }
            });
        }
        return;
    }
    // A copy: a notifier may add or remove notifiers while handling this.
    std::vector<INotifyUI*> notifiers = m_notifiers;
    for (INotifyUI* n : notifiers) {
        if (std::find(m_notifiers.begin(), m_notifiers.end(), n) != m_notifiers.end()) {
            n->Notify(msg);
        }
    }
}

void CPaintManagerUI::SendNotify(CControlUI* control, const std::string& type, WPARAM wParam,
                                 LPARAM lParam, bool async) {
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = control;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, async);
}

void CPaintManagerUI::FlushAsyncNotify() {
    while (!m_asyncNotify.empty()) {
        TNotifyUI msg = m_asyncNotify.front();
        m_asyncNotify.erase(m_asyncNotify.begin());
        SendNotify(msg, false);
    }
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* filter) {
    if (filter == nullptr || std::find(m_messageFilters.begin(), m_messageFilters.end(), filter) !=
                                 m_messageFilters.end())
        return false;
    m_messageFilters.push_back(filter);
    return true;
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* filter) {
    auto it = std::find(m_messageFilters.begin(), m_messageFilters.end(), filter);
    if (it == m_messageFilters.end()) return false;
    m_messageFilters.erase(it);
    return true;
}

void CPaintManagerUI::SetFocus(CControlUI* control) {
    if (control == m_pFocus) return;
    if (m_pFocus != nullptr) {
        TEventUI event;
        event.Type = UIEVENT_KILLFOCUS;
        event.pSender = control;
        event.dwTimestamp = static_cast<uint64_t>(os::MonotonicMs());
        CControlUI* old = m_pFocus;
        m_pFocus = nullptr;
        old->Event(event);
    }
    if (control != nullptr && control->GetManager() == this && control->IsVisible() &&
        control->IsEnabled()) {
        m_pFocus = control;
        TEventUI event;
        event.Type = UIEVENT_SETFOCUS;
        event.pSender = control;
        event.dwTimestamp = static_cast<uint64_t>(os::MonotonicMs());
        control->Event(event);
    }
}

void CPaintManagerUI::SetCapture() {
    m_bMouseCapture = true;
    if (m_backend != nullptr) m_backend->SetCapture(true);
}

void CPaintManagerUI::ReleaseCapture() {
    m_bMouseCapture = false;
    if (m_backend != nullptr) m_backend->SetCapture(false);
}

bool CPaintManagerUI::SetTimer(CControlUI* control, uint32_t timerId, uint32_t periodMs) {
    if (control == nullptr || m_hWnd == 0) return false;
    for (auto& t : m_timers) {
        if (t.sender == control && t.localId == timerId) {
            return TimerService::Set(m_hWnd, t.winTimer, periodMs);
        }
    }
    uintptr_t winTimer = m_nextWinTimer++;
    if (!TimerService::Set(m_hWnd, winTimer, periodMs)) return false;
    m_timers.push_back({control, timerId, winTimer});
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* control, uint32_t timerId) {
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->sender == control && it->localId == timerId) {
            if (m_hWnd != 0) TimerService::Kill(m_hWnd, it->winTimer);
            m_timers.erase(it);
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::KillTimer(CControlUI* control) {
    std::erase_if(m_timers, [&](const TimerInfo& t) {
        if (t.sender != control) return false;
        if (m_hWnd != 0) TimerService::Kill(m_hWnd, t.winTimer);
        return true;
    });
}

void CPaintManagerUI::RemoveAllTimers() {
    for (const auto& t : m_timers) {
        if (m_hWnd != 0) TimerService::Kill(m_hWnd, t.winTimer);
    }
    m_timers.clear();
}

bool CPaintManagerUI::DeliverTimer(WPARAM winTimerId) {
    for (const auto& t : m_timers) {
        if (t.winTimer != winTimerId) continue;
        TEventUI event;
        event.Type = UIEVENT_TIMER;
        event.pSender = t.sender;
        event.wParam = t.localId;
        event.dwTimestamp = static_cast<uint64_t>(os::MonotonicMs());
        t.sender->Event(event);
        return true;
    }
    return false;
}

void CPaintManagerUI::SetDPI(int dpi) {
    if (dpi < 48 || dpi > 192 || dpi == m_nDPI) return;
    int old = m_nDPI;
    m_nDPI = dpi;
    ResetDPIAssets();
    if (m_backend != nullptr) {
        // The window keeps its place and grows or shrinks with the scale.
        UiRect rc = m_backend->GetWindowRect();
        int cx = rc.GetWidth() * dpi / old;
        int cy = rc.GetHeight() * dpi / old;
        m_backend->Move(UiRect{rc.left, rc.top, rc.left + cx, rc.top + cy});
        if (m_hWnd != 0)
            os::SendMessage(m_hWnd, os::WM_SIZE, 0, MakePointLParam(cx, cy));
        else
            ResizeSurface(cx, cy);
    }
    NeedUpdate();
}

int CPaintManagerUI::ScaleDpi(int value) const {
    if (m_nDPI == 96) return value;
    return static_cast<int>(std::lround(static_cast<double>(value) * m_nDPI / 96.0));
}

void CPaintManagerUI::SetAllDPI(int dpi) {
    for (CPaintManagerUI* pm : g_managers) pm->SetDPI(dpi);
}

void CPaintManagerUI::AddFont(int id, const std::string& face, int size, bool bold, bool underline,
                              bool italic, bool shared) {
    TFontInfo info{face, size, bold, underline, italic};
    if (shared)
        g_sharedFonts[id] = info;
    else
        m_ownFonts[id] = info;
    ++g_fontGeneration;
    Invalidate();
}

void CPaintManagerUI::RemoveAllFonts(bool shared) {
    if (shared) {
        g_sharedFonts.clear();
        g_hasSharedDefaultFont = false;
    } else {
        m_ownFonts.clear();
        m_hasOwnDefaultFont = false;
    }
    ++g_fontGeneration;
    Invalidate();
}

void CPaintManagerUI::SetDefaultFont(const std::string& face, int size, bool bold, bool underline,
                                     bool italic, bool shared) {
    TFontInfo info{face, size, bold, underline, italic};
    if (shared) {
        g_sharedDefaultFont = info;
        g_hasSharedDefaultFont = true;
    } else {
        m_ownDefaultFont = info;
        m_hasOwnDefaultFont = true;
    }
    ++g_fontGeneration;
    Invalidate();
}

const TFontInfo& CPaintManagerUI::GetDefaultFontInfo() const {
    if (m_hasOwnDefaultFont) return m_ownDefaultFont;
    if (g_hasSharedDefaultFont) return g_sharedDefaultFont;
    return kBuiltinDefaultFont;
}

const TFontInfo* CPaintManagerUI::GetFontInfo(int id) const {
    if (id >= 0) {
        if (auto it = m_ownFonts.find(id); it != m_ownFonts.end()) return &it->second;
        if (auto it = g_sharedFonts.find(id); it != g_sharedFonts.end()) return &it->second;
    }
    return &GetDefaultFontInfo();
}

const PangoFontDescription* CPaintManagerUI::GetFontDescription(int id) {
    if (m_fontGeneration != g_fontGeneration) {
        for (auto& [key, desc] : m_fontDescs) pango_font_description_free(desc);
        m_fontDescs.clear();
        m_fontGeneration = g_fontGeneration;
    }
    const TFontInfo* info = GetFontInfo(id);
    int key = (id >= 0 && info != &GetDefaultFontInfo()) ? id : -1;
    if (auto it = m_fontDescs.find(key); it != m_fontDescs.end()) return it->second;
    PangoFontDescription* desc = pango_font_description_new();
    // Glyphs the face lacks (Chinese, Thai) come from fontconfig's fallbacks.
    pango_font_description_set_family(desc, info->sFontName.c_str());
    pango_font_description_set_absolute_size(desc, ScaleDpi(info->iSize) * PANGO_SCALE);
    pango_font_description_set_weight(desc, info->bBold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(desc, info->bItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    m_fontDescs.emplace(key, desc);
    return desc;
}

const TImageInfo* CPaintManagerUI::GetImage(const std::string& name, uint32_t mask, bool hsl) {
    if (name.empty()) return nullptr;
    bool adjust = hsl && m_bUseHSL;
    ImageKey key{name, mask, adjust ? m_H : 0, adjust ? m_S : 0, adjust ? m_L : 0};
    if (auto it = g_images.find(key); it != g_images.end()) {
        return it->second.surface != nullptr ? &it->second : nullptr;
    }
    std::string resolved = os::ResourcePath(name);
    bool absolute =
        name.find(':') != std::string::npos || (!resolved.empty() && resolved[0] == '/');
    std::vector<std::string> candidates;
    if (!absolute) candidates.push_back(GetResourcePath() + resolved);
    candidates.push_back(resolved);
    TImageInfo info;
    for (const std::string& path : candidates) {
        if (!os::PathExists(path)) continue;
        cairo_surface_t* loaded = cairo_image_surface_create_from_png(path.c_str());
        if (cairo_surface_status(loaded) != CAIRO_STATUS_SUCCESS) {
            // FIXME: only PNG pictures are read; other formats need an image decoder.
            os::DebugOutput("toolkit: cannot read image " + path + "\n");
            cairo_surface_destroy(loaded);
            continue;
        }
        // Work on ARGB32 so that masks and colour shifts can touch the pixels.
        int w = cairo_image_surface_get_width(loaded);
        int h = cairo_image_surface_get_height(loaded);
        cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
        cairo_t* cr = cairo_create(argb);
        cairo_set_source_surface(cr, loaded, 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_destroy(loaded);
        cairo_surface_flush(argb);
        unsigned char* data = cairo_image_surface_get_data(argb);
        int stride = cairo_image_surface_get_stride(argb);
        bool alpha = false;
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
            for (int x = 0; x < w; ++x) {
                uint32_t& px = row[x];
                if (mask != 0 && (px & 0x00FFFFFF) == (mask & 0x00FFFFFF) && (px >> 24) == 0xFF) {
                    px = 0;
                }
                if (adjust && (px >> 24) != 0) {
                    // Premultiplied pixels: adjust the straight colour and premultiply again.
                    uint32_t a = px >> 24;
                    auto un = [a](uint32_t c) { return std::min<uint32_t>(255, c * 255 / a); };
                    uint32_t straight = (a << 24) | (un((px >> 16) & 0xFF) << 16) |
                                        (un((px >> 8) & 0xFF) << 8) | un(px & 0xFF);
                    uint32_t adj = AdjustHsl(straight, m_H, m_S, m_L);
                    auto pre = [a](uint32_t c) { return c * a / 255; };
                    px = (a << 24) | (pre((adj >> 16) & 0xFF) << 16) |
                         (pre((adj >> 8) & 0xFF) << 8) | pre(adj & 0xFF);
                }
                if ((px >> 24) != 0xFF) alpha = true;
            }
        }
        cairo_surface_mark_dirty(argb);
        info.surface = argb;
        info.nX = w;
        info.nY = h;
        info.bAlpha = alpha;
        break;
    }
    if (info.surface == nullptr) {
        os::DebugOutput("toolkit: image not found: " + name + "\n");
    }
    // Missing pictures are remembered too, so that every repaint does not search again.
    auto& slot = g_images[key];
    slot = info;
    return slot.surface != nullptr ? &slot : nullptr;
}

void CPaintManagerUI::RemoveAllImages() {
    for (auto& [key, info] : g_images) {
        if (info.surface != nullptr) cairo_surface_destroy(info.surface);
    }
    g_images.clear();
}

void CPaintManagerUI::SetHSL(bool use, int h, int s, int l) {
    m_bUseHSL = use;
    m_H = std::clamp(h, 0, 360);
    m_S = std::clamp(s, 0, 200);
    m_L = std::clamp(l, 0, 200);
    Invalidate();
}

uint32_t CPaintManagerUI::GetAdjustColor(uint32_t argb) const {
    if (!m_bUseHSL) return argb;
    return AdjustHsl(argb, m_H, m_S, m_L);
}

void CPaintManagerUI::AddStyle(const std::string& name, const std::string& list, bool shared) {
    // FIXME: shared styles are kept per window like own ones; no skin so far shares them.
    (void)shared;
    m_styles[ToLowerAscii(name)] = list;
}

const std::string* CPaintManagerUI::GetStyle(const std::string& name) const {
    auto it = m_styles.find(ToLowerAscii(name));
    return it == m_styles.end() ? nullptr : &it->second;
}

void CPaintManagerUI::AddDefaultAttributeList(const std::string& className, const std::string& list,
                                              bool shared) {
    (void)shared;  // FIXME: as for styles.
    m_defaults[ToLowerAscii(className)] = list;
}

const std::string* CPaintManagerUI::GetDefaultAttributeList(std::string_view className) const {
    auto it = m_defaults.find(ToLowerAscii(className));
    return it == m_defaults.end() ? nullptr : &it->second;
}

bool CPaintManagerUI::AddOptionGroup(const std::string& group, CControlUI* option) {
    auto& members = m_optionGroups[group];
    if (std::find(members.begin(), members.end(), option) != members.end()) return false;
    members.push_back(option);
    return true;
}

const std::vector<CControlUI*>* CPaintManagerUI::GetOptionGroup(const std::string& group) const {
    auto it = m_optionGroups.find(group);
    return it == m_optionGroups.end() ? nullptr : &it->second;
}

void CPaintManagerUI::RemoveOptionGroup(const std::string& group, CControlUI* option) {
    auto it = m_optionGroups.find(group);
    if (it == m_optionGroups.end()) return;
    std::erase(it->second, option);
    if (it->second.empty()) m_optionGroups.erase(it);
}

void CPaintManagerUI::Invalidate() {
    Invalidate(UiRect{0, 0, m_szClient.cx, m_szClient.cy});
}

void CPaintManagerUI::Invalidate(const UiRect& rc) {
    UiRect clipped;
    if (!clipped.Intersect(rc, UiRect{0, 0, m_szClient.cx, m_szClient.cy})) {
        if (!m_bUpdateNeeded) return;
    }
    m_rcDirty.Union(clipped);
    if (!m_bPaintPosted && m_hWnd != 0) {
        m_bPaintPosted = os::PostMessage(m_hWnd, os::WM_PAINT, 0, 0);
    }
}

void CPaintManagerUI::ResizeSurface(int cx, int cy) {
    cx = std::max(cx, 0);
    cy = std::max(cy, 0);
    if (m_surface != nullptr && m_szClient.cx == cx && m_szClient.cy == cy) return;
    if (m_layout != nullptr) g_object_unref(m_layout);
    if (m_cr != nullptr) cairo_destroy(m_cr);
    if (m_surface != nullptr) cairo_surface_destroy(m_surface);
    m_szClient = {cx, cy};
    m_surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(cx, 1), std::max(cy, 1));
    m_cr = cairo_create(m_surface);
    m_layout = pango_cairo_create_layout(m_cr);
    NeedUpdate();
}

void CPaintManagerUI::Paint() {
    m_bPaintPosted = false;
    if (m_surface == nullptr) ResizeSurface(m_szClient.cx, m_szClient.cy);
    if (m_pRoot == nullptr) {
        m_rcDirty = UiRect{};
        return;
    }
    // Layout first; "windowinit" and "windowsize" handlers may change the tree, so lay out
    // again until it is stable (bounded, in case a handler keeps asking).
    for (int pass = 0; pass < 4 && m_bUpdateNeeded; ++pass) {
        m_bUpdateNeeded = false;
        if (m_bFullLayout || m_pRoot->IsUpdateNeeded() || m_bFirstLayout) {
            m_bFullLayout = false;
            UiRect client{0, 0, m_szClient.cx, m_szClient.cy};
            if (m_pRoot->IsFloat()) {
                UiSize xy = m_pRoot->GetFixedXY();
                client = UiRect{xy.cx, xy.cy, xy.cx + m_pRoot->GetFixedWidth(),
                                xy.cy + m_pRoot->GetFixedHeight()};
            }
            m_pRoot->SetPos(client, false);
            m_rcDirty = UiRect{0, 0, m_szClient.cx, m_szClient.cy};
        } else {
            // Only the controls that asked are arranged again, each within its own rectangle,
            // parents before children (a parent's pass places its children anew).
            std::vector<CControlUI*> found;
            m_pRoot->FindControl(CollectUpdate, &found, UIFIND_VISIBLE | UIFIND_ME_FIRST);
            for (CControlUI* c : found) {
                if (c->IsUpdateNeeded()) c->SetPos(c->GetPos(), true);
            }
        }
        if (m_bFirstLayout) {
            m_bFirstLayout = false;
            m_bSizeChanged = false;
            SendNotify(m_pRoot, DUI_MSGTYPE_WINDOWINIT);
        } else if (m_bSizeChanged) {
            m_bSizeChanged = false;
            SendNotify(m_pRoot, DUI_MSGTYPE_WINDOWSIZE);
        }
        if (m_pRoot == nullptr) return;
    }
    UiRect dirty = m_rcDirty;
    m_rcDirty = UiRect{};
    if (dirty.IsEmpty()) return;
    cairo_save(m_cr);
    cairo_rectangle(m_cr, dirty.left, dirty.top, dirty.GetWidth(), dirty.GetHeight());
    cairo_clip(m_cr);
    cairo_set_operator(m_cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(m_cr);
    cairo_set_operator(m_cr, CAIRO_OPERATOR_OVER);
    m_pRoot->DoPaint(m_cr, dirty);
    cairo_restore(m_cr);
    cairo_surface_flush(m_surface);
    ++m_paintCount;
    m_rcLastPaint = dirty;
    if (m_backend != nullptr) m_backend->Present(m_surface, dirty);
}

void CPaintManagerUI::SetHot(CControlUI* control, UiPoint pt) {
    if (control == m_pEventHover) return;
    TEventUI event;
    event.ptMouse = pt;
    event.dwTimestamp = static_cast<uint64_t>(os::MonotonicMs());
    if (m_pEventHover != nullptr) {
        event.Type = UIEVENT_MOUSELEAVE;
        event.pSender = m_pEventHover;
        CControlUI* old = m_pEventHover;
        m_pEventHover = nullptr;
        old->Event(event);
    }
    m_pEventHover = control;
    if (control != nullptr) {
        event.Type = UIEVENT_MOUSEENTER;
        event.pSender = control;
        control->Event(event);
        if (m_pEventHover != nullptr) {
            event.Type = UIEVENT_SETCURSOR;
            m_pEventHover->Event(event);
        }
    }
}

void CPaintManagerUI::DispatchMouse(CControlUI* target, int type, UiPoint pt, WPARAM wParam,
                                    uint16_t keys) {
    if (target == nullptr) return;
    TEventUI event;
    event.Type = type;
    event.pSender = target;
    event.ptMouse = pt;
    event.wParam = wParam;
    event.wKeyState = keys;
    event.dwTimestamp = static_cast<uint64_t>(os::MonotonicMs());
    target->Event(event);
}

bool CPaintManagerUI::MessageHandler(uint32_t msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    for (IMessageFilterUI* filter : std::vector<IMessageFilterUI*>(m_messageFilters)) {
        bool handled = false;
        LRESULT r = filter->MessageHandler(msg, wParam, lParam, handled);
        if (handled) {
            result = r;
            return true;
        }
    }
    switch (msg) {
        case os::WM_PAINT:
            Paint();
            return true;
        case os::WM_SIZE: {
            UiPoint sz = PointFromLParam(lParam);
            ResizeSurface(static_cast<uint16_t>(sz.x), static_cast<uint16_t>(sz.y));
            m_bSizeChanged = true;
            NeedUpdate();
            return false;
        }
        case os::WM_TIMER:
            return DeliverTimer(wParam);
        case os::WM_MOUSEMOVE: {
            UiPoint pt = PointFromLParam(lParam);
            m_ptLastMousePos = pt;
            CControlUI* hover = FindControl(pt);
            if (hover != nullptr && hover->GetManager() != this) hover = nullptr;
            SetHot(hover, pt);
            DispatchMouse(m_pEventClick != nullptr ? m_pEventClick : m_pEventHover,
                          UIEVENT_MOUSEMOVE, pt, 0, static_cast<uint16_t>(wParam));
            return true;
        }
        case os::WM_MOUSELEAVE:
            SetHot(nullptr, m_ptLastMousePos);
            return false;
        case os::WM_LBUTTONDOWN:
        case os::WM_LBUTTONDBLCLK: {
            UiPoint pt = PointFromLParam(lParam);
            m_ptLastMousePos = pt;
            CControlUI* control = FindControl(pt);
            if (control == nullptr || control->GetManager() != this) return false;
            m_pEventClick = control;
            control->SetFocus();
            SetCapture();
            if (m_pEventClick == nullptr) return true;  // the focus change removed it
            DispatchMouse(control,
                          msg == os::WM_LBUTTONDOWN ? UIEVENT_BUTTONDOWN : UIEVENT_DBLCLICK, pt, 0,
                          static_cast<uint16_t>(wParam));
            return true;
        }
        case os::WM_LBUTTONUP: {
            UiPoint pt = PointFromLParam(lParam);
            m_ptLastMousePos = pt;
            ReleaseCapture();
            CControlUI* control = m_pEventClick;
            m_pEventClick = nullptr;
            if (control == nullptr) return false;
            DispatchMouse(control, UIEVENT_BUTTONUP, pt, 0, static_cast<uint16_t>(wParam));
            return true;
        }
        case os::WM_RBUTTONDOWN: {
            UiPoint pt = PointFromLParam(lParam);
            m_ptLastMousePos = pt;
            CControlUI* control = FindControl(pt);
            if (control == nullptr || control->GetManager() != this) return false;
            control->SetFocus();
            DispatchMouse(control, UIEVENT_RBUTTONDOWN, pt, 0, static_cast<uint16_t>(wParam));
            return true;
        }
        case os::WM_RBUTTONUP: {
            UiPoint pt = PointFromLParam(lParam);
            m_ptLastMousePos = pt;
            CControlUI* control = FindControl(pt);
            if (control == nullptr || control->GetManager() != this) return false;
            DispatchMouse(control, UIEVENT_RBUTTONUP, pt, 0, static_cast<uint16_t>(wParam));
            // The context-menu request follows the release, as on the desktop.
            if (FindControl(pt) == control) {
                DispatchMouse(control, UIEVENT_CONTEXTMENU, pt, 0, static_cast<uint16_t>(wParam));
            }
            return true;
        }
        case os::WM_MOUSEWHEEL: {
            UiPoint pt = PointFromLParam(lParam);
            m_ptLastMousePos = pt;
            CControlUI* control = FindControl(pt);
            if (control == nullptr || control->GetManager() != this) return false;
            auto delta = static_cast<int16_t>((wParam >> 16) & 0xFFFF);
            TEventUI event;
            event.Type = UIEVENT_SCROLLWHEEL;
            event.pSender = control;
            event.ptMouse = pt;
            event.wParam = delta > 0 ? 0 : 1;
            event.lParam = delta;
            event.wKeyState = static_cast<uint16_t>(wParam & 0xFFFF);
            event.dwTimestamp = static_cast<uint64_t>(os::MonotonicMs());
            control->Event(event);
            return true;
        }
        case os::WM_KEYDOWN:
        case os::WM_KEYUP:
        case os::WM_CHAR: {
            if (m_pFocus == nullptr) return false;
            TEventUI event;
            event.Type = msg == os::WM_KEYDOWN ? UIEVENT_KEYDOWN
                         : msg == os::WM_KEYUP ? UIEVENT_KEYUP
                                               : UIEVENT_CHAR;
            event.pSender = m_pFocus;
            event.chKey = static_cast<uint32_t>(wParam);
            event.ptMouse = m_ptLastMousePos;
            event.lParam = lParam;
            event.dwTimestamp = static_cast<uint64_t>(os::MonotonicMs());
            m_pFocus->Event(event);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace toolkit
