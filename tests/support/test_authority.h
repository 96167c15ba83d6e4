#pragma once

// A certificate authority and a server certificate for 127.0.0.1 issued by it, made fresh
// for tests that need HTTPS. Clients trust the authority's certificate, never "anything".

#include <string>

namespace testsupport {

struct TestAuthority {
    std::string authorityPem;  // the trust anchor for clients
    std::string serverCertificatePem;
    std::string serverKeyPem;
};

// Throws std::runtime_error when OpenSSL fails.
TestAuthority MakeTestAuthority();

}  // namespace testsupport
