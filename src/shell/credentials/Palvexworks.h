#pragma once

// The general database's login, read from the installation's credentials file
// (<root>/credenciais, two lines: login name, password; readable by its owner
// only). The root is $PALVEXWORKS_ROOT, else ~/.local/share/palvexworks.
// Each call reads the file again; a returned text stays valid until the same
// function is called again from the same thread.

#ifdef __cplusplus
extern "C" {
#endif

// The login name, or NULL when the file cannot be used.
const char* palvexworks_login_name(void);
// The password, or NULL when the file cannot be used.
const char* palvexworks_login_password(void);
// Why the last call of this thread returned NULL (Portuguese), "" otherwise.
const char* palvexworks_error(void);

#ifdef __cplusplus
}
#endif
