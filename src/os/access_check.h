#pragma once

#include <string>

namespace os {

// What this user may do with a file or device node, and what decides it.
struct FileAccess {
    bool exists = false;
    bool readable = false;
    bool writable = false;
    std::string mode;   // as ls shows it: "crw-rw----"
    std::string owner;  // user and group names (numbers when they have none)
    std::string group;
    bool groupMayReadWrite = false;  // the group bits allow reading and writing
    bool inGroup = false;            // this user is a member of the file's group
};
FileAccess CheckAccess(const std::string& path);

// Whether this user can create a file in folder: tries it with a temporary file. When the folder
// does not exist yet, the nearest existing parent must allow creating it. False with the reason
// in *why.
bool CanCreateFilesIn(const std::string& folder, std::string* why);

// The name of the user the program runs as.
std::string UserName();
bool IsSuperuser();

}  // namespace os
