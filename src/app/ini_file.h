#pragma once

#include <string>
#include <utility>
#include <vector>

namespace app {

// A small ini file: "[section]" lines and "key=value" lines, kept in file order so that a
// rewrite changes only what was set. Names compare without regard to case. Saving replaces the
// file atomically; lines the reader does not understand are kept as they are.
class IniFile {
  public:
    explicit IniFile(std::string path);

    // Reads the file; a missing file reads as empty (true), an unreadable one gives false.
    bool Load();
    // Writes the file atomically; false (old file untouched) when that fails.
    bool Save() const;

    std::string Get(const std::string& section, const std::string& key,
                    const std::string& fallback = "") const;
    void Set(const std::string& section, const std::string& key, const std::string& value);

    const std::string& path() const { return m_path; }
    std::string Text() const;

  private:
    struct Line {
        std::string section;  // the section the line belongs to
        std::string key;      // empty for headers, blank lines, comments
        std::string text;     // the line as written
    };
    std::string m_path;
    std::vector<Line> m_lines;
};

}  // namespace app
