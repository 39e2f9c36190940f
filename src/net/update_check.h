#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "net/update_query.h"
#include "net/update_settings.h"
#include "net/update_table.h"
#include "os/event.h"
#include "os/messages.h"
#include "os/worker_thread.h"

namespace net {

// The update check of one opening of the settings window: one query per row on a thread of its
// own. The thread touches no window: it keeps each answer here and posts kMsgRowDone (wParam
// the row's index) to the window, then kMsgCheckDone; the window reads the answers on its own
// thread.
class UpdateCheck {
  public:
    static constexpr uint32_t kMsgRowDone = os::WM_USER + 0x231;
    static constexpr uint32_t kMsgCheckDone = os::WM_USER + 0x232;
    // How long Stop waits for the thread before letting it go.
    static constexpr int kStopWaitMs = 500;

    UpdateCheck() = default;
    ~UpdateCheck();  // stops the thread
    UpdateCheck(const UpdateCheck&) = delete;
    UpdateCheck& operator=(const UpdateCheck&) = delete;

    // Starts the thread for rows; false when one runs already or it cannot start.
    bool Start(os::HWND window, std::vector<UpdateRow> rows, UpdateServerConfig server);
    // Ends the request under way and waits up to kStopWaitMs for the thread.
    void Stop();
    bool Running() const;

    // The answer of row index once the thread has it (after kMsgRowDone).
    std::optional<UpdateInfo> Result(size_t index) const;
    // Rows whose request could not be sent at all.
    int FailedConnections() const;

    // What the thread makes of one query's answer: no connection and no reply count as "up to
    // date" without a new version, so only a reply that names a file reports an update; the
    // name becomes the row's list label and the local file is the download place in the
    // temporary folder. Returns whether the request could not be sent.
    static bool Settle(const UpdateRow& row, UpdateInfo& info);
    // The text shown as a row's current version in the list: "V%04x" for a hexadecimal row,
    // the display version for a decimal one.
    static std::string ListedVersionText(const UpdateRow& row);

  private:
    struct Shared {
        os::Event abort;
        mutable std::mutex mutex;
        std::vector<std::optional<UpdateInfo>> results;
        int failed = 0;
    };
    std::shared_ptr<Shared> shared_;
    os::WorkerThread thread_;
};

}  // namespace net
