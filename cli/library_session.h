// The protocol library as the command line uses it: one scan at a time,
// one configure request at a time, each awaited on the calling thread.
#ifndef KL_CLI_LIBRARY_SESSION_H
#define KL_CLI_LIBRARY_SESSION_H

#include <windows.h>

#include <vector>

#include "module_settings.h"
#include "module_table.h"
#include "vorn.h"

enum class Verdict { Reconfigured, InvalidPassword, NoReply, NotSent };

class LibrarySession {
public:
    // Registers the callback and starts the library's engine.
    LibrarySession();
    ~LibrarySession();
    LibrarySession(const LibrarySession&) = delete;
    LibrarySession& operator=(const LibrarySession&) = delete;

    // Sends one scan and collects the first answer of each MAC for waitMs,
    // or until every MAC of wanted has answered when wanted is not empty.
    // False when the scan could not be sent.
    bool Scan(const std::vector<MacAddress>& wanted, DWORD waitMs, ModuleStore& answers);

    // Sends the request and waits up to waitMs for a verdict: any
    // "Reconfigured:" (it names no module), or an "Invalid Password:" that
    // names the request's MAC. NotSent when no verdict came and the library
    // cannot send at all.
    Verdict Configure(const VORN_ConfigureRequestType& request, DWORD waitMs);

private:
    void DropPendingReplies();
};

#endif
