#include "services/ui_services/help_topics.h"

#include <cstdio>
#include <cstring>

const char* HelpTopicPage(int topic) {
  static const char* const kPages[] = {
      "printing.htm",      "protection.htm",  "containers.htm",   "charts2d.htm",       "chartsXY.htm",
      "charts3d.htm",      "format_font.htm", "format_cell.htm",  "format_style.htm",   "format_align.htm",
      "format_list.htm",   "format_worksheet.htm", "settings.htm", "text_files.htm",   "xbase_files.htm",
      "support.htm",       "formulas_enter.htm",
  };
  constexpr int kFirstTopic = 2;
  const int index = topic - kFirstTopic;
  if (index < 0 || index >= int(sizeof kPages / sizeof kPages[0])) return "intro.htm";
  return kPages[index];
}

bool BuildHelpFilePath(const char* programPath, char* out, size_t size) {
  const char* lastSlash = std::strrchr(programPath, '\\');
  const size_t folderLength = lastSlash ? size_t(lastSlash - programPath) + 1 : 0;
  const int written = std::snprintf(out, size, "%.*s%s", int(folderLength), programPath, kHelpFileName);
  return written > 0 && size_t(written) < size;
}

bool BuildHelpTopicPath(const char* programPath, int topic, char* out, size_t size) {
  if (!BuildHelpFilePath(programPath, out, size)) return false;
  const size_t length = std::strlen(out);
  const int written = std::snprintf(out + length, size - length, "::/%s", HelpTopicPage(topic));
  return written > 0 && size_t(written) < size - length;
}
