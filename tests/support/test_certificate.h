#pragma once

// A self-signed certificate for 127.0.0.1 (subject alternative name IP:127.0.0.1, usable as
// its own certificate authority), made fresh for the tests that need TLS.

#include <string>

namespace testsupport {

struct TestCertificate {
    std::string certificatePem;
    std::string privateKeyPem;
};

// Throws std::runtime_error when OpenSSL fails.
TestCertificate MakeLoopbackCertificate();

// Writes `text` to `path`; throws std::runtime_error on failure.
void WriteTextFile(const std::string& path, const std::string& text);

}  // namespace testsupport
