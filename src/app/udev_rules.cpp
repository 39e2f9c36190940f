#include "app/udev_rules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

namespace app {

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The value of KEY=="value" (or KEY="value" for assignments) in a rule; empty when absent.
std::string Value(const std::string& rule, const std::string& key, const char* op) {
    const std::string head = key + op + "\"";
    const size_t at = rule.find(head);
    if (at == std::string::npos) return {};
    const size_t start = at + head.size();
    const size_t end = rule.find('"', start);
    return end == std::string::npos ? std::string() : rule.substr(start, end - start);
}

// A udev glob against a hexadecimal id: exact, or ending in '*'.
bool IdMatches(const std::string& pattern, uint16_t id) {
    char text[5];
    std::snprintf(text, sizeof text, "%04x", id);
    const std::string p = Lower(pattern);
    if (!p.empty() && p.back() == '*')
        return std::string(text).rfind(p.substr(0, p.size() - 1), 0) == 0;
    return p == text;
}

std::vector<std::string> ReadRules(const std::string& path) {
    std::vector<std::string> rules;
    std::ifstream in(path);
    std::string line;
    std::string rule;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\\') {
            rule += line.substr(0, line.size() - 1);
            continue;
        }
        rule += line;
        const size_t first = rule.find_first_not_of(" \t");
        if (first != std::string::npos && rule[first] != '#') rules.push_back(rule);
        rule.clear();
    }
    return rules;
}

}  // namespace

std::vector<std::string> UdevRules::SystemFolders() {
    return {"/etc/udev/rules.d", "/run/udev/rules.d", "/usr/local/lib/udev/rules.d",
            "/usr/lib/udev/rules.d", "/lib/udev/rules.d"};
}

UdevRules::UdevRules(const std::vector<std::string>& folders) {
    std::set<std::string> seen;  // file names already taken from an earlier folder
    std::vector<File> files;
    for (const std::string& folder : folders) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
            const std::string name = entry.path().filename().string();
            if (entry.path().extension() != ".rules" || !seen.insert(name).second) continue;
            files.push_back({entry.path().string(), ReadRules(entry.path().string())});
        }
    }
    // udev reads the files in the order of their names, whatever their folder.
    std::sort(files.begin(), files.end(), [](const File& a, const File& b) {
        return std::filesystem::path(a.path).filename() < std::filesystem::path(b.path).filename();
    });
    files_ = std::move(files);
}

bool UdevRules::GivesAccess(const std::string& rule, uint16_t vendorId, uint16_t productId) {
    std::string vendor, product;
    for (const char* key : {"ATTRS{idVendor}", "ATTR{idVendor}", "ENV{ID_VENDOR_ID}"})
        if (vendor.empty()) vendor = Value(rule, key, "==");
    for (const char* key : {"ATTRS{idProduct}", "ATTR{idProduct}", "ENV{ID_MODEL_ID}"})
        if (product.empty()) product = Value(rule, key, "==");
    if (vendor.empty() || !IdMatches(vendor, vendorId)) return false;
    if (!product.empty() && !IdMatches(product, productId)) return false;
    if (rule.find("TAG+=\"uaccess\"") != std::string::npos) return true;
    const std::string mode = Value(rule, "MODE", "=");
    if (mode.size() < 3) return false;
    const int others = mode[mode.size() - 1] - '0';
    const int group = mode[mode.size() - 2] - '0';
    if ((others & 6) == 6) return true;
    return (group & 6) == 6 && !Value(rule, "GROUP", "=").empty();
}

std::string UdevRules::FileGivingAccess(uint16_t vendorId, uint16_t productId) const {
    for (const File& f : files_)
        for (const std::string& rule : f.rules)
            if (GivesAccess(rule, vendorId, productId)) return f.path;
    return {};
}

std::string UdevRules::ShippedFile() const {
    for (const File& f : files_)
        if (std::filesystem::path(f.path).filename() == kFileName) return f.path;
    return {};
}

}  // namespace app
