#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace os {

// The per-user settings store (the system keeps a few values where a registry would). Keys are
// paths such as "SOFTWARE\Brasvik M402"; a key holds named 32-bit and text values, and a key can
// exist with no values at all ("the key exists" is its own state). The store lives in one file,
// by default "settings.ini" in $XDG_CONFIG_HOME/Brasvik M402/, rewritten atomically on every
// change. Not thread-safe; used from the UI thread.
//
// File format: "[key]" lines open a key; "name=dword:<decimal>" and "name=sz:<text>" lines are
// values, with "\\", "\n" and "\r" escaped in text. Lines that do not parse, and a last line
// without its line end (cut short), are ignored and logged; before such a file is next written,
// it is kept beside itself as "settings.ini.bad" (numbered when earlier copies exist), so nothing
// of it is lost. A file that exists but cannot be read is never written over: changes fail.
class SettingsStore {
  public:
    // The store at its default place.
    SettingsStore();
    // The store in file (for tests and other programs' stores).
    explicit SettingsStore(std::string file);

    const std::string& file() const { return file_; }

    bool KeyExists(const std::string& key);
    bool CreateKey(const std::string& key);
    bool DeleteKey(const std::string& key);

    std::optional<uint32_t> GetDword(const std::string& key, const std::string& name);
    std::optional<std::string> GetString(const std::string& key, const std::string& name);
    // Writing a value creates its key. False when the file cannot be written (the old file stays).
    bool SetDword(const std::string& key, const std::string& name, uint32_t value);
    bool SetString(const std::string& key, const std::string& name, const std::string& value);

  private:
    struct Value {
        bool isDword = false;
        uint32_t dword = 0;
        std::string text;
    };
    using Key = std::map<std::string, Value>;
    void Load();
    bool Save();

    std::string file_;
    std::map<std::string, Key> keys_;
    bool damaged_ = false;     // the file as read had lines that were ignored
    bool unreadable_ = false;  // the file is there but cannot be read
};

}  // namespace os
