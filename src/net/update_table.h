#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace net {

// One product the update server is asked about.
struct UpdateRow {
    int versionFormat = 0;   // 0: versions are decimal; otherwise hexadecimal
    int keyNumber = 1;       // -1 once filled from a device reached through a receiver
    int currentVersion = 0;  // 0: not known; such rows are left out of the check
    std::string brand;
    std::string modelId;         // the server's identifier of the product; "ALL" for the program
    std::string modelGroup;      // product group in the request key
    std::string listLabel;       // name shown in the update list
    std::string displayVersion;  // the program's row: its version text, shown by the about box
    // The catalogue product whose interfaces fill the row (0: the program itself, or a model
    // this build does not list).
    uint16_t productId = 0;

    bool IsHexadecimal() const { return versionFormat != 0; }
    bool IsApplication() const { return modelId == "ALL"; }
};

// A connected device as the table needs it: its product, whether it is reached through the
// receiver, and the HID version number of the interface it answers on (the receiver's when
// through one).
struct ConnectedVersion {
    uint16_t productId = 0;
    bool viaReceiver = false;
    uint16_t versionNumber = 0;
};

// The four rows, in their fixed order: keyboard, mouse, the further keyboard model, program.
// Current versions are 0 until RefreshVersions.
std::vector<UpdateRow> DefaultUpdateTable();

// The installed program's version text (dots between the numbers).
const char* InstalledVersionText();

// The program's version as a number: the version text with every '.' removed, read as a decimal
// number up to the first other character ("1.0.3" gives 103, "" gives 0).
int VersionFromText(const std::string& text);

// Fills the current versions: each device row from the connected device of its product (key
// number -1 through a receiver; 0 when none is connected), the program row from
// installedVersionText.
void RefreshVersions(std::vector<UpdateRow>& table, const std::vector<ConnectedVersion>& devices,
                     const std::string& installedVersionText = InstalledVersionText());

// The rows a check asks about: those with a current version other than 0.
std::vector<UpdateRow> RowsToCheck(const std::vector<UpdateRow>& table);

// The request key: brand_format_modelId_group_key ("TILMO_1_X_KB_1"), "NULL" for a row whose
// current version is 0.
std::string BuildAppKey(const UpdateRow& row);

// "V%04x" of the current version for a hexadecimal row, "V%d" for a decimal one.
std::string CurrentVersionText(const UpdateRow& row);

// A version text read as an unsigned number in base 16 for a hexadecimal row, base 10
// otherwise, up to the first character that is no digit of that base ("1a0" decimal is 1).
uint32_t ParseVersionText(const std::string& text, bool hexadecimal);

}  // namespace net
