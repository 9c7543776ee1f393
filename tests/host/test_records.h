// Records as the library hands them out, for the native tests.
#ifndef KL_TESTS_HOST_TEST_RECORDS_H
#define KL_TESTS_HOST_TEST_RECORDS_H

#include <cstring>

#include "vorn.h"

// An answer without any key: every byte 0xFF, every flag 0.
inline VORN_ModuleScanResponseType MissingEverything() {
    VORN_ModuleScanResponseType record;
    std::memset(&record, 0xFF, sizeof record);
    record.protocolVersionValid = record.fbTypeValid = record.moduleVersionValid = record.macIdValid = 0;
    record.ipValid = record.snValid = record.gwValid = record.dhcpValid = record.pswdValid = 0;
    record.hnValid = record.dns1Valid = record.dns2Valid = 0;
    return record;
}

#endif
