// The baseline of the exchange benchmarks: a bare libcurl POST of the query's bytes, fresh handle.
#pragma once

#include <curl/curl.h>

#include <string>

#include "query/query_exchange.h"

namespace quorvel::bench {

// Posts `body` to `page` with the query's seven headers; true when a reply came back.
inline bool barePost(const QueryPage& page, const std::string& body) {
  static const std::string kHeaders[] = {
      "Content-Type: application/x-www-form-urlencoded",
      "User-Agent: Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 6.1; Trident/4.0; SLCC2; .NET CLR 2.0.50727; "
      ".NET CLR 3.5.30729; .NET CLR 3.0.30729; Media Center PC 6.0; TheWorld)",
      "Accept-Language: ko",
      "Accept: image/jpeg, application/x-ms-application, image/gif, application/xaml+xml, image/pjpeg, "
      "application/x-ms-xbap, application/x-silverlight, application/x-shockwave-flash, "
      "application/vnd.ms-excel, application/msword, */*",
      "Connection: Keep-Alive",
      "Cache-Control: no-cache",
      "Expect:",
  };
  CURL* easy = curl_easy_init();
  const std::string referer = "Referer: " + page.referer;
  curl_slist* list = curl_slist_append(nullptr, referer.c_str());
  for (const std::string& header : kHeaders) list = curl_slist_append(list, header.c_str());
  std::string reply;
  curl_easy_setopt(easy, CURLOPT_URL, page.address.c_str());
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, list);
  curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
  curl_easy_setopt(easy, CURLOPT_PROXY, "");
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, +[](char* bytes, std::size_t size, std::size_t count, void* into) {
    static_cast<std::string*>(into)->append(bytes, size * count);
    return size * count;
  });
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &reply);
  const bool replied = curl_easy_perform(easy) == CURLE_OK && !reply.empty();
  curl_slist_free_all(list);
  curl_easy_cleanup(easy);
  return replied;
}

}  // namespace quorvel::bench
