#include "app/command_line.h"

namespace app {

CommandLineOptions ParseCommandLine(int argc, const char* const* argv) {
    CommandLineOptions o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--doctor") {
            o.doctor = true;
        } else if (a == "--demo") {
            o.demo = true;
        } else if (a.rfind("--demo=", 0) == 0) {
            o.demo = true;
            o.demoKinds = a.substr(7);
        } else if (a == "--headless") {
            o.headless = true;
        } else if (a == "--script") {
            if (i + 1 < argc) {
                o.scriptFile = argv[++i];
            } else {
                o.errors.push_back("--script needs a file name");
            }
        } else if (a.rfind("--script=", 0) == 0) {
            o.scriptFile = a.substr(9);
        } else {
            o.errors.push_back("unknown option: " + a);
        }
    }
    return o;
}

std::string HelpText(const std::string& programName) {
    return "Usage: " + programName +
           " [OPTION]...\n"
           "Configuration utility for the Brasvik M402 keyboard, mouse, mouse pad, receiver and "
           "headset.\n\n"
           "  --demo[=KINDS]  plug simulated devices on a virtual bus (KINDS: comma-separated list "
           "of\n"
           "                  kb, ms, pad, hs, rx or keyboard, mouse, pad, headset, receiver;\n"
           "                  default kb,ms,pad,hs; rx brings a paired keyboard and mouse);\n"
           "                  drive them with brasvik-sim\n"
           "  --headless      run without a display\n"
           "  --script FILE   run the UI script FILE against the window, then exit\n"
           "  --doctor        check device access, udev rules, session bus, display and the\n"
           "                  program's folders; print a report and exit (1 when something\n"
           "                  blocks the program)\n"
           "  --version       print the version and exit\n"
           "  --help          print this help and exit\n\n"
           "A second start wakes the running instance and exits.\n"
           "Set BRASVIK_DEBUG=1 to see the diagnostic output on standard error.\n";
}

std::string VersionText() {
    return "brasvik-m402 " BRASVIK_VERSION "\n";
}

}  // namespace app
