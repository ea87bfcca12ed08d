#pragma once
// qv300-cli read, write and ports: the radio link from the command line,
// on the same engine as the read and write windows.
#include <string>
#include <vector>

// Each returns the exit code: 0 success, 1 usage, 2 failure.
int CommandRead(const std::vector<std::string>& args);
int CommandWrite(const std::vector<std::string>& args);
int CommandPorts(const std::vector<std::string>& args);

// The usage lines of these commands.
extern const char* kLinkUsage;
