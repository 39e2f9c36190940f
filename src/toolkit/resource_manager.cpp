#include "toolkit/resource_manager.h"

#include <pugixml.hpp>

#include "os/atomic_file.h"
#include "os/debug_output.h"
#include "os/folders.h"
#include "toolkit/control_ui.h"
#include "toolkit/paint_manager_ui.h"

namespace toolkit {

namespace {

// A file name from the skin resolved under the resource folder; absolute names stay.
std::string ResolveSkinFile(const std::string& name) {
    std::string path = os::ResourcePath(name);
    if (!path.empty() && path.front() == '/') return path;
    return CPaintManagerUI::GetResourcePath() + path;
}

std::string TextOf(const pugi::xml_node& node) {
    if (pugi::xml_attribute value = node.attribute("value")) return value.value();
    std::string text = node.text().get();
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Reads the file whole before parsing it: pugixml sizes its buffer from the end of the file,
// which a folder (a language entry with no file name) gives as a huge number.
pugi::xml_parse_result LoadXmlFile(pugi::xml_document& doc, const std::string& path) {
    std::string text;
    if (!os::ReadWholeFile(path, text)) {
        pugi::xml_parse_result failed;
        failed.status = os::PathExists(path) ? pugi::status_io_error : pugi::status_file_not_found;
        return failed;
    }
    return doc.load_buffer(text.data(), text.size());
}

}  // namespace

CResourceManager& CResourceManager::GetInstance() {
    static CResourceManager instance;
    return instance;
}

bool CResourceManager::LoadResource(const std::string& xml, const std::string&) {
    std::string path = ResolveSkinFile(xml);
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = LoadXmlFile(doc, path);
    if (!parsed) {
        m_lastError = "resource index " + path + ": " + parsed.description() + " at offset " +
                      std::to_string(parsed.offset);
        os::DebugOutput("toolkit: " + m_lastError + "\n");
        return false;
    }
    pugi::xml_node root = doc.document_element();
    for (pugi::xml_node node : root.children()) {
        std::string name = node.attribute("name").value();
        std::string value = node.attribute("value").value();
        if (value.empty()) value = node.attribute("path").value();
        if (name.empty()) continue;
        if (EqualsNoCase(node.name(), "Xml")) {
            m_xmls[ToLowerAscii(name)] = value;
        } else if (EqualsNoCase(node.name(), "Image")) {
            m_images[ToLowerAscii(name)] = value;
        }
    }
    return true;
}

void CResourceManager::Release() {
    m_xmls.clear();
    m_images.clear();
    m_texts.clear();
    m_query = nullptr;
}

std::string CResourceManager::GetXmlPath(const std::string& name) const {
    auto it = m_xmls.find(ToLowerAscii(name));
    return it == m_xmls.end() ? std::string() : it->second;
}

std::string CResourceManager::GetImagePath(const std::string& name) const {
    auto it = m_images.find(ToLowerAscii(name));
    return it == m_images.end() ? std::string() : it->second;
}

bool CResourceManager::LoadLanguage(const std::string& file) {
    std::string path = ResolveSkinFile(file);
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = LoadXmlFile(doc, path);
    if (!parsed) {
        m_lastError = "language file " + path + ": " + parsed.description();
        os::DebugOutput("toolkit: " + m_lastError + "\n");
        return false;
    }
    std::unordered_map<std::string, std::string> texts;
    for (pugi::xml_node node : doc.document_element().children("Text")) {
        std::string id = node.attribute("id").value();
        if (!id.empty()) texts[id] = TextOf(node);
    }
    m_texts = std::move(texts);
    return true;
}

void CResourceManager::ReloadText() {
    for (CPaintManagerUI* pm : CPaintManagerUI::GetPaintManagers()) {
        // Texts change width, so labels that size themselves need a new layout too.
        pm->NeedUpdate();
    }
}

std::string CResourceManager::GetText(const std::string& id, const std::string& type) const {
    if (id.empty()) return id;
    auto it = m_texts.find(id);
    if (it != m_texts.end()) return it->second;
    if (m_query != nullptr) {
        std::string text = m_query->QueryControlText(id, type);
        if (!text.empty()) return text;
    }
    return id;
}

}  // namespace toolkit
