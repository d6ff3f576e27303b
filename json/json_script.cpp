#include "json/json_script.h"

#include <string>
#include <string_view>

// Written for the oldest engine the program meets (a JScript 5 era dialect): no getters, no
// trailing commas, no let, const or arrow functions, and no built-in newer than that dialect.
namespace quorvant {
namespace {

// The prelude and the JSON object.
constexpr std::string_view kHead = R"js(function get__count(c){
	var i=-2;
	for (v in c) i++;
	return i;
}

if (typeof JSON !== 'object') {
    JSON = {};
}
)js";

// Dates serialise as UTC in the ISO 8601 form that ends in Z; the basic value wrappers as their
// values. Only an engine whose dates lack toJSON compiles this.
constexpr std::string_view kToJson = R"js((function () {
    'use strict';

    function twoDigits(n) {
        return n < 10 ? '0' + n : String(n);
    }

    function valueItself() {
        return this.valueOf();
    }

    Date.prototype.toJSON = function () {
        if (!isFinite(this.valueOf())) {
            return null;
        }
        return this.getUTCFullYear() + '-' + twoDigits(this.getUTCMonth() + 1) + '-' +
            twoDigits(this.getUTCDate()) + 'T' + twoDigits(this.getUTCHours()) + ':' +
            twoDigits(this.getUTCMinutes()) + ':' + twoDigits(this.getUTCSeconds()) + 'Z';
    };
    String.prototype.toJSON = valueItself;
    Number.prototype.toJSON = valueItself;
    Boolean.prototype.toJSON = valueItself;
}());
)js";

// The serialiser and checker. An engine with JSON of its own never needs them; like the toJSON
// additions they travel as a string that only an engine lacking them compiles.
constexpr std::string_view kSerialiser = R"js((function () {
    'use strict';

    var hasOwn = Object.prototype.hasOwnProperty;
    var classOf = Object.prototype.toString;

    // Characters written as escapes inside a string, and those of them that an evaluator may
    // drop or mistake for a line end when they stand in source text.
    var escapable = /[\\\"\x00-\x1f\x7f-\x9f\u00ad\u0600-\u0604\u070f\u17b4\u17b5\u200c-\u200f\u2028-\u202f\u2060-\u206f\ufeff\ufff0-\uffff]/g;
    var cx = /[\u0000\u00ad\u0600-\u0604\u070f\u17b4\u17b5\u200c-\u200f\u2028-\u202f\u2060-\u206f\ufeff\ufff0-\uffff]/g;
    var shortForms = {
        '\b': '\\b',
        '\t': '\\t',
        '\n': '\\n',
        '\f': '\\f',
        '\r': '\\r',
        '"': '\\"',
        '\\': '\\\\'
    };

    function unicodeEscape(c) {
        return '\\u' + ('0000' + c.charCodeAt(0).toString(16)).slice(-4);
    }

    function escapeCharacter(c) {
        return hasOwn.call(shortForms, c) ? shortForms[c] : unicodeEscape(c);
    }

    function quote(text) {
        return '"' + text.replace(escapable, escapeCharacter) + '"';
    }

    function isArray(value) {
        return classOf.call(value) === '[object Array]';
    }

    // String, Number and Boolean objects stand for their values.
    function unwrapped(value) {
        var kind;
        if (value && typeof value === 'object') {
            kind = classOf.call(value);
            if (kind === '[object String]') {
                return String(value);
            }
            if (kind === '[object Number]') {
                return Number(value);
            }
            if (kind === '[object Boolean]') {
                return value.valueOf();
            }
        }
        return value;
    }

    function enclose(open, close, parts, indent, inner) {
        if (parts.length === 0) {
            return open + close;
        }
        if (inner === indent) {
            return open + parts.join(',') + close;
        }
        return open + '\n' + inner + parts.join(',\n' + inner) + '\n' + indent + close;
    }

    function ownKeys(value) {
        var keys = [];
        var key;
        for (key in value) {
            if (hasOwn.call(value, key)) {
                keys.push(key);
            }
        }
        return keys;
    }

    // The JSON text of holder[key], or undefined when the value has none. The state carries the
    // replacer, the member list, the gap and the objects being written, to refuse a cycle.
    function serialise(state, key, holder, indent) {
        var value = holder[key];
        var inner = indent + state.gap;
        var parts = [];
        var keys;
        var text;
        var i;

        if (value && typeof value === 'object' && typeof value.toJSON === 'function') {
            value = value.toJSON(key);
        }
        if (typeof state.replacer === 'function') {
            value = state.replacer.call(holder, key, value);
        }
        value = unwrapped(value);

        switch (typeof value) {
        case 'string':
            return quote(value);
        case 'number':
            return isFinite(value) ? String(value) : 'null';
        case 'boolean':
            return String(value);
        case 'object':
            break;
        default:
            return undefined;
        }
        if (value === null) {
            return 'null';
        }

        for (i = 0; i < state.open.length; i += 1) {
            if (state.open[i] === value) {
                throw new TypeError('JSON.stringify');
            }
        }
        state.open.push(value);

        if (isArray(value)) {
            for (i = 0; i < value.length; i += 1) {
                text = serialise(state, String(i), value, inner);
                parts.push(typeof text === 'undefined' ? 'null' : text);
            }
            text = enclose('[', ']', parts, indent, inner);
        } else {
            keys = state.keys || ownKeys(value);
            for (i = 0; i < keys.length; i += 1) {
                text = serialise(state, keys[i], value, inner);
                if (typeof text !== 'undefined') {
                    parts.push(quote(keys[i]) + (state.gap ? ': ' : ':') + text);
                }
            }
            text = enclose('{', '}', parts, indent, inner);
        }

        state.open.pop();
        return text;
    }

    // The member names of an array replacer: strings and numbers, each once.
    function memberList(replacer) {
        var keys = [];
        var seen = {};
        var item;
        var i;
        for (i = 0; i < replacer.length; i += 1) {
            item = unwrapped(replacer[i]);
            if (typeof item === 'number') {
                item = String(item);
            }
            if (typeof item === 'string' && !hasOwn.call(seen, item)) {
                seen[item] = true;
                keys.push(item);
            }
        }
        return keys;
    }

    // At most ten characters of indentation per level.
    function gapOf(space) {
        var gap = '';
        var count;
        space = unwrapped(space);
        if (typeof space === 'number') {
            for (count = Math.min(10, Math.floor(space)); count >= 1; count -= 1) {
                gap += ' ';
            }
        } else if (typeof space === 'string') {
            gap = space.slice(0, 10);
        }
        return gap;
    }

    if (typeof JSON.stringify !== 'function') {
        JSON.stringify = function (value, replacer, space) {
            var state = {replacer: null, keys: null, gap: gapOf(space), open: []};
            if (typeof replacer === 'function') {
                state.replacer = replacer;
            } else if (replacer !== null && typeof replacer !== 'undefined') {
                if (typeof replacer !== 'object' || typeof replacer.length !== 'number') {
                    throw new Error('JSON.stringify');
                }
                state.keys = memberList(replacer);
            }
            return serialise(state, '', {'': value}, '');
        };
    }

    // The check of a text before it is evaluated: strings become @ and the other values 0 (an @
    // of the text itself is made # first, so that only strings yield one); then innermost arrays
    // and objects fold into 0 until a single value is left, or the text is no JSON.
    var stringToken = /"(?:[^"\\\u0000-\u001f]|\\["\\\/bfnrt]|\\u[0-9a-fA-F]{4})*"/g;
    var valueToken = /true|false|null|-?(?:0|[1-9][0-9]*)(?:\.[0-9]+)?(?:[eE][+\-]?[0-9]+)?/g;
    var structureOnly = /^[\[\]{},:0@ \t\n\r]*$/;
    var blanks = /[ \t\n\r]+/g;
    var innermostArray = /\[(?:[0@](?:,[0@])*)?\]/g;
    var innermostObject = /\{(?:@:[0@](?:,@:[0@])*)?\}/g;
    var singleValue = /^[0@]$/;

    function isJsonText(text) {
        var rest = text.replace(/@/g, '#').replace(stringToken, '@').replace(valueToken, '0');
        var before;
        if (!structureOnly.test(rest)) {
            return false;
        }
        rest = rest.replace(blanks, '');
        do {
            before = rest;
            rest = rest.replace(innermostArray, '0').replace(innermostObject, '0');
        } while (rest !== before);
        return singleValue.test(rest);
    }

    function revive(holder, key, reviver) {
        var value = holder[key];
        var keys;
        var revived;
        var i;
        if (value && typeof value === 'object') {
            keys = ownKeys(value);
            for (i = 0; i < keys.length; i += 1) {
                revived = revive(value, keys[i], reviver);
                if (typeof revived === 'undefined') {
                    delete value[keys[i]];
                } else {
                    value[keys[i]] = revived;
                }
            }
        }
        return reviver.call(holder, key, value);
    }

    // Checked first, then the characters of cx escaped, then evaluated, then revived.
    if (typeof JSON.parse !== 'function') {
        JSON.parse = function (text, reviver) {
            var source = String(text);
            var value;
            if (!isJsonText(source)) {
                throw new SyntaxError('JSON.parse');
            }
            value = eval('(' + source.replace(cx, unicodeEscape) + ')');
            return typeof reviver === 'function' ? revive({'': value}, '', reviver) : value;
        };
    }
}());
)js";

