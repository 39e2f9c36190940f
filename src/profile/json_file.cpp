#include "profile/json_file.h"

#include <json/reader.h>
#include <json/writer.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

#include "os/atomic_file.h"
#include "os/debug_output.h"
#include "os/keep_aside.h"

namespace profile {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The four hex digits of a "\uXXXX" escape starting at text[i], or -1.
long EscapedUnit(const std::string& text, std::size_t i) {
    if (i + 6 > text.size() || text[i] != '\\' || text[i + 1] != 'u') return -1;
    long unit = 0;
    for (std::size_t k = i + 2; k < i + 6; ++k) {
        const int d = HexDigit(text[k]);
        if (d < 0) return -1;
        unit = unit * 16 + d;
    }
    return unit;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (cp & 0x3F));
}

// JsonCpp's styled writer escapes every character beyond ASCII as \uXXXX. Profile files are meant
// to be readable UTF-8 text (names in any script), so those escapes are turned back into UTF-8.
// Every backslash in the writer's output starts an escape, so the text can be walked escape by
// escape without tracking strings. Control characters and lone surrogates stay escaped.
std::string UnescapeNonAscii(const std::string& text) {
    if (text.find("\\u") == std::string::npos) return text;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '\\') {
            out += text[i++];
            continue;
        }
        const long unit = EscapedUnit(text, i);
        if (unit < 0x80) {
            // Not a \u escape, or an ASCII one: copy the backslash and the escaped character.
            out.append(text, i, 2);
            i += 2;
            continue;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const long low = EscapedUnit(text, i + 6);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                    (static_cast<char32_t>(low) - 0xDC00));
                i += 12;
                continue;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            out.append(text, i, 6);
        } else {
            AppendUtf8(out, static_cast<char32_t>(unit));
        }
        i += 6;
    }
    return out;
}

}  // namespace

Json::Value JsonFile::Read(const std::string& path, ReadResult* result) const {
    if (result) *result = ReadResult::kNoText;
    std::string text;
    errno = 0;
    const bool opened = os::ReadWholeFile(path, text);
    const int error = opened ? 0 : errno;
    char trace[64];
    std::snprintf(trace, sizeof trace, "readjsonFile 错误吗：：%d\n", error);
    os::DebugOutput(trace);
    if (!opened && error != ENOENT && error != ENOTDIR) {
        os::DebugOutput("JSON file " + path + " cannot be read: " + std::strerror(error) + "\n");
        if (result) *result = ReadResult::kUnreadable;
        return Json::Value();
    }
    if (!opened) text.clear();
    if (text.empty()) {
        os::DebugOutput(path + "\n");
        return Json::Value();
    }

    Json::CharReaderBuilder builder;
    builder["collectComments"] = true;
    Json::Value root;
    bool parsed = false;
    try {
        const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
        parsed = reader->parse(text.data(), text.data() + text.size(), &root, nullptr);
    } catch (const std::exception&) {
        // Nesting beyond the reader's depth limit ends in an exception: not JSON we can use.
        parsed = false;
    }
    if (!parsed) {
        if (result) *result = ReadResult::kUnparsable;
        return Json::Value();
    }
    if (result) *result = ReadResult::kParsed;
    return root;
}

std::string JsonFile::StyledText(const Json::Value& root) {
    Json::StyledWriter writer;
    return UnescapeNonAscii(writer.write(root));
}

bool JsonFile::Write(const Json::Value& root, const std::string& path) const {
    std::string error = "no file name";
    if (!path.empty() && os::WriteFileAtomically(path, StyledText(root), &error)) return true;
    os::DebugOutput("JSON file not written: " + error + "\n");
    return false;
}

bool JsonFile::KeepAside(const std::string& path) const {
    std::string error;
    const std::string copy = os::KeepAside(path, &error);
    if (copy.empty()) {
        os::DebugOutput("JSON file " + path + " is damaged and could not be kept: " + error + "\n");
        return false;
    }
    os::DebugOutput("JSON file " + path + " is damaged; kept as " + copy + "\n");
    return true;
}

}  // namespace profile
