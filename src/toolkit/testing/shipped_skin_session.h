#pragma once

// Test helper: the program's own skin as the build lays it out (BRASVIK_BINARY_DIR/skin), with a
// UI thread loop and virtual timers, for tests that open windows on the shipped skin files.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "os/message_loop.h"
#include "toolkit/backend/headless_backend.h"
#include "toolkit/driver_window.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/resource_manager.h"
#include "toolkit/test_driver.h"
#include "toolkit/timer_service.h"

namespace toolkit::testing {

class ShippedSkinSession {
  public:
    // From the test's SetUp.
    void Begin() {
        skin = std::filesystem::path(BRASVIK_BINARY_DIR) / "skin";
        ASSERT_TRUE(std::filesystem::is_directory(skin)) << skin;
        loop_ = std::make_unique<os::MessageLoop>();
        TimerService::SetVirtual(true);
        CPaintManagerUI::SetResourcePath(skin.string() + "/");
        CPaintManagerUI::RemoveAllImages();
        CResourceManager::GetInstance().Release();
        ASSERT_TRUE(CResourceManager::GetInstance().LoadResource("res.xml"));
        HeadlessBackend::SetScreenSize(1920, 1080);
    }

    // From the test's TearDown: the driver and the window go first.
    void End(std::unique_ptr<UiTestDriver>& driver, std::unique_ptr<DriverWindow>& window) {
        driver.reset();
        if (window && window->GetHWND() != 0) window->DestroyWindow();
        window.reset();
        CPaintManagerUI::RemoveAllImages();
        CResourceManager::GetInstance().Release();
        TimerService::SetVirtual(false);
        loop_.reset();
    }

    std::filesystem::path skin;

  private:
    std::unique_ptr<os::MessageLoop> loop_;
};

}  // namespace toolkit::testing
