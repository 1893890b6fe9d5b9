/* Credentials for the worker's connections, built in C: the library's
 * credentials header declares enums without their definitions, which only C
 * accepts, so no C++ file includes it. */
#ifndef TABULON_PLATFORM_SAMBA_SAMBA_CREDENTIALS_H
#define TABULON_PLATFORM_SAMBA_SAMBA_CREDENTIALS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct cli_credentials;
struct loadparm_context;

/* Kerberos with the caller's ticket cache when `use_kerberos`; else anonymous
 * when `username` is empty; else NTLMSSP with the password (and the domain,
 * when not empty). Returns 0 or an NTSTATUS; the credentials are allocated
 * under `parent`. */
uint32_t tabulon_samba_credentials(void* parent, struct loadparm_context* lp, const char* username,
                                   const char* password, const char* domain, int use_kerberos,
                                   struct cli_credentials** out, int* anonymous);

#ifdef __cplusplus
}
#endif

#endif
