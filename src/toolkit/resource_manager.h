#pragma once

#include <string>
#include <unordered_map>

#include "toolkit/ui_types.h"

namespace toolkit {

// The skin's resource index and the language texts.
//
// Resource index ("res.xml" in the resource folder): names of skin files and images,
//   <Res>
//     <Xml name="XML_MAIN" value="main.xml"/>
//     <Image name="IMG_LOGO" value="common\logo.png"/>
//   </Res>
//
// Language file (one text per id; loaded by file name from the resource folder):
//   <Language name="en">
//     <Text id="message_text_30">Delete this profile?</Text>
//     <Text id="keyboard_key_LCtrl" value="L-Ctrl"/>
//   </Language>
// A text is the element's "value" attribute when present, otherwise its content ("\n" in it is a
// line break). Controls with resource text on hold a text id and show the text of the current
// language; an id the file lacks goes to the text-query interface and otherwise shows as is.
class CResourceManager {
  public:
    static CResourceManager& GetInstance();

    // Loads the resource index; false (and a logged reason) when it is missing or malformed.
    bool LoadResource(const std::string& xml, const std::string& type = "");
    void Release();
    // The skin file a resource name stands for, or "" when the index does not know it.
    std::string GetXmlPath(const std::string& name) const;
    std::string GetImagePath(const std::string& name) const;

    void SetLanguage(const std::string& name) { m_language = name; }
    const std::string& GetLanguage() const { return m_language; }
    // Replaces the texts with those of the file; false (texts unchanged) when it cannot be read.
    bool LoadLanguage(const std::string& file);
    void ResetTextMap() { m_texts.clear(); }
    void AddText(const std::string& id, const std::string& text) { m_texts[id] = text; }
    // Redraws every window so that resource texts show the current language.
    void ReloadText();
    std::string GetText(const std::string& id, const std::string& type = "") const;
    void SetTextQueryInterface(IQueryControlText* query) { m_query = query; }

    const std::string& GetLastError() const { return m_lastError; }

  private:
    std::unordered_map<std::string, std::string> m_xmls;    // lower-case names
    std::unordered_map<std::string, std::string> m_images;  // lower-case names
    std::unordered_map<std::string, std::string> m_texts;
    std::string m_language;
    IQueryControlText* m_query = nullptr;
    std::string m_lastError;
};

}  // namespace toolkit
