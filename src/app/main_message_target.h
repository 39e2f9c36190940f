#pragma once

#include <string>

#include "app/worker_table.h"
#include "os/message_loop.h"
#include "os/session_bus.h"

namespace app {

// The message side of the main window: the wake-up of a second start, the worker slots and the
// shutdown order. It is the main window's handle for the device scan thread and the other
// programs. The window and its skin build on it.
class MainMessageTarget : public os::MessageTarget {
  public:
    explicit MainMessageTarget(os::SessionBus& bus);
    ~MainMessageTarget() override;

    // Registers the target with the calling thread's loop, stores its handle in the process-wide
    // globals and publishes it under class "MainWnd" and the title, so that a second start and
    // the companion programs find it.
    bool Create();
    os::HWND hwnd() const { return hwnd_; }

    // The window-initialisation steps that need no window: announce that this program controls
    // the lighting, create the user data folder and the worker slots.
    void WindowInit();

    // Destroys the target the way a window is destroyed: WM_DESTROY first, then unregistration.
    void Destroy();

    WorkerTable& workers() { return workers_; }
    bool shown() const { return shown_; }
    int wakeCount() const { return wakeCount_; }

    os::LRESULT HandleMessage(uint32_t msg, os::WPARAM wParam, os::LPARAM lParam) override;

  private:
    void OnTitleMessage(os::WPARAM wParam, os::LPARAM lParam);
    void OnDestroy();
    void TellAudioCompanionWeEnd();

    os::SessionBus& bus_;
    os::HWND hwnd_ = 0;
    WorkerTable workers_;
    bool shown_ = false;
    bool destroyed_ = false;
    int wakeCount_ = 0;
};

}  // namespace app
