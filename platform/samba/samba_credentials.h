/* Credentials for the worker's connections, built in C: the library's
 * credentials header declares enums without their definitions, which only C
 * accepts, so no C++ file includes it. */
#ifndef TABULON_PLATFORM_SAMBA_SAMBA_CREDENTIALS_H
#define TABULON_PLATFORM_SAMBA_SAMBA_CREDENTIALS_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct cli_credentials;
struct loadparm_context;
struct tevent_context;

/* Kerberos with the caller's ticket cache when `use_kerberos`; else anonymous
 * when `username` is empty; else NTLMSSP with the password (and the domain,
 * when not empty). Returns 0 or an NTSTATUS: NT_STATUS_NO_SUCH_LOGON_SESSION
 * under Kerberos when the ticket cache (KRB5CCNAME, else the default) holds
 * no ticket the library can use (none, expired, or about to expire). The
 * credentials are allocated under `parent`. */
uint32_t tabulon_samba_credentials(void* parent, struct loadparm_context* lp,
                                   struct tevent_context* ev, const char* username,
                                   const char* password, const char* domain, int use_kerberos,
                                   struct cli_credentials** out, int* anonymous);

/* The principal ("user@REALM") whose usable tickets the caller's ticket cache
 * holds, copied into `principal` (`size` bytes, truncated); 0, or an NTSTATUS
 * as for tabulon_samba_credentials when there is none. Everything it
 * allocates is freed under `parent` before it returns. */
uint32_t tabulon_samba_ticket_principal(void* parent, struct loadparm_context* lp,
                                        struct tevent_context* ev, char* principal, size_t size);

#ifdef __cplusplus
}
#endif

#endif
