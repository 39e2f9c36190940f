#pragma once

#include <string>

#include "toolkit/ui_types.h"

namespace pugi {
class xml_node;
}

namespace toolkit {

class CControlUI;
class CPaintManagerUI;

// Builds a control tree from a skin file.
//
// The skin is either a file name under the resource folder, a resource name of the resource
// index ("XML_MAIN"), or XML text itself (starting with '<'). The document element is usually
// <Window size="800,572" caption="0,0,0,30" mininfo=".." maxinfo=".." roundcorner=".."
// sizebox=".."> holding, before the controls:
//   <Font id="0" name="Noto Sans" size="14" bold="true" underline="false" italic="false"
//         shared="true" default="false"/>
//   <Default name="Button" value='textcolor="#FF000000" font="1"'/>   (per-class defaults)
//   <Style name="title" value='font="3" textcolor="#FFFFFFFF"'/>       (used as style="title")
// and then one root control. <Include source="other.xml"/> anywhere builds that file's root in
// its place. Classes are looked up first among the toolkit's own, then through the callback, then
// in the global control factory.
//
// An unknown class, a bad attribute value or a malformed file make Create return nullptr with
// GetLastError naming the file and the element; nothing half-built is left behind.
class CDialogBuilder {
  public:
    CControlUI* Create(const std::string& skin, const std::string& type = "",
                       IDialogBuilderCallback* callback = nullptr,
                       CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    const std::string& GetLastError() const { return m_lastError; }

    // The controls the toolkit itself provides, by skin class name; nullptr for others.
    static CControlUI* CreateBuiltin(const std::string& className);

  private:
    CControlUI* Parse(const pugi::xml_node& node, CControlUI* parent, CPaintManagerUI* manager,
                      const std::string& file, int depth);
    bool ApplyWindowAttributes(const pugi::xml_node& window, CPaintManagerUI* manager,
                               const std::string& file);
    bool ApplyResourceElement(const pugi::xml_node& node, CPaintManagerUI* manager,
                              const std::string& file);
    bool LoadDocument(const std::string& skin, void* doc, std::string& file);
    void Fail(const std::string& file, const pugi::xml_node& node, const std::string& what);

    IDialogBuilderCallback* m_callback = nullptr;
    std::string m_lastError;
};

}  // namespace toolkit
