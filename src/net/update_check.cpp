#include "net/update_check.h"

#include "net/http_client.h"
#include "os/debug_output.h"
#include "os/folders.h"
#include "os/message_loop.h"

namespace net {

UpdateCheck::~UpdateCheck() {
    Stop();
}

std::string UpdateCheck::ListedVersionText(const UpdateRow& row) {
    return row.IsHexadecimal() ? CurrentVersionText(row) : row.displayVersion;
}

bool UpdateCheck::Settle(const UpdateRow& row, UpdateInfo& info) {
    bool failed = false;
    if (info.name == kNoLinkServer) {
        failed = true;
        info.name.clear();
    }
    if (info.name.empty()) {
        info.status = kUpdateStatusUpToDate;
        info.newVersionText.clear();
        info.currentVersionText = ListedVersionText(row);
    }
    info.name = row.listLabel;
    // The file name comes from the table, never from the reply.
    const std::string folder = os::TempFolder() + "UpdateData/";
    if (!os::IsDirectory(folder)) os::CreateDirectories(folder);
    info.localFile = folder + info.name + ".exe";
    return failed;
}

bool UpdateCheck::Start(os::HWND window, std::vector<UpdateRow> rows, UpdateServerConfig server) {
    if (Running()) return false;
    if (thread_.HasThread()) thread_.Join(0);
    auto shared = std::make_shared<Shared>();
    shared->results.resize(rows.size());
    shared_ = shared;
    if (server.host.empty())
        os::DebugOutput("update: no update server configured; nothing is asked\n");
    return thread_.Start([shared, window, rows = std::move(rows), server = std::move(server)] {
        for (size_t i = 0; i < rows.size(); ++i) {
            if (shared->abort.IsSet()) return;
            UpdateInfo info = QueryUpdate(rows[i], server.host, server.caFile, &shared->abort);
            if (shared->abort.IsSet()) return;
            const bool failed = Settle(rows[i], info);
            {
                std::lock_guard<std::mutex> lock(shared->mutex);
                shared->results[i] = std::move(info);
                if (failed) ++shared->failed;
            }
            os::PostMessage(window, kMsgRowDone, i, 0);
        }
        os::PostMessage(window, kMsgCheckDone, 0, 0);
    });
}

void UpdateCheck::Stop() {
    if (!thread_.HasThread()) return;
    shared_->abort.Set();
    if (thread_.Join(kStopWaitMs) == os::kWaitTimeout) {
        os::DebugOutput("update: the check did not end in time and is left to finish\n");
        thread_.Abandon();
    }
}

bool UpdateCheck::Running() const {
    return thread_.HasThread() && !thread_.Finished();
}

std::optional<UpdateInfo> UpdateCheck::Result(size_t index) const {
    if (!shared_) return std::nullopt;
    std::lock_guard<std::mutex> lock(shared_->mutex);
    if (index >= shared_->results.size()) return std::nullopt;
    return shared_->results[index];
}

int UpdateCheck::FailedConnections() const {
    if (!shared_) return 0;
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->failed;
}

}  // namespace net
