#include "os/settings_store.h"

#include <strings.h>

#include <sstream>

#include "os/atomic_file.h"
#include "os/debug_output.h"
#include "os/folders.h"
#include "os/keep_aside.h"

namespace os {
namespace {

std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char n = s[++i];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Key paths compare without regard to case, as registry paths do; the stored spelling is the
// first one written.
template <typename Map>
auto FindKey(Map& keys, const std::string& key) {
    for (auto it = keys.begin(); it != keys.end(); ++it)
        if (::strcasecmp(it->first.c_str(), key.c_str()) == 0) return it;
    return keys.end();
}

}  // namespace

SettingsStore::SettingsStore() : SettingsStore(ConfigFolder() + "/Brasvik M402/settings.ini") {}

SettingsStore::SettingsStore(std::string file) : file_(std::move(file)) {}

void SettingsStore::Load() {
    keys_.clear();
    damaged_ = false;
    unreadable_ = false;
    std::string text;
    if (!ReadWholeFile(file_, text)) {
        // Missing is the first start; there but unreadable must not be taken for missing.
        unreadable_ = PathExists(file_);
        if (unreadable_) DebugOutput("settings: " + file_ + " cannot be read; nothing is stored");
        return;
    }
    // Every line this store writes ends with a line end: a last line without one was cut short
    // (a full disk, a crash while another program wrote it) and its value cannot be trusted.
    if (!text.empty() && text.back() != '\n') {
        const size_t lastLine = text.rfind('\n');
        const size_t cut = lastLine == std::string::npos ? 0 : lastLine + 1;
        DebugOutput("settings: " + file_ +
                    ": the last line is cut short and ignored: " + text.substr(cut));
        text.resize(cut);
        damaged_ = true;
    }
    std::istringstream in(text);
    std::string line;
    Key* current = nullptr;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']' && line.size() > 2) {
            current = &keys_[line.substr(1, line.size() - 2)];
            continue;
        }
        const size_t eq = line.find('=');
        bool ok = current != nullptr && eq != std::string::npos && eq > 0;
        if (ok) {
            const std::string name = line.substr(0, eq), v = line.substr(eq + 1);
            Value value;
            if (v.rfind("dword:", 0) == 0) {
                try {
                    const unsigned long n = std::stoul(v.substr(6));
                    value.isDword = true;
                    value.dword = static_cast<uint32_t>(n);
                } catch (...) {
                    ok = false;
                }
            } else if (v.rfind("sz:", 0) == 0) {
                value.text = Unescape(v.substr(3));
            } else {
                ok = false;
            }
            if (ok) (*current)[name] = value;
        }
        if (!ok) {
            DebugOutput("settings: " + file_ + ":" + std::to_string(lineNo) + " ignored");
            damaged_ = true;
        }
    }
}

bool SettingsStore::Save() {
    if (unreadable_) {
        DebugOutput("settings: " + file_ + " cannot be read, so it is not written over");
        return false;
    }
    if (damaged_) {
        // What could not be read is kept as it was before the file is written afresh.
        std::string error;
        const std::string copy = KeepAside(file_, &error);
        if (copy.empty()) {
            DebugOutput("settings: " + file_ + " is damaged and cannot be kept aside (" + error +
                        "); it is not written over");
            return false;
        }
        DebugOutput("settings: " + file_ + " is damaged; kept as " + copy);
        damaged_ = false;
    }
    std::string out;
    for (const auto& [key, values] : keys_) {
        out += "[" + key + "]\n";
        for (const auto& [name, v] : values)
            out += name +
                   (v.isDword ? "=dword:" + std::to_string(v.dword) : "=sz:" + Escape(v.text)) +
                   "\n";
    }
    const size_t slash = file_.rfind('/');
    if (slash != std::string::npos) CreateDirectories(file_.substr(0, slash));
    std::string error;
    if (!WriteFileAtomically(file_, out, &error)) {
        DebugOutput("settings: " + error);
        return false;
    }
    return true;
}

bool SettingsStore::KeyExists(const std::string& key) {
    Load();
    return FindKey(keys_, key) != keys_.end();
}

bool SettingsStore::CreateKey(const std::string& key) {
    Load();
    if (FindKey(keys_, key) != keys_.end()) return true;
    keys_[key];
    return Save();
}

bool SettingsStore::DeleteKey(const std::string& key) {
    Load();
    auto it = FindKey(keys_, key);
    if (it == keys_.end()) return false;
    keys_.erase(it);
    return Save();
}

std::optional<uint32_t> SettingsStore::GetDword(const std::string& key, const std::string& name) {
    Load();
    auto k = FindKey(keys_, key);
    if (k == keys_.end()) return std::nullopt;
    auto v = FindKey(k->second, name);
    if (v == k->second.end() || !v->second.isDword) return std::nullopt;
    return v->second.dword;
}

std::optional<std::string> SettingsStore::GetString(const std::string& key,
                                                    const std::string& name) {
    Load();
    auto k = FindKey(keys_, key);
    if (k == keys_.end()) return std::nullopt;
    auto v = FindKey(k->second, name);
    if (v == k->second.end() || v->second.isDword) return std::nullopt;
    return v->second.text;
}

bool SettingsStore::SetDword(const std::string& key, const std::string& name, uint32_t value) {
    Load();
    auto k = FindKey(keys_, key);
    Key& values = k == keys_.end() ? keys_[key] : k->second;
    auto v = FindKey(values, name);
    Value& slot = v == values.end() ? values[name] : v->second;
    slot = Value{true, value, {}};
    return Save();
}

bool SettingsStore::SetString(const std::string& key, const std::string& name,
                              const std::string& value) {
    Load();
    auto k = FindKey(keys_, key);
    Key& values = k == keys_.end() ? keys_[key] : k->second;
    auto v = FindKey(values, name);
    Value& slot = v == values.end() ? values[name] : v->second;
    slot = Value{false, 0, value};
    return Save();
}

}  // namespace os
