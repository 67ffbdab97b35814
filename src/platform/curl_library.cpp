// Loading libcurl with dlopen and finding the functions the program calls.
#include "platform/curl_library.h"

#include <dlfcn.h>

#include <optional>

namespace quorvel {
namespace {

// Finds one function; false when the library lacks it.
template <typename Function>
bool find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

// The library's soname on Debian 12: libcurl4 (OpenSSL, threaded resolver).
constexpr const char* kLibcurl = "libcurl.so.4";

std::optional<CurlLibrary> load() {
  void* library = dlopen(kLibcurl, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return std::nullopt;
  CurlLibrary curl{};
  const bool complete =
      find(library, "curl_global_init", curl.global_init) && find(library, "curl_global_cleanup", curl.global_cleanup) &&
      find(library, "curl_easy_init", curl.easy_init) && find(library, "curl_easy_cleanup", curl.easy_cleanup) &&
      find(library, "curl_easy_reset", curl.easy_reset) && find(library, "curl_easy_setopt", curl.easy_setopt) &&
      find(library, "curl_easy_getinfo", curl.easy_getinfo) && find(library, "curl_easy_strerror", curl.easy_strerror) &&
      find(library, "curl_multi_init", curl.multi_init) && find(library, "curl_multi_cleanup", curl.multi_cleanup) &&
      find(library, "curl_multi_add_handle", curl.multi_add_handle) &&
      find(library, "curl_multi_remove_handle", curl.multi_remove_handle) &&
      find(library, "curl_multi_perform", curl.multi_perform) && find(library, "curl_multi_poll", curl.multi_poll) &&
      find(library, "curl_multi_info_read", curl.multi_info_read) &&
      find(library, "curl_slist_append", curl.slist_append) && find(library, "curl_slist_free_all", curl.slist_free_all) &&
      find(library, "curl_url", curl.url) && find(library, "curl_url_set", curl.url_set) &&
      find(library, "curl_url_get", curl.url_get) && find(library, "curl_url_cleanup", curl.url_cleanup) &&
      find(library, "curl_free", curl.free);
  if (!complete) return std::nullopt;  // the library stays loaded: it is of no use, and harmless
  return curl;
}

}  // namespace

const CurlLibrary* loadCurlLibrary() {
  // Loaded once for the life of the process; see the header for why it is never unloaded.
  static const std::optional<CurlLibrary> library = load();
  return library ? &*library : nullptr;
}

}  // namespace quorvel
