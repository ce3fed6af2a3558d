#include "traces/sha1.h"

#include <windows.h>
#include <wincrypt.h>

#include "traces/handles.h"

namespace zarn {
namespace {

using Digest = BYTE[20];

// Windows Vista and later: CNG (bcrypt.dll), looked up at run time so that the program still
// starts on XP. CNG needs no provider from the registry.
bool CngSha1(std::string_view bytes, Digest& digest) {
  using Open = LONG(WINAPI*)(void**, LPCWSTR, LPCWSTR, ULONG);
  using Create = LONG(WINAPI*)(void*, void**, PUCHAR, ULONG, PUCHAR, ULONG, ULONG);
  using Data = LONG(WINAPI*)(void*, PUCHAR, ULONG, ULONG);
  using Finish = LONG(WINAPI*)(void*, PUCHAR, ULONG, ULONG);
  using Destroy = LONG(WINAPI*)(void*);
  using Close = LONG(WINAPI*)(void*, ULONG);
  const unique_hmodule cng(LoadLibraryA("bcrypt.dll"));
  if (!cng) return false;
  auto proc = [&](const char* name) { return reinterpret_cast<void*>(GetProcAddress(cng.get(), name)); };
  const auto open = reinterpret_cast<Open>(proc("BCryptOpenAlgorithmProvider"));
  const auto create = reinterpret_cast<Create>(proc("BCryptCreateHash"));
  const auto data = reinterpret_cast<Data>(proc("BCryptHashData"));
  const auto finish = reinterpret_cast<Finish>(proc("BCryptFinishHash"));
  const auto destroy = reinterpret_cast<Destroy>(proc("BCryptDestroyHash"));
  const auto close = reinterpret_cast<Close>(proc("BCryptCloseAlgorithmProvider"));
  if (!open || !create || !data || !finish || !destroy || !close) return false;
  void* algorithm = nullptr;
  if (open(&algorithm, L"SHA1", nullptr, 0) != 0) return false;
  void* hash = nullptr;
  bool ok = false;
  if (create(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0) {
    ok = data(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())), static_cast<ULONG>(bytes.size()), 0) ==
             0 &&
         finish(hash, digest, sizeof digest, 0) == 0;
    destroy(hash);
  }
  close(algorithm, 0);
  return ok;
}

// Windows XP: the base cryptographic provider.
bool CryptoApiSha1(std::string_view bytes, Digest& digest) {
  HCRYPTPROV provider = 0;
  if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) return false;
  HCRYPTHASH hash = 0;
  DWORD size = sizeof digest;
  bool ok = false;
  if (CryptCreateHash(provider, CALG_SHA1, 0, 0, &hash)) {
    ok = CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0) &&
         CryptGetHashParam(hash, HP_HASHVAL, digest, &size, 0) && size == sizeof digest;
    CryptDestroyHash(hash);
  }
  CryptReleaseContext(provider, 0);
  return ok;
}

}  // namespace

std::string Sha1Hex(std::string_view bytes) {
  Digest digest;
  if (!CngSha1(bytes, digest) && !CryptoApiSha1(bytes, digest)) return {};
  constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (BYTE b : digest) {
    hex.push_back(kDigits[b >> 4]);
    hex.push_back(kDigits[b & 15]);
  }
  return hex;
}

}  // namespace zarn
