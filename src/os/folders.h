#pragma once

#include <string>

namespace os {

// The program folder, with a trailing '/': where the program-folder data (skin, default data,
// fonts, updater) lives. ProgramFolderOf(the running executable's folder).
const std::string& ProgramFolder();

// Where an installed program keeps its program folder, relative to the install prefix.
inline constexpr const char* kInstalledDataFolder = "share/brasvik-m402";

// The program folder of an executable in executableFolder: that folder itself when it holds the
// skin (the build tree), else <executableFolder>/../share/brasvik-m402/ when that holds one (an
// install), else the executable's folder.
std::string ProgramFolderOf(const std::string& executableFolder);

// $XDG_DATA_HOME, or ~/.local/share when unset or not absolute; no trailing '/'. With
// createIfMissing the folder (and its parents) is created when absent.
std::string LocalAppDataFolder(bool createIfMissing = false);

// The program's user data folder, "Brasvik M402" in the local application data, with a trailing
// '/'. Profiles, macros and the diagnostics log live here, one subfolder per device data folder.
// With createIfMissing the folder (and its parents) is created when absent.
std::string UserDataFolder(bool createIfMissing = false);

// The factory data shipped with the program: the program folder's "DefaultData/".
std::string DefaultDataFolder();

// $XDG_CONFIG_HOME, or ~/.config; no trailing '/'.
std::string ConfigFolder();

// $XDG_RUNTIME_DIR when set and usable, else the temporary folder; no trailing '/'.
std::string RuntimeFolder();

// $TMPDIR or /tmp, with a trailing '/'.
std::string TempFolder();

// A resource name as the system writes it ("XML\CustomControlXML\DeviceProfile.xml") turned into
// a relative path with '/' separators.
std::string ResourcePath(std::string name);

bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);

// Creates the folder and its missing parents; true when it exists afterwards.
bool CreateDirectories(const std::string& path);

}  // namespace os
