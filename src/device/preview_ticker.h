#pragma once

#include <condition_variable>
#include <cstdint>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

namespace device {

// Something the preview ticker runs turns of: a device's lighting preview.
class PreviewClient {
  public:
    static constexpr int64_t kNever = std::numeric_limits<int64_t>::max();

    virtual ~PreviewClient() = default;
    // Runs what is due at nowMs (woken: Wake was called since the last turn) and returns the
    // time of the next turn, or kNever to sleep until the next Wake. Runs on the ticker's thread.
    virtual int64_t PreviewTurn(int64_t nowMs, bool woken) = 0;
};

// One thread for the lighting previews of every device. Each client keeps its own pace: the
// ticker sleeps until the earliest turn any client asked for and runs every client whose turn
// has come, so devices that step together wake the thread once instead of once each. The thread
// runs while there are clients.
class PreviewTicker {
  public:
    PreviewTicker() = default;
    ~PreviewTicker();
    PreviewTicker(const PreviewTicker&) = delete;
    PreviewTicker& operator=(const PreviewTicker&) = delete;

    // The ticker the devices share.
    static PreviewTicker& Shared();

    // The first turn comes at firstTurnMs (monotonic milliseconds). Adding a client twice keeps
    // one entry with the new time.
    void Add(PreviewClient* client, int64_t firstTurnMs);
    // Once this returns, no turn of the client runs or will run (a turn under way is waited for).
    // Must not be called from a turn.
    void Remove(PreviewClient* client);
    // The client's next turn comes at once, told that it was woken. Any thread; a client that is
    // not added is ignored.
    void Wake(PreviewClient* client);
    bool Has(const PreviewClient* client) const;
    // Whether the thread runs (for tests).
    bool Running() const;

  private:
    struct Entry {
        PreviewClient* client;
        int64_t due;
        bool woken;
    };
    void Run();
    Entry* Find(const PreviewClient* client);

    // Serialises starting and ending the thread.
    std::mutex lifeLock_;
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::condition_variable turnDone_;
    std::vector<Entry> entries_;
    std::vector<PreviewClient*> due_;  // the ticker thread's own list of the turns it runs
    PreviewClient* serving_ = nullptr;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace device
