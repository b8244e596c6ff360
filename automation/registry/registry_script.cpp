#include "automation/registry/registry_script.h"

#include <cstdlib>
#include <cstring>

namespace {

// One token: the script's words are separated by white space, except that a
// quoted text may hold any character. Replacements are already made.
struct Token {
  char text[kRegistryValueSize];
  bool quoted;
  bool end;  // no token left
};

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringCase(const char* a, const char* b, size_t length) {
  for (size_t i = 0; i < length; ++i)
    if (b[i] == '\0' || UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return b[length] == '\0';
}

bool EqualIgnoringCase(const char* a, const char* b) {
  return EqualIgnoringCase(a, b, std::strlen(a));
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

class ScriptReader {
 public:
  ScriptReader(const char* text, size_t length, const RegistryReplacement* replacements, size_t replacementCount,
               RegistryScript* script)
      : m_text(text), m_end(text + length), m_pos(text), m_replacements(replacements),
        m_replacementCount(replacementCount), m_script(script) {}

  bool ParseScript() {
    for (;;) {
      Token root;
      if (!Next(&root)) return false;
      if (root.end) return true;
      if (root.quoted || (!EqualIgnoringCase(root.text, "HKCR") && !EqualIgnoringCase(root.text, "HKEY_CLASSES_ROOT")))
        return Fail(kRegistryScriptUnknownRoot);
      if (!Expect("{")) return false;
      if (!ParseKeys(1)) return false;
    }
  }

  uint32_t Line() const {
    uint32_t line = 1;
    for (const char* p = m_text; p < m_pos; ++p)
      if (*p == '\n') ++line;
    return line;
  }

 private:
  bool Fail(uint8_t error) {
    if (m_script->error == kRegistryScriptNoError) m_script->error = error;
    return false;
  }

  // Appends text[0, length) to out at *used, making the replacements.
  bool Append(char* out, size_t* used, const char* text, size_t length) {
    if (*used + length >= kRegistryValueSize) return Fail(kRegistryScriptTooLong);
    std::memcpy(out + *used, text, length);
    *used += length;
    out[*used] = '\0';
    return true;
  }

  bool AppendReplacing(char* out, size_t* used, const char* text, size_t length) {
    size_t i = 0;
    while (i < length) {
      if (text[i] != '%') {
        if (!Append(out, used, text + i, 1)) return false;
        ++i;
        continue;
      }
      const char* close = static_cast<const char*>(std::memchr(text + i + 1, '%', length - i - 1));
      if (close == nullptr) return Fail(kRegistryScriptSyntax);
      const size_t nameLength = static_cast<size_t>(close - (text + i + 1));
      if (nameLength == 0) {
        if (!Append(out, used, "%", 1)) return false;
      } else {
        const char* replacement = nullptr;
        for (size_t r = 0; r < m_replacementCount; ++r)
          if (EqualIgnoringCase(text + i + 1, m_replacements[r].name, nameLength)) replacement = m_replacements[r].text;
        if (replacement == nullptr) return Fail(kRegistryScriptUnknownName);
        if (!Append(out, used, replacement, std::strlen(replacement))) return false;
      }
      i += nameLength + 2;
    }
    return true;
  }

  bool Next(Token* token) {
    token->text[0] = '\0';
    token->quoted = false;
    token->end = false;
    while (m_pos < m_end && IsSpace(*m_pos)) ++m_pos;
    if (m_pos == m_end) {
      token->end = true;
      return true;
    }
    size_t used = 0;
    if (*m_pos != '\'') {
      const char* start = m_pos;
      while (m_pos < m_end && !IsSpace(*m_pos)) ++m_pos;
      return AppendReplacing(token->text, &used, start, static_cast<size_t>(m_pos - start));
    }
    token->quoted = true;
    ++m_pos;
    for (;;) {
      const char* start = m_pos;
      while (m_pos < m_end && *m_pos != '\'') ++m_pos;
      if (m_pos == m_end) return Fail(kRegistryScriptSyntax);
      if (!AppendReplacing(token->text, &used, start, static_cast<size_t>(m_pos - start))) return false;
      ++m_pos;
      if (m_pos == m_end || *m_pos != '\'') return true;
      // A doubled quote is one quote of the text.
      if (!Append(token->text, &used, "'", 1)) return false;
      ++m_pos;
    }
  }

  bool Peek(Token* token) {
    const char* saved = m_pos;
    const bool ok = Next(token);
    m_pos = saved;
    return ok;
  }

  bool IsWord(const Token& token, const char* word) const {
    return !token.quoted && !token.end && EqualIgnoringCase(token.text, word);
  }

  bool Expect(const char* word) {
    Token token;
    if (!Next(&token)) return false;
    if (!IsWord(token, word)) return Fail(kRegistryScriptSyntax);
    return true;
  }

  RegistryEntry* AddEntry(uint8_t kind, uint16_t depth, const char* name) {
    if (m_script->count == kRegistryMaxEntries || std::strlen(name) >= kRegistryNameSize) {
      Fail(kRegistryScriptTooLong);
      return nullptr;
    }
    RegistryEntry* entry = &m_script->entries[m_script->count++];
    std::memset(entry, 0, sizeof *entry);
    entry->kind = kind;
    entry->depth = depth;
    std::strcpy(entry->name, name);
    return entry;
  }

  // "= s 'text'" or "= d number" after a key or value name.
  bool ParseAssignment(RegistryEntry* entry) {
    if (!Expect("=")) return false;
    Token type, value;
    if (!Next(&type) || !Next(&value)) return false;
    if (value.end) return Fail(kRegistryScriptSyntax);
    if (IsWord(type, "s")) {
      entry->valueType = kRegistryString;
      std::strcpy(entry->value, value.text);
      return true;
    }
    if (IsWord(type, "d")) {
      char* stop = nullptr;
      const unsigned long number = std::strtoul(value.text, &stop, 0);
      if (stop == value.text || *stop != '\0') return Fail(kRegistryScriptSyntax);
      entry->valueType = kRegistryDword;
      entry->dword = static_cast<uint32_t>(number);
      return true;
    }
    return Fail(kRegistryScriptSyntax);
  }

  // The keys and values up to the closing brace of their parent.
  bool ParseKeys(uint16_t depth) {
    if (depth > kRegistryMaxDepth) return Fail(kRegistryScriptTooLong);
    for (;;) {
      Token token;
      if (!Next(&token)) return false;
      if (token.end) return Fail(kRegistryScriptSyntax);
      if (IsWord(token, "}")) return true;
      if (IsWord(token, "val")) {
        Token name;
        if (!Next(&name)) return false;
        if (name.end) return Fail(kRegistryScriptSyntax);
        RegistryEntry* entry = AddEntry(kRegistryNamedValue, depth, name.text);
        if (entry == nullptr || !ParseAssignment(entry)) return false;
        continue;
      }
      uint8_t mark = kRegistryPlain;
      if (IsWord(token, "NoRemove")) mark = kRegistryNoRemove;
      if (IsWord(token, "ForceRemove")) mark = kRegistryForceRemove;
      if (IsWord(token, "Delete")) mark = kRegistryDelete;
      if (mark != kRegistryPlain) {
        if (!Next(&token)) return false;
        if (token.end) return Fail(kRegistryScriptSyntax);
      }
      if (!token.quoted && (IsWord(token, "{") || IsWord(token, "=") || IsWord(token, "}")))
        return Fail(kRegistryScriptSyntax);
      RegistryEntry* key = AddEntry(kRegistryKey, depth, token.text);
      if (key == nullptr) return false;
      key->mark = mark;
      Token following;
      if (!Peek(&following)) return false;
      if (IsWord(following, "=")) {
        if (!ParseAssignment(key)) return false;
        if (!Peek(&following)) return false;
      }
      if (IsWord(following, "{")) {
        Next(&following);
        if (!ParseKeys(static_cast<uint16_t>(depth + 1))) return false;
      }
    }
  }

  const char* m_text;
  const char* m_end;
  const char* m_pos;
  const RegistryReplacement* m_replacements;
  size_t m_replacementCount;
  RegistryScript* m_script;
};

}  // namespace

bool ParseRegistryScript(const char* text, size_t length, const RegistryReplacement* replacements,
                         size_t replacementCount, RegistryScript* script) {
  script->count = 0;
  script->error = kRegistryScriptNoError;
  script->line = 0;
  ScriptReader reader(text, length, replacements, replacementCount, script);
  if (reader.ParseScript()) return true;
  script->line = reader.Line();
  return false;
}

size_t RegistrySubtreeEnd(const RegistryScript& script, size_t index) {
  size_t end = index + 1;
  while (end < script.count && script.entries[end].depth > script.entries[index].depth) ++end;
  return end;
}
