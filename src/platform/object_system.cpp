// The class registry, member binding, reference counting and the object system's start and stop.
#include "platform/object_system.h"

#include <algorithm>
#include <csignal>
#include <utility>

#include "platform/curl_library.h"
#include "platform/http_request.h"

namespace quorvel {
namespace {

struct RegisteredClass {
  std::u16string classId;
  ClassFactory factory;
};

struct ProgrammaticName {
  std::u16string programmaticId;
  std::u16string classId;
};

// The registry of the one object system of the process; it exists while the system runs.
// A programmatic identifier names a class id; a class id names a factory.
struct ObjectSystem {
  std::vector<RegisteredClass> classes;
  std::vector<ProgrammaticName> names;
  bool httpLibraryStarted = false;
};
std::optional<ObjectSystem> objectSystem;

char16_t foldAsciiCase(char16_t unit) { return unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit; }

bool sameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return foldAsciiCase(x) == foldAsciiCase(y); });
}

bool isHexDigit(char16_t unit) {
  return (unit >= u'0' && unit <= u'9') || (unit >= u'a' && unit <= u'f') || (unit >= u'A' && unit <= u'F');
}

}  // namespace

const MemberDescription* TypeInfo::bind(std::u16string_view name, MemberKind kind) const {
  for (const MemberDescription& member : members_) {
    if (!sameIgnoringAsciiCase(member.name, name)) continue;
    if (member.kind == kind || member.kind == MemberKind::dataMember || member.kind == MemberKind::typeName) {
      return &member;
    }
  }
  return nullptr;
}

std::uint32_t AutomationObject::release() {
  std::uint32_t left = --references_;
  if (left == 0) delete this;
  return left;
}

bool startObjectSystem() {
  if (objectSystem) return true;
  // A peer that closes early must fail the exchange, not kill the program.
  std::signal(SIGPIPE, SIG_IGN);
  objectSystem.emplace();
  registerHttpRequestClass();
  return true;
}

void stopObjectSystem() {
  if (!objectSystem) return;
  const bool httpLibraryStarted = objectSystem->httpLibraryStarted;
  objectSystem.reset();
  if (httpLibraryStarted) loadCurlLibrary()->global_cleanup();
}

const CurlLibrary* useHttpLibrary() {
  if (!objectSystem) return nullptr;
  const CurlLibrary* curl = loadCurlLibrary();
  if (curl == nullptr) return nullptr;
  if (!objectSystem->httpLibraryStarted) objectSystem->httpLibraryStarted = curl->global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return objectSystem->httpLibraryStarted ? curl : nullptr;
}

bool objectSystemIsRunning() { return objectSystem.has_value(); }

bool registerClass(std::u16string_view programmaticId, std::u16string_view classId, ClassFactory factory) {
  std::optional<std::u16string> canonicalId = classIdFromString(classId);
  if (!objectSystem || !canonicalId) return false;
  unregisterClass(*canonicalId);
  std::erase_if(objectSystem->names, [&](const ProgrammaticName& name) {
    return sameIgnoringAsciiCase(name.programmaticId, programmaticId);
  });
  objectSystem->classes.push_back({*canonicalId, std::move(factory)});
  objectSystem->names.push_back({std::u16string(programmaticId), *canonicalId});
  return true;
}

void unregisterClass(std::u16string_view classId) {
  std::optional<std::u16string> canonicalId = classIdFromString(classId);
  if (!objectSystem || !canonicalId) return;
  std::erase_if(objectSystem->classes, [&](const RegisteredClass& registered) { return registered.classId == *canonicalId; });
  std::erase_if(objectSystem->names, [&](const ProgrammaticName& name) { return name.classId == *canonicalId; });
}

std::optional<std::u16string> classIdFromProgrammaticId(std::u16string_view programmaticId) {
  if (!objectSystem) return std::nullopt;
  for (const ProgrammaticName& name : objectSystem->names) {
    if (sameIgnoringAsciiCase(name.programmaticId, programmaticId)) return name.classId;
  }
  return std::nullopt;
}

std::optional<std::u16string> classIdFromString(std::u16string_view text) {
  // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}: 38 units, dashes at fixed places.
  constexpr std::u16string_view kPattern = u"{........-....-....-....-............}";
  if (text.size() != kPattern.size()) return std::nullopt;
  std::u16string canonical(text);
  for (std::size_t i = 0; i < kPattern.size(); ++i) {
    if (kPattern[i] == u'.') {
      if (!isHexDigit(text[i])) return std::nullopt;
      if (text[i] >= u'a' && text[i] <= u'f') canonical[i] = text[i] - (u'a' - u'A');
    } else if (text[i] != kPattern[i]) {
      return std::nullopt;
    }
  }
  return canonical;
}

AutomationObject* createInstance(std::u16string_view classId) {
  std::optional<std::u16string> canonicalId = classIdFromString(classId);
  if (!objectSystem || !canonicalId) return nullptr;
  for (const RegisteredClass& registered : objectSystem->classes) {
    // The factory is copied: it may register or unregister classes while it runs.
    if (registered.classId == *canonicalId) return ClassFactory(registered.factory)();
  }
  return nullptr;
}

}  // namespace quorvel
