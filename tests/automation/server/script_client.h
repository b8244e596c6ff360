#ifndef TALVERO_TESTS_AUTOMATION_SCRIPT_CLIENT_H
#define TALVERO_TESTS_AUTOMATION_SCRIPT_CLIENT_H

// Running the script clients of tests/automation/server/scripts with the
// prefix's cscript; TALVERO_SCRIPTS_DIR names their folder.

#include <string>

#include "app/startup/program_process.h"

namespace script_client {

inline std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

inline std::string ScriptPath(const char* name) {
  return program_process::WindowsPath(std::string(TALVERO_SCRIPTS_DIR) + "/" + name);
}

// The script's exit code: its count of failed checks.
inline DWORD RunScript(const std::string& arguments) {
  return program_process::RunCommand("cscript.exe //nologo " + arguments);
}

}  // namespace script_client

#endif
