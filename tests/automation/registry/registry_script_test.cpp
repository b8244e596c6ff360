#include "automation/registry/registry_script.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

const RegistryReplacement kModule[] = {{"MODULE", "C:\\Program Files\\Talvero\\talvero.exe"}};

std::unique_ptr<RegistryScript> Parse(const std::string& text, bool expected = true) {
  std::unique_ptr<RegistryScript> script(new RegistryScript);
  EXPECT_EQ(ParseRegistryScript(text.data(), text.size(), kModule, 1, script.get()), expected) << text;
  return script;
}

TEST(RegistryScript, ReadsKeysValuesMarksAndDepths) {
  const auto script = Parse(
      "HKCR\r\n{\r\n\tNoRemove CLSID\r\n\t{\r\n"
      "\t\tForceRemove {46113628-CAB2-46C9-815E-BC852C3FA9D2} = s 'FormatInfo Class'\r\n\t\t{\r\n"
      "\t\t\tForceRemove 'Programmable'\r\n"
      "\t\t\tLocalServer32 = s '\"%MODULE%\"'\r\n"
      "\t\t\tval AppID = s '{4E62F674-AD49-4775-B0F7-C8BB53C817E7}'\r\n"
      "\t\t\tval Count = d 12\r\n\t\t}\r\n\t}\r\n"
      "\tDelete Old\r\n}\r\n");
  ASSERT_EQ(script->count, 7u);
  const struct {
    uint8_t kind, mark, valueType;
    uint16_t depth;
    const char* name;
    const char* value;
  } expected[] = {
      {kRegistryKey, kRegistryNoRemove, kRegistryNoValue, 1, "CLSID", ""},
      {kRegistryKey, kRegistryForceRemove, kRegistryString, 2, "{46113628-CAB2-46C9-815E-BC852C3FA9D2}",
       "FormatInfo Class"},
      {kRegistryKey, kRegistryForceRemove, kRegistryNoValue, 3, "Programmable", ""},
      {kRegistryKey, kRegistryPlain, kRegistryString, 3, "LocalServer32", "\"C:\\Program Files\\Talvero\\talvero.exe\""},
      {kRegistryNamedValue, 0, kRegistryString, 3, "AppID", "{4E62F674-AD49-4775-B0F7-C8BB53C817E7}"},
      {kRegistryNamedValue, 0, kRegistryDword, 3, "Count", ""},
      {kRegistryKey, kRegistryDelete, kRegistryNoValue, 1, "Old", ""},
  };
  for (size_t i = 0; i < script->count; ++i) {
    const RegistryEntry& entry = script->entries[i];
    EXPECT_EQ(entry.kind, expected[i].kind) << i;
    EXPECT_EQ(entry.mark, expected[i].mark) << i;
    EXPECT_EQ(entry.valueType, expected[i].valueType) << i;
    EXPECT_EQ(entry.depth, expected[i].depth) << i;
    EXPECT_STREQ(entry.name, expected[i].name) << i;
    EXPECT_STREQ(entry.value, expected[i].value) << i;
  }
  EXPECT_EQ(script->entries[5].dword, 12u);
  EXPECT_EQ(RegistrySubtreeEnd(*script, 0), 6u);
  EXPECT_EQ(RegistrySubtreeEnd(*script, 1), 6u);
  EXPECT_EQ(RegistrySubtreeEnd(*script, 2), 3u);
}

TEST(RegistryScript, ReplacesNamesWithoutRegardToCaseAndKeepsDoubledMarks) {
  const auto script = Parse("HKCR { command = s '\"%Module%\" \"%%1\"' Quote = s 'it''s' }");
  ASSERT_EQ(script->count, 2u);
  EXPECT_STREQ(script->entries[0].value, "\"C:\\Program Files\\Talvero\\talvero.exe\" \"%1\"");
  EXPECT_STREQ(script->entries[1].value, "it's");
}

TEST(RegistryScript, RefusesMalformedScriptsWithTheirLine) {
  const struct {
    const char* text;
    uint8_t error;
    uint32_t line;
  } cases[] = {
      {"HKLM { A }", kRegistryScriptUnknownRoot, 1},
      {"HKCR {\n A = s 'open", kRegistryScriptSyntax, 2},
      {"HKCR {\n A = x 'y' }", kRegistryScriptSyntax, 2},
      {"HKCR {\n A = s '%NOTHING%' }", kRegistryScriptUnknownName, 2},
      {"HKCR {\n A {\n B\n", kRegistryScriptSyntax, 4},
      {"HKCR {\n val = s 'x' }", kRegistryScriptSyntax, 2},
      {"HKCR { A = d 12x }", kRegistryScriptSyntax, 1},
  };
  for (const auto& c : cases) {
    const auto script = Parse(c.text, false);
    EXPECT_EQ(script->error, c.error) << c.text;
    EXPECT_EQ(script->line, c.line) << c.text;
  }
}

TEST(RegistryScript, RefusesWhatOutgrowsItsRoom) {
  std::string many = "HKCR {";
  for (size_t i = 0; i <= kRegistryMaxEntries; ++i) many += " K" + std::to_string(i);
  many += " }";
  EXPECT_EQ(Parse(many, false)->error, kRegistryScriptTooLong);
  EXPECT_EQ(Parse("HKCR { " + std::string(kRegistryNameSize, 'n') + " }", false)->error, kRegistryScriptTooLong);
  EXPECT_EQ(Parse("HKCR { A = s '" + std::string(kRegistryValueSize, 'v') + "' }", false)->error,
            kRegistryScriptTooLong);
  std::string deep = "HKCR";
  for (int i = 0; i <= kRegistryMaxDepth; ++i) deep += " {  K";
  EXPECT_EQ(Parse(deep, false)->error, kRegistryScriptTooLong);
}

}  // namespace
