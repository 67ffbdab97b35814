// quorvel-query-service [PORT]: the stand-in for the traffic-police query page, on 127.0.0.1.
//
// Answers POST /wzch/index.asp?Modid=013001&Add=01 with a GBK page for the vehicle whose
// plate (hphm) and code (FDJH) the form carries; everything else gets a plain 404. Each
// request is logged on one line to standard output.
#include <httplib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/code_page.h"
#include "sample_vehicles.h"

namespace {

constexpr int kDefaultPort = 8631;

std::string printable(const std::string& gbk) { return quorvel::utf16ToUtf8(quorvel::gbkToUtf16(gbk)); }

bool isQueryPage(const httplib::Request& request) {
  return request.get_param_value("Modid") == "013001" && request.get_param_value("Add") == "01";
}

void answerQuery(const httplib::Request& request, httplib::Response& response) {
  if (!isQueryPage(request)) {
    response.status = 404;
    return;
  }
  // The form's fields arrive decoded: GBK bytes, as the program sent them.
  const std::string plate = request.get_param_value("hphm");
  const std::string code = request.get_param_value("FDJH");
  response.set_content(quorvel::service::resultPage(plate, code), "text/html; charset=gb2312");
}

void logRequest(const httplib::Request& request, const httplib::Response& response) {
  std::printf("%s %s hphm=%s FDJH=%s -> %d\n", request.method.c_str(), request.target.c_str(),
              printable(request.get_param_value("hphm")).c_str(), printable(request.get_param_value("FDJH")).c_str(),
              response.status);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int port = argc > 1 ? std::atoi(argv[1]) : kDefaultPort;
  httplib::Server server;
  server.Post("/wzch/index.asp", answerQuery);
  server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
    response.set_content("Not Found\n", "text/plain");
  });
  server.set_logger(logRequest);
  std::printf("quorvel-query-service: listening on 127.0.0.1:%d\n", port);
  std::fflush(stdout);
  if (!server.listen("127.0.0.1", port)) {
    std::fprintf(stderr, "quorvel-query-service: cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  return 0;
}
