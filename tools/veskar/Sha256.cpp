// SHA-256 through OpenSSL's digest interface.
#include "Sha256.h"

#include <openssl/evp.h>

#include <stdexcept>

void CSha256::FreeContext::operator()(evp_md_ctx_st* pContext) const
{
    EVP_MD_CTX_free(pContext);
}

CSha256::CSha256() : m_pContext(EVP_MD_CTX_new())
{
    if (!m_pContext || EVP_DigestInit_ex(m_pContext.get(), EVP_sha256(), nullptr) != 1)
        throw std::runtime_error("SHA-256 is not available");
}

CSha256::~CSha256() = default;

void CSha256::Add(const std::string& sBytes)
{
    EVP_DigestUpdate(m_pContext.get(), sBytes.data(), sBytes.size());
}

std::string CSha256::HexDigest()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int nLength = 0;
    EVP_DigestFinal_ex(m_pContext.get(), digest, &nLength);
    static const char kHex[] = "0123456789abcdef";
    std::string sHex;
    for (unsigned int i = 0; i < nLength; ++i) {
        sHex += kHex[digest[i] >> 4];
        sHex += kHex[digest[i] & 15];
    }
    return sHex;
}

std::string CSha256::Of(const std::string& sBytes)
{
    CSha256 digest;
    digest.Add(sBytes);
    return digest.HexDigest();
}
