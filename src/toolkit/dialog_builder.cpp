#include "toolkit/dialog_builder.h"

#include <pugixml.hpp>

#include <fstream>
#include <sstream>
#include <unordered_map>

#include "os/debug_output.h"
#include "os/folders.h"
#include "toolkit/container_ui.h"
#include "toolkit/control_factory.h"
#include "toolkit/controls/button_ui.h"
#include "toolkit/controls/horizontal_layout_ui.h"
#include "toolkit/controls/label_ui.h"
#include "toolkit/controls/option_ui.h"
#include "toolkit/controls/progress_ui.h"
#include "toolkit/controls/slider_ui.h"
#include "toolkit/controls/tab_layout_ui.h"
#include "toolkit/controls/text_ui.h"
#include "toolkit/controls/vertical_layout_ui.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/resource_manager.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

constexpr int kMaxIncludeDepth = 16;

struct BuiltinClass {
    const char* name;
    CControlUI* (*create)();
};

constexpr BuiltinClass kBuiltinClasses[] = {
    {"Control", [] { return new CControlUI; }},
    {"Container", [] { return static_cast<CControlUI*>(new CContainerUI); }},
    {"VerticalLayout", [] { return static_cast<CControlUI*>(new CVerticalLayoutUI); }},
    {"HorizontalLayout", [] { return static_cast<CControlUI*>(new CHorizontalLayoutUI); }},
    {"TabLayout", [] { return static_cast<CControlUI*>(new CTabLayoutUI); }},
    {"Label", [] { return static_cast<CControlUI*>(new CLabelUI); }},
    {"Text", [] { return static_cast<CControlUI*>(new CTextUI); }},
    {"Button", [] { return static_cast<CControlUI*>(new CButtonUI); }},
    {"Option", [] { return static_cast<CControlUI*>(new COptionUI); }},
    {"CheckBox", [] { return static_cast<CControlUI*>(new CCheckBoxUI); }},
    {"Progress", [] { return static_cast<CControlUI*>(new CProgressUI); }},
    {"Slider", [] { return static_cast<CControlUI*>(new CSliderUI); }},
};

// Elements that describe resources rather than controls.
bool IsResourceElement(std::string_view name) {
    return EqualsNoCase(name, "Font") || EqualsNoCase(name, "Default") ||
           EqualsNoCase(name, "Style") || EqualsNoCase(name, "Image");
}

// Per-build state: file contents by name, for line numbers in messages.
thread_local std::unordered_map<std::string, std::string>* t_contents = nullptr;

int LineOf(const std::string& file, ptrdiff_t offset) {
    if (t_contents == nullptr || offset < 0) return 0;
    auto it = t_contents->find(file);
    if (it == t_contents->end()) return 0;
    const std::string& text = it->second;
    int line = 1;
    for (ptrdiff_t i = 0; i < offset && i < static_cast<ptrdiff_t>(text.size()); ++i) {
        if (text[static_cast<size_t>(i)] == '\n') ++line;
    }
    return line;
}

std::string Describe(const pugi::xml_node& node) {
    std::string s = "<" + std::string(node.name());
    if (pugi::xml_attribute name = node.attribute("name")) {
        s += " name=\"" + std::string(name.value()) + "\"";
    }
    return s + ">";
}

}  // namespace

CControlUI* CDialogBuilder::CreateBuiltin(const std::string& className) {
    for (const auto& entry : kBuiltinClasses) {
        if (EqualsNoCase(entry.name, className)) return entry.create();
    }
    return nullptr;
}

void CDialogBuilder::Fail(const std::string& file, const pugi::xml_node& node,
                          const std::string& what) {
    if (!m_lastError.empty()) return;  // the first fault is the one to report
    m_lastError = "skin " + file + ": " + Describe(node);
    if (int line = LineOf(file, node.offset_debug()); line > 0) {
        m_lastError += " (line " + std::to_string(line) + ")";
    }
    m_lastError += ": " + what;
    os::DebugOutput("toolkit: " + m_lastError + "\n");
}

