// SHA-256 of a byte string, as lowercase hex: the content key under which
// the queue stores a document's result, so that two documents never share
// a result by accident or by design. The digest is OpenSSL's.
#pragma once

#include <memory>
#include <string>

struct evp_md_ctx_st;

class CSha256 {
public:
    CSha256();
    ~CSha256();
    CSha256(const CSha256&) = delete;
    CSha256& operator=(const CSha256&) = delete;

    void Add(const std::string& sBytes);
    // The digest of everything added; the object is spent afterwards.
    std::string HexDigest();

    static std::string Of(const std::string& sBytes);

private:
    struct FreeContext {
        void operator()(evp_md_ctx_st* pContext) const;
    };
    std::unique_ptr<evp_md_ctx_st, FreeContext> m_pContext;
};
