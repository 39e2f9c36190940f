#include "sim/demo_store.h"

#include <chrono>
#include <cstdio>

#include "os/atomic_file.h"
#include "os/debug_output.h"
#include "os/folders.h"

namespace sim {

namespace {
// How long the store lets a burst of writes settle before it saves.
constexpr auto kSettle = std::chrono::milliseconds(300);
}  // namespace

DemoStore::DemoStore(std::string folder) : folder_(std::move(folder)) {
    thread_ = std::thread([this] { Run(); });
}

DemoStore::~DemoStore() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
    }
    shared_->wake.notify_all();
    thread_.join();
    for (const auto& f : watched_)
        if (f) f->SetChangeListener(nullptr);
    SavePending();
}

std::string DemoStore::PathOf(Kind kind) const {
    return folder_ + "/" + LayoutOf(kind).name + ".bin";
}

void DemoStore::Watch(std::shared_ptr<Firmware> firmware) {
    const Kind kind = firmware->kind();
    const std::string path = PathOf(kind);
    std::string image;
    if (os::PathExists(path)) {
        std::string why;
        if (!os::ReadWholeFile(path, image)) {
            os::DebugOutput("demo: cannot read " + path + "\n");
        } else if (!firmware->LoadImage(image, &why)) {
            // Keep the damaged file for whoever wants to look at it; the device starts from its
            // factory memory and the next save writes a good file.
            os::DebugOutput("demo: " + path + ": " + why + "; starting from factory memory\n");
            std::fprintf(stderr, "brasvik-m402: demo memory %s is damaged (%s); kept as .bad\n",
                         path.c_str(), why.c_str());
            std::rename(path.c_str(), (path + ".bad").c_str());
        }
    }
    {
        std::lock_guard lock(shared_->mutex);
        watched_[static_cast<size_t>(kind)] = firmware;
    }
    std::weak_ptr<Shared> weak = shared_;
    firmware->SetChangeListener([weak, kind] {
        auto shared = weak.lock();
        if (!shared) return;
        {
            std::lock_guard lock(shared->mutex);
            shared->dirty[static_cast<size_t>(kind)] = true;
        }
        shared->wake.notify_all();
    });
}

void DemoStore::Run() {
    Shared& s = *shared_;
    std::unique_lock lock(s.mutex);
    for (;;) {
        s.wake.wait(lock, [&] {
            if (s.stopping) return true;
            for (bool d : s.dirty)
                if (d) return true;
            return false;
        });
        if (s.stopping) return;
        s.wake.wait_for(lock, kSettle, [&] { return s.stopping; });
        if (s.stopping) return;
        lock.unlock();
        SavePending();
        lock.lock();
    }
}

void DemoStore::Flush() {
    SavePending();
}

void DemoStore::SavePending() {
    std::lock_guard saving(saveMutex_);
    std::array<std::shared_ptr<Firmware>, kKindCount> toSave;
    {
        std::lock_guard lock(shared_->mutex);
        for (size_t i = 0; i < kKindCount; ++i)
            if (shared_->dirty[i]) {
                toSave[i] = watched_[i];
                shared_->dirty[i] = false;
            }
    }
    for (const auto& f : toSave) {
        if (!f) continue;
        std::string why;
        if (!os::CreateDirectories(folder_) ||
            !os::WriteFileAtomically(PathOf(f->kind()), f->SaveImage(), &why))
            os::DebugOutput("demo: cannot save " + PathOf(f->kind()) + ": " + why + "\n");
    }
}

}  // namespace sim
