#include "net/update_table.h"

#include <cstdio>

namespace net {

namespace {

constexpr const char* kBrand = "TILMO";

#ifndef BRASVIK_VERSION
#define BRASVIK_VERSION "0.0.0"
#endif

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

}  // namespace

std::vector<UpdateRow> DefaultUpdateTable() {
    // The server knows the products by these identifiers.
    return {
        {.versionFormat = 1,
         .brand = kBrand,
         .modelId = "BV22AB",
         .modelGroup = "KB",
         .listLabel = "KB",
         .displayVersion = "",
         .productId = 0x22AB},
        {.versionFormat = 1,
         .brand = kBrand,
         .modelId = "BV22A9",
         .modelGroup = "MS",
         .listLabel = "MS",
         .displayVersion = "",
         .productId = 0x22A9},
        {.versionFormat = 2,
         .brand = kBrand,
         .modelId = "BV22AC",
         .modelGroup = "M402TKL",
         .listLabel = "M402TKL",
         .displayVersion = "",
         .productId = 0},
        {.versionFormat = 0,
         .brand = kBrand,
         .modelId = "ALL",
         .modelGroup = "M402",
         .listLabel = "AP",
         .displayVersion = "V0101"},
    };
}

const char* InstalledVersionText() {
    return BRASVIK_VERSION;
}

int VersionFromText(const std::string& text) {
    int64_t value = 0;
    for (char c : text) {
        if (c == '.') continue;
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > INT32_MAX) return 0;  // no version is that long: treat it as unknown
    }
    return static_cast<int>(value);
}

void RefreshVersions(std::vector<UpdateRow>& table, const std::vector<ConnectedVersion>& devices,
                     const std::string& installedVersionText) {
    for (UpdateRow& row : table) {
        row.keyNumber = 1;
        if (row.IsApplication()) {
            row.currentVersion = VersionFromText(installedVersionText);
            continue;
        }
        row.currentVersion = 0;
        if (row.productId == 0) continue;
        for (const ConnectedVersion& d : devices) {
            if (d.productId != row.productId) continue;
            row.currentVersion = d.versionNumber;
            row.keyNumber = d.viaReceiver ? -1 : 1;
            // A device on its cable is preferred over the same product through the receiver.
            if (!d.viaReceiver) break;
        }
    }
}

std::vector<UpdateRow> RowsToCheck(const std::vector<UpdateRow>& table) {
    std::vector<UpdateRow> rows;
    for (const UpdateRow& row : table) {
        if (row.currentVersion != 0) rows.push_back(row);
    }
    return rows;
}

std::string BuildAppKey(const UpdateRow& row) {
    if (row.currentVersion == 0) return "NULL";
    return row.brand + "_" + std::to_string(row.versionFormat) + "_" + row.modelId + "_" +
           row.modelGroup + "_" + std::to_string(row.keyNumber);
}

std::string CurrentVersionText(const UpdateRow& row) {
    char text[24];
    if (row.IsHexadecimal())
        std::snprintf(text, sizeof(text), "V%04x", static_cast<unsigned>(row.currentVersion));
    else
        std::snprintf(text, sizeof(text), "V%d", row.currentVersion);
    return text;
}

uint32_t ParseVersionText(const std::string& text, bool hexadecimal) {
    const int base = hexadecimal ? 16 : 10;
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (hexadecimal && i + 1 < text.size() && text[i] == '0' && (text[i + 1] | 0x20) == 'x' &&
        i + 2 < text.size() && DigitValue(text[i + 2]) < 16)
        i += 2;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int d = DigitValue(text[i]);
        if (d >= base) break;
        value = value * base + static_cast<uint64_t>(d);
        if (value > UINT32_MAX) return UINT32_MAX;  // saturates instead of wrapping round
    }
    return static_cast<uint32_t>(value);
}

}  // namespace net
