#include "toolkit/control_factory.h"

#include "toolkit/ui_types.h"

namespace toolkit {

CControlFactory& CControlFactory::GetInstance() {
    static CControlFactory instance;
    return instance;
}

void CControlFactory::RegistControl(const std::string& className, Creator creator) {
    m_creators[ToLowerAscii(className)] = std::move(creator);
}

CControlUI* CControlFactory::CreateControl(const std::string& className) const {
    auto it = m_creators.find(ToLowerAscii(className));
    if (it == m_creators.end() || !it->second) return nullptr;
    return it->second();
}

void CControlFactory::UnregistControl(const std::string& className) {
    m_creators.erase(ToLowerAscii(className));
}

}  // namespace toolkit
