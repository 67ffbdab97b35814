// libcurl, loaded when the first request object needs it rather than with the program.
//
// Linked in, libcurl and the libraries it brings (TLS, compression, directory and
// authentication clients) would be loaded and relocated before the window could show, and
// stay resident: about 14 ms and 5 MB at every start, for a library used only once the user
// asks a query. The object system loads it on first use (useHttpLibrary) and keeps it for the
// rest of the process: a name lookup that libcurl leaves running may still be inside it.
#pragma once

#include <curl/curl.h>

namespace quorvel {

// The libcurl functions the program calls.
struct CurlLibrary {
  decltype(&curl_global_init) global_init;
  decltype(&curl_global_cleanup) global_cleanup;
  decltype(&curl_easy_init) easy_init;
  decltype(&curl_easy_cleanup) easy_cleanup;
  decltype(&curl_easy_reset) easy_reset;
  decltype(&curl_easy_setopt) easy_setopt;
  decltype(&curl_easy_getinfo) easy_getinfo;
  decltype(&curl_easy_strerror) easy_strerror;
  decltype(&curl_multi_init) multi_init;
  decltype(&curl_multi_cleanup) multi_cleanup;
  decltype(&curl_multi_add_handle) multi_add_handle;
  decltype(&curl_multi_remove_handle) multi_remove_handle;
  decltype(&curl_multi_perform) multi_perform;
  decltype(&curl_multi_poll) multi_poll;
  decltype(&curl_multi_info_read) multi_info_read;
  decltype(&curl_slist_append) slist_append;
  decltype(&curl_slist_free_all) slist_free_all;
  decltype(&curl_url) url;
  decltype(&curl_url_set) url_set;
  decltype(&curl_url_get) url_get;
  decltype(&curl_url_cleanup) url_cleanup;
  decltype(&curl_free) free;
};

// libcurl's functions, loading the library on the first call; nullptr when it cannot be
// loaded or lacks one of them. Only the object system calls this (see useHttpLibrary).
const CurlLibrary* loadCurlLibrary();

}  // namespace quorvel