bool CDialogBuilder::LoadDocument(const std::string& skin, void* docPtr, std::string& file) {
    auto& doc = *static_cast<pugi::xml_document*>(docPtr);
    std::string content;
    if (!skin.empty() && skin.front() == '<') {
        file = "(inline)";
        content = skin;
    } else {
        file = skin;
        std::string mapped = CResourceManager::GetInstance().GetXmlPath(skin);
        if (!mapped.empty()) file = mapped;
        std::string path = os::ResourcePath(file);
        if (path.empty() || path.front() != '/') path = CPaintManagerUI::GetResourcePath() + path;
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            m_lastError = "skin " + file + ": cannot open " + path;
            os::DebugOutput("toolkit: " + m_lastError + "\n");
            return false;
        }
        std::ostringstream ss;
        ss << in.rdbuf();
        content = ss.str();
    }
    pugi::xml_parse_result parsed = doc.load_buffer(content.data(), content.size());
    (*t_contents)[file] = content;
    if (!parsed) {
        int line = LineOf(file, parsed.offset);
        m_lastError = "skin " + file + ": malformed XML (" + parsed.description() + ") at line " +
                      std::to_string(line);
        os::DebugOutput("toolkit: " + m_lastError + "\n");
        return false;
    }
    if (!doc.document_element()) {
        m_lastError = "skin " + file + ": no root element";
        return false;
    }
    return true;
}

CControlUI* CDialogBuilder::Create(const std::string& skin, const std::string&,
                                   IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                                   CControlUI* parent) {
    m_lastError.clear();
    m_callback = callback;
    std::unordered_map<std::string, std::string> contents;
    auto* outer = t_contents;
    if (outer == nullptr) t_contents = &contents;
    struct Restore {
        std::unordered_map<std::string, std::string>* outer;
        ~Restore() {
            if (outer == nullptr) t_contents = nullptr;
        }
    } restore{outer};

    pugi::xml_document doc;
    std::string file;
    if (!LoadDocument(skin, &doc, file)) return nullptr;
    pugi::xml_node root = doc.document_element();
    if (EqualsNoCase(root.name(), "Window")) {
        if (manager != nullptr && manager->GetRoot() == nullptr &&
            !ApplyWindowAttributes(root, manager, file)) {
            return nullptr;
        }
        return Parse(root, parent, manager, file, 0);
    }
    // A file whose document element is the control itself.
    pugi::xml_document wrapper;
    wrapper.append_child("Window").append_copy(root);
    // Line numbers refer to the original; the copy has none of its own.
    return Parse(wrapper.document_element(), parent, manager, file, 0);
}

bool CDialogBuilder::ApplyWindowAttributes(const pugi::xml_node& window, CPaintManagerUI* manager,
                                           const std::string& file) {
    for (pugi::xml_attribute attr : window.attributes()) {
        std::string name = attr.name();
        std::string value = attr.value();
        bool ok = true;
        if (EqualsNoCase(name, "size")) {
            UiSize sz;
            ok = ParseSize(value, sz);
            if (ok) manager->SetInitSize(sz.cx, sz.cy);
        } else if (EqualsNoCase(name, "caption")) {
            UiRect rc;
            ok = ParseRect(value, rc);
            if (ok) manager->SetCaptionRect(rc);
        } else if (EqualsNoCase(name, "mininfo")) {
            UiSize sz;
            ok = ParseSize(value, sz);
            if (ok) manager->SetMinInfo(sz.cx, sz.cy);
        } else if (EqualsNoCase(name, "maxinfo")) {
            UiSize sz;
            ok = ParseSize(value, sz);
            if (ok) manager->SetMaxInfo(sz.cx, sz.cy);
        } else if (EqualsNoCase(name, "roundcorner")) {
            UiSize sz;
            ok = ParseSize(value, sz);
            if (ok) manager->SetRoundCorner(sz.cx, sz.cy);
        } else if (EqualsNoCase(name, "sizebox")) {
            UiRect rc;
            ok = ParseRect(value, rc);
            if (ok) manager->SetSizeBox(rc);
        }
        // Other window attributes (layered, opacity, ...) belong to the display backend.
        if (!ok) {
            Fail(file, window, "bad value for attribute '" + name + "': '" + value + "'");
            return false;
        }
    }
    return true;
}

bool CDialogBuilder::ApplyResourceElement(const pugi::xml_node& node, CPaintManagerUI* manager,
                                          const std::string& file) {
    if (manager == nullptr) return true;
    std::string_view kind = node.name();
    bool shared = node.attribute("shared").as_bool(false);
    if (EqualsNoCase(kind, "Font")) {
        int id = node.attribute("id").as_int(-1);
        std::string face = node.attribute("name").value();
        int size = node.attribute("size").as_int(12);
        bool bold = node.attribute("bold").as_bool(false);
        bool underline = node.attribute("underline").as_bool(false);
        bool italic = node.attribute("italic").as_bool(false);
        if (face.empty() || size <= 0) {
            Fail(file, node, "a font needs a name and a positive size");
            return false;
        }
        if (id >= 0) manager->AddFont(id, face, size, bold, underline, italic, shared);
        if (node.attribute("default").as_bool(false) || id < 0) {
            manager->SetDefaultFont(face, size, bold, underline, italic, shared);
        }
    } else if (EqualsNoCase(kind, "Default")) {
        std::string name = node.attribute("name").value();
        std::string value = node.attribute("value").value();
        std::vector<std::pair<std::string, std::string>> check;
        if (name.empty() || !ParseAttributeList(value, check)) {
            Fail(file, node, "a default needs a class name and an attribute list");
            return false;
        }
        manager->AddDefaultAttributeList(name, value, shared);
    } else if (EqualsNoCase(kind, "Style")) {
        std::string name = node.attribute("name").value();
        std::string value = node.attribute("value").value();
        std::vector<std::pair<std::string, std::string>> check;
        if (name.empty() || !ParseAttributeList(value, check)) {
            Fail(file, node, "a style needs a name and an attribute list");
            return false;
        }
        manager->AddStyle(name, value, shared);
    }
    // Image elements only preload pictures; the cache loads them on first use anyway.
    return true;
}

