#ifndef TALVERO_APP_HELP_TOPICS_H
#define TALVERO_APP_HELP_TOPICS_H

// The pages of the help file beside the program, one per dialog or feature,
// and the help viewer that shows them.

#include <cstddef>

constexpr char kHelpFileName[] = "talver.chm";

// The page of a topic number; the introduction for any number without one.
const char* HelpTopicPage(int topic);

// "<drive and folder of programPath>talver.chm::/<page>"; false when it does
// not fit in size.
bool BuildHelpTopicPath(const char* programPath, int topic, char* out, size_t size);

#ifdef _WIN32
// Loads the help viewer once; on a failure shows the system's text for it
// and returns false, to try again at the next call.
bool LoadHtmlHelp();
// Shows the topic's page, loading the viewer when needed.
void ShowHelpTopic(int topic);
#endif

#endif
