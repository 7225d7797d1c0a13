#include "os/win32/win32_admin.h"

#include <windows.h>

#include <memory>

#include "os/win32/win32_handle.h"

namespace corvane::os::win32_os {
namespace {

struct SidFree {
    void operator()(void* sid) const { ::FreeSid(sid); }
};
struct LocalFreer {
    void operator()(void* block) const { ::LocalFree(block); }
};
using UniqueSid = std::unique_ptr<void, SidFree>;
using UniqueLocal = std::unique_ptr<void, LocalFreer>;

// Access rights private to this check: bit 1 reads, bit 2 writes.
constexpr DWORD kAccessRead = 1;
constexpr DWORD kAccessWrite = 2;
constexpr DWORD kAccessAll = kAccessRead | kAccessWrite;

#ifndef _WIN64
static_assert(SECURITY_DESCRIPTOR_MIN_LENGTH == 20);
#endif
static_assert(sizeof(PRIVILEGE_SET) == 20);

bool Fail() {
    RecordLastError();
    return false;
}

} // namespace

bool CheckCurrentUserAdmin() {
    const DWORD tokenAccess = TOKEN_DUPLICATE | TOKEN_QUERY;
    static_assert((TOKEN_DUPLICATE | TOKEN_QUERY) == 10);
    UniqueHandle token;
    if (!::OpenThreadToken(::GetCurrentThread(), tokenAccess, TRUE, token.Out())) {
        if (::GetLastError() != ERROR_NO_TOKEN)
            return Fail();
        if (!::OpenProcessToken(::GetCurrentProcess(), tokenAccess, token.Out()))
            return Fail();
    }

    UniqueHandle impersonation;
    if (!::DuplicateToken(token.Get(), SecurityImpersonation, impersonation.Out()))
        return Fail();

    SID_IDENTIFIER_AUTHORITY ntAuthority = {SECURITY_NT_AUTHORITY};
    PSID rawSid = nullptr;
    if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                    DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &rawSid))
        return Fail();
    UniqueSid adminSid(rawSid);

    // The absolute descriptor holds pointers: 20 bytes on 32-bit Windows, 40 on 64-bit, which
    // SECURITY_DESCRIPTOR_MIN_LENGTH gives for the build.
    UniqueLocal descriptor(::LocalAlloc(LPTR, SECURITY_DESCRIPTOR_MIN_LENGTH));
    if (!descriptor)
        return Fail();
    if (!::InitializeSecurityDescriptor(descriptor.get(), SECURITY_DESCRIPTOR_REVISION))
        return Fail();

    // The ACL header, one access-allowed entry and its SID, less the entry's SidStart field.
    const DWORD aclSize = ::GetLengthSid(adminSid.get()) + 16;
    static_assert(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) == 16);
    UniqueLocal acl(::LocalAlloc(LPTR, aclSize));
    if (!acl)
        return Fail();
    auto* aclPtr = static_cast<PACL>(acl.get());
    if (!::InitializeAcl(aclPtr, aclSize, ACL_REVISION2))
        return Fail();
    if (!::AddAccessAllowedAce(aclPtr, ACL_REVISION2, kAccessAll, adminSid.get()))
        return Fail();
    if (!::SetSecurityDescriptorDacl(descriptor.get(), TRUE, aclPtr, FALSE))
        return Fail();
    if (!::SetSecurityDescriptorGroup(descriptor.get(), adminSid.get(), FALSE))
        return Fail();
    if (!::SetSecurityDescriptorOwner(descriptor.get(), adminSid.get(), FALSE))
        return Fail();
    if (!::IsValidSecurityDescriptor(descriptor.get()))
        return Fail();

    GENERIC_MAPPING mapping = {kAccessRead, kAccessWrite, 0, kAccessAll};
    PRIVILEGE_SET privileges{};
    DWORD privilegesSize = sizeof privileges;
    DWORD granted = 0;
    BOOL status = FALSE;
    if (!::AccessCheck(descriptor.get(), impersonation.Get(), kAccessRead, &mapping, &privileges,
                       &privilegesSize, &granted, &status))
        return Fail();
    return status != FALSE;
}

} // namespace corvane::os::win32_os