CControlUI* CDialogBuilder::Parse(const pugi::xml_node& node, CControlUI* parent,
                                  CPaintManagerUI* manager, const std::string& file, int depth) {
    CControlUI* first = nullptr;
    auto* container = dynamic_cast<CContainerUI*>(parent);
    auto fail = [&]() -> CControlUI* {
        // Controls added to a caller's parent stay there; only a tree of our own is removed.
        if (parent == nullptr) delete first;
        return nullptr;
    };
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        std::string className = child.name();
        if (IsResourceElement(className)) {
            if (!ApplyResourceElement(child, manager, file)) return fail();
            continue;
        }
        if (EqualsNoCase(className, "Include")) {
            std::string source = child.attribute("source").value();
            int count = child.attribute("count").as_int(1);
            if (source.empty() || depth >= kMaxIncludeDepth) {
                Fail(file, child,
                     source.empty() ? "an include needs a source" : "includes nested too deeply");
                return fail();
            }
            for (int i = 0; i < count; ++i) {
                pugi::xml_document doc;
                std::string includedFile;
                if (!LoadDocument(source, &doc, includedFile)) return fail();
                pugi::xml_node root = doc.document_element();
                pugi::xml_document wrapper;
                if (!EqualsNoCase(root.name(), "Window")) {
                    wrapper.append_child("Window").append_copy(root);
                    root = wrapper.document_element();
                }
                CControlUI* built = Parse(root, parent, manager, includedFile, depth + 1);
                if (!m_lastError.empty()) return fail();
                if (parent == nullptr) {
                    if (first != nullptr) {
                        delete built;
                        Fail(file, child, "a skin has one root control");
                        return fail();
                    }
                    first = built;
                } else if (first == nullptr) {
                    first = built;
                }
            }
            continue;
        }

        CControlUI* control = CreateBuiltin(className);
        if (control == nullptr && m_callback != nullptr) {
            control = m_callback->CreateControl(className);
            // The callback may itself have built a subtree and failed doing so.
        }
        if (control == nullptr) control = CControlFactory::GetInstance().CreateControl(className);
        if (control == nullptr) {
            Fail(file, child, "unknown control class '" + className + "'");
            return fail();
        }
        // The manager comes first so that styles and fonts resolve while attributes are set.
        if (manager != nullptr) {
            control->SetManager(manager, nullptr, false);
            const std::string* defaults = manager->GetDefaultAttributeList(className);
            if (defaults == nullptr)
                defaults = manager->GetDefaultAttributeList(control->GetClass());
            if (defaults != nullptr && !control->ApplyAttributeList(*defaults)) {
                delete control;
                Fail(file, child, "bad default attributes for class '" + className + "'");
                return fail();
            }
        }
        for (pugi::xml_attribute attr : child.attributes()) {
            if (!control->SetAttribute(attr.name(), attr.value())) {
                delete control;
                Fail(file, child,
                     "bad value for attribute '" + std::string(attr.name()) + "': '" +
                         attr.value() + "'");
                return fail();
            }
        }
        if (child.first_child() && child.find_child([](const pugi::xml_node& n) {
                return n.type() == pugi::node_element;
            })) {
            if (dynamic_cast<CContainerUI*>(control) == nullptr) {
                delete control;
                Fail(file, child, "class '" + className + "' cannot hold child controls");
                return fail();
            }
            Parse(child, control, manager, file, depth);
            if (!m_lastError.empty()) {
                delete control;
                return fail();
            }
        }
        if (container != nullptr) {
            container->Add(control);
        } else if (parent != nullptr) {
            delete control;
            Fail(file, child, "the parent cannot hold child controls");
            return fail();
        } else if (first != nullptr) {
            delete control;
            Fail(file, child, "a skin has one root control");
            return fail();
        }
        if (first == nullptr) first = control;
    }
    return first;
}

}  // namespace toolkit
