// The HTTP request object, registered as "WinHttp.WinHttpRequest.5.1".
//
// Called late-bound, by member name in any letter case:
//   SetTimeouts(resolve, connect, send, receive)  milliseconds; 0 or -1 mean no limit
//   Open(method, url, async)                      prepares a request; async must be false
//   SetRequestHeader(name, value)                 after Open; each name once, in order
//   Send(body)                                    blocks until the reply is complete or fails
//   ResponseBody                                  property: the reply body as bytes
// Every misuse or failed exchange makes the call fail; the caller decides whether to care.
#pragma once

#include <string_view>

namespace quorvel {

inline constexpr std::u16string_view kHttpRequestProgrammaticId = u"WinHttp.WinHttpRequest.5.1";
inline constexpr std::u16string_view kHttpRequestClassId = u"{2087C2F4-2CEF-4953-A8AB-66779B670495}";

// Registers the request object's class with the running object system.
void registerHttpRequestClass();

}  // namespace quorvel