// The two helper members that every object inherits.
constexpr std::string_view kHelpers =
    R"js(// Older callers ask any value for its JSON text, or any text for its value. Both members are
// plain assignments and so show in every for-in loop; get__count allows for them.
if (typeof Object.prototype.toJSONString !== 'function') {
    Object.prototype.toJSONString = function (filter) {
        return JSON.stringify(this, filter);
    };
    Object.prototype.parseJSON = function (filter) {
        return JSON.parse(this, filter);
    };
})js";

// A single-quoted script literal of ASCII source text.
std::string Quoted(std::string_view source) {
  std::string literal = "'";
  for (const char c : source) {
    if (c == '\n') {
      literal += "\\n";
    } else if (c == '\\' || c == '\'') {
      literal += '\\';
      literal += c;
    } else {
      literal += c;
    }
  }
  return literal + "'";
}

Text Assembled() {
  std::string lines(kHead);
  lines += "\n// Each of the two parts below is compiled only by an engine that lacks it.\n";
  lines += "if (typeof Date.prototype.toJSON !== 'function') {\n";
  lines += "    eval(" + Quoted(kToJson) + ");\n}\n\n";
  lines += "if (typeof JSON.stringify !== 'function' || typeof JSON.parse !== 'function') {\n";
  lines += "    eval(" + Quoted(kSerialiser) + ");\n}\n\n";
  lines += kHelpers;
  std::string text;
  text.reserve(lines.size() + lines.size() / 16);
  for (const char c : lines) {
    if (c == '\n') text += '\r';
    text += c;
  }
  return Text(text);
}

}  // namespace

const Text& JsonScript() {
  static const Text script = Assembled();
  return script;
}

}  // namespace quorvant
