// Repaint cost of a device-page-sized skin: about 300 controls at 1000 x 640 (and 1500 x 960 at
// 144 DPI), with pictures, nine-slice frames and texts, and the repaint of one key button.

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "toolkit/backend/headless_backend.h"
#include "toolkit/control_ui.h"
#include "toolkit/dialog_builder.h"
#include "toolkit/paint_manager_ui.h"

namespace {

using namespace toolkit;

void WritePng(const std::filesystem::path& p, int w, int h, double r, double g, double b,
              double a) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgba(cr, r, g, b, a);
    cairo_paint(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.5);
    cairo_rectangle(cr, 2, 2, w - 4, h - 4);
    cairo_stroke(cr);
    cairo_destroy(cr);
    cairo_surface_write_to_png(s, p.c_str());
    cairo_surface_destroy(s);
}

// 6 rows of 17 keys (102), a strip of 60 lights, a side panel of 28 rows with a label, an option
// and a slider each, title bar buttons, progress bars: about 300 controls.
std::string MakeSkin() {
    std::string x = R"(<Window size="1000,640">
<Font id="0" name="Noto Sans" size="14" default="true"/>
<Font id="1" name="Noto Sans" size="12"/>
<VerticalLayout name="root" bkimage="file='bg.png'">
<HorizontalLayout name="title" height="40" bkcolor="#FF202020" childpadding="4" inset="8,6,8,6">
)";
    for (int i = 0; i < 10; ++i) {
        x += "<Button name=\"title_" + std::to_string(i) +
             "\" width=\"28\" normalimage=\"btn.png\" hotimage=\"btn_hot.png\"/>\n";
    }
    x += "<Label text=\"Brasvik M402\" textcolor=\"#FFFFFFFF\"/></HorizontalLayout>\n";
    x += "<HorizontalLayout><VerticalLayout name=\"keyboard\" width=\"700\" inset=\"10,10,10,10\" "
         "childpadding=\"4\">\n";
    int key = 0;
    for (int row = 0; row < 6; ++row) {
        x += "<HorizontalLayout height=\"44\" childpadding=\"4\">\n";
        for (int col = 0; col < 17; ++col, ++key) {
            x += "<Button name=\"key_" + std::to_string(key) + "\" width=\"36\" text=\"K" +
                 std::to_string(key) +
                 "\" font=\"1\" textcolor=\"#FFEEEEEE\" "
                 "normalimage=\"file='key.png' corner='4,4,4,4'\" hotimage=\"key_hot.png\"/>\n";
        }
        x += "</HorizontalLayout>\n";
    }
    x += "<HorizontalLayout height=\"10\" childpadding=\"1\">\n";
    for (int i = 0; i < 60; ++i) {
        x += "<Control name=\"light_" + std::to_string(i) + "\" width=\"10\" bkcolor=\"#FF" +
             (i % 2 ? "FF4000" : "00C0FF") + "\" borderround=\"4,4\"/>\n";
    }
    x += "</HorizontalLayout>\n";
    x += "<Progress height=\"12\" forecolor=\"#FF30A0FF\" bkcolor=\"#FF404040\" value=\"40\"/>\n";
    x += "<Progress height=\"12\" foreimage=\"bar.png\" bkcolor=\"#FF404040\" value=\"70\"/>\n";
    x += "</VerticalLayout><VerticalLayout name=\"side\" inset=\"6,6,6,6\" childpadding=\"2\">\n";
    for (int i = 0; i < 28; ++i) {
        x += "<HorizontalLayout height=\"18\"><Label text=\"设置 Setting " + std::to_string(i) +
             "\" textcolor=\"#FFDDDDDD\" font=\"1\" width=\"120\"/>"
             "<Option name=\"opt_" +
             std::to_string(i) +
             "\" group=\"side\" width=\"20\" normalimage=\"opt.png\" selectedimage=\"opt_on.png\"/>"
             "<Slider name=\"sl_" +
             std::to_string(i) +
             "\" bkcolor=\"#FF303030\" forecolor=\"#FF30A0FF\" thumbimage=\"thumb.png\" "
             "thumbsize=\"10,16\" value=\"" +
             std::to_string(i * 5) + "\"/></HorizontalLayout>\n";
    }
    x += "</VerticalLayout></HorizontalLayout></VerticalLayout></Window>";
    return x;
}

struct Page {
    std::filesystem::path dir;
    HeadlessBackend backend;
    std::unique_ptr<CPaintManagerUI> pm;
    int controls = 0;

    explicit Page(int dpi) {
        dir =
            std::filesystem::temp_directory_path() / ("bench_toolkit_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        WritePng(dir / "bg.png", 500, 320, 0.1, 0.1, 0.12, 1);
        WritePng(dir / "btn.png", 28, 28, 0.3, 0.3, 0.3, 1);
        WritePng(dir / "btn_hot.png", 28, 28, 0.5, 0.5, 0.5, 1);
        WritePng(dir / "key.png", 36, 44, 0.2, 0.2, 0.25, 0.9);
        WritePng(dir / "key_hot.png", 36, 44, 0.3, 0.3, 0.4, 0.9);
        WritePng(dir / "bar.png", 100, 12, 0.2, 0.8, 0.2, 1);
        WritePng(dir / "opt.png", 20, 20, 0.4, 0.4, 0.4, 1);
        WritePng(dir / "opt_on.png", 20, 20, 0.2, 0.6, 1, 1);
        WritePng(dir / "thumb.png", 10, 16, 0.9, 0.9, 0.9, 1);
        std::ofstream(dir / "page.xml") << MakeSkin();
        CPaintManagerUI::SetResourcePath(dir.string() + "/");
        backend.Create(0, "bench", UiRect{0, 0, 1000, 640}, false);
        pm = std::make_unique<CPaintManagerUI>();
        pm->Init(0, &backend);
        CDialogBuilder builder;
        CControlUI* root = builder.Create("page.xml", "", nullptr, pm.get());
        if (root == nullptr) {
            fprintf(stderr, "%s\n", builder.GetLastError().c_str());
            abort();
        }
        pm->AttachDialog(root);
        root->FindControl(
            [](CControlUI*, void* n) -> CControlUI* {
                ++*static_cast<int*>(n);
                return nullptr;
            },
            &controls, UIFIND_ALL);
        if (dpi != 96) pm->SetDPI(dpi);
        pm->Paint();
    }
    ~Page() {
        pm.reset();
        CPaintManagerUI::RemoveAllImages();
        std::filesystem::remove_all(dir);
    }
};

void FullRepaint(benchmark::State& state, int dpi) {
    Page page(dpi);
    for (auto _ : state) {
        page.pm->Invalidate();
        page.pm->Paint();
    }
    state.counters["controls"] = page.controls;
    state.counters["width"] = page.pm->GetClientSize().cx;
    state.counters["height"] = page.pm->GetClientSize().cy;
}

void BM_FullRepaint96(benchmark::State& state) {
    FullRepaint(state, 96);
}
void BM_FullRepaint144(benchmark::State& state) {
    FullRepaint(state, 144);
}

void BM_KeyButtonRepaint(benchmark::State& state) {
    Page page(96);
    CControlUI* key = page.pm->FindControl("key_40");
    bool lit = false;
    for (auto _ : state) {
        // A key's live colour changes: only its rectangle is repainted.
        key->SetBkColor((lit = !lit) ? 0xFF00FF00u : 0xFF0000FFu);
        page.pm->Paint();
    }
}

BENCHMARK(BM_FullRepaint96)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRepaint144)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyButtonRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
