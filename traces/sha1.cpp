#include "traces/sha1.h"

#include <windows.h>
#include <wincrypt.h>

namespace zarn {

std::string Sha1Hex(std::string_view bytes) {
  HCRYPTPROV provider = 0;
  if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) return {};
  HCRYPTHASH hash = 0;
  BYTE digest[20];
  DWORD size = sizeof digest;
  std::string hex;
  if (CryptCreateHash(provider, CALG_SHA1, 0, 0, &hash)) {
    if (CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0) &&
        CryptGetHashParam(hash, HP_HASHVAL, digest, &size, 0) && size == sizeof digest) {
      constexpr char kDigits[] = "0123456789abcdef";
      for (BYTE b : digest) {
        hex.push_back(kDigits[b >> 4]);
        hex.push_back(kDigits[b & 15]);
      }
    }
    CryptDestroyHash(hash);
  }
  CryptReleaseContext(provider, 0);
  return hex;
}

}  // namespace zarn
