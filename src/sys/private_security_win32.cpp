// Private security descriptors, built from their text form with the user's SID of the process
// token.
#include "sys/private_security.h"

#include <vector>

#include "sys/unique_handle.h"
#include "sys/wide_entry_points.h"

namespace {
using ConvertSidToStringSidFn = BOOL(WINAPI*)(PSID, LPSTR*);
using ConvertStringToDescriptorFn = BOOL(WINAPI*)(LPCSTR, DWORD, PSECURITY_DESCRIPTOR*, PULONG);
using OpenProcessTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
using GetTokenInformationFn = BOOL(WINAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
constexpr DWORD kSddlRevision1 = 1;

// The string SID of the process token's user: SYSTEM under a deployment service, the signed-in
// user when elevated. Empty when it cannot be had.
std::string TokenUserSid() {
    // Bound at run time: the 9x ADVAPI32 lacks them, NT 4 lacks the conversion.
    auto openToken = GetEntryPointAs<OpenProcessTokenFn>("ADVAPI32.DLL", "OpenProcessToken");
    auto tokenInformation =
        GetEntryPointAs<GetTokenInformationFn>("ADVAPI32.DLL", "GetTokenInformation");
    auto sidToString =
        GetEntryPointAs<ConvertSidToStringSidFn>("ADVAPI32.DLL", "ConvertSidToStringSidA");
    UniqueKernelHandle token;
    if (!openToken || !tokenInformation || !sidToString ||
        !openToken(::GetCurrentProcess(), TOKEN_QUERY, token.put()))
        return std::string();
    DWORD size = 0;
    tokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0) return std::string();
    std::vector<unsigned char> buffer(size);
    if (!tokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return std::string();
    char* text = nullptr;
    if (!sidToString(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text) || !text)
        return std::string();
    std::string sid = text;
    ::LocalFree(text);
    return sid;
}

// "D:P" (protected: nothing inherited) and one full-control entry each for SYSTEM, Administrators
// and the user, passed on to what is made inside when `inheritable`.
std::string PrivateSecurityText(const std::string& userSid, bool inheritable) {
    const std::string flags = inheritable ? "OICI" : "";
    std::string text = "D:P";
    for (const std::string& trustee : {std::string("SY"), std::string("BA"), userSid})
        text += "(A;" + flags + ";FA;;;" + trustee + ")";
    return text;
}
} // namespace

PrivateSecurity::PrivateSecurity(bool inheritable) {
    if (!IsWindowsNT()) return;
    auto toDescriptor = GetEntryPointAs<ConvertStringToDescriptorFn>(
        "ADVAPI32.DLL", "ConvertStringSecurityDescriptorToSecurityDescriptorA");
    const std::string sid = TokenUserSid();
    if (!toDescriptor || sid.empty()) return;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!toDescriptor(PrivateSecurityText(sid, inheritable).c_str(), kSddlRevision1, &descriptor,
                      nullptr))
        return;
    descriptor_ = descriptor;
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = descriptor;
    attributes_.bInheritHandle = FALSE;
}

PrivateSecurity::~PrivateSecurity() {
    if (descriptor_) ::LocalFree(descriptor_);
}
