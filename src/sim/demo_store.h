#pragma once

#include <array>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "sim/firmware.h"

namespace sim {

// Keeps the memory of the demo devices in files "<kind>.bin" of one folder, so that what the
// program writes in one demo run is read back in the next. A change is saved a little later on
// the store's own thread (a macro download is many frames; the host should not wait for the
// disk after each), and at the latest when the store ends. Files are replaced atomically.
class DemoStore {
  public:
    explicit DemoStore(std::string folder);
    ~DemoStore();  // saves what is pending
    DemoStore(const DemoStore&) = delete;
    DemoStore& operator=(const DemoStore&) = delete;

    // Loads the device's file into its firmware (a missing file leaves the factory memory; a
    // damaged one is logged and kept aside as "<kind>.bin.bad") and saves its changes from now.
    void Watch(std::shared_ptr<Firmware> firmware);
    // Saves every pending change now.
    void Flush();

    std::string PathOf(Kind kind) const;

  private:
    void Run();
    void SavePending();

    // Shared with the change listeners, which a host call may still run after the store ends.
    struct Shared {
        std::mutex mutex;
        std::condition_variable wake;
        std::array<bool, kKindCount> dirty{};
        bool stopping = false;
    };

    const std::string folder_;
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    std::array<std::shared_ptr<Firmware>, kKindCount> watched_;  // guarded by shared_->mutex
    std::mutex saveMutex_;                                       // one save at a time
    std::thread thread_;
};

}  // namespace sim
