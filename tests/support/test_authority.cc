#include "support/test_authority.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>
#include <stdexcept>

namespace testsupport {
namespace {

template <typename T, void (*Free)(T*)>
struct Deleter {
    void operator()(T* p) const { Free(p); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using CertPtr = std::unique_ptr<X509, Deleter<X509, X509_free>>;
using BioPtr = std::unique_ptr<BIO, Deleter<BIO, BIO_free_all>>;
using ExtPtr = std::unique_ptr<X509_EXTENSION, Deleter<X509_EXTENSION, X509_EXTENSION_free>>;

void Require(bool ok, const char* what) {
    if (!ok) {
        throw std::runtime_error(std::string("test authority: ") + what);
    }
}

void AddExtension(X509* cert, X509* issuer, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, cert, nullptr, nullptr, 0);
    ExtPtr extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value));
    Require(extension != nullptr, "extension");
    Require(X509_add_ext(cert, extension.get(), -1) == 1, "add extension");
}

CertPtr NewCertificate(EVP_PKEY* key, const char* commonName, long serial) {
    CertPtr cert(X509_new());
    Require(cert != nullptr, "certificate");
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 24 * 3600);
    X509_NAME_add_entry_by_txt(X509_get_subject_name(cert.get()), "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
    X509_set_pubkey(cert.get(), key);
    return cert;
}

template <typename Write>
std::string ToPem(Write write) {
    BioPtr bio(BIO_new(BIO_s_mem()));
    Require(bio != nullptr && write(bio.get()) == 1, "PEM");
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, static_cast<size_t>(size));
}

}  // namespace

TestAuthority MakeTestAuthority() {
    KeyPtr authorityKey(EVP_EC_gen("P-256"));
    KeyPtr serverKey(EVP_EC_gen("P-256"));
    Require(authorityKey != nullptr && serverKey != nullptr, "key");

    CertPtr authority = NewCertificate(authorityKey.get(), "Quorvex Test Authority", 1);
    X509_set_issuer_name(authority.get(), X509_get_subject_name(authority.get()));
    AddExtension(authority.get(), authority.get(), NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(authority.get(), authority.get(), NID_key_usage, "critical,keyCertSign,cRLSign");
    AddExtension(authority.get(), authority.get(), NID_subject_key_identifier, "hash");
    Require(X509_sign(authority.get(), authorityKey.get(), EVP_sha256()) > 0, "sign authority");

    CertPtr server = NewCertificate(serverKey.get(), "127.0.0.1", 2);
    X509_set_issuer_name(server.get(), X509_get_subject_name(authority.get()));
    AddExtension(server.get(), authority.get(), NID_basic_constraints, "critical,CA:FALSE");
    AddExtension(server.get(), authority.get(), NID_key_usage, "critical,digitalSignature");
    AddExtension(server.get(), authority.get(), NID_ext_key_usage, "serverAuth");
    AddExtension(server.get(), authority.get(), NID_authority_key_identifier, "keyid:always");
    AddExtension(server.get(), authority.get(), NID_subject_alt_name, "IP:127.0.0.1");
    Require(X509_sign(server.get(), authorityKey.get(), EVP_sha256()) > 0, "sign server");

    TestAuthority result;
    result.authorityPem = ToPem([&](BIO* bio) { return PEM_write_bio_X509(bio, authority.get()); });
    result.serverCertificatePem =
        ToPem([&](BIO* bio) { return PEM_write_bio_X509(bio, server.get()); });
    result.serverKeyPem = ToPem([&](BIO* bio) {
        return PEM_write_bio_PrivateKey(bio, serverKey.get(), nullptr, nullptr, 0, nullptr,
                                        nullptr);
    });
    return result;
}

}  // namespace testsupport
