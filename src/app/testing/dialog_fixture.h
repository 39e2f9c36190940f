#pragma once

// Test fixture for the program's dialogs: a UI thread loop, the shipped skin of the build tree,
// a temporary user data folder, the headless screen, and an owner window standing in for the
// main window (with "root" and "skinbtn").

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "os/message_loop.h"
#include "toolkit/driver_window.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/resource_manager.h"
#include "toolkit/test_driver.h"
#include "toolkit/testing/skin_fixture.h"

namespace app::testing {

inline constexpr const char* kOwnerSkin = R"(<Window size="800,572">
  <VerticalLayout name="root" bkcolor="#FF101010">
    <HorizontalLayout height="40">
      <Control/>
      <Button name="skinbtn" width="30" height="30" padding="0,5,0,0"/>
      <Control width="90"/>
    </HorizontalLayout>
    <Control/>
  </VerticalLayout>
</Window>)";

class DialogFixture : public toolkit::testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
        const std::string skin = std::string(BRASVIK_BINARY_DIR) + "/skin/";
        toolkit::CPaintManagerUI::SetResourcePath(skin);
        auto& resources = toolkit::CResourceManager::GetInstance();
        // The shipped index when the build tree has one; the dialogs' own entry otherwise.
        if (!std::filesystem::exists(skin + "res.xml") || !resources.LoadResource("res.xml")) {
            WriteFile("res.xml", R"(<Res><Xml name="XML_MSG" value="msgwnd.xml"/></Res>)");
            ASSERT_TRUE(resources.LoadResource(dir_ + "/res.xml"));
        }
        owner_ = std::make_unique<toolkit::DriverWindow>(kOwnerSkin, "MainWnd");
        ASSERT_NE(owner_->Create(0, "Brasvik M402", toolkit::UI_WNDSTYLE_FRAME, 0), 0u);
        owner_->MoveWindow(toolkit::UiRect{100, 100, 900, 672});
        ownerDriver_ = std::make_unique<toolkit::UiTestDriver>(*owner_, owner_->GetPaintManager());
        ownerDriver_->Render();
    }

    void TearDown() override {
        ownerDriver_.reset();
        if (owner_ && owner_->GetHWND() != 0) owner_->DestroyWindow();
        owner_.reset();
        unsetenv("XDG_DATA_HOME");
        SkinFixture::TearDown();
    }

    std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Runs fn once the dialog about to run is shown (inside its modal loop). Should fn leave the
    // window open, the window is closed after it with code 77 so that a failing check cannot
    // hang the test.
    template <class Window>
    void WhenShown(std::function<void(Window&, toolkit::UiTestDriver&)> fn, int turns = 100000) {
        os::MessageLoop::Current()->PostTask([this, fn, turns] {
            Window* w = Window::Current();
            if (w == nullptr) {
                // Not yet: the desktop's chooser may be asked first.
                if (turns > 0)
                    WhenShown<Window>(fn, turns - 1);
                else
                    ADD_FAILURE() << "no window shown";
                return;
            }
            const toolkit::HWND hwnd = w->GetHWND();
            toolkit::UiTestDriver d(*w, w->GetPaintManager());
            d.Render();
            fn(*w, d);
            os::PostMessage(hwnd, os::WM_CLOSE, 77, 0);
        });
    }

    toolkit::HWND owner() const { return owner_->GetHWND(); }
    toolkit::CPaintManagerUI& ownerPm() { return owner_->GetPaintManager(); }

    std::unique_ptr<toolkit::DriverWindow> owner_;
    std::unique_ptr<toolkit::UiTestDriver> ownerDriver_;
};

}  // namespace app::testing
