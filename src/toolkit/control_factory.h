#pragma once

#include <functional>
#include <string>
#include <unordered_map>

namespace toolkit {

class CControlUI;

// The process-wide table of control classes the skin builder can create besides its own:
// the program registers its custom controls here under their class names.
class CControlFactory {
  public:
    using Creator = std::function<CControlUI*()>;

    static CControlFactory& GetInstance();

    // Names are compared without regard to case; a second registration replaces the first.
    void RegistControl(const std::string& className, Creator creator);
    // nullptr when the class is not registered (or its creator gives nothing).
    CControlUI* CreateControl(const std::string& className) const;
    void UnregistControl(const std::string& className);

  private:
    std::unordered_map<std::string, Creator> m_creators;  // lower-case names
};

}  // namespace toolkit
