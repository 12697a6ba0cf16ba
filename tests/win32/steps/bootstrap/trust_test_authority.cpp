// Adds the test authority (a DER file) to the local machine's Root store: trust_test_authority FILE
// A process of its own: Wine's chain engine reads the Root store once per process, so a test
// program cannot trust an authority it added itself. (Removing it through the store does not
// reach Wine's registry copy: the test script deletes its registry key instead.)
#include <cstdio>
#include <string>

#include "sys/win32.h"

#include <wincrypt.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: trust_test_authority FILE\n");
        return 2;
    }
    std::FILE* in = std::fopen(argv[1], "rb");
    if (!in) return 3;
    std::string der;
    char piece[4096];
    for (std::size_t n; (n = std::fread(piece, 1, sizeof piece, in)) > 0;)
        der.append(piece, n);
    std::fclose(in);
    HCERTSTORE store =
        ::CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
    if (!store) return 4;
    const BOOL added = ::CertAddEncodedCertificateToStore(
        store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
        static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    ::CertCloseStore(store, 0);
    return added ? 0 : 5;
}
