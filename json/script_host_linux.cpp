#include <QCoreApplication>
#include <QJSEngine>
#include <QJSValue>
#include <QString>
#include <QStringList>
#include <bit>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>

#include "json/script_engine.h"
#include "json/script_host.h"
#include "text/encoding.h"
#include "text/text_operations.h"

// The script seam on QJSEngine. The engine is the bare ECMAScript environment, without Qt's
// extensions; a watchdog thread interrupts any call that overruns its budget, and a prelude caps
// the built-ins that could allocate without end in one uninterruptible step.
namespace quorvant {
namespace {

static_assert(std::endian::native == std::endian::little, "UTF-16 units cross as UTF-16LE");

using Clock = std::chrono::steady_clock;

// Built-ins that walk a length or build a string in native code, where no interruption reaches
// them, refuse sizes that no JSON document of this program comes near. The buffer types are of no
// use here and allocate gigabytes on request, so the engine goes without them.
constexpr char kLimitsPrelude[] = R"js(
(function (global) {
  'use strict';
  var maxItems = 16777216;
  var maxUnits = 67108864;
  function lengthOf(o) {
    return o === null || o === undefined ? 0 : Number(Object(o).length);
  }
  function guard(owner, name, tooLarge) {
    var original = owner[name];
    if (typeof original !== 'function') return;
    Object.defineProperty(owner, name, {
      configurable: true, writable: true, enumerable: false,
      value: function () {
        if (tooLarge(this, arguments)) throw new RangeError('Invalid length');
        return original.apply(this, arguments);
      }
    });
  }
  function tooManyItems(self, args) {
    if (lengthOf(self) > maxItems) return true;
    for (var i = 0; i < args.length; i++) {
      if (Array.isArray(args[i]) && args[i].length > maxItems) return true;
    }
    return false;
  }
  ['concat', 'copyWithin', 'every', 'fill', 'filter', 'find', 'findIndex', 'flat', 'flatMap',
   'forEach', 'includes', 'indexOf', 'join', 'lastIndexOf', 'map', 'reduce', 'reduceRight',
   'reverse', 'shift', 'slice', 'some', 'sort', 'splice', 'toLocaleString', 'unshift']
      .forEach(function (name) { guard(Array.prototype, name, tooManyItems); });
  guard(Array, 'from', function (self, args) { return lengthOf(args[0]) > maxItems; });
  guard(String.prototype, 'repeat', function (self, args) {
    return String(self).length * Number(args[0]) > maxUnits;
  });
  function padTooLong(self, args) { return Number(args[0]) > maxUnits; }
  guard(String.prototype, 'padStart', padTooLong);
  guard(String.prototype, 'padEnd', padTooLong);
  guard(String.prototype, 'split', function (self) { return String(self).length > maxItems; });
  ['ArrayBuffer', 'SharedArrayBuffer', 'DataView', 'Atomics', 'Int8Array', 'Uint8Array',
   'Uint8ClampedArray', 'Int16Array', 'Uint16Array', 'Int32Array', 'Uint32Array', 'Float32Array',
   'Float64Array'].forEach(function (name) { delete global[name]; });
})(this)
)js";

// Turns an object into a primitive inside the engine, as the system's variant conversion asks an
// object for its value: its string form for text, its value otherwise. The answer comes wrapped
// in an array so that a thrown value cannot pass for a result.
constexpr char kPrimitiveOf[] = R"js(
(function (value, asText) {
  try {
    if (asText) return [String(value)];
    var primitive = value.valueOf();
    if (primitive !== null && (typeof primitive === 'object' || typeof primitive === 'function')) {
      primitive = String(value);
    }
    return [primitive];
  } catch (error) {
    return null;
  }
})
)js";

// QJSEngine refuses to start without an application object; a program without a window gets one
// that lives as long as the process.
void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "quorvant";
  static char* argv[] = {name, nullptr};
  new QCoreApplication(argc, argv);
}

