#include "os/hid/fd_transfer.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "os/hid/hid_types.h"

namespace os::hid {
namespace {

// An eventfd two short of its limit polls writable but refuses (EAGAIN) every write of a value
// of 2 or more: a descriptor that keeps saying "ready" and "busy", as a hidraw node can.
class BusyDescriptor : public ::testing::Test {
  protected:
    void SetUp() override {
        fd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        ASSERT_GE(fd_, 0);
        const uint64_t nearlyFull = std::numeric_limits<uint64_t>::max() - 2;
        ASSERT_EQ(::write(fd_, &nearlyFull, sizeof nearlyFull), 8);
    }
    void TearDown() override {
        if (fd_ >= 0) ::close(fd_);
    }
    int fd_ = -1;
    Event closed_{true, false};
    const uint8_t report_[8] = {0x04, 0x11, 0x22};  // read as a counter value: far too large
};

TEST_F(BusyDescriptor, AWriteRefusedAsBusyEndsAtItsDeadline) {
    const int64_t start = MonotonicMs();
    EXPECT_EQ(WriteReport(fd_, report_, sizeof report_, start + 50, closed_, nullptr),
              kErrorTimeout);
}

TEST_F(BusyDescriptor, AbortAndCloseEndARefusedWriteWithoutADeadline) {
    Event abort(false, false);
    abort.Set();
    EXPECT_EQ(WriteReport(fd_, report_, sizeof report_, -1, closed_, &abort),
              kErrorOperationAborted);
    closed_.Set();
    EXPECT_EQ(WriteReport(fd_, report_, sizeof report_, -1, closed_, nullptr),
              kErrorOperationAborted);
}

TEST_F(BusyDescriptor, AWriteThatFitsGoesAtOnce) {
    uint8_t one[8] = {};
    one[0] = 1;  // value 1 still fits under the limit
    EXPECT_EQ(WriteReport(fd_, one, sizeof one, MonotonicMs() + 1000, closed_, nullptr),
              kErrorSuccess);
}

}  // namespace
}  // namespace os::hid
