#pragma once

namespace corvane::os::win32_os {

// True when the caller's security context (the thread's impersonation token, else the process
// token) passes an access check against a descriptor that grants access to the built-in
// Administrators group alone. Any failing step counts as "not an administrator".
bool CheckCurrentUserAdmin();

} // namespace corvane::os::win32_os
