// The version of lanwise-cli.exe, shared by its version resource and its
// --version line.
#ifndef KL_CLI_CLI_VERSION_H
#define KL_CLI_CLI_VERSION_H

#define KL_CLI_VERSION_NUMBERS 1, 1, 2, 0
#define KL_CLI_VERSION_TEXT "1, 1, 2, 0"
#define KL_CLI_VERSION_DOTTED "1.1.2.0"

#endif
