#include "app/ini_file.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include "os/atomic_file.h"
#include "os/debug_output.h"
#include "os/folders.h"
#include "toolkit/ui_types.h"

namespace app {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

}  // namespace

IniFile::IniFile(std::string path) : m_path(std::move(path)) {}

bool IniFile::Load() {
    m_lines.clear();
    if (!os::PathExists(m_path)) return true;
    std::string contents;
    if (!os::ReadWholeFile(m_path, contents)) {
        os::DebugOutput("ini " + m_path + ": cannot be read: " + std::strerror(errno) + "\n");
        return false;
    }
    std::string section;
    size_t start = 0;
    while (start < contents.size()) {
        size_t end = contents.find('\n', start);
        if (end == std::string::npos) end = contents.size();
        std::string text = contents.substr(start, end - start);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        start = end + 1;
        Line line{section, "", text};
        std::string_view t = Trim(text);
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            section = std::string(Trim(t.substr(1, t.size() - 2)));
            line.section = section;
        } else if (!t.empty() && t.front() != ';' && t.front() != '#') {
            size_t eq = t.find('=');
            if (eq != std::string_view::npos && eq > 0)
                line.key = std::string(Trim(t.substr(0, eq)));
        }
        m_lines.push_back(std::move(line));
    }
    return true;
}

std::string IniFile::Text() const {
    std::string out;
    for (const Line& line : m_lines) out += line.text + "\n";
    return out;
}

bool IniFile::Save() const {
    std::string error;
    if (!os::WriteFileAtomically(m_path, Text(), &error)) {
        os::DebugOutput("ini " + m_path + ": not written: " + error + "\n");
        return false;
    }
    return true;
}

std::string IniFile::Get(const std::string& section, const std::string& key,
                         const std::string& fallback) const {
    for (const Line& line : m_lines) {
        if (line.key.empty() || !toolkit::EqualsNoCase(line.section, section) ||
            !toolkit::EqualsNoCase(line.key, key))
            continue;
        size_t eq = line.text.find('=');
        return std::string(Trim(std::string_view(line.text).substr(eq + 1)));
    }
    return fallback;
}

void IniFile::Set(const std::string& section, const std::string& key, const std::string& value) {
    // A line break in a value would start a line of its own on the next read.
    std::string clean;
    for (char c : value) clean += (c == '\n' || c == '\r') ? ' ' : c;
    const std::string text = key + "=" + clean;
    size_t lastOfSection = std::string::npos;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        Line& line = m_lines[i];
        if (!toolkit::EqualsNoCase(line.section, section)) continue;
        if (line.key.empty() && !Trim(line.text).empty() && Trim(line.text).front() == '[') {
            lastOfSection = i;
            continue;
        }
        if (!line.key.empty()) lastOfSection = i;
        if (!line.key.empty() && toolkit::EqualsNoCase(line.key, key)) {
            line.text = text;
            return;
        }
    }
    if (lastOfSection == std::string::npos) {
        if (!m_lines.empty() && !Trim(m_lines.back().text).empty())
            m_lines.push_back(Line{m_lines.back().section, "", ""});
        m_lines.push_back(Line{section, "", "[" + section + "]"});
        m_lines.push_back(Line{section, key, text});
        return;
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(lastOfSection) + 1,
                   Line{section, key, text});
}

}  // namespace app
