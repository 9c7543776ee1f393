/* The protocol library's public interface: the two records that cross the
 * library boundary, the notification callback and the exported functions.
 * Usable from C and C++; the records are plain structures with natural
 * alignment, identical for the library and every caller. */
#ifndef VORN_H
#define VORN_H

#include <stdint.h>

#ifdef _WIN32
#include <windows.h>
#include <shlwapi.h>
#if defined(VORN_BUILDING_LIBRARY)
#define VORN_API __declspec(dllexport)
#else
#define VORN_API __declspec(dllimport)
#endif
#else
#define VORN_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define VORN_TEXT_SIZE 128
#define VORN_MAC_SIZE 6

/* Notification codes passed to the registered callback. */
#define VORN_NOTIFY_RESPONSE 1         /* a scan answer was queued */
#define VORN_NOTIFY_RECONFIGURED 2     /* a module accepted a configure request */
#define VORN_NOTIFY_INVALID_PASSWORD 3 /* a module refused one; its MAC was queued */

/* Addresses are 32-bit values with the first dotted number in the most
 * significant byte (the IP address control's form), not network order.
 * Fields whose key was missing hold all-ones bytes and a 0 Valid flag. */
typedef struct VORN_ModuleScanResponseType {
    uint8_t protocolVersionMajor;
    uint8_t protocolVersionMinor;
    uint8_t protocolVersionValid;
    char fbType[VORN_TEXT_SIZE];
    uint8_t fbTypeValid;
    uint8_t moduleVersionMajor;
    uint8_t moduleVersionMinor;
    uint16_t moduleVersionBuild;
    uint8_t moduleVersionValid;
    uint8_t macId[VORN_MAC_SIZE];
    uint8_t macIdValid;
    uint32_t ip;
    uint8_t ipValid;
    uint32_t sn;
    uint8_t snValid;
    uint32_t gw;
    uint8_t gwValid;
    uint8_t dhcp; /* 0 off, 1 on, 0xFF neither */
    uint8_t dhcpValid;
    uint8_t pswd; /* 1 password-protected, 0 not, 0xFF neither */
    uint8_t pswdValid;
    char hn[VORN_TEXT_SIZE];
    uint8_t hnValid;
    uint32_t dns1;
    uint8_t dns1Valid;
    uint32_t dns2;
    uint8_t dns2Valid;
} VORN_ModuleScanResponseType;

/* One configure request. Addresses of 0xFFFFFFFF and a dhcp other than 0
 * or 1 are left out of the request; hn is always sent. */
typedef struct VORN_ConfigureRequestType {
    uint8_t macId[VORN_MAC_SIZE];
    char pswd[VORN_TEXT_SIZE];
    uint8_t newPswdValid;
    char newPswd[VORN_TEXT_SIZE];
    uint32_t ip;
    uint32_t sn;
    uint32_t gw;
    uint8_t dhcp;
    char hn[VORN_TEXT_SIZE];
    uint32_t dns1;
    uint32_t dns2;
} VORN_ConfigureRequestType;

/* Called on the library's worker thread, with the library lock held. */
typedef void (*VORN_CallBackType)(int code);

VORN_API int VORN_Start(void);
VORN_API int VORN_SendModuleScan(void);
VORN_API void VORN_SendConfigure(const VORN_ConfigureRequestType *request);
VORN_API void VORN_RegisterCallBack(VORN_CallBackType callback);
VORN_API int VORN_GetResponse(VORN_ModuleScanResponseType *response);
VORN_API int VORN_GetInvPswdMacId(uint8_t *macId);
VORN_API void VORN_RemoveFirstInvPswdMacId(void);
#ifdef _WIN32
VORN_API HRESULT CALLBACK DllGetVersion(DLLVERSIONINFO *info);
#endif

#ifdef __cplusplus
}
#endif

#endif
