// The command line of lanwise-cli, read into what to do. Portable.
#ifndef KL_CLI_CLI_ARGUMENTS_H
#define KL_CLI_CLI_ARGUMENTS_H

#include <functional>
#include <string>
#include <vector>

#include "module_settings.h"

enum class CliCommand { Help, Version, Scan, Configure, Apply };
enum class ScanFormat { Table, Csv, Json };

constexpr int kDefaultScanWaitMs = 1500;
constexpr int kDefaultVerdictWaitMs = 3000;
constexpr int kMaxWaitMs = 600000;

struct CliArguments {
    CliCommand command = CliCommand::Help;
    // scan: how long answers are collected; configure and apply: how long
    // the module's verdict is awaited.
    int waitMs = 0;
    // configure and apply: how long the scan before them waits for the
    // modules needed; a --wait longer than the default lengthens it too.
    int scanWaitMs = kDefaultScanWaitMs;
    ScanFormat format = ScanFormat::Table;
    MacAddress mac = {};          // configure
    ModuleSettings settings;      // configure
    std::string planPath;         // apply
    bool verify = false;          // configure, apply
    bool dryRun = false;          // apply
    bool force = false;           // configure, apply: send implausible settings
};

// Reads the next line of standard input, without its line end, for the
// option named; false when there is none.
using InputLineReader = std::function<bool(const std::string& option, std::string& line)>;

// args without the program name. False with a one-line reason on a usage
// fault or a refused value. readInput gives the passwords given as "-".
bool ParseCliArguments(const std::vector<std::string>& args, CliArguments& parsed, std::string& error,
                       const InputLineReader& readInput = InputLineReader());

const char* CliHelpText();

#endif
