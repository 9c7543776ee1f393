// The command line of lanwise-cli, read into what to do. Portable.
#ifndef KL_CLI_CLI_ARGUMENTS_H
#define KL_CLI_CLI_ARGUMENTS_H

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
    ScanFormat format = ScanFormat::Table;
    MacAddress mac = {};          // configure
    ModuleSettings settings;      // configure
    std::string planPath;         // apply
    bool verify = false;          // configure, apply
    bool dryRun = false;          // apply
};

// args without the program name. False with a one-line reason on a usage
// fault or a refused value.
bool ParseCliArguments(const std::vector<std::string>& args, CliArguments& parsed, std::string& error);

const char* CliHelpText();

#endif
