#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace toolkit {

// What a skin change carries: either a background colour or a background picture.
struct SkinChangedParam {
    bool bColor = false;
    uint32_t bkcolor = 0;
    std::string bgimage;
};

// A window that wants to hear of skin changes. Receive returns false when it did nothing.
template <class Param>
class ReceiverImpl {
  public:
    virtual ~ReceiverImpl() = default;
    virtual bool Receive(Param param) = 0;
};

// The process-wide list of windows subscribed to skin changes, told in the order they subscribed.
// UI thread only.
class CSkinChangedObserver {
  public:
    static CSkinChangedObserver& GetInstance();

    void AddReceiver(ReceiverImpl<SkinChangedParam>* receiver);
    void RemoveReceiver(ReceiverImpl<SkinChangedParam>* receiver);
    // Returns how many receivers took the change. A receiver may unsubscribe while it is told.
    int Broadcast(const SkinChangedParam& param);

  private:
    std::vector<ReceiverImpl<SkinChangedParam>*> m_receivers;
};

}  // namespace toolkit