bool IsAscii(std::string_view bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// ASCII reads the same in code page 936 and UTF-16, and most script text is ASCII: it skips the
// converter.
QString ToEngine(const Text& text) {
  if (IsAscii(text.view())) return QString::fromLatin1(text.view());
  const Bytes units = ToWide(text, kGbkCodePage);
  if (units.size() < 2) return {};
  QString result(units.size() / 2 - 1, Qt::Uninitialized);
  std::memcpy(result.data(), units.data(), static_cast<std::size_t>(result.size()) * 2);
  return result;
}

Text FromEngine(const QString& string) {
  if (string.isEmpty() || string.size() >= INT32_MAX / 2) return {};
  bool ascii = true;
  for (const QChar c : string) {
    if (c.unicode() >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) return Text(string.toLatin1().toStdString());
  // utf16() is ended by a zero unit, which the conversion needs.
  return FromWide(Bytes(string.utf16(), static_cast<std::int32_t>(string.size() + 1) * 2),
                  kGbkCodePage);
}

// A real number as the system's variant conversion writes it: at most 15 significant digits.
Text NumberText(double number) {
  if (std::isnan(number)) return "NaN";
  if (std::isinf(number)) return number > 0 ? "Infinity" : "-Infinity";
  if (number == 0) return "0";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.15G", number);
  return buffer;
}

// A text read as a number the way the variant conversion reads one; 0 when it is none.
double NumberOfText(const QString& string) {
  bool ok = false;
  const double number = string.trimmed().toDouble(&ok);
  return ok && std::isfinite(number) ? number : 0;
}

bool TruthOfText(const QString& string) {
  const QString trimmed = string.trimmed();
  if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
  return NumberOfText(trimmed) != 0;
}

// Interrupts the engine whose call overruns its armed deadline. One watchdog serves all the
// engines of a thread, since a thread runs one call at a time; arming wakes it only when it
// sleeps past the new deadline, so a run of short calls costs no thread switches.
class Watchdog {
 public:
  Watchdog() : thread_([this] { Watch(); }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

  static Watchdog& OfThisThread() {
    thread_local Watchdog watchdog;
    return watchdog;
  }

  void Arm(QJSEngine& engine, Clock::time_point deadline) {
    bool wake = false;
    {
      std::lock_guard lock(mutex_);
      engine_ = &engine;
      deadline_ = deadline;
      wake = deadline < sleepsUntil_;
    }
    if (wake) wake_.notify_one();
  }
  // Once this returns, the engine is no longer touched for the disarmed deadline.
  void Disarm() {
    std::lock_guard lock(mutex_);
    engine_ = nullptr;
    deadline_.reset();
  }

 private:
  void Watch() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
      if (deadline_ && Clock::now() >= *deadline_) {
        engine_->setInterrupted(true);
        engine_ = nullptr;
        deadline_.reset();
      }
      sleepsUntil_ = deadline_.value_or(Clock::time_point::max());
      if (deadline_) {
        wake_.wait_until(lock, sleepsUntil_);
      } else {
        wake_.wait(lock);
      }
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  QJSEngine* engine_ = nullptr;
  std::optional<Clock::time_point> deadline_;
  Clock::time_point sleepsUntil_ = Clock::time_point::max();
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace

class QmlScriptEngine final : public ScriptEngine {
 public:
  explicit QmlScriptEngine(std::int32_t budgetMilliseconds) : budget_(budgetMilliseconds) {
    Budget scope(*this);
    Run(QString::fromLatin1(kLimitsPrelude));
    primitiveOf_ = Run(QString::fromLatin1(kPrimitiveOf)).value_or(QJSValue());
  }

  bool SetLanguage(const Text& language) override {
    const Text name = ToLower(language);
    languageSet_ = name == "javascript" || name == "jscript";
    return languageSet_;
  }

  bool AddCode(const Text& code) override {
    if (!languageSet_ || code.size() > kMaxScriptLength) return false;
    Budget scope(*this);
    return Run(ToEngine(code)).has_value();
  }

  ScriptResult Eval(const Text& code, ResultKind kind) override {
    if (!languageSet_ || code.size() > kMaxScriptLength) return {};
    Budget scope(*this);
    const std::optional<QJSValue> value = Run(ToEngine(code));
    if (!value) return {};
    return Convert(*value, kind);
  }

 private:
  // Arms the watchdog for one call and leaves the engine uninterrupted after it.
  class Budget {
   public:
    explicit Budget(QmlScriptEngine& owner) : owner_(owner) {
      Watchdog::OfThisThread().Arm(owner_.engine_, Clock::now() + owner_.budget_);
    }
    ~Budget() {
      Watchdog::OfThisThread().Disarm();
      owner_.engine_.setInterrupted(false);
    }
    Budget(const Budget&) = delete;
    Budget& operator=(const Budget&) = delete;

   private:
    QmlScriptEngine& owner_;
  };

  // The value of the last statement; nothing when the code does not compile, throws or is
  // interrupted.
  std::optional<QJSValue> Run(const QString& code) {
    QStringList trace;
    QJSValue value = engine_.evaluate(code, QString(), 1, &trace);
    if (!trace.isEmpty() || engine_.isInterrupted()) return std::nullopt;
    return value;
  }

  std::optional<QJSValue> PrimitiveOf(const QJSValue& value, bool asText) {
    if (!value.isObject()) return value;
    const QJSValue wrapped = primitiveOf_.call({value, asText});
    if (engine_.isInterrupted() || !wrapped.isArray()) return std::nullopt;
    return wrapped.property(0);
  }

  ScriptResult Convert(const QJSValue& value, ResultKind kind) {
    ScriptResult result;
    if (kind == ResultKind::kNone || kind == ResultKind::kUntyped) return result;
    const std::optional<QJSValue> primitive = PrimitiveOf(value, kind == ResultKind::kText);
    if (!primitive || primitive->isUndefined() || primitive->isNull()) return result;
    switch (kind) {
      case ResultKind::kText:
        if (primitive->isBool()) {
          result.text = primitive->toBool() ? "-1" : "0";
        } else if (primitive->isNumber()) {
          result.text = NumberText(primitive->toNumber());
        } else {
          result.text = FromEngine(primitive->toString());
        }
        break;
      case ResultKind::kNumber:
        if (primitive->isBool()) {
          result.number = primitive->toBool() ? -1 : 0;
        } else if (primitive->isNumber()) {
          result.number = primitive->toNumber();
        } else if (primitive->isString()) {
          result.number = NumberOfText(primitive->toString());
        }
        break;
      case ResultKind::kTruth:
        if (primitive->isBool()) {
          result.truth = primitive->toBool();
        } else if (primitive->isNumber()) {
          result.truth = primitive->toNumber() != 0;
        } else if (primitive->isString()) {
          result.truth = TruthOfText(primitive->toString());
        }
        break;
      case ResultKind::kNone:
      case ResultKind::kUntyped:
        break;
    }
    return result;
  }

  std::chrono::milliseconds budget_;
  bool languageSet_ = false;
  QJSEngine engine_;
  QJSValue primitiveOf_;
};

ScriptHost ScriptHost::Create() {
  if (!ScriptEnginesAvailable()) return {};
  EnsureApplication();
  return ScriptHost(std::make_shared<QmlScriptEngine>(ScriptTimeBudget()));
}

namespace {

thread_local std::int32_t comInitializations = 0;

}  // namespace

// Without COM the count is all there is to keep.
void InitializeCom() {
  ++comInitializations;
}

void UninitializeCom() {
  --comInitializations;
}

std::int32_t ComInitializations() {
  return comInitializations;
}

}  // namespace quorvant
