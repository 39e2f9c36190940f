#include "toolkit/skin_changed_observer.h"

#include <algorithm>

namespace toolkit {

CSkinChangedObserver& CSkinChangedObserver::GetInstance() {
    static CSkinChangedObserver instance;
    return instance;
}

void CSkinChangedObserver::AddReceiver(ReceiverImpl<SkinChangedParam>* receiver) {
    if (receiver == nullptr) return;
    if (std::find(m_receivers.begin(), m_receivers.end(), receiver) == m_receivers.end())
        m_receivers.push_back(receiver);
}

void CSkinChangedObserver::RemoveReceiver(ReceiverImpl<SkinChangedParam>* receiver) {
    std::erase(m_receivers, receiver);
}

int CSkinChangedObserver::Broadcast(const SkinChangedParam& param) {
    int taken = 0;
    // A copy: receivers may subscribe or unsubscribe while they are told.
    for (auto* r : std::vector<ReceiverImpl<SkinChangedParam>*>(m_receivers)) {
        if (std::find(m_receivers.begin(), m_receivers.end(), r) == m_receivers.end()) continue;
        if (r->Receive(param)) ++taken;
    }
    return taken;
}

}  // namespace toolkit
