#pragma once

// Test fixture: a UI thread loop, virtual timers, a temporary resource folder to write skins and
// pictures into, and a window opened on one of them with a driver.

#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "os/message_loop.h"
#include "toolkit/backend/headless_backend.h"
#include "toolkit/driver_window.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/resource_manager.h"
#include "toolkit/test_driver.h"
#include "toolkit/timer_service.h"

namespace toolkit::testing {

class SkinFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/toolkit_test_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        loop_ = std::make_unique<os::MessageLoop>();
        TimerService::SetVirtual(true);
        CPaintManagerUI::SetResourcePath(dir_ + "/");
        CPaintManagerUI::RemoveAllImages();
        CResourceManager::GetInstance().Release();
        HeadlessBackend::SetScreenSize(1920, 1080);
    }

    void TearDown() override {
        driver_.reset();
        if (window_ && window_->GetHWND() != 0) window_->DestroyWindow();
        window_.reset();
        CPaintManagerUI::RemoveAllImages();
        CResourceManager::GetInstance().Release();
        TimerService::SetVirtual(false);
        loop_.reset();
        std::filesystem::remove_all(dir_);
    }

    void WriteFile(const std::string& name, const std::string& content) {
        std::filesystem::path p = std::filesystem::path(dir_) / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
    }

    // A w x h picture filled with one colour (0xAARRGGBB), optionally with a centre block in
    // another colour.
    void WritePng(const std::string& name, int w, int h, uint32_t argb, uint32_t centre = 0) {
        std::filesystem::path p = std::filesystem::path(dir_) / name;
        std::filesystem::create_directories(p.parent_path());
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
        cairo_t* cr = cairo_create(s);
        auto set = [cr](uint32_t c) {
            cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                                  (c & 0xFF) / 255.0, (c >> 24) / 255.0);
        };
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        set(argb);
        cairo_paint(cr);
        if (centre != 0) {
            set(centre);
            cairo_rectangle(cr, w / 4.0, h / 4.0, w / 2.0, h / 2.0);
            cairo_fill(cr);
        }
        cairo_destroy(cr);
        cairo_surface_write_to_png(s, p.c_str());
        cairo_surface_destroy(s);
    }

    // Creates a visible window from the skin; fails the test when it cannot be built.
    DriverWindow* Open(const std::string& skin, int dpi = 96) {
        window_ = std::make_unique<DriverWindow>(skin);
        if (window_->Create(0, "test", UI_WNDSTYLE_DIALOG | WS_VISIBLE, 0, 0, 0, 400, 300) == 0) {
            ADD_FAILURE() << "window not created: " << window_->GetBuildError();
            return nullptr;
        }
        if (dpi != 96) window_->GetPaintManager().SetDPI(dpi);
        driver_ = std::make_unique<UiTestDriver>(*window_, window_->GetPaintManager());
        driver_->Render();
        return window_.get();
    }

    CPaintManagerUI& pm() { return window_->GetPaintManager(); }
    UiTestDriver& driver() { return *driver_; }

    std::string dir_;
    std::unique_ptr<os::MessageLoop> loop_;
    std::unique_ptr<DriverWindow> window_;
    std::unique_ptr<UiTestDriver> driver_;
};

}  // namespace toolkit::testing
