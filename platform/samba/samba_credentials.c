#include "platform/samba/samba_credentials.h"

#include <stdbool.h>
#include <string.h>
#include <talloc.h>

#include <credentials.h>

#define NT_STATUS_NO_MEMORY_VALUE 0xC0000017u
#define NT_STATUS_NO_SUCH_LOGON_SESSION_VALUE 0xC000005Fu

/* The ticket cache, when it holds a usable ticket. Setting the cache succeeds
 * even when it does not exist or names no principal, so the principal must
 * be seen to come from it; asking for the cache then checks that its ticket
 * is valid for some minutes yet, and fails without a network exchange when
 * not (there is no password to get a new one with). */
static uint32_t use_ticket_cache(struct cli_credentials* creds, struct loadparm_context* lp,
                                 struct tevent_context* ev) {
  const char* error = NULL;
  struct ccache_container* ccache = NULL;
  enum credentials_obtained obtained = CRED_UNINITIALISED;
  cli_credentials_set_kerberos_state(creds, CRED_USE_KERBEROS_REQUIRED, CRED_SPECIFIED);
  if (cli_credentials_set_ccache(creds, lp, NULL, CRED_SPECIFIED, &error) != 0) {
    return NT_STATUS_NO_SUCH_LOGON_SESSION_VALUE;
  }
  TALLOC_CTX* scope = talloc_new(creds);
  const char* principal = cli_credentials_get_principal_and_obtained(creds, scope, &obtained);
  const bool from_cache = principal != NULL && principal[0] != '\0' && obtained == CRED_SPECIFIED;
  talloc_free(scope);
  if (!from_cache || cli_credentials_get_ccache(creds, ev, lp, &ccache, &error) != 0) {
    return NT_STATUS_NO_SUCH_LOGON_SESSION_VALUE;
  }
  return 0;
}

uint32_t tabulon_samba_credentials(void* parent, struct loadparm_context* lp,
                                   struct tevent_context* ev, const char* username,
                                   const char* password, const char* domain, int use_kerberos,
                                   struct cli_credentials** out, int* anonymous) {
  struct cli_credentials* creds = cli_credentials_init(parent);
  if (creds == NULL) return NT_STATUS_NO_MEMORY_VALUE;
  cli_credentials_set_conf(creds, lp);
  if (use_kerberos) {
    const uint32_t status = use_ticket_cache(creds, lp, ev);
    if (status != 0) {
      talloc_free(creds);
      return status;
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

uint32_t tabulon_samba_ticket_principal(void* parent, struct loadparm_context* lp,
                                        struct tevent_context* ev, char* principal, size_t size) {
  TALLOC_CTX* scope = talloc_new(parent);
  if (scope == NULL) return NT_STATUS_NO_MEMORY_VALUE;
  struct cli_credentials* creds = cli_credentials_init(scope);
  uint32_t status = NT_STATUS_NO_MEMORY_VALUE;
  if (creds != NULL) {
    cli_credentials_set_conf(creds, lp);
    status = use_ticket_cache(creds, lp, ev);
  }
  if (status == 0) {
    const char* name = cli_credentials_get_principal(creds, scope);
    if (name == NULL) {
      status = NT_STATUS_NO_SUCH_LOGON_SESSION_VALUE;
    } else if (size > 0) {
      const size_t length = strnlen(name, size - 1);
      memcpy(principal, name, length);
      principal[length] = '\0';
    }
  }
  talloc_free(scope);
  return status;
}
