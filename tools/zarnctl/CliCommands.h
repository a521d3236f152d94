#pragma once

#include <ostream>
#include <string>
#include <vector>

// One command's invocation: its arguments (after the command name) and the
// streams it reports on.
struct CliRequest {
    std::string command;
    std::vector<std::string> args;
    std::ostream& out;
    std::ostream& err;
    // Progress is drawn in place only on a terminal.
    bool errIsTerminal = false;
};

int RunList(CliRequest& request);
int RunVersion(CliRequest& request);
int RunCounters(CliRequest& request);
int RunShow(CliRequest& request);
int RunReset(CliRequest& request);
int RunReadKeys(CliRequest& request);
int RunWriteKeys(CliRequest& request);
int RunWriteLights(CliRequest& request);
int RunDefaults(CliRequest& request);
int RunFlash(CliRequest& request);
int RunSet(CliRequest& request);
int RunColour(CliRequest& request);
int RunDiff(CliRequest& request);
