#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace app {

// brasvik-m402 --doctor: looks at what the program needs from the machine and says, one line per
// finding, what is fine, what is not and how to fix it. Opens no window and changes nothing
// (beyond a temporary file in the user data folder to learn whether it can be written).
struct DoctorFinding {
    enum class Verdict { kOk, kWarn, kFail };  // kFail: the program cannot do its job
    Verdict verdict = Verdict::kOk;
    std::string check;  // "devices", "udev rules", ...
    std::string text;   // what was found
    std::string fix;    // what to do; empty when nothing is to be done
};

struct DoctorOptions {
    std::vector<std::string> udevRuleFolders;  // empty: the system's
    std::string programFolder;                 // empty: the running program's
};

std::vector<DoctorFinding> RunDoctorChecks(const DoctorOptions& options = {});

// The report: a head line, one line per finding ("FAIL  devices: ... Fix: ..."), and a last line
// that says whether anything blocks the program.
std::string FormatDoctorReport(const std::vector<DoctorFinding>& findings);

// Prints the report to out; returns the exit code: 1 when a finding blocks the program, else 0.
int RunDoctor(std::FILE* out);

}  // namespace app
