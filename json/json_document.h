#pragma once

#include <cstdint>

#include "json/script_host.h"
#include "text/text.h"

namespace quorvant {

// One JSON value, the root, held in a private script engine as the global variable named by
// varName ("da"). Every operation is a script fragment evaluated there. No operation fails
// loudly: a fragment that does not compile or run yields the empty text, 0, -1 or false, and the
// document stays usable. Copies share the engine, so a change through one is seen through all.
//
// Paths and keys are spliced into the script as they are, by one of three rules:
//  bracket (GetText, SubDocument, Count): "da" + path when it begins with "[", else "da." + path;
//  dot (GetNumber, SetValue, SetObject, SetNumber, GetJson, Has): "da." + key;
//  target (TypeOf, Append, ItemDocument, GetItem, MemberNames): "da" when empty, else "da." + path.
// Values given with isObject true are spliced as script too; other values are stored as the
// exact text given.
class JsonDocument {
 public:
  // Type codes of TypeOf; NewRoot takes the object and array codes.
  static constexpr std::int32_t kNull = 0;
  static constexpr std::int32_t kNumber = 2;
  static constexpr std::int32_t kObject = 4;
  static constexpr std::int32_t kArray = 5;
  static constexpr std::int32_t kString = 6;
  static constexpr std::int32_t kOther = -1;

  // Runs Initialize.
  JsonDocument();
  // Another reference to the same engine; no script runs.
  JsonDocument(const JsonDocument& other);
  JsonDocument& operator=(const JsonDocument& other);
  virtual ~JsonDocument();

  // A new engine loaded with the JSON script, the root an empty object. Keeps the old engine
  // when no new one can be made.
  virtual void Initialize();
  // Loads a text into a fresh engine as the root; true when the root is neither null nor
  // undefined afterwards. A document without an engine stays without one and returns false.
  virtual bool Parse(const Text& text);
  // The whole document as compact JSON text.
  virtual Text ToText() const;
  virtual void SetValue(const Text& key, const Text& value, bool isObject = false);
  virtual void SetObject(const Text& key, const Text& value);
  virtual void SetNumber(const Text& key, double number);
  virtual double GetNumber(const Text& key) const;
  virtual Text GetJson(const Text& key) const;
  // A number by the target rule comes back in at most 13 significant digits.
  virtual Text GetText(const Text& path, bool asJson = false) const;
  // A new document holding a deep copy of the member, made through its JSON text.
  virtual JsonDocument SubDocument(const Text& path) const;
  virtual std::int32_t Count(const Text& path = {}) const;
  // Makes the target an array first when it is none.
  virtual void Append(const Text& value, const Text& path = {}, bool isObject = false);
  virtual JsonDocument ItemDocument(std::int32_t index, const Text& path = {}) const;
  virtual Text GetItem(std::int32_t index, const Text& path = {}, bool asJson = false) const;
  // SetItem and RemoveItem act on a root array.
  virtual void SetItem(std::int32_t index, const Text& value, bool isObject = false);
  virtual void RemoveItem(std::int32_t index);
  // kNull or kObject: an empty object; kArray: an empty array; any other code: no change.
  virtual void NewRoot(std::int32_t type);
  virtual void SetRoot(const Text& value, bool isObject = false);
  // Whether the member is neither null nor undefined.
  virtual bool Has(const Text& key) const;
  // Replaces names with the member names, whole and in enumeration order; returns their count.
  virtual std::int32_t MemberNames(TextArray& names, const Text& path = {}) const;
  virtual std::int32_t TypeOf(const Text& path = {}) const;
  virtual void Clear();

 private:
  Text BracketTarget(const Text& path) const;
  Text DotTarget(const Text& key) const;
  Text TargetOf(const Text& path) const;
  void Run(const Text& code) const;
  Text EvalText(const Text& code) const;

  Text varName_;
  ScriptHost engine_;
  // A document initialises COM once, however many engines it makes, and its destruction undoes
  // that once, so a decode leaves the thread's count where it found it.
  bool comInitialized_ = false;
};

}  // namespace quorvant
