// The object system: late-bound automation objects, their type information and a class registry.
//
// Objects are reference-counted and created from a class registered under a programmatic
// identifier (such as "WinHttp.WinHttpRequest.5.1") and a class id in braces. A caller
// finds an object's members by name, without regard to letter case, in its type
// information, and invokes them with variant arguments laid out last argument first.
// The registry exists between `startObjectSystem` and `stopObjectSystem`, on the window
// thread only; no object can be created outside that span.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/variant.h"

namespace quorvel {

struct CurlLibrary;

// How a member is called, and what a name in the type information stands for.
enum class MemberKind {
  method,
  propertyGet,
  propertyPut,
  propertyPutByReference,
  dataMember,  // a plain value, read as a property
  typeName,    // the name of a type, not a member: never callable
};

struct MemberDescription {
  std::u16string name;
  MemberKind kind;
  std::int32_t memberId;
  std::uint32_t parameterCount;
  bool variableArguments = false;
};

// An object's type information: the descriptions of its members.
class TypeInfo {
 public:
  explicit TypeInfo(std::vector<MemberDescription> members) : members_(std::move(members)) {}

  // The member named `name` (ASCII letters in any case) that can be called as `kind`. A data
  // member or a type name answers to every kind. nullptr when nothing binds.
  const MemberDescription* bind(std::u16string_view name, MemberKind kind) const;

 private:
  std::vector<MemberDescription> members_;
};

// A reference-counted automation object. It starts with one reference, held by its creator;
// the last `release` destroys it.
class AutomationObject {
 public:
  AutomationObject(const AutomationObject&) = delete;
  AutomationObject& operator=(const AutomationObject&) = delete;

  std::uint32_t addReference() { return ++references_; }
  std::uint32_t release();

  // Puts a new object into its running state; false when it cannot run.
  virtual bool run() { return true; }
  // Whether the object can be called by member name at all.
  virtual bool offersLateBinding() const { return true; }
  // The object's type information, or nullptr when it offers none.
  virtual const TypeInfo* typeInfo() const = 0;
  // Performs member `memberId` as `kind` with `arguments` (last argument first), filling
  // `result` when the member gives one. False on any failure.
  virtual bool invoke(std::int32_t memberId, MemberKind kind, std::span<PlatformVariant> arguments,
                      PlatformVariant* result) = 0;

 protected:
  AutomationObject() = default;
  virtual ~AutomationObject() = default;

 private:
  std::uint32_t references_ = 1;
};

// Makes a new object holding one reference, or gives nullptr when it cannot be made.
using ClassFactory = std::function<AutomationObject*()>;

// Starts the object system, with the built-in classes registered. False when it could not start.
bool startObjectSystem();
// Unregisters every class and shuts the object system down, the HTTP library last.
void stopObjectSystem();

// The HTTP library below the request object, loaded and started once, when the first
// request object is made rather than at start-up, which it would only slow down; the object
// system shuts it down. nullptr when the object system is not running or the library could
// not be loaded or started.
const CurlLibrary* useHttpLibrary();
bool objectSystemIsRunning();

// Registers a class under a class id and a programmatic identifier; false when the object
// system is not running or the class id is not a class id in braces. A later registration
// takes the identifier over; an earlier class keeps its class id.
bool registerClass(std::u16string_view programmaticId, std::u16string_view classId, ClassFactory factory);
void unregisterClass(std::u16string_view classId);

// The class id registered for a programmatic identifier (any letter case).
std::optional<std::u16string> classIdFromProgrammaticId(std::u16string_view programmaticId);
// A class id written in braces, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", in canonical
// (upper) case; nullopt when it is not one.
std::optional<std::u16string> classIdFromString(std::u16string_view text);
// A new instance of a registered class, holding one reference; nullptr when there is no
// such class or its factory refuses.
AutomationObject* createInstance(std::u16string_view classId);

}  // namespace quorvel
