#include "platform/samba/samba_credentials.h"

#include <stdbool.h>
#include <talloc.h>

#include <credentials.h>

#define NT_STATUS_NO_MEMORY_VALUE 0xC0000017u
#define NT_STATUS_NO_SUCH_LOGON_SESSION_VALUE 0xC000005Fu

uint32_t tabulon_samba_credentials(void* parent, struct loadparm_context* lp, const char* username,
                                   const char* password, const char* domain, int use_kerberos,
                                   struct cli_credentials** out, int* anonymous) {
  struct cli_credentials* creds = cli_credentials_init(parent);
  if (creds == NULL) return NT_STATUS_NO_MEMORY_VALUE;
  cli_credentials_set_conf(creds, lp);
  if (use_kerberos) {
    const char* error = NULL;
    cli_credentials_set_kerberos_state(creds, CRED_USE_KERBEROS_REQUIRED, CRED_SPECIFIED);
    if (cli_credentials_set_ccache(creds, lp, NULL, CRED_SPECIFIED, &error) != 0) {
      talloc_free(creds);
      return NT_STATUS_NO_SUCH_LOGON_SESSION_VALUE; /* no usable ticket cache */
    }
  } else if (username[0] == '\0') {
    cli_credentials_set_anonymous(creds);
  } else {
    cli_credentials_set_kerberos_state(creds, CRED_USE_KERBEROS_DISABLED, CRED_SPECIFIED);
    cli_credentials_set_username(creds, username, CRED_SPECIFIED);
    cli_credentials_set_password(creds, password, CRED_SPECIFIED);
    if (domain[0] != '\0') cli_credentials_set_domain(creds, domain, CRED_SPECIFIED);
  }
  *anonymous = cli_credentials_is_anonymous(creds) ? 1 : 0;
  *out = creds;
  return 0;
}
