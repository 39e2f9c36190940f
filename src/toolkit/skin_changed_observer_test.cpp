#include "toolkit/skin_changed_observer.h"

#include <gtest/gtest.h>

namespace toolkit {
namespace {

struct Receiver : ReceiverImpl<SkinChangedParam> {
    bool Receive(SkinChangedParam p) override {
        got.push_back(p.bColor ? std::to_string(p.bkcolor) : p.bgimage);
        if (leaveOnReceive) CSkinChangedObserver::GetInstance().RemoveReceiver(other);
        return take;
    }
    std::vector<std::string> got;
    bool take = true;
    bool leaveOnReceive = false;
    Receiver* other = nullptr;
};

TEST(SkinChangedObserver, TellsEverySubscriberOnceEvenWhenOneUnsubscribesAnother) {
    auto& obs = CSkinChangedObserver::GetInstance();
    Receiver a;
    Receiver b;
    Receiver c;
    c.take = false;
    obs.AddReceiver(&a);
    obs.AddReceiver(&a);  // twice is once
    obs.AddReceiver(&b);
    obs.AddReceiver(&c);
    a.leaveOnReceive = true;
    a.other = &b;  // a unsubscribes b before b is told
    EXPECT_EQ(obs.Broadcast(SkinChangedParam{false, 0, "skin/bg2.png"}), 1);
    EXPECT_EQ(a.got, std::vector<std::string>{"skin/bg2.png"});
    EXPECT_TRUE(b.got.empty());
    EXPECT_EQ(c.got.size(), 1u);
    a.leaveOnReceive = false;
    EXPECT_EQ(obs.Broadcast(SkinChangedParam{true, 0xFF112233, ""}), 1);
    EXPECT_EQ(a.got.back(), std::to_string(0xFF112233u));
    obs.RemoveReceiver(&a);
    obs.RemoveReceiver(&c);
    EXPECT_EQ(obs.Broadcast(SkinChangedParam{}), 0);
}

}  // namespace
}  // namespace toolkit
