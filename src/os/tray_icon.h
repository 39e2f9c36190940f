#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "os/message_loop.h"

namespace os {

// The program's icon in the desktop's notification area: a StatusNotifierItem on the user's
// session bus ("org.kde.StatusNotifierItem-<PID>-<N>", object "/StatusNotifierItem"), registered
// with the desktop's "org.kde.StatusNotifierWatcher" whenever one is present (also when it comes
// later). A left click arrives as Activate, a right click as ContextMenu, both with the pointer's
// screen position. Runs on the loop's thread.
class TrayIcon {
  public:
    struct Image {
        int width = 0;
        int height = 0;
        std::vector<uint32_t> argb;  // width x height pixels, 0xAARRGGBB, rows top to bottom
    };
    using Click = std::function<void(int x, int y)>;

    TrayIcon();
    ~TrayIcon();  // removes the icon
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Puts the icon up. False when there is no session bus. The icon shows once a watcher
    // registers it; Registered() tells.
    bool Create(MessageLoop& loop, const std::string& id, const std::string& title,
                const std::string& toolTip, const Image& icon, Click onActivate,
                Click onContextMenu);
    void Remove();
    void SetToolTip(const std::string& toolTip);

    bool Created() const;
    bool Registered() const;
    const std::string& serviceName() const;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace os
