#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

#include "toolkit/ui_types.h"

namespace toolkit {

class CPaintManagerUI;

// A parsed image string: "file='a.png' dest='0,0,10,10' source='..' corner='..' mask='#FFFF00FF'
// fade='128' hole='true' xtiled='true' ytiled='true' hsl='true'", or a bare path.
struct TDrawInfo {
    std::string sImageName;
    std::string sResType;
    UiRect rcDest;
    bool bDestSet = false;
    UiRect rcSource;
    UiRect rcCorner;
    uint32_t dwMask = 0;
    int uFade = 255;
    bool bHole = false;
    bool bTiledX = false;
    bool bTiledY = false;
    bool bHSL = false;
};

// Drawing primitives on a Cairo context, in window pixels. Colours are 0xAARRGGBB.
class CRenderEngine {
  public:
    static bool ParseImageString(const std::string& image, TDrawInfo& out);

    static void DrawColor(cairo_t* cr, const UiRect& rc, uint32_t argb);
    static void DrawRect(cairo_t* cr, const UiRect& rc, int size, uint32_t argb);
    static void DrawRoundRect(cairo_t* cr, const UiRect& rc, int size, int width, int height,
                              uint32_t argb);
    static void DrawLine(cairo_t* cr, UiPoint from, UiPoint to, int size, uint32_t argb);
    static void SetRoundClip(cairo_t* cr, const UiRect& rc, int width, int height);

    // Text through Pango with the window's font id; style takes DT_* flags.
    static void DrawText(cairo_t* cr, CPaintManagerUI* manager, const UiRect& rc,
                         const std::string& text, uint32_t argb, int font, uint32_t style);
    // Size the text needs (width limited by maxWidth when > 0).
    static UiSize MeasureText(CPaintManagerUI* manager, const std::string& text, int font,
                              uint32_t style, int maxWidth);

    // Draws an image string over rcItem (dest offsets from its top-left corner, clipped to it).
    // With overlay set, the picture's shape is painted in overlayColor (0x00RRGGBB) at
    // overlayLevel (0..255) instead of its own colours: the lit look of a key.
    // modify is a second image string whose keys override those of image.
    static bool DrawImageString(cairo_t* cr, CPaintManagerUI* manager, const UiRect& rcItem,
                                const UiRect& rcPaint, const std::string& image,
                                const std::string& modify = "", uint32_t overlayColor = 0,
                                int overlayLevel = 255, bool overlay = false);
    static bool DrawImageInfo(cairo_t* cr, CPaintManagerUI* manager, const UiRect& rcItem,
                              const UiRect& rcPaint, const TDrawInfo& info,
                              uint32_t overlayColor = 0, int overlayLevel = 255,
                              bool overlay = false);
};

}  // namespace toolkit
