#include "os/linux_key_codes.h"

#include <algorithm>

namespace os {

static_assert(std::is_sorted(LinuxKeyScanCodeTable.begin(), LinuxKeyScanCodeTable.end(),
                             [](const LinuxKeyScanCode& a, const LinuxKeyScanCode& b) {
                                 return a.linux_key < b.linux_key;
                             }),
              "the lookup searches the table by halves");

std::optional<ScanCode> ScanCodeForLinuxKey(int linux_key) {
    const auto it = std::lower_bound(
        LinuxKeyScanCodeTable.begin(), LinuxKeyScanCodeTable.end(), linux_key,
        [](const LinuxKeyScanCode& entry, int key) { return entry.linux_key < key; });
    if (it == LinuxKeyScanCodeTable.end() || it->linux_key != linux_key) return std::nullopt;
    return ScanCode{it->scan_code, it->extended};
}

}  // namespace os
