#pragma once

// Test support: a fixture for tests that talk to interfaces on the virtual HID bus. Each test gets
// private user folders (the old $XDG_DATA_HOME and $XDG_CONFIG_HOME restored afterwards) with the
// program's user data folder in them, and the virtual backend; whatever it plugs through Plug is
// unplugged again at the end.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "os/folders.h"
#include "os/hid/hid_platform.h"
#include "os/hid/virtual_bus.h"
#include "os/testing/temp_user_folders.h"

namespace os::testing {

class VirtualDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UserDataFolder(true);
        hid::SelectBackends(hid::kBackendVirtual);
    }
    void TearDown() override {
        for (uint32_t id : plugged_) hid::VirtualBus::Instance().Unplug(id);
        plugged_.clear();
    }

    // Plugs an interface in; its id, or 0 with *error saying why.
    uint32_t Plug(const hid::VirtualInterfaceConfig& config,
                  std::shared_ptr<hid::VirtualDeviceHandler> handler,
                  std::string* error = nullptr) {
        const uint32_t id = hid::VirtualBus::Instance().Plug(config, std::move(handler), error);
        if (id != 0) plugged_.push_back(id);
        return id;
    }

    // The path of a plugged interface's first collection; empty for an unknown id.
    static std::string FirstPath(uint32_t id) {
        const std::vector<std::string> paths = hid::VirtualBus::Instance().Paths(id);
        return paths.empty() ? std::string() : paths.front();
    }

    // What $XDG_DATA_HOME names, without a trailing '/'.
    std::string DataHome() const { return folders_.path() + "/data"; }

  private:
    TempUserFolders folders_;
    std::vector<uint32_t> plugged_;
};

}  // namespace os::testing
